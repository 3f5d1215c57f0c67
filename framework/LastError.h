#pragma once
// The error code of the last failed kit call on this thread, like the platform's last error.
#include "KitExport.h"
#include "WinTypes.h"

KIT_API DWORD GetLastError();
KIT_API void SetLastError(DWORD code);
