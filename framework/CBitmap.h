#pragma once
// An off-screen bitmap that a memory CDC draws into: 32-bit with alpha, black when created.
#include "FrameworkExport.h"
#include "WinDefs.h"

#include <QImage>

class CDC;

class FRAMEWORK_API CBitmap
{
  public:
    CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Fails (FALSE, GetLastError set) for an empty or huge size, or under the drawing-failure seam.
    BOOL CreateCompatibleBitmap(CDC* pDC, int width, int height);
    BOOL DeleteObject();
    // Non-null while the bitmap exists.
    const void* GetSafeHandle() const { return m_image.isNull() ? nullptr : &m_image; }
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

  private:
    QImage m_image;
};
