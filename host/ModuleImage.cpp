#include "ModuleImage.h"

#include <ModuleProtocol.h>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A yellow note pad with a red binding, ruled lines and a folded corner, drawn on a 64x64 grid.
void drawNotePad(QPainter& p)
{
    const QRectF sheet(10, 8, 44, 50);
    const qreal fold = 12;
    QPainterPath page;
    page.moveTo(sheet.topLeft());
    page.lineTo(sheet.right(), sheet.top());
    page.lineTo(sheet.right(), sheet.bottom() - fold);
    page.lineTo(sheet.right() - fold, sheet.bottom());
    page.lineTo(sheet.left(), sheet.bottom());
    page.closeSubpath();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(page.translated(2, 2));
    p.setBrush(QColor(0xFF, 0xE0, 0x82));
    p.setPen(QPen(QColor(0xC8, 0xA0, 0x3C), 1.5));
    p.drawPath(page);

    QPainterPath corner;
    corner.moveTo(sheet.right(), sheet.bottom() - fold);
    corner.lineTo(sheet.right() - fold, sheet.bottom() - fold);
    corner.lineTo(sheet.right() - fold, sheet.bottom());
    corner.closeSubpath();
    p.setBrush(QColor(0xF0, 0xC0, 0x50));
    p.drawPath(corner);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x5A, 0x4A));
    p.drawRoundedRect(QRectF(sheet.left() - 1, sheet.top() - 3, sheet.width() + 2, 9), 2, 2);

    p.setPen(QPen(QColor(0x9A, 0x8A, 0x6A), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const qreal y = sheet.top() + 15 + i * 8;
        const qreal right = i == 3 ? sheet.right() - fold - 4 : sheet.right() - 7;
        p.drawLine(QPointF(sheet.left() + 7, y), QPointF(right, y));
    }
}

void drawTile(QPainter& p, int imageId)
{
    p.setPen(QPen(QColor(0x5A, 0x78, 0x96), 1.5));
    p.setBrush(QColor(0xD6, 0xE4, 0xF2));
    p.drawRoundedRect(QRectF(8, 8, 48, 48), 8, 8);
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(8, 8, 48, 48), Qt::AlignCenter, QString::number(imageId));
}

} // namespace

QImage ModuleImageAt(int imageId, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    if (imageId == ModuleProtocol::MEMO_IMAGE_ID)
        drawNotePad(p);
    else
        drawTile(p, imageId);
    return image;
}

QIcon ModuleImage(int imageId)
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(ModuleImageAt(imageId, size)));
    return icon;
}
