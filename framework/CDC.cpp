#include "CDC.h"

#include "CDialog.h"
#include "DrawHelpers.h"
#include "FrameworkTestSeams.h"
#include "LastError.h"

#include <QPainter>
#include <QWidget>

CDC::~CDC() = default;

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (FrameworkTest::DrawingFailure* failure = FrameworkTest::activeDrawingFailure()) {
        failure->recordFailure();
        SetLastError(failure->errorCode());
        return FALSE;
    }
    if (!m_ownBitmap.GetSafeHandle() && !m_ownBitmap.CreateCompatibleBitmap(pDC, 1, 1))
        return FALSE;
    m_bMemory = true;
    m_pSelected = nullptr;
    m_painter = nullptr;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_bMemory)
        return FALSE;
    m_bMemory = false;
    m_pSelected = nullptr;
    m_ownBitmap.DeleteObject();
    return TRUE;
}

const void* CDC::GetSafeHdc() const
{
    if (m_pAlias)
        return m_pAlias->GetSafeHdc();
    if (m_bMemory)
        return this;
    return m_painter ? this : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    if (m_pAlias)
        return m_pAlias->SelectObject(bitmap);
    if (!m_bMemory)
        return nullptr;
    CBitmap* previous = m_pSelected;
    m_pSelected = (bitmap && bitmap->GetSafeHandle()) ? bitmap : nullptr;
    return previous;
}

const QImage* CDC::Surface() const
{
    if (m_pAlias)
        return m_pAlias->Surface();
    if (!m_bMemory)
        return nullptr;
    const CBitmap* b = m_pSelected ? m_pSelected : &m_ownBitmap;
    return b->GetSafeHandle() ? &b->image() : nullptr;
}

bool CDC::DrawsIntoWindowBuffer() const
{
    if (m_pAlias || m_bMemory || !m_painter || !m_painter->isActive())
        return false;
    const QPaintDevice* device = m_painter->device();
    if (!device || device->devType() != QInternal::Widget)
        return false;
    return !static_cast<const QWidget*>(device)->testAttribute(Qt::WA_PaintOnScreen);
}

bool CDC::Paint(const std::function<void(QPainter&)>& draw)
{
    if (m_pAlias) {
        if (m_aliasClip.isNull())
            return m_pAlias->Paint(draw);
        return m_pAlias->Paint([&](QPainter& p) {
            p.setClipRect(m_aliasClip, Qt::IntersectClip);
            draw(p);
        });
    }
    if (m_bMemory) {
        CBitmap* b = m_pSelected ? m_pSelected : &m_ownBitmap;
        if (!b->GetSafeHandle())
            return false;
        QPainter p(&b->image());
        p.translate(-m_origin);
        draw(p);
        return true;
    }
    if (!m_painter || !m_painter->isActive())
        return false;
    m_painter->save();
    draw(*m_painter);
    m_painter->restore();
    return true;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour)
{
    const QColor c(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    Paint([&](QPainter& p) { p.fillRect(rect.toQRect(), c); });
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour)
{
    FillSolidRect(CRect(x, y, x + cx, y + cy), colour);
}

const QImage* CDC::SourceOf(const CDC* source, QPoint& origin)
{
    origin = {};
    if (!source)
        return nullptr;
    while (source->m_pAlias)
        source = source->m_pAlias;
    origin = source->m_origin;
    return source->Surface();
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD /*rop*/)
{
    QPoint offset;
    const QImage* image = SourceOf(source, offset);
    if (!image)
        return FALSE;
    return Paint([&](QPainter& p) {
        BitBltImage(p, QPoint(x, y), *image, QRect(QPoint(xSrc, ySrc) - offset, QSize(width, height)));
    });
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD /*rop*/)
{
    QPoint offset;
    const QImage* image = SourceOf(source, offset);
    if (!image || width <= 0 || height <= 0)
        return FALSE;
    return Paint([&](QPainter& p) {
        StretchBltImage(p, QRect(x, y, width, height), *image,
                        QRect(QPoint(xSrc, ySrc) - offset, QSize(srcWidth, srcHeight)));
    });
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, BYTE constantAlpha)
{
    QPoint offset;
    const QImage* image = SourceOf(source, offset);
    if (!image || width <= 0 || height <= 0)
        return FALSE;
    return Paint([&](QPainter& p) {
        AlphaBlendImage(p, QRect(x, y, width, height), *image,
                        QRect(QPoint(xSrc, ySrc) - offset, QSize(srcWidth, srcHeight)), constantAlpha);
    });
}

CPaintDC::CPaintDC(QWidget* window)
{
    if (auto* dialog = qobject_cast<CDialog*>(window))
        m_painter = dialog->ActivePainter();
}
