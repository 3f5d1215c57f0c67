#include "GroupNameTable.h"

void GroupNameTable::Add(const MemoGroupRecord& group)
{
    m_names.insert_or_assign(group.id, std::u16string(GroupName(group)));
}

std::optional<std::u16string_view> GroupNameTable::Find(std::int32_t id) const
{
    const auto found = m_names.find(id);
    if (found == m_names.end())
        return std::nullopt;
    return std::u16string_view(found->second);
}
