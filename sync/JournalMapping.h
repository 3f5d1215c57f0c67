#pragma once
// One memo as one VJOURNAL of iCalendar (RFC 5545), the form notes travel in between CalDAV programs.
// SUMMARY is the title, DESCRIPTION the body, CATEGORIES the memo's category (left out for a memo
// without one, "其它" for the memos of that pseudo-category), DTSTAMP and LAST-MODIFIED the moment of
// the change in UTC. The fields of the record that iCalendar has no place for (its own stamp, the
// category's id, the flags and reserved words) ride in X-ZORVA-MEMO-* properties, so a memo that comes
// back from the server is the record that went up. The iCalendar text is read and written by libical.
#include "MemoRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a VJOURNAL says of a note, as far as a memo can hold it.
struct JournalNote
{
    std::string uid;
    std::u16string title; // SUMMARY; for a note without one, the start of the body (the title rule)
    std::u16string body;  // DESCRIPTION; empty when there is none
    std::optional<std::u16string> category; // the first CATEGORIES value; none when absent
    // The record fields of our own notes; absent in notes written by other programs.
    std::optional<std::int32_t> stamp;
    std::optional<std::int32_t> groupId;
    std::optional<std::uint32_t> flags;
    std::optional<std::int32_t> reserved1;
    std::optional<std::int32_t> reserved2;
};

// The calendar object for memo under uid, changed at changedUtc (seconds since the epoch).
std::string MemoToICalendar(const MemoRecord& memo, std::string_view uid, std::int64_t changedUtc);

// Reads a calendar object resource. Nothing, with the reason in why, when it is not iCalendar, holds
// no VJOURNAL (an event or a task), has no UID, or has text that is not valid UTF-8.
std::optional<JournalNote> NoteFromICalendar(std::string_view text, std::string& why);

// Why the note cannot become a memo without cutting it (a title over MAX_TITLE_LEN, a body over
// MAX_CONTENT_LEN, a category name over MAX_GROUP_NAME_LEN UTF-16 units, nothing to title it by);
// empty when it fits.
std::string WhyNoteDoesNotFit(const JournalNote& note);
