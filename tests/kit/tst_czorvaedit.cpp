#include "CZorvaEdit.h"

#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCZorvaEdit : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void frameAndGlyphSurroundTheText();
    void focusTurnsTheFrameBlue();
    void aLongTextShowsTheThinScrollBar();
};

namespace {

QImage grab(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestCZorvaEdit::frameAndGlyphSurroundTheText()
{
    QWidget parent;
    parent.resize(300, 100);
    auto* edit = new CZorvaEdit(&parent);
    edit->SetEditInfo(CSkinRect(193, 28, 27, 18), CSkinRect(193, 118, 25, 24), CSkinRect(0, 0, 0, 0), 250, 0);
    edit->SetBkColor(RGB(243, 247, 251));
    edit->setGeometry(0, 3, 250, 26);
    edit->LimitText(20);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QCOMPARE(edit->sizeHint().width(), 250);
    const QImage image = grab(*edit);
    QCOMPARE(image.pixelColor(0, 0), QColor(243, 247, 251)); // outside the rounded corner
    QVERIFY(image.pixelColor(0, 13).lightness() < 235);      // the frame's border
    QCOMPARE(image.pixelColor(200, 13), QColor(Qt::white));  // inside the field
    int glyphPixels = 0;                                     // the magnifier before the text
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 26; ++y)
            glyphPixels += image.pixelColor(x, y).lightness() < 160 ? 1 : 0;
    QVERIFY(glyphPixels > 10);
    QVERIFY(edit->viewport()->geometry().left() >= 27); // text starts after the glyph

    edit->setFocus();
    QTest::keyClicks(edit, u"abcdefghijklmnopqrstuvwxy"_s);
    QCOMPARE(edit->GetWindowTextW().size(), 20);
}

void TestCZorvaEdit::focusTurnsTheFrameBlue()
{
    QWidget parent;
    parent.resize(300, 100);
    auto* first = new CZorvaEdit(&parent);
    auto* second = new CZorvaEdit(&parent);
    for (CZorvaEdit* e : {first, second})
        e->SetEditInfo(CSkinRect(), CSkinRect(193, 118, 25, 24), CSkinRect(), 192, 0);
    first->setGeometry(0, 0, 192, 24);
    second->setGeometry(0, 40, 192, 24);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    second->setFocus();
    QTRY_VERIFY(second->hasFocus());
    const QColor idle = grab(*first).pixelColor(0, 12);
    const QColor focused = grab(*second).pixelColor(0, 12);
    QVERIFY(focused.blue() - focused.red() > idle.blue() - idle.red() + 20);
}

// The bar is 10 pixels wide with no arrows: its handle starts 2 pixels below the top and darkens
// under the pointer.
void TestCZorvaEdit::aLongTextShowsTheThinScrollBar()
{
    QWidget parent;
    parent.resize(300, 200);
    auto* edit = new CZorvaEdit(&parent);
    edit->SetMultiLine(true);
    edit->setGeometry(0, 0, 200, 120);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QString text;
    for (int i = 0; i < 40; ++i)
        text += u"line %1\n"_s.arg(i);
    edit->setPlainText(text);
    QScrollBar* bar = edit->verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    QCOMPARE(bar->width(), 10);
    QCOMPARE(grab(*bar).pixelColor(4, 1), parent.palette().color(QPalette::Window)); // no arrow
    QCOMPARE(grab(*bar).pixelColor(4, 8), QColor(0xc9, 0xd6, 0xe6));

    QTest::mouseMove(bar, QPoint(4, 8));
    QTest::mouseMove(bar, QPoint(4, 9));
    QTRY_COMPARE(grab(*bar).pixelColor(4, 8), QColor(0xa9, 0xbe, 0xd8));
    QTest::mouseMove(&parent, QPoint(250, 150));
    bar->setValue(bar->maximum());
    QCOMPARE(grab(*bar).pixelColor(4, bar->height() - 8), QColor(0xc9, 0xd6, 0xe6));
}

QTEST_MAIN(TestCZorvaEdit)
#include "tst_czorvaedit.moc"
