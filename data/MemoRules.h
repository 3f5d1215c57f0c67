#pragma once

#include "MemoGroupRecord.h"
#include "MemoRecord.h"
#include "MemoTime.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class GroupNameTable;

// The category a memo is shown and filtered under: "其它" for OTHER_GROUP_ID, otherwise its groupName.
// The view may point into the record.
std::u16string_view EffectiveGroupName(const MemoRecord& memo);
// Whether the memo is listed under the category filter: every memo under "全部", otherwise the
// memos whose category, as shown, is the filter.
bool IsListedUnder(const MemoRecord& memo, std::u16string_view filter);

// What the memo list shows for a category filter and, when given, a search text.
struct MemoListing
{
    std::vector<const MemoRecord*> memos; // into the records given, in their order
    bool searched = false;                // the search applies (it found something)
    bool searchRefused = false;           // the search text was empty: it matches nothing
};

// The memos of `stored` (the store's order) listed under `filter`, and with a search, those of
// them whose title or body, as shown, holds `search` (code unit by code unit, case-sensitive). An
// empty search text matches nothing. When the search matches nothing it does not apply: every
// memo under the filter is listed. The caller trims the search text as the person typed it.
MemoListing ListMemos(const std::vector<MemoRecord>& stored, std::u16string_view filter,
                      std::optional<std::u16string_view> search);

// A new memo is refused when the store already holds this many memos.
bool MemoTableFull(std::int32_t storedMemos);

// A new memo, ready for the recycle write. The title is the one TitleToStore gave; the caller decides
// groupName (the New command stores "全部" when no category was chosen) and what groupId carries.
MemoRecord NewMemoRecord(MemoTime stamp, std::u16string_view groupName, std::int32_t groupId,
                         std::u16string_view title, std::u16string_view content);

// A stored memo the user edited: new texts and stamp, RECORD_CHANGED set; reserved words, the other
// flag bits, groupId and key stay as read.
void ApplySavedMemo(MemoRecord& memo, MemoTime stamp, std::u16string_view groupName,
                    std::u16string_view title, std::u16string_view content);

// A category was renamed: a memo filed under the old name (exact comparison, groupId not consulted)
// takes the new name and RECORD_CHANGED; its stamp stays. Returns whether the memo must be written.
bool RenameMemoGroup(MemoRecord& memo, std::u16string_view oldName, std::u16string_view newName);

// A category was deleted: a memo whose groupId names a category of the deleted name in the table
// moves to "其它"; its groupId, flags and stamp stay. Returns whether the memo must be written.
bool MoveMemoOfDeletedGroup(MemoRecord& memo, const GroupNameTable& groups, std::u16string_view deletedName);

// A memo back from the trash whose category, as shown, no stored category carries any longer (it was
// deleted or renamed while the memo lay there) moves to "其它", where that category's other memos
// went; its groupId, flags and stamp stay. Memos without a category and memos of "其它" stay as
// they are. Returns whether the memo must be written.
bool RefileRestoredMemo(MemoRecord& memo, std::span<const MemoGroupRecord> stored);
