#include "MemoRules.h"

#include "GroupLookup.h"
#include "GroupNameTable.h"

std::u16string_view EffectiveGroupName(const MemoRecord& memo)
{
    return memo.groupId == OTHER_GROUP_ID ? GROUP_OTHER : MemoGroupName(memo);
}

bool IsListedUnder(const MemoRecord& memo, std::u16string_view filter)
{
    return filter == GROUP_ALL || filter == ShownText(EffectiveGroupName(memo));
}

MemoListing ListMemos(const std::vector<MemoRecord>& stored, std::u16string_view filter,
                      std::optional<std::u16string_view> search)
{
    MemoListing listing;
    listing.searchRefused = search && search->empty();
    if (search && !search->empty()) {
        const auto holds = [&](std::u16string_view field) {
            return ShownText(field).find(*search) != std::u16string_view::npos;
        };
        for (const MemoRecord& memo : stored)
            if (IsListedUnder(memo, filter) && (holds(MemoTitle(memo)) || holds(MemoContent(memo))))
                listing.memos.push_back(&memo);
        listing.searched = !listing.memos.empty();
    }
    if (!listing.searched)
        for (const MemoRecord& memo : stored)
            if (IsListedUnder(memo, filter))
                listing.memos.push_back(&memo);
    return listing;
}

bool MemoTableFull(std::int32_t storedMemos)
{
    return storedMemos >= MAX_MEMO_COUNT;
}

MemoRecord NewMemoRecord(MemoTime stamp, std::u16string_view groupName, std::int32_t groupId,
                         std::u16string_view title, std::u16string_view content)
{
    MemoRecord memo{};
    memo.stamp = stamp;
    memo.groupId = groupId;
    SetMemoGroupName(memo, groupName);
    SetMemoTitle(memo, title);
    SetMemoContent(memo, content);
    return memo;
}

void ApplySavedMemo(MemoRecord& memo, MemoTime stamp, std::u16string_view groupName,
                    std::u16string_view title, std::u16string_view content)
{
    memo.stamp = stamp;
    memo.flags |= RECORD_CHANGED;
    SetMemoGroupName(memo, groupName);
    SetMemoTitle(memo, title);
    SetMemoContent(memo, content);
}

bool RenameMemoGroup(MemoRecord& memo, std::u16string_view oldName, std::u16string_view newName)
{
    if (MemoGroupName(memo) != oldName)
        return false;
    SetMemoGroupName(memo, newName);
    memo.flags |= RECORD_CHANGED;
    return true;
}

bool MoveMemoOfDeletedGroup(MemoRecord& memo, const GroupNameTable& groups, std::u16string_view deletedName)
{
    const std::optional<std::u16string_view> name = groups.Find(memo.groupId);
    if (!name || *name != deletedName)
        return false;
    SetMemoGroupName(memo, GROUP_OTHER);
    return true;
}

bool RefileRestoredMemo(MemoRecord& memo, std::span<const MemoGroupRecord> stored)
{
    const std::u16string_view shown = ShownText(EffectiveGroupName(memo));
    if (shown.empty() || shown == GROUP_ALL || shown == GROUP_OTHER || GroupNameTaken(stored, shown))
        return false;
    SetMemoGroupName(memo, GROUP_OTHER);
    return true;
}
