#pragma once

#include "MemoGroupRecord.h"

#include <cstdint>
#include <span>
#include <string_view>

// Lookups over the category records as read from the store, in the store's order.

// The name a category record keeps of `name`: its first MAX_GROUP_NAME_LEN characters.
std::u16string_view StoredGroupName(std::u16string_view name);

// Whether a stored category already carries the name that `name` would be stored under. Names
// are compared after the cut to MAX_GROUP_NAME_LEN, so two names that differ only beyond it
// count as the same: both would be stored alike.
bool GroupNameTaken(std::span<const MemoGroupRecord> stored, std::u16string_view name);

// What a new memo filed under the category `chosen` carries in groupId: 0 for no category
// (empty or "全部"), OTHER_GROUP_ID for "其它", otherwise the id of the first stored category of
// that name, so that deleting the category later finds the memo; 0 when no category has it.
std::int32_t GroupIdForNewMemo(std::span<const MemoGroupRecord> stored, std::u16string_view chosen);
