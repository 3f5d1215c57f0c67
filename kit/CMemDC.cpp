#include "CMemDC.h"

#include "DrawHelpers.h"

#include <QPainter>
#include <QWidget>

CMemDC::CMemDC(CDC& target, const CRect& rect) : m_target(target), m_rect(rect)
{
    if (target.DrawsIntoWindowBuffer()) {
        m_pAlias = &target;
        // Like a picture that cannot be made, an empty rectangle leaves the drawing unclipped.
        m_aliasClip = rect.toQRect().isEmpty() ? QRect() : rect.toQRect();
        return;
    }
    if (CreateCompatibleDC(&target) &&
        m_buffer.CreateCompatibleBitmap(&target, rect.Width(), rect.Height())) {
        m_buffer.image().fill(Qt::transparent);
        SelectObject(&m_buffer);
        m_origin = rect.TopLeft();
        return;
    }
    DeleteDC();
    m_pAlias = &target;
}

CMemDC::CMemDC(CDC& target, const QWidget* window)
    : CMemDC(target, window ? CRect(0, 0, window->width(), window->height()) : CRect())
{
}

CMemDC::~CMemDC()
{
    if (m_pAlias)
        return;
    const QImage& picture = m_buffer.image();
    m_target.Paint([&](QPainter& p) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(m_rect.TopLeft(), picture);
    });
}
