#include "MemoSync.h"

#include "StoreState.h"

#include <cstring>
#include <optional>

namespace {

bool CopyOut(const std::string& text, char* out, std::int32_t size)
{
    if (!out || size <= 0 || text.size() >= std::size_t(size))
        return false;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

// A link's texts end within their fields and name something.
bool WellFormed(const MemoSyncLink& link)
{
    return std::memchr(link.uid, '\0', sizeof link.uid) && std::memchr(link.href, '\0', sizeof link.href) &&
           std::memchr(link.etag, '\0', sizeof link.etag) && link.uid[0] != '\0' && link.href[0] != '\0';
}

// The store a sync thread began on (MemoStore_SyncBegin); its writes go to no other.
thread_local std::optional<std::uint64_t> t_pinned;

template <class Result, class Op> Result WithSyncStore(Result failed, Op op)
{
    return WithOpenStore(failed, [&](StoreState& s) {
        if (t_pinned && *t_pinned != s.generation) {
            ThreadLastError() =
                "The memo store was closed or replaced while the sync ran, so the sync stopped.";
            return failed;
        }
        return op(s);
    });
}

} // namespace

extern "C" {

void MemoStore_SyncEnd(void)
{
    t_pinned.reset();
}

int MemoStore_SyncBegin(void)
{
    return WithOpenStore(0, [](StoreState& s) {
        t_pinned = s.generation;
        return 1;
    });
}

std::int32_t MemoStore_SyncLinks(MemoSyncLink* out, std::int32_t capacity)
{
    return WithSyncStore(std::int32_t{-1}, [&](StoreState& s) {
        return s.session->SyncLinks(out, capacity, ThreadLastError());
    });
}

int MemoStore_SyncWriteLinks(const MemoSyncLink* links, std::int32_t count)
{
    return WithSyncStore(static_cast<int>(MEMO_SYNC_FAILED), [&](StoreState& s) {
        bool valid = count >= 0 && (count == 0 || links);
        for (std::int32_t i = 0; valid && i < count; ++i)
            valid = WellFormed(links[i]) && links[i].key >= 1;
        if (!valid) {
            ThreadLastError() = "No valid sync link was given.";
            return static_cast<int>(MEMO_SYNC_FAILED);
        }
        return s.session->SyncWriteLinks(links, count, ThreadLastError());
    });
}

int MemoStore_SyncRemoveLink(std::int32_t key)
{
    return WithSyncStore(static_cast<int>(MEMO_SYNC_FAILED),
                         [&](StoreState& s) { return s.session->SyncRemoveLink(key, ThreadLastError()); });
}

int MemoStore_SyncBringIn(std::int32_t key, const MemoRecord* record, const _DBI_MEMO_Group_ST* newGroup,
                          MemoSyncLink* link)
{
    return WithSyncStore(static_cast<int>(MEMO_SYNC_FAILED), [&](StoreState& s) {
        if (!record || (link && !WellFormed(*link)) || key < 0 || (!link && key != 0)) {
            ThreadLastError() = "No memo or no valid sync link was given.";
            return static_cast<int>(MEMO_SYNC_FAILED);
        }
        return s.session->SyncBringIn(key, *record, newGroup, link, ThreadLastError());
    });
}

int MemoStore_SyncTrashMemo(std::int32_t key)
{
    return WithSyncStore(static_cast<int>(MEMO_SYNC_FAILED),
                         [&](StoreState& s) { return s.session->SyncTrashMemo(key, ThreadLastError()); });
}

int MemoStore_SyncGetState(char* collection, std::int32_t collectionSize, char* token, std::int32_t tokenSize)
{
    return WithSyncStore(static_cast<int>(MEMO_SYNC_FAILED), [&](StoreState& s) {
        std::string storedCollection;
        std::string storedToken;
        if (!s.session->SyncState(storedCollection, storedToken, ThreadLastError()))
            return static_cast<int>(MEMO_SYNC_FAILED);
        if (!CopyOut(storedCollection, collection, collectionSize) ||
            !CopyOut(storedToken, token, tokenSize)) {
            ThreadLastError() = "The sync state does not fit the room given for it.";
            return static_cast<int>(MEMO_SYNC_FAILED);
        }
        return static_cast<int>(MEMO_SYNC_DONE);
    });
}

int MemoStore_SyncSetState(const char* collection, const char* token)
{
    return WithSyncStore(static_cast<int>(MEMO_SYNC_FAILED), [&](StoreState& s) {
        if (!collection || !token) {
            ThreadLastError() = "No sync state was given.";
            return static_cast<int>(MEMO_SYNC_FAILED);
        }
        return s.session->SetSyncState(collection, token, ThreadLastError());
    });
}

} // extern "C"
