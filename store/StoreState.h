#pragma once

#include "StoreSession.h"

#include <memory>
#include <mutex>
#include <string>

// The library's one open store. Every exported function holds the mutex for its whole run.
struct StoreState
{
    std::mutex mutex;
    std::unique_ptr<StoreSession> session;
    std::string lastError;
    std::string currentPath;
};

StoreState& TheStore();
