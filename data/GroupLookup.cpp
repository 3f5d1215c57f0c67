#include "GroupLookup.h"

#include <algorithm>

namespace {

const MemoGroupRecord* FindStoredGroup(std::span<const MemoGroupRecord> stored, std::u16string_view name)
{
    const std::u16string_view wanted = StoredGroupName(name);
    const auto found = std::find_if(stored.begin(), stored.end(), [wanted](const MemoGroupRecord& group) {
        return GroupName(group) == wanted;
    });
    return found == stored.end() ? nullptr : &*found;
}

} // namespace

std::u16string_view StoredGroupName(std::u16string_view name)
{
    return CutText(name, MAX_GROUP_NAME_LEN);
}

bool GroupNameTaken(std::span<const MemoGroupRecord> stored, std::u16string_view name)
{
    return FindStoredGroup(stored, name) != nullptr;
}

std::int32_t GroupIdForNewMemo(std::span<const MemoGroupRecord> stored, std::u16string_view chosen)
{
    if (chosen.empty() || chosen == GROUP_ALL)
        return 0;
    if (chosen == GROUP_OTHER)
        return OTHER_GROUP_ID;
    const MemoGroupRecord* group = FindStoredGroup(stored, chosen);
    return group ? group->id : 0;
}
