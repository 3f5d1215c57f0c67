#pragma once

#include "MemoGroupRecord.h"
#include "MemoTime.h"

#include <span>
#include <string_view>

// The last entry of the memo panel's category box, the one that opens the category editor.
inline constexpr std::u16string_view GROUP_EDIT_ENTRY = u"编辑分类";

// "全部" and "其它": stored categories of these names are not listed and do not count as categories.
bool IsPseudoGroupName(std::u16string_view name);
// The names no category may be created with or renamed to: the pseudo-categories, "所有", and the
// editor's entry of the category box (a category of that name could never be chosen there).
bool IsReservedGroupName(std::u16string_view name);
// Whether `name` is a reserved name once the white space at its ends is removed ("全部 "): shown in
// a list, such a name cannot be told from the reserved one.
bool IsReservedOnceTrimmed(std::u16string_view name);

// How many of groups are real categories: records named after a pseudo-category do not count.
std::ptrdiff_t RealGroupCount(std::span<const MemoGroupRecord> groups);
// A new category is refused once MAX_GROUP_COUNT real categories are stored.
bool GroupTableFull(std::span<const MemoGroupRecord> stored);

// A new category, ready for the recycle write: id is its moment of creation, the name is cut to
// MAX_GROUP_NAME_LEN, everything else zero.
MemoGroupRecord NewGroupRecord(MemoTime id, std::u16string_view name);

// The category record of a rename: the new name, cut to MAX_GROUP_NAME_LEN, and RECORD_CHANGED.
void RenameGroupRecord(MemoGroupRecord& group, std::u16string_view newName);
