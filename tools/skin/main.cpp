// Paints the kit's common skin image. Every area the dialogs name holds its artwork here:
//   27 x 18 glyphs        drawn before a button's caption (and the combo box arrow)
//   32 x 32 button faces  stretched by their 8-pixel borders: a normal face and hover faces
//   25 x 24 edit frame    stretched by its 6-pixel borders
//   27 x 54 combo button  three 27 x 18 states stacked: normal, hover, pressed
//   269 x 55 pane strip   the detail pane's card: top half, one middle row, bottom half
//   262 x 2 separator     an etched line
// Run: kitskin [output.png]
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor Blue(0x2F, 0x7B, 0xD8);
const QColor Green(0x2E, 0x9B, 0x5F);
const QColor Red(0xD6, 0x4F, 0x4A);
const QColor Slate(0x5A, 0x6B, 0x7C);
const QColor CardFill(233, 242, 252);
const QColor CardBorder(0xC3, 0xD5, 0xEA);

QPen glyphPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Runs `draw` with the painter clipped to the 27 x 18 glyph cell at (x, y) and the origin at its
// centre, so no glyph can reach into a neighbouring area.
template <class Draw> void glyph(QPainter& p, int x, int y, Draw draw)
{
    p.save();
    p.setClipRect(QRect(x, y, 27, 18));
    p.translate(x + 13.5, y + 9.0);
    draw(p);
    p.restore();
}

void drawGlyphs(QPainter& p)
{
    glyph(p, 139, 396, [](QPainter& g) { // OK: check mark
        g.setPen(glyphPen(Green, 2.2));
        g.drawPolyline(QPolygonF{QPointF(-5.5, 0.2), QPointF(-1.8, 4.0), QPointF(5.5, -4.2)});
    });
    glyph(p, 112, 27, [](QPainter& g) { // Cancel: cross
        g.setPen(glyphPen(Slate, 2.0));
        g.drawLine(QPointF(-4.2, -4.2), QPointF(4.2, 4.2));
        g.drawLine(QPointF(-4.2, 4.2), QPointF(4.2, -4.2));
    });
    glyph(p, 169, 27, [](QPainter& g) { // New: plus
        g.setPen(glyphPen(Blue, 2.2));
        g.drawLine(QPointF(0, -5.5), QPointF(0, 5.5));
        g.drawLine(QPointF(-5.5, 0), QPointF(5.5, 0));
    });
    glyph(p, 193, 28, [](QPainter& g) { // Find: magnifier
        g.setPen(glyphPen(Slate, 1.8));
        g.drawEllipse(QPointF(-1.5, -1.5), 4.3, 4.3);
        g.setPen(glyphPen(Slate, 2.4));
        g.drawLine(QPointF(1.9, 1.9), QPointF(5.6, 5.6));
    });
    glyph(p, 215, 25, [](QPainter& g) { // combo box: drop-down chevron
        g.setPen(glyphPen(Slate, 1.8));
        g.drawPolyline(QPolygonF{QPointF(-4.0, -1.8), QPointF(0, 2.2), QPointF(4.0, -1.8)});
    });
    glyph(p, 243, 26, [](QPainter& g) { // Edit: pencil
        g.setPen(QPen(Blue, 3.4, Qt::SolidLine, Qt::FlatCap));
        g.drawLine(QPointF(-2.6, 2.6), QPointF(4.2, -4.2));
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0x33, 0x3D, 0x48));
        g.drawPolygon(QPolygonF{QPointF(-5.8, 5.8), QPointF(-4.3, 1.5), QPointF(-1.5, 4.3)});
        g.setBrush(QColor(0xE8, 0x8A, 0x8A));
        g.drawPolygon(
            QPolygonF{QPointF(3.2, -5.6), QPointF(5.6, -3.2), QPointF(4.9, -2.5), QPointF(2.5, -4.9)});
    });
    glyph(p, 250, 122, [](QPainter& g) { // Save: disk
        QPainterPath disk;
        disk.moveTo(-5.5, -5.5);
        disk.lineTo(3.5, -5.5);
        disk.lineTo(5.5, -3.5);
        disk.lineTo(5.5, 5.5);
        disk.lineTo(-5.5, 5.5);
        disk.closeSubpath();
        g.setPen(glyphPen(Blue, 1.5));
        g.setBrush(QColor(0xE4, 0xEF, 0xFB));
        g.drawPath(disk);
        g.setPen(Qt::NoPen);
        g.setBrush(Blue);
        g.drawRect(QRectF(-3.0, -5.0, 5.0, 3.4));
        g.setBrush(Qt::white);
        g.setPen(glyphPen(Blue, 1.0));
        g.drawRect(QRectF(-3.5, 1.0, 7.0, 4.0));
    });
    glyph(p, 133, 372, [](QPainter& g) { // Delete: waste bin
        g.setPen(glyphPen(Red, 1.6));
        g.drawLine(QPointF(-5.5, -4.0), QPointF(5.5, -4.0));
        g.drawPolyline(
            QPolygonF{QPointF(-1.8, -4.0), QPointF(-1.8, -6.0), QPointF(1.8, -6.0), QPointF(1.8, -4.0)});
        g.drawPolyline(
            QPolygonF{QPointF(-4.2, -2.2), QPointF(-3.4, 6.0), QPointF(3.4, 6.0), QPointF(4.2, -2.2)});
        g.setPen(glyphPen(Red, 1.2));
        g.drawLine(QPointF(-1.2, -1.0), QPointF(-1.0, 4.0));
        g.drawLine(QPointF(1.2, -1.0), QPointF(1.0, 4.0));
    });
    glyph(p, 140, 27, [](QPainter& g) { // Refresh: circular arrow
        g.setPen(glyphPen(Blue, 1.8));
        const QRectF circle(-5.0, -5.0, 10.0, 10.0);
        g.drawArc(circle, 60 * 16, 290 * 16);
        g.setPen(Qt::NoPen);
        g.setBrush(Blue);
        g.drawPolygon(QPolygonF{QPointF(1.0, -7.8), QPointF(5.6, -4.9), QPointF(0.8, -2.2)});
    });
}

