#pragma once

#include "MemoGroupRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Category id -> name over the stored categories, used when a category is deleted. Categories
// created within the same second share an id; the one added later (later in the store's order)
// wins, so only memos whose id maps to the deleted category's name move.
class GroupNameTable
{
  public:
    void Add(const MemoGroupRecord& group);
    std::optional<std::u16string_view> Find(std::int32_t id) const;

  private:
    std::unordered_map<std::int32_t, std::u16string> m_names;
};
