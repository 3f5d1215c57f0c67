#pragma once
// An image that draws itself onto a DC: plain copies, stretches and source-over alpha blends
// (per-pixel alpha where the image has an alpha channel, times a constant alpha).
#include "CRect.h"
#include "FrameworkExport.h"
#include "WinDefs.h"

#include <QImage>
#include <QString>

class CDC;

class FRAMEWORK_API CImage
{
  public:
    CImage() = default;
    explicit CImage(QImage image) : m_image(std::move(image)) {}

    // Reads a file or a Qt resource (":/..."); FALSE when it cannot be read.
    BOOL Load(const QString& path);
    void Attach(QImage image) { m_image = std::move(image); }
    void Destroy() { m_image = QImage(); }
    bool IsNull() const { return m_image.isNull(); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    bool HasAlphaChannel() const { return m_image.hasAlphaChannel(); }
    const QImage& Image() const { return m_image; }

    BOOL AlphaBlend(CDC* pDC, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, BYTE constantAlpha = 0xFF, BYTE blendOp = AC_SRC_OVER) const;
    BOOL AlphaBlend(CDC* pDC, const CRect& dest, const CRect& src, BYTE constantAlpha = 0xFF) const;
    BOOL BitBlt(CDC* pDC, int xDest, int yDest, int width, int height, int xSrc, int ySrc,
                DWORD rop = SRCCOPY) const;
    BOOL StretchBlt(CDC* pDC, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop = SRCCOPY) const;
    // Alpha-blends when the image has an alpha channel, copies otherwise.
    BOOL Draw(CDC* pDC, const CRect& dest, const CRect& src) const;

  private:
    QImage m_image;
};
