#pragma once
// Two-way sync of the open store with a calendar collection on a CalDAV server (RFC 4791), one memo
// per VJOURNAL note. Runs in the calling thread, which must not be the UI thread: every request is
// waited for there. The store calls are the store library's, which serialises them with the UI's.
//
// One run: find the collection (or create one named 备忘录), ask what changed on the server since the
// stored sync token (RFC 6578; a listing of ETags where that is not offered), fetch the changed notes,
// bring them in, then send what changed here. Neither side is ever lost:
//   - changed on both sides: the server's version replaces the memo, the edit here becomes a new memo
//     and a new note;
//   - deleted here, changed there: the server's version comes back as a memo;
//   - deleted there: the memo goes to the trash, or, when it was edited here, goes up as a new note.
// A note that does not fit a memo (too long, an 11th category, a 101st memo) is left alone on the
// server and named in the report. Each memo change is written with its link in one transaction, and
// the token last, so a run interrupted anywhere is completed by the next.
#include "SyncSettings.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <atomic>

struct SyncReport
{
    bool ok = false;
    QString error;            // why the run stopped; empty when ok
    int broughtIn = 0;        // notes that became memos
    int changedHere = 0;      // memos replaced by the server's version
    int trashedHere = 0;      // memos deleted on the server, now in the trash
    int uploaded = 0;         // notes created or changed on the server
    int deletedThere = 0;     // notes deleted on the server
    QStringList notBroughtIn; // server notes left alone, each with why
    QStringList conflicts;    // both versions kept, each named
    int requests = 0;
    bool storeChanged() const { return broughtIn + changedHere + trashedHere > 0 || !conflicts.isEmpty(); }
};

// cancel, when given, stops the run at its next request once it is true (what was done stays done).
SyncReport RunSync(const SyncSettings& settings, const std::atomic<bool>* cancel = nullptr);

// Finds the collection the sync would use, creating none: for the connection test of the settings.
// Empty with the reason in error when there is none or the server cannot be used.
QUrl FindCollection(const SyncSettings& settings, QString& error, bool create = false);
