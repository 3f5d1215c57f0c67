#pragma once
// The platform's block transfers on a QPainter. Rectangles are in pixels; source rectangles are
// clipped to the image. BitBlt and StretchBlt replace the target pixels (alpha included);
// AlphaBlend composes source-over with a constant alpha on top of the image's own.
#include "FrameworkExport.h"

#include <QRect>

class QImage;
class QPainter;

FRAMEWORK_API void BitBltImage(QPainter& painter, QPoint target, const QImage& source,
                               const QRect& sourceRect);
// Nearest-neighbour scaling, as the platform's default stretch mode: no smoothing across rows.
FRAMEWORK_API void StretchBltImage(QPainter& painter, const QRect& target, const QImage& source,
                                   const QRect& sourceRect);
FRAMEWORK_API void AlphaBlendImage(QPainter& painter, const QRect& target, const QImage& source,
                                   const QRect& sourceRect, int constantAlpha = 255);
