#pragma once

#include "MemoConstants.h"
#include "RecordText.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

static_assert(std::endian::native == std::endian::little,
              "records are stored byte for byte in little-endian order");

// One memo as the record store keeps it, byte for byte: the layout is a wire format.
struct MemoRecord
{
    std::int32_t stamp;     // MemoTime of creation or of the last save by the user
    std::int32_t reserved1; // carried unchanged
    std::uint32_t flags;    // RECORD_CHANGED and bits that are carried unchanged
    std::int32_t reserved2; // carried unchanged
    char16_t groupName[12]; // category name, at most MAX_GROUP_NAME_LEN
    std::int32_t groupId;   // id of the category; OTHER_GROUP_ID means "其它"
    char16_t content[501];  // body, at most MAX_CONTENT_LEN
    char16_t title[21];     // title, at most MAX_TITLE_LEN
    std::int32_t key;       // assigned by the record store on the first write
};

static_assert(std::is_standard_layout_v<MemoRecord> && std::is_trivially_copyable_v<MemoRecord>);
static_assert(sizeof(MemoRecord) == 1092);
static_assert(offsetof(MemoRecord, stamp) == 0);
static_assert(offsetof(MemoRecord, reserved1) == 4);
static_assert(offsetof(MemoRecord, flags) == 8);
static_assert(offsetof(MemoRecord, reserved2) == 12);
static_assert(offsetof(MemoRecord, groupName) == 16 && sizeof(MemoRecord::groupName) == 24);
static_assert(offsetof(MemoRecord, groupId) == 40);
static_assert(offsetof(MemoRecord, content) == 44 && sizeof(MemoRecord::content) == 1002);
static_assert(offsetof(MemoRecord, title) == 1046 && sizeof(MemoRecord::title) == 42);
static_assert(offsetof(MemoRecord, key) == 1088);

inline std::u16string_view MemoGroupName(const MemoRecord& memo)
{
    return FieldText(memo.groupName);
}
inline std::u16string_view MemoContent(const MemoRecord& memo)
{
    return FieldText(memo.content);
}
inline std::u16string_view MemoTitle(const MemoRecord& memo)
{
    return FieldText(memo.title);
}

inline void SetMemoGroupName(MemoRecord& memo, std::u16string_view name)
{
    SetFieldText(memo.groupName, name, MAX_GROUP_NAME_LEN);
}
inline void SetMemoContent(MemoRecord& memo, std::u16string_view content)
{
    SetFieldText(memo.content, content, MAX_CONTENT_LEN);
}
inline void SetMemoTitle(MemoRecord& memo, std::u16string_view title)
{
    SetFieldText(memo.title, title, MAX_TITLE_LEN);
}
