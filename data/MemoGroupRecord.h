#pragma once

#include "MemoConstants.h"
#include "RecordText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

// One memo category as the record store keeps it, byte for byte: the layout is a wire format.
struct _DBI_MEMO_Group_ST
{
    std::int32_t key;    // assigned by the record store on the first write
    std::uint32_t flags; // RECORD_CHANGED and bits that are carried unchanged
    std::int32_t id;     // MemoTime of creation; what a memo's groupId refers to
    char16_t name[16];   // at most MAX_GROUP_NAME_LEN
};
using MemoGroupRecord = _DBI_MEMO_Group_ST;

static_assert(std::is_standard_layout_v<MemoGroupRecord> && std::is_trivially_copyable_v<MemoGroupRecord>);
static_assert(sizeof(MemoGroupRecord) == 44);
static_assert(offsetof(MemoGroupRecord, key) == 0);
static_assert(offsetof(MemoGroupRecord, flags) == 4);
static_assert(offsetof(MemoGroupRecord, id) == 8);
static_assert(offsetof(MemoGroupRecord, name) == 12 && sizeof(MemoGroupRecord::name) == 32);

inline std::u16string_view GroupName(const MemoGroupRecord& group)
{
    return FieldText(group.name);
}

inline void SetGroupName(MemoGroupRecord& group, std::u16string_view name)
{
    SetFieldText(group.name, name, MAX_GROUP_NAME_LEN);
}
