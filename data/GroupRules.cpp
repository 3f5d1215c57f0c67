#include "GroupRules.h"

#include "RecordText.h"

#include <algorithm>

bool IsPseudoGroupName(std::u16string_view name)
{
    return name == GROUP_ALL || name == GROUP_OTHER;
}

bool IsReservedGroupName(std::u16string_view name)
{
    return IsPseudoGroupName(name) || name == GROUP_EVERYTHING || name == GROUP_EDIT_ENTRY;
}

bool IsReservedOnceTrimmed(std::u16string_view name)
{
    const auto first = std::find_if_not(name.begin(), name.end(), IsWhiteSpace);
    return IsReservedGroupName(TrimTrailingWhiteSpace(name.substr(std::size_t(first - name.begin()))));
}

std::ptrdiff_t RealGroupCount(std::span<const MemoGroupRecord> groups)
{
    return std::count_if(groups.begin(), groups.end(),
                         [](const MemoGroupRecord& group) { return !IsPseudoGroupName(GroupName(group)); });
}

bool GroupTableFull(std::span<const MemoGroupRecord> stored)
{
    return RealGroupCount(stored) >= MAX_GROUP_COUNT;
}

MemoGroupRecord NewGroupRecord(MemoTime id, std::u16string_view name)
{
    MemoGroupRecord group{};
    group.id = id;
    SetGroupName(group, name);
    return group;
}

void RenameGroupRecord(MemoGroupRecord& group, std::u16string_view newName)
{
    SetGroupName(group, newName);
    group.flags |= RECORD_CHANGED;
}
