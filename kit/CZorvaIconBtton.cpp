#include "CZorvaIconBtton.h"

#include "CRes.h"
#include "CZorvaFont.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int FaceBorder = 8;
constexpr int Height = 32;
constexpr int GlyphGap = 2;

const QColor TextColour(0x22, 0x2B, 0x36);
const QColor DisabledText(0xA0, 0xA8, 0xB2);
const QColor FocusRing(0x5B, 0x96, 0xD6, 170);

QColor qtColour(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QImage skinArea(const CSkinRect& area)
{
    return CRes::GetInstance().Skin(area);
}

QImage greyed(const QImage& glyph)
{
    QImage grey = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = 150 + qGray(line[x]) / 4;
            line[x] = qRgba(g, g, g + 8, qAlpha(line[x]) * 3 / 4);
        }
    }
    return grey;
}

} // namespace

CZorvaIconBtton::CZorvaIconBtton(QWidget* parent) : CWndT<QPushButton>(parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    QFont font = FontFromLogFont(CZorvaFont::GetInstance().GetDefaultLableFont());
    font.setPixelSize(13);
    setFont(font);
}

void CZorvaIconBtton::SetButtonInfo(const CSkinRect& glyph, const CSkinRect& face,
                                    const CSkinRect& activeFace, int width, int style)
{
    m_glyph = glyph;
    m_face = face;
    m_activeFace = activeFace;
    m_width = width;
    m_style = style;
    if (width > 0)
        resize(width, Height);
    updateGeometry();
    update();
}

void CZorvaIconBtton::SetBkColor(COLORREF colour)
{
    m_bkColour = qtColour(colour);
    update();
}

CZorvaIconBtton::Look CZorvaIconBtton::look() const
{
    if (!isEnabled())
        return Look::Disabled;
    if (isDown() || isChecked())
        return Look::Pressed;
    if (m_hover)
        return Look::Hover;
    return Look::Normal;
}

QSize CZorvaIconBtton::sizeHint() const
{
    if (m_width > 0)
        return {m_width, Height};
    const int textWidth = fontMetrics().horizontalAdvance(text());
    return {std::max(75, textWidth + (m_glyph.isEmpty() ? 0 : m_glyph.width + GlyphGap) + 24), Height};
}

bool CZorvaIconBtton::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::Enter:
        m_hover = true;
        update();
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
    case QEvent::Hide: // a window closed under the pointer sends no leave
        m_hover = false;
        update();
        break;
    case QEvent::EnabledChange:
        update();
        break;
    default:
        break;
    }
    return QPushButton::event(event);
}

QImage CZorvaIconBtton::faceImage(Look look) const
{
    const bool active = look == Look::Hover || look == Look::Pressed;
    if (!active && m_style == ZIB_STYLE_FLAT)
        return {};
    const CSkinRect& area = active && !m_activeFace.isEmpty() ? m_activeFace : m_face;
    const QImage skin = CRes::GetInstance().Skin(area);
    if (skin.isNull())
        return {};
    QImage face(size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    QPainter p(&face);
    CRes::DrawNinePatch(p, face.rect(), skin, QMargins(FaceBorder, FaceBorder, FaceBorder, FaceBorder));
    if (look == Look::Pressed) {
        // Darken only where the face is: the corners stay transparent.
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(face.rect(), QColor(0x10, 0x3A, 0x6A, 34));
    }
    return face;
}

void CZorvaIconBtton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_bkColour)
        painter.fillRect(rect(), *m_bkColour);

    const Look current = look();
    const QImage face = faceImage(current);
    if (!face.isNull()) {
        painter.save();
        if (current == Look::Disabled)
            painter.setOpacity(0.6);
        painter.drawImage(0, 0, face);
        painter.restore();
    }
    if (hasFocus() && current != Look::Disabled) {
        painter.setPen(QPen(FocusRing, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), 4.0, 4.0);
    }

    // Glyph and caption, centred together; pressed content sits one pixel lower.
    QImage glyph = skinArea(m_glyph);
    if (current == Look::Disabled && !glyph.isNull())
        glyph = greyed(glyph);
    const QString caption = text();
    const QFontMetrics fm = fontMetrics();
    const int glyphWidth = glyph.isNull() ? 0 : glyph.width();
    const int gap = glyphWidth > 0 && !caption.isEmpty() ? GlyphGap : 0;
    const int room = std::max(0, width() - 12 - glyphWidth - gap);
    const QString shown = fm.elidedText(caption, Qt::ElideRight, room);
    const int total = glyphWidth + gap + fm.horizontalAdvance(shown);
    const int dy = current == Look::Pressed ? 1 : 0;
    int x = (width() - total) / 2;
    if (!glyph.isNull()) {
        painter.drawImage(QPoint(x, (height() - glyph.height()) / 2 + dy), glyph);
        x += glyphWidth + gap;
    }
    painter.setPen(current == Look::Disabled ? DisabledText : TextColour);
    painter.drawText(QRect(x, dy, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, shown);
}
