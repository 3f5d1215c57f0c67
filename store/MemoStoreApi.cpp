#include "MemoDraft.h"
#include "MemoStore.h"

#include "StoreBackup.h"
#include "StoreFiles.h"
#include "StorePaths.h"
#include "StoreSchema.h"
#include "StoreState.h"

#include <filesystem>
#include <optional>
#include <string>

namespace {

// The folder and the path of userName's store file; nothing (with the reason) when there is none.
std::optional<std::pair<std::string, std::string>> StoreLocation(const char* userName, const char* dataDir,
                                                                 std::string& error)
{
    if (!userName) {
        error = "No user name was given, so no memo store was opened.";
        return std::nullopt;
    }
    std::optional<std::string> folder;
    if (dataDir && dataDir[0] != '\0')
        folder = dataDir;
    else
        folder = DefaultDataDir(error);
    if (!folder)
        return std::nullopt;
    const std::optional<std::string> fileName = StoreFileName(userName, error);
    if (!fileName)
        return std::nullopt;
    return std::pair{*folder, (std::filesystem::path(*folder) / *fileName).string()};
}

std::unique_ptr<StoreSession> OpenStore(const char* userName, const char* dataDir, std::string& error)
{
    const auto location = StoreLocation(userName, dataDir, error);
    if (!location)
        return nullptr;
    const auto& [folder, path] = *location;
    // A folder made here holds nothing but memo stores: only their owner may enter it.
    if (!MakePrivateFolder(folder, error))
        return nullptr;
    // Half-made stores and copies of a process killed while writing them, ".memo-….db.new-<pid>".
    const std::string stem = std::filesystem::path(path).stem().string();
    RemoveLeftovers(folder, "." + stem + ".");
    RemoveLeftovers(BackupFolderOf(path), "." + stem + ".");
    if (!SomethingAt(path) && !CreateStoreFile(path, error))
        return nullptr;
    // A store refused after SQLite opened it must not keep the -wal and -shm SQLite made for it.
    const bool hadWal = SomethingAt(path + "-wal");
    const bool hadShm = SomethingAt(path + "-shm");
    std::unique_ptr<StoreSession> session;
    if (CheckStoreFile(path, error))
        session = StoreSession::Open(path, error);
    if (!session)
        RemoveMadeCompanions(path, hadWal, hadShm);
    return session;
}

// Closes the open store, after its close hook has run while the store was still open. The hook is
// called once per close: a close it starts itself does nothing more, an open it starts is refused.
void CloseStore(StoreState& store)
{
    if (store.session && store.closeHook) {
        store.closing = true;
        store.closeHook(store.closeHookContext);
        store.closing = false;
    }
    store.session.reset();
    store.currentPath.clear();
    ++store.generation;
}

} // namespace

std::string& ThreadLastError()
{
    thread_local std::string reason;
    return reason;
}

extern "C" {

int MemoStore_Open(const char* userName, const char* dataDir)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    if (store.closing) {
        ThreadLastError() = "No other memo store can be opened while the open one is being closed.";
        return 0;
    }
    CloseStore(store);
    ThreadLastError().clear();
    store.session = OpenStore(userName, dataDir, ThreadLastError());
    if (!store.session)
        return 0;
    store.currentPath = store.session->Path();
    PassOnReplacement(store);
    return 1;
}

int MemoStore_Exists(const char* userName, const char* dataDir)
{
    std::string ignored;
    const auto location = StoreLocation(userName, dataDir, ignored);
    return location && SomethingAt(location->second) ? 1 : 0;
}

void MemoStore_Close(void)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    if (!store.closing)
        CloseStore(store);
}

void MemoStore_SetCloseHook(void (*hook)(void* context), void* context)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.closeHook = hook;
    store.closeHookContext = hook ? context : nullptr;
}

void MemoStore_SetReplacedHook(void (*hook)(void* context), void* context)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.replacedHook = hook;
    store.replacedHookContext = hook ? context : nullptr;
}

void MemoStore_SetChangeHook(void (*hook)(void* context), void* context)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.changeHook = hook;
    store.changeHookContext = hook ? context : nullptr;
}

int MemoStore_IsOpen(void)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    return store.session ? 1 : 0;
}

const char* MemoStore_LastError(void)
{
    return ThreadLastError().c_str();
}

const char* MemoStore_CurrentPath(void)
{
    StoreState& store = TheStore();
    std::lock_guard lock(store.mutex);
    return store.currentPath.c_str();
}

} // extern "C"
