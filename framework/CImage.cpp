#include "CImage.h"

#include "CDC.h"
#include "DrawHelpers.h"

#include <QPainter>

BOOL CImage::Load(const QString& path)
{
    QImage image(path);
    if (image.isNull())
        return FALSE;
    m_image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                            : QImage::Format_RGB32);
    return TRUE;
}

BOOL CImage::AlphaBlend(CDC* pDC, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                        int srcWidth, int srcHeight, BYTE constantAlpha, BYTE /*blendOp*/) const
{
    // No blendOp: source-over is the only operation.
    if (!pDC || m_image.isNull())
        return FALSE;
    return pDC->Paint([&](QPainter& p) {
        AlphaBlendImage(p, QRect(xDest, yDest, destWidth, destHeight), m_image,
                        QRect(xSrc, ySrc, srcWidth, srcHeight), constantAlpha);
    });
}

BOOL CImage::AlphaBlend(CDC* pDC, const CRect& dest, const CRect& src, BYTE constantAlpha) const
{
    return AlphaBlend(pDC, dest.left, dest.top, dest.Width(), dest.Height(), src.left, src.top, src.Width(),
                      src.Height(), constantAlpha);
}

BOOL CImage::BitBlt(CDC* pDC, int xDest, int yDest, int width, int height, int xSrc, int ySrc,
                    DWORD /*rop*/) const
{
    if (!pDC || m_image.isNull())
        return FALSE;
    return pDC->Paint([&](QPainter& p) {
        BitBltImage(p, QPoint(xDest, yDest), m_image, QRect(xSrc, ySrc, width, height));
    });
}

BOOL CImage::StretchBlt(CDC* pDC, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                        int srcWidth, int srcHeight, DWORD /*rop*/) const
{
    if (!pDC || m_image.isNull())
        return FALSE;
    return pDC->Paint([&](QPainter& p) {
        StretchBltImage(p, QRect(xDest, yDest, destWidth, destHeight), m_image,
                        QRect(xSrc, ySrc, srcWidth, srcHeight));
    });
}

BOOL CImage::Draw(CDC* pDC, const CRect& dest, const CRect& src) const
{
    if (m_image.hasAlphaChannel())
        return AlphaBlend(pDC, dest, src);
    return StretchBlt(pDC, dest.left, dest.top, dest.Width(), dest.Height(), src.left, src.top, src.Width(),
                      src.Height());
}
