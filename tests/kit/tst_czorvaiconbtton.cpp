#include "CZorvaIconBtton.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QImage grab(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of the picture are clearly green (the OK glyph's colour).
int greenPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += (c.green() > c.red() + 40 && c.green() > c.blue() + 20) ? 1 : 0;
        }
    return n;
}

} // namespace

class TestCZorvaIconBtton : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void looksFollowMouseAndState();
    void clickSignalsOnlyWhenEnabled();
    void flatStyleShowsNoFaceAtRest();

  private:
    std::unique_ptr<QWidget> m_parent;
    CZorvaIconBtton* m_button = nullptr;
};

void TestCZorvaIconBtton::init()
{
    m_parent = std::make_unique<QWidget>();
    m_parent->resize(200, 80);
    m_button = new CZorvaIconBtton(m_parent.get());
    m_button->SetBkColor(RGB(243, 247, 251));
    m_button->SetButtonInfo(CSkinRect(139, 396, 27, 18), CSkinRect(408, 107, 32, 32),
                            CSkinRect(504, 107, 32, 32), 75);
    m_button->SetWindowTextW(u"确定"_s);
    m_button->move(10, 10);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
}

void TestCZorvaIconBtton::cleanup()
{
    QTest::mouseMove(m_parent.get(), QPoint(190, 70)); // the next test starts with the mouse away
    m_parent.reset();
    m_button = nullptr;
}

void TestCZorvaIconBtton::looksFollowMouseAndState()
{
    QCOMPARE(m_button->size(), QSize(75, 32));
    QTest::mouseMove(m_parent.get(), QPoint(190, 70));
    QTRY_COMPARE(m_button->look(), CZorvaIconBtton::Look::Normal);
    const QImage normal = grab(*m_button);
    QVERIFY(greenPixels(normal) > 10);                        // the glyph is drawn
    QCOMPARE(normal.pixelColor(0, 0), QColor(243, 247, 251)); // background round the corner

    QTest::mouseMove(m_button, QPoint(20, 16));
    QTRY_COMPARE(m_button->look(), CZorvaIconBtton::Look::Hover);
    const QImage hover = grab(*m_button);
    QVERIFY(hover.pixelColor(4, 16) != normal.pixelColor(4, 16)); // another face
    // A window that closes with the pointer on the button (its OK, say) opens again without hover.
    m_parent->hide();
    QCOMPARE(m_button->look(), CZorvaIconBtton::Look::Normal);
    m_parent->show();
    QTest::mouseMove(m_button, QPoint(20, 16));
    QTRY_COMPARE(m_button->look(), CZorvaIconBtton::Look::Hover);

    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(20, 16));
    QCOMPARE(m_button->look(), CZorvaIconBtton::Look::Pressed);
    const QImage pressed = grab(*m_button);
    QVERIFY(pressed.pixelColor(4, 16).lightness() < hover.pixelColor(4, 16).lightness());
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(20, 16));

    m_button->EnableWindow(FALSE);
    QCOMPARE(m_button->look(), CZorvaIconBtton::Look::Disabled);
    const QImage disabled = grab(*m_button);
    QCOMPARE(greenPixels(disabled), 0); // the glyph is greyed
}

void TestCZorvaIconBtton::clickSignalsOnlyWhenEnabled()
{
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(30, 16));
    QCOMPARE(clicked.count(), 1);
    m_button->EnableWindow(FALSE);
    QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(30, 16));
    QCOMPARE(clicked.count(), 1);
}

void TestCZorvaIconBtton::flatStyleShowsNoFaceAtRest()
{
    m_button->SetButtonInfo(CSkinRect(193, 28, 27, 18), CSkinRect(440, 139, 32, 32),
                            CSkinRect(472, 139, 32, 32), 80, ZIB_STYLE_FLAT);
    QCOMPARE(m_button->width(), 80);
    QTest::mouseMove(m_parent.get(), QPoint(190, 70));
    QTRY_COMPARE(m_button->look(), CZorvaIconBtton::Look::Normal);
    const QImage rest = grab(*m_button);
    QCOMPARE(rest.pixelColor(4, 16), QColor(243, 247, 251));
    QTest::mouseMove(m_button, QPoint(20, 16));
    QTRY_COMPARE(m_button->look(), CZorvaIconBtton::Look::Hover);
    QVERIFY(grab(*m_button).pixelColor(4, 16) != QColor(243, 247, 251));
}

QTEST_MAIN(TestCZorvaIconBtton)
#include "tst_czorvaiconbtton.moc"
