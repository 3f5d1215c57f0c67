#pragma once
// Reading the JSON form of MemoExport.h back into a store. The file is checked whole before anything
// is written: a file that is not such an export (another version, lists that are not lists), breaks
// a limit (text lengths, more memos or categories than a store may hold, also together with what
// the store holds), holds text that is not whole characters, names a category the module keeps for
// itself (also padded with white space), gives two categories one id, files a memo under a category
// id the file does not list, or is too large is refused with a sentence for the person that names
// the entry, and nothing is added. Memos and categories the store already has (the same time,
// title, body and category; the same category name) are skipped, each with its reason, as are
// repeats within the file.
//
// PlanImport reads nothing but its arguments and writes nothing: the host writes its plan.
#include "StoreContents.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Larger than any export of a full store, far smaller than what would hurt to read.
inline constexpr qint64 kMaxImportBytes = 2 * 1024 * 1024;

struct ImportPlan
{
    std::vector<MemoRecord> memos;       // new records, in file order
    std::vector<MemoGroupRecord> groups; // new records, in file order
    QStringList skipped;                 // one line each: what, and why
};

// The bytes of the file at path; nothing (and error) when it is not a regular file, too large or
// unreadable.
std::optional<QByteArray> ReadImportFile(const QString& path, QString& error);
// What importing `json` into a store holding `current` adds and skips; nothing (and error) when the
// file must be refused.
std::optional<ImportPlan> PlanImport(const QByteArray& json, const StoreContents& current, QString& error);
