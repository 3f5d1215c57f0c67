#pragma once
// The integer types and result numbers the module's code is written in. Window messages carry a
// pointer-sized wParam/lParam, so a heap object's address always fits.
#include <cstdint>

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using BOOL = int;
using DWORD = std::uint32_t;
using COLORREF = std::uint32_t;

constexpr UINT WM_USER = 0x0400;

// Dialog and message-box results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// RGB as the module writes colours: red in the low byte.
constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
