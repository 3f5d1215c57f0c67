#pragma once
// The memos and categories of a store as files a person can take elsewhere.
//
// JSON (read back by the import):
//   {"format": "memo-export", "version": 1,
//    "categories": [{"id": 305371800, "name": "工作"}, ...],
//    "memos": [{"title": "...", "body": "...", "category": "工作", "categoryId": 305371800,
//               "stamp": 305371800, "time": "2011-07-01T09:30:00"}, ...]}
// "stamp" is the memo's MemoTime as stored and "time" the same moment as ISO 8601 text (see
// MemoTimeText.h). Stored categories named 全部 or 其它 are not exported: they are not categories
// a person made, and the module adds those two itself.
//
// Markdown: one section per memo, with its category and time, for reading.
#include "StoreContents.h"

#include <QByteArray>
#include <QString>

inline constexpr char kExportFormat[] = "memo-export";
inline constexpr int kExportVersion = 1;

QByteArray MemosToJson(const StoreContents& contents);
QByteArray MemosToMarkdown(const StoreContents& contents, const QString& userName);
// The categories an export writes.
std::vector<MemoGroupRecord> ExportedGroups(const StoreContents& contents);
