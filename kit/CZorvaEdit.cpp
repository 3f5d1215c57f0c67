#include "CZorvaEdit.h"

#include "CRes.h"
#include "CZorvaFont.h"
#include "SkinScrollBarStyle.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int FrameBorder = 6;
constexpr int Padding = 6;
constexpr int DefaultHeight = 24;

const QColor FocusBorder(0x5B, 0x96, 0xD6);
const QColor PlainBorder(0xAF, 0xC1, 0xD6);

} // namespace

CZorvaEdit::CZorvaEdit(QWidget* parent) : CRichEditCtrl(parent)
{
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    SkinScrollBarStyle::Dress(verticalScrollBar());
    SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
    updateMargins();
}

void CZorvaEdit::SetEditInfo(const CSkinRect& leftGlyph, const CSkinRect& frame, const CSkinRect& rightGlyph,
                             int width, int /*style: one style, a framed field*/)
{
    m_leftGlyph = leftGlyph;
    m_frame = frame;
    m_rightGlyph = rightGlyph;
    m_width = width;
    if (width > 0)
        resize(width, height() > 0 ? height() : DefaultHeight);
    updateMargins();
    updateGeometry();
    update();
}

void CZorvaEdit::SetBkColor(COLORREF colour)
{
    m_bkColour = QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    update();
}

QSize CZorvaEdit::sizeHint() const
{
    return {m_width > 0 ? m_width : 160, IsMultiLine() ? 120 : DefaultHeight};
}

void CZorvaEdit::updateMargins()
{
    const int left = Padding + (m_leftGlyph.isEmpty() ? 0 : m_leftGlyph.width);
    const int right = (IsMultiLine() ? 1 : Padding) + (m_rightGlyph.isEmpty() ? 0 : m_rightGlyph.width);
    setContentsMargins(left, 2, right, 2);
}

void CZorvaEdit::focusInEvent(QFocusEvent* event)
{
    CRichEditCtrl::focusInEvent(event);
    update();
}

void CZorvaEdit::focusOutEvent(QFocusEvent* event)
{
    CRichEditCtrl::focusOutEvent(event);
    update();
}

bool CZorvaEdit::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint:
        // The edit's own surface, round the viewport: frame and glyphs. The viewport draws the text.
        paintFrame();
        return true;
    case QEvent::EnabledChange:
        update();
        break;
    case QEvent::Polish:
    case QEvent::StyleChange:
    case QEvent::Show: {
        // Polishing resets the margins that keep the text clear of the frame and the glyphs.
        const bool handled = CRichEditCtrl::event(event);
        updateMargins();
        return handled;
    }
    case QEvent::Resize:
    case QEvent::FontChange:
        updateMargins();
        break;
    default:
        break;
    }
    return CRichEditCtrl::event(event);
}

void CZorvaEdit::paintFrame()
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_bkColour)
        painter.fillRect(rect(), *m_bkColour);
    if (!isEnabled())
        painter.setOpacity(0.6);
    const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (const QImage frame = CRes::GetInstance().Skin(m_frame); !frame.isNull()) {
        CRes::DrawNinePatch(painter, rect(), frame,
                            QMargins(FrameBorder, FrameBorder, FrameBorder, FrameBorder));
    } else {
        painter.setPen(PlainBorder);
        painter.setBrush(palette().base());
        painter.drawRoundedRect(outline, 3.5, 3.5);
    }
    if (hasFocus() && !isReadOnly()) {
        painter.setPen(QPen(FocusBorder, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outline, 3.5, 3.5);
    }
    auto drawGlyph = [&](const CSkinRect& area, int x) {
        const QImage glyph = CRes::GetInstance().Skin(area);
        if (glyph.isNull())
            return;
        const int y = IsMultiLine() ? Padding : (height() - area.height) / 2;
        painter.drawImage(QPoint(x, y), glyph);
    };
    drawGlyph(m_leftGlyph, Padding / 2);
    drawGlyph(m_rightGlyph, width() - Padding / 2 - m_rightGlyph.width);
}
