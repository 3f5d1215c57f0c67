#include "DrawHelpers.h"

#include <QImage>
#include <QPainter>

namespace {

void draw(QPainter& painter, const QRect& target, const QImage& source, const QRect& sourceRect,
          QPainter::CompositionMode mode, qreal opacity)
{
    if (target.isEmpty() || sourceRect.isEmpty() || source.isNull())
        return;
    painter.save();
    painter.setCompositionMode(mode);
    painter.setOpacity(opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, source, sourceRect);
    painter.restore();
}

} // namespace

void BitBltImage(QPainter& painter, QPoint target, const QImage& source, const QRect& sourceRect)
{
    const QRect src = sourceRect & source.rect();
    const QPoint shift = src.topLeft() - sourceRect.topLeft();
    draw(painter, QRect(target + shift, src.size()), source, src, QPainter::CompositionMode_Source, 1.0);
}

void StretchBltImage(QPainter& painter, const QRect& target, const QImage& source, const QRect& sourceRect)
{
    draw(painter, target, source, sourceRect, QPainter::CompositionMode_Source, 1.0);
}

void AlphaBlendImage(QPainter& painter, const QRect& target, const QImage& source, const QRect& sourceRect,
                     int constantAlpha)
{
    draw(painter, target, source, sourceRect, QPainter::CompositionMode_SourceOver,
         qBound(0, constantAlpha, 255) / 255.0);
}
