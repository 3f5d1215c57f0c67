#pragma once
// What the open store holds, read through the record operations in the store's order, and its
// trash, for the host's export and trash dialog.
#include <MemoGroupRecord.h>
#include <MemoRecord.h>

#include <QtGlobal>
#include <vector>

struct StoreContents
{
    std::vector<MemoRecord> memos;
    std::vector<MemoGroupRecord> groups;
};

struct DeletedMemo
{
    MemoRecord memo;
    qint64 deletedAt = 0; // seconds since the epoch
};

StoreContents ReadStoreContents();
// The latest deletion first.
std::vector<DeletedMemo> ReadTrash();
