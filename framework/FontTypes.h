#pragma once
// The font descriptions dialog code is written in: a logical font (LOGFONTW) for labels and a
// character format (CHARFORMATW) for rich edits, with their flag values, and their Qt forms.
#include "FrameworkExport.h"
#include "WinTypes.h"

#include <cstdint>

class QFont;
class QString;
class QTextCharFormat;

using LONG = std::int32_t;
using BYTE = std::uint8_t;
using WCHAR = char16_t;

constexpr int LF_FACESIZE = 32;

// Font weights.
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;

constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE GB2312_CHARSET = 134;

struct LOGFONTW
{
    LONG lfHeight = 0; // < 0: character height in pixels; > 0: cell height in pixels
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    WCHAR lfFaceName[LF_FACESIZE] = {};
};

// CHARFORMATW.dwMask: which members hold a value.
constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
// CHARFORMATW.dwEffects.
constexpr DWORD CFE_BOLD = 0x00000001;
constexpr DWORD CFE_ITALIC = 0x00000002;
constexpr DWORD CFE_UNDERLINE = 0x00000004;
constexpr DWORD CFE_STRIKEOUT = 0x00000008;
constexpr DWORD CFE_PROTECTED = 0x00000010;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

struct CHARFORMATW
{
    UINT cbSize = sizeof(CHARFORMATW);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    LONG yHeight = 0; // twips: 1/20 of a point
    LONG yOffset = 0;
    COLORREF crTextColor = 0;
    BYTE bCharSet = DEFAULT_CHARSET;
    BYTE bPitchAndFamily = 0;
    WCHAR szFaceName[LF_FACESIZE] = {};
};

// Copies `face` into a face-name field, cut to fit with its terminator.
FRAMEWORK_API void SetFaceName(WCHAR (&field)[LF_FACESIZE], const QString& face);
FRAMEWORK_API QString FaceName(const WCHAR (&field)[LF_FACESIZE]);

FRAMEWORK_API QFont FontFromLogFont(const LOGFONTW& logFont);
// The members that dwMask names, as a Qt character format (other properties stay unset).
FRAMEWORK_API QTextCharFormat CharFormatToQt(const CHARFORMATW& format);
// A Qt character format as a full CHARFORMATW (face, size, colour and effects).
FRAMEWORK_API CHARFORMATW CharFormatFromQt(const QTextCharFormat& format);
