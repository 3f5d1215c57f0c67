#pragma once

#include <cstdint>
#include <string_view>

// Bit 31 of a record's flags: the module changed this existing record.
inline constexpr std::uint32_t RECORD_CHANGED = 0x80000000u;
// groupId of memos that belong to the pseudo-category "其它", whatever their groupName says.
inline constexpr std::int32_t OTHER_GROUP_ID = 1;

// Limits; text lengths are counted in UTF-16 code units.
inline constexpr std::int32_t MAX_MEMO_COUNT = 100;
inline constexpr std::int32_t MAX_GROUP_COUNT = 10;
inline constexpr std::size_t MAX_TITLE_LEN = 20;
inline constexpr std::size_t MAX_CONTENT_LEN = 500;
inline constexpr std::size_t MAX_GROUP_NAME_LEN = 10;

// Pseudo-categories. As a filter "全部" selects every memo; as a memo's groupName it marks a memo
// without a category. "其它" is the category of memos with OTHER_GROUP_ID and of memos whose category
// was deleted. "所有" is refused as a category name as well.
inline constexpr std::u16string_view GROUP_ALL = u"全部";
inline constexpr std::u16string_view GROUP_OTHER = u"其它";
inline constexpr std::u16string_view GROUP_EVERYTHING = u"所有";