// A rounded button face in a 32 x 32 cell; the kit stretches it by its 8-pixel borders.
void face(QPainter& p, int x, int y, const QColor& top, const QColor& bottom, const QColor& border)
{
    const QRectF r(x + 0.5, y + 0.5, 31.0, 31.0);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.setPen(QPen(border, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(r, 5.0, 5.0);
    // A one-pixel inner highlight gives the face a little depth.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 4.0, 4.0);
}

void drawFaces(QPainter& p)
{
    const QColor hoverTop(0xEE, 0xF6, 0xFF), hoverBottom(0xD5, 0xE7, 0xFB), hoverBorder(0x6F, 0xA4, 0xDC);
    face(p, 408, 107, QColor(0xFF, 0xFF, 0xFF), QColor(0xEC, 0xF1, 0xF7), QColor(0xB4, 0xC4, 0xD6)); // normal
    face(p, 440, 139, QColor(0xFA, 0xFC, 0xFE), QColor(0xF0, 0xF4, 0xF9),
         QColor(0xCF, 0xDA, 0xE6));                        // light normal
    face(p, 440, 107, hoverTop, hoverBottom, hoverBorder); // Edit
    face(p, 472, 107, hoverTop, hoverBottom, hoverBorder); // New
    face(p, 472, 139, hoverTop, hoverBottom, hoverBorder); // Find
    face(p, 472, 171, hoverTop, hoverBottom, hoverBorder); // Refresh
    face(p, 406, 139, QColor(0xEC, 0xF5, 0xFF), QColor(0xD0, 0xE4, 0xFA), QColor(0x5B, 0x96, 0xD6)); // Save
    face(p, 504, 107, QColor(0xEF, 0xFA, 0xF2), QColor(0xD2, 0xEF, 0xDC), QColor(0x6C, 0xB9, 0x88)); // OK
    face(p, 536, 107, QColor(0xF7, 0xF8, 0xFA), QColor(0xE2, 0xE6, 0xEC),
         QColor(0x9C, 0xA8, 0xB6)); // Delete, Cancel
}

void drawEditParts(QPainter& p)
{
    // Edit frame, 25 x 24: white field, soft border.
    p.setPen(QPen(QColor(0xAF, 0xC1, 0xD6), 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(193.5, 118.5, 24.0, 23.0), 3.5, 3.5);

    // Combo button states, 27 x 18 each: normal (a divider only), hover, pressed.
    p.setPen(QPen(QColor(0xD5, 0xDF, 0xEA), 1.0));
    p.drawLine(QPointF(107.5, 161.0), QPointF(107.5, 173.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE3, 0xEE, 0xFB));
    p.drawRoundedRect(QRectF(108.0, 177.0, 18.0 + 7.0, 16.0), 3.0, 3.0);
    p.setBrush(QColor(0xC9, 0xDE, 0xF7));
    p.drawRoundedRect(QRectF(108.0, 195.0, 18.0 + 7.0, 16.0), 3.0, 3.0);
}

void drawPaneStrip(QPainter& p)
{
    // The card spans the whole pane: its top half, the one middle row that the pane stretches,
    // and its bottom half. Outside the card the pane's own colour shows through.
    const QRectF card(2.5, 52 + 3.5, 264.0, 55.0 - 7.0);
    p.save();
    p.setClipRect(QRect(0, 52, 269, 55));
    p.setPen(QPen(CardBorder, 1.0));
    p.setBrush(CardFill);
    p.drawRoundedRect(card, 6.0, 6.0);
    // A faint highlight along the top edge.
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
    p.drawLine(QPointF(8.0, 52 + 4.5), QPointF(261.0, 52 + 4.5));
    p.restore();
}

void drawSeparator(QPainter& p)
{
    QLinearGradient line(QPointF(0, 0), QPointF(262, 0));
    const QColor dark(0xB8, 0xCB, 0xE2);
    line.setColorAt(0.0, QColor(dark.red(), dark.green(), dark.blue(), 60));
    line.setColorAt(0.08, dark);
    line.setColorAt(0.92, dark);
    line.setColorAt(1.0, QColor(dark.red(), dark.green(), dark.blue(), 60));
    p.fillRect(QRect(0, 112, 262, 1), line);
    QLinearGradient light(QPointF(0, 0), QPointF(262, 0));
    light.setColorAt(0.0, QColor(255, 255, 255, 60));
    light.setColorAt(0.08, Qt::white);
    light.setColorAt(0.92, Qt::white);
    light.setColorAt(1.0, QColor(255, 255, 255, 60));
    p.fillRect(QRect(0, 113, 262, 1), light);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString::fromUtf8(KIT_SKIN_OUTPUT);

    QImage image(576, 420, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPaneStrip(painter);
    drawSeparator(painter);
    drawEditParts(painter);
    drawFaces(painter);
    drawGlyphs(painter);
    painter.end();

    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}
