#pragma once

#include "StoreSession.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// The library's one open store. Every exported function holds the mutex for its whole run. It is
// recursive so that the close hook, which runs while MemoStore_Close or MemoStore_Open holds it, can
// still call the library (to write the draft, say); other threads wait until the close is done.
struct StoreState
{
    std::recursive_mutex mutex;
    std::unique_ptr<StoreSession> session;
    void (*closeHook)(void* context) = nullptr;
    void* closeHookContext = nullptr;
    void (*replacedHook)(void* context) = nullptr;
    void* replacedHookContext = nullptr;
    void (*changeHook)(void* context) = nullptr;
    void* changeHookContext = nullptr;
    bool closing = false; // the close hook is running
    std::string currentPath;
    std::string backupList;       // what MemoStore_Backups returned last
    std::uint64_t generation = 0; // changes whenever the open store is closed, opened or restored
};

StoreState& TheStore();

// The reason of the calling thread's last failed call (MemoStore_LastError). Kept per thread, as
// errno is: the host's sync thread and its window use the store at once, and neither may see the
// other's reason, nor have the text it holds changed under it.
std::string& ThreadLastError();

// Lets the open session call the replaced hook of the store (see MemoStore_SetReplacedHook).
void PassOnReplacement(StoreState& store);

// Tells the change hook, if any, that a memo or category was changed (see MemoStore_SetChangeHook).
void TellOfChange(StoreState& store);

// Runs op(state) for the host's functions of the store under the library's lock, with the thread's
// last error cleared for op's reason; without an open store the result is `none` and it says so.
template <class Result, class Op> Result WithOpenStore(Result none, Op op)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    ThreadLastError().clear();
    if (!store.session) {
        ThreadLastError() = "No memo store is open.";
        return none;
    }
    return op(store);
}
