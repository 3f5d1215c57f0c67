#include "CBitmap.h"

#include "FrameworkTestSeams.h"
#include "LastError.h"

namespace {
constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorNotEnoughMemory = 8;
constexpr int kMaxSide = 16384;
} // namespace

BOOL CBitmap::CreateCompatibleBitmap(CDC* /*pDC*/, int width, int height)
{
    // No pDC: every surface of the framework has the same 32-bit format.
    if (FrameworkTest::DrawingFailure* failure = FrameworkTest::activeDrawingFailure()) {
        failure->recordFailure();
        SetLastError(failure->errorCode());
        return FALSE;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        SetLastError(kErrorInvalidParameter);
        return FALSE;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        SetLastError(kErrorNotEnoughMemory);
        return FALSE;
    }
    image.fill(Qt::black);
    m_image = std::move(image);
    return TRUE;
}

BOOL CBitmap::DeleteObject()
{
    if (m_image.isNull())
        return FALSE;
    m_image = QImage();
    return TRUE;
}
