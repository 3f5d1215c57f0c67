#include "CRes.h"

#include <QPainter>
#include <QTest>

namespace {

const QImage& skin()
{
    return CRes::GetInstance().GetCommonImg();
}

int opaquePixels(const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qAlpha(skin().pixel(x, y)) > 128 ? 1 : 0;
    return n;
}

bool transparent(const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(skin().pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

class TestCRes : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void glyphsSitInsideTheirCells_data();
    void glyphsSitInsideTheirCells();
    void buttonFacesAreRoundedAndOpaque_data();
    void buttonFacesAreRoundedAndOpaque();
    void editAndComboParts();
    void paneStripAndSeparator();
    void ninePatchKeepsCornersAndStretchesTheMiddle();
    void skinCopiesOnlyAreasInsideTheImage();
    void areasUnpackAsTheImageWasDrawn();
};

void TestCRes::glyphsSitInsideTheirCells_data()
{
    QTest::addColumn<QRect>("cell");
    QTest::newRow("ok") << QRect(139, 396, 27, 18);
    QTest::newRow("cancel") << QRect(112, 27, 27, 18);
    QTest::newRow("new") << QRect(169, 27, 27, 18);
    QTest::newRow("find") << QRect(193, 28, 27, 18);
    QTest::newRow("combo arrow") << QRect(215, 25, 27, 18);
    QTest::newRow("edit") << QRect(243, 26, 27, 18);
    QTest::newRow("save") << QRect(250, 122, 27, 18);
    QTest::newRow("delete") << QRect(133, 372, 27, 18);
    QTest::newRow("refresh") << QRect(140, 27, 27, 18);
}

void TestCRes::glyphsSitInsideTheirCells()
{
    QFETCH(QRect, cell);
    QVERIFY(skin().rect().contains(cell));
    QVERIFY(opaquePixels(cell) >= 12);
    // The outer columns stay empty: neighbouring cells overlap by a few pixels.
    QVERIFY(transparent(QRect(cell.left(), cell.top(), 3, cell.height())));
    QVERIFY(transparent(QRect(cell.right() - 2, cell.top(), 3, cell.height())));
}

void TestCRes::buttonFacesAreRoundedAndOpaque_data()
{
    QTest::addColumn<QPoint>("origin");
    for (const QPoint p :
         {QPoint(408, 107), QPoint(440, 107), QPoint(472, 107), QPoint(504, 107), QPoint(536, 107),
          QPoint(440, 139), QPoint(472, 139), QPoint(406, 139), QPoint(472, 171)})
        QTest::addRow("%d,%d", p.x(), p.y()) << p;
}

void TestCRes::buttonFacesAreRoundedAndOpaque()
{
    QFETCH(QPoint, origin);
    const QRect face(origin, QSize(32, 32));
    QVERIFY(skin().rect().contains(face));
    QCOMPARE(opaquePixels(face.adjusted(2, 2, -2, -2)), 28 * 28);
    QVERIFY(qAlpha(skin().pixel(face.topLeft())) < 100); // rounded corner
    QVERIFY(qAlpha(skin().pixel(face.bottomRight())) < 100);
}

void TestCRes::editAndComboParts()
{
    const QRect frame(193, 118, 25, 24);
    QCOMPARE(skin().pixelColor(frame.center()), QColor(Qt::white));
    QVERIFY(qGray(skin().pixel(frame.left(), frame.center().y())) < 230); // a visible border

    // Combo button states stacked 27 x 18: normal shows a divider only, hover and pressed fill.
    const QRect states(107, 158, 27, 54);
    QVERIFY(skin().rect().contains(states));
    QVERIFY(transparent(QRect(states.left() + 4, states.top(), 20, 18)));
    const QColor hover = skin().pixelColor(states.left() + 13, states.top() + 18 + 9);
    const QColor pressed = skin().pixelColor(states.left() + 13, states.top() + 36 + 9);
    QCOMPARE(hover.alpha(), 255);
    QCOMPARE(pressed.alpha(), 255);
    QVERIFY(pressed.lightness() < hover.lightness());
}

void TestCRes::paneStripAndSeparator()
{
    const QRect strip(0, 52, 269, 55);
    const int middle = strip.top() + 27;
    // The middle row, which the pane stretches, is the card's fill between two borders, and the
    // labels' background area (28, 79, 41, 1) lies on it.
    const QColor fill(233, 242, 252);
    for (int x = 28; x < 28 + 41; ++x)
        QCOMPARE(skin().pixelColor(x, 79), fill);
    QCOMPARE(skin().pixelColor(150, middle), fill);
    QVERIFY(qAlpha(skin().pixel(0, middle)) == 0);
    QVERIFY(skin().pixelColor(2, middle) != fill);
    QVERIFY(transparent(QRect(0, strip.top(), 269, 2)));
    QVERIFY(transparent(QRect(0, strip.bottom() - 1, 269, 2)));

    // Separator: a dark row over a light one along its middle.
    const QColor dark = skin().pixelColor(131, 112);
    const QColor light = skin().pixelColor(131, 113);
    QCOMPARE(dark.alpha(), 255);
    QCOMPARE(light.alpha(), 255);
    QVERIFY(dark.lightness() < light.lightness());
}

void TestCRes::ninePatchKeepsCornersAndStretchesTheMiddle()
{
    const QRect face(408, 107, 32, 32);
    QImage target(120, 40, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        CRes::DrawNinePatch(painter, target.rect(), skin(), face, QMargins(8, 8, 8, 8));
    }
    QCOMPARE(target.pixel(0, 0), skin().pixel(face.topLeft()));
    QCOMPARE(target.pixel(119, 39), skin().pixel(face.bottomRight()));
    QCOMPARE(target.pixel(2, 20), skin().pixel(face.left() + 2, face.top() + 16)); // left border column
    QCOMPARE(qAlpha(target.pixel(60, 20)), 255);
}

void TestCRes::skinCopiesOnlyAreasInsideTheImage()
{
    QCOMPARE(CRes::GetInstance().Skin(CSkinRect(0, 112, 262, 2)).size(), QSize(262, 2));
    QVERIFY(CRes::GetInstance().Skin(CSkinRect(0, 0, 0, 0)).isNull());
    QVERIFY(CRes::GetInstance().Skin(CSkinRect(560, 400, 32, 32)).isNull());
    // Four numbers in field order: x, y, width, height.
    struct Rect
    {
        int left, top, right, bottom;
    };
    QCOMPARE(CSkinRect(Rect{193, 118, 25, 24}).toQRect(), QRect(193, 118, 25, 24));
}

// Areas are unpacked band by band (16 rows each): within one band, across two and three, at the
// image's edges, and the whole image, against the picture the build packed.
void TestCRes::areasUnpackAsTheImageWasDrawn()
{
    const QImage drawn =
        QImage(QStringLiteral(SKIN_PNG)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!drawn.isNull());
    QCOMPARE(skin().size(), drawn.size());
    QVERIFY(skin() == drawn);
    const QRect areas[] = {{120, 28, 20, 10}, {0, 52, 269, 55}, {0, 112, 262, 2},  {406, 106, 162, 97},
                           {0, 0, 576, 1},    {575, 419, 1, 1}, {140, 372, 24, 40}};
    for (const QRect& area : areas)
        QVERIFY2(CRes::GetInstance().Skin(area) == drawn.copy(area), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                                    .arg(area.x())
                                                                                    .arg(area.y())
                                                                                    .arg(area.width())
                                                                                    .arg(area.height())));
}

QTEST_MAIN(TestCRes)
#include "tst_cres.moc"
