#include "CZorvaStatic.h"

#include "CRes.h"
#include "CZorvaFont.h"

#include <QPainter>

namespace {

QColor qtColour(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

CZorvaStatic::CZorvaStatic(QWidget* parent) : CWndT<QLabel>(parent)
{
    setFont(FontFromLogFont(CZorvaFont::GetInstance().GetDefaultLableFont()));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetTextColor(CZorvaFont::TextColour);
}

void CZorvaStatic::SetInfo(const CSkinRect& back, int width, int height, const LOGFONTW& font,
                           COLORREF colour, UINT nFormat)
{
    m_back = back;
    m_size = QSize(width, height);
    setFont(FontFromLogFont(font));
    SetTextColor(colour);
    const Qt::Alignment horizontal = nFormat == ZS_CENTER  ? Qt::AlignHCenter
                                     : nFormat == ZS_RIGHT ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
    if (width > 0 && height > 0)
        resize(m_size);
    update();
}

void CZorvaStatic::SetBkColor(COLORREF colour)
{
    m_bkColour = qtColour(colour);
    update();
}

void CZorvaStatic::SetTextColor(COLORREF colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, qtColour(colour));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xA0, 0xA8, 0xB2));
    setPalette(p);
}

QSize CZorvaStatic::sizeHint() const
{
    return m_size.isValid() && !m_size.isEmpty() ? m_size : QLabel::sizeHint();
}

void CZorvaStatic::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        if (m_bkColour)
            painter.fillRect(rect(), *m_bkColour);
        if (!m_back.isEmpty()) {
            if (const QImage back = CRes::GetInstance().Skin(m_back); !back.isNull())
                painter.drawImage(rect(), back);
        }
    }
    QLabel::paintEvent(event);
}
