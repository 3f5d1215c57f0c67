#pragma once
// A private folder for one fuzzing run, on a memory file system where there is one (the store
// syncs every write), removed with everything in it when the run ends.
#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& FuzzFolder()
{
    // Never destroyed: the exit handler that removes the folder still needs its name.
    static const std::string* const folder = [] {
        auto* made = new std::string(std::filesystem::is_directory("/dev/shm") ? "/dev/shm/memo-fuzz-XXXXXX"
                                                                               : "/tmp/memo-fuzz-XXXXXX");
        if (!::mkdtemp(made->data()))
            std::abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(FuzzFolder(), ec);
        });
        return made;
    }();
    return *folder;
}
