#pragma once
// The error code of the last failed framework call on this thread, like the platform's last error.
#include "FrameworkExport.h"
#include "WinTypes.h"

FRAMEWORK_API DWORD GetLastError();
FRAMEWORK_API void SetLastError(DWORD code);
