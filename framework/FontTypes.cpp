#include "FontTypes.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextCharFormat>

#include <algorithm>
#include <cstdlib>

namespace {

QFont::Weight qtWeight(LONG weight)
{
    if (weight <= 0)
        return QFont::Normal;
    return QFont::Weight(std::clamp(int(weight), 100, 900));
}

QColor qtColour(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

void SetFaceName(WCHAR (&field)[LF_FACESIZE], const QString& face)
{
    std::fill(std::begin(field), std::end(field), u'\0');
    const qsizetype n = std::min<qsizetype>(face.size(), LF_FACESIZE - 1);
    std::copy_n(reinterpret_cast<const char16_t*>(face.utf16()), n, field);
}

QString FaceName(const WCHAR (&field)[LF_FACESIZE])
{
    qsizetype n = 0;
    while (n < LF_FACESIZE && field[n] != u'\0')
        ++n;
    return QString::fromUtf16(field, n);
}

QFont FontFromLogFont(const LOGFONTW& logFont)
{
    QFont font;
    const QString face = FaceName(logFont.lfFaceName);
    if (!face.isEmpty())
        font.setFamilies({face});
    if (logFont.lfHeight != 0)
        font.setPixelSize(std::abs(logFont.lfHeight));
    font.setWeight(qtWeight(logFont.lfWeight));
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    return font;
}

QTextCharFormat CharFormatToQt(const CHARFORMATW& format)
{
    QTextCharFormat out;
    const DWORD mask = format.dwMask;
    const DWORD effects = format.dwEffects;
    if (mask & CFM_FACE) {
        const QString face = FaceName(format.szFaceName);
        if (!face.isEmpty())
            out.setFontFamilies({face});
    }
    if ((mask & CFM_SIZE) && format.yHeight > 0)
        out.setFontPointSize(format.yHeight / 20.0);
    if (mask & CFM_COLOR) {
        if (effects & CFE_AUTOCOLOR)
            out.setForeground(QColor(Qt::black));
        else
            out.setForeground(qtColour(format.crTextColor));
    }
    if (mask & CFM_BOLD)
        out.setFontWeight((effects & CFE_BOLD) ? QFont::Bold : QFont::Normal);
    if (mask & CFM_ITALIC)
        out.setFontItalic(effects & CFE_ITALIC);
    if (mask & CFM_UNDERLINE)
        out.setFontUnderline(effects & CFE_UNDERLINE);
    if (mask & CFM_STRIKEOUT)
        out.setFontStrikeOut(effects & CFE_STRIKEOUT);
    return out;
}

CHARFORMATW CharFormatFromQt(const QTextCharFormat& format)
{
    CHARFORMATW out;
    out.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    const QFont font = format.font();
    SetFaceName(out.szFaceName, font.families().value(0, font.family()));
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    out.yHeight = LONG(points * 20.0 + 0.5);
    const QColor colour = format.foreground().color();
    out.crTextColor = RGB(colour.red(), colour.green(), colour.blue());
    if (font.weight() >= QFont::Bold)
        out.dwEffects |= CFE_BOLD;
    if (font.italic())
        out.dwEffects |= CFE_ITALIC;
    if (font.underline())
        out.dwEffects |= CFE_UNDERLINE;
    if (font.strikeOut())
        out.dwEffects |= CFE_STRIKEOUT;
    return out;
}
