#include "CZorvaFont.h"

namespace {

constexpr LONG LabelPixels = 12;
constexpr LONG EditTwips = 10 * 20; // 10 pt

LOGFONTW labelFont(LONG weight)
{
    LOGFONTW font;
    font.lfHeight = -LabelPixels;
    font.lfWeight = weight;
    font.lfCharSet = GB2312_CHARSET;
    SetFaceName(font.lfFaceName, CZorvaFont::FaceName());
    return font;
}

CHARFORMATW editFormat(COLORREF colour)
{
    CHARFORMATW format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    format.dwEffects = 0;
    format.yHeight = EditTwips;
    format.crTextColor = colour;
    format.bCharSet = GB2312_CHARSET;
    SetFaceName(format.szFaceName, CZorvaFont::FaceName());
    return format;
}

} // namespace

CZorvaFont& CZorvaFont::GetInstance()
{
    static CZorvaFont instance;
    return instance;
}

QString CZorvaFont::FaceName()
{
    return QStringLiteral("WenQuanYi Micro Hei");
}

LOGFONTW CZorvaFont::GetDefaultLableFont() const
{
    return labelFont(FW_NORMAL);
}

LOGFONTW CZorvaFont::GetMemoPropertyDlgTeamLableFont() const
{
    return labelFont(FW_SEMIBOLD);
}

CHARFORMATW CZorvaFont::GetDefaultRichEditFont() const
{
    return editFormat(TextColour);
}

CHARFORMATW CZorvaFont::GetSearchRichEditDefaultFont() const
{
    return editFormat(HintColour);
}
