#include "CZorvaFont.h"
#include "CZorvaStatic.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCZorvaStatic : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void skinAreaOrColourBehindTheText();
};

void TestCZorvaStatic::skinAreaOrColourBehindTheText()
{
    QWidget parent;
    parent.resize(200, 100);
    auto* onSkin = new CZorvaStatic(&parent);
    onSkin->SetInfo(CSkinRect(28, 79, 41, 1), 41, 24,
                    CZorvaFont::GetInstance().GetMemoPropertyDlgTeamLableFont(), RGB(0, 0, 0), 0);
    onSkin->SetWindowTextW(u"标题："_s);
    auto* onColour = new CZorvaStatic(&parent);
    onColour->SetInfo(CSkinRect(0, 0, 0, 0), 100, 20, CZorvaFont::GetInstance().GetDefaultLableFont(),
                      RGB(200, 0, 0), 0);
    onColour->SetBkColor(RGB(10, 20, 30));
    onColour->SetWindowTextW(u"内容(0/500):"_s);
    onColour->move(0, 40);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QCOMPARE(onSkin->size(), QSize(41, 24));
    QCOMPARE(onSkin->sizeHint(), QSize(41, 24));
    const QImage skin = onSkin->grab().toImage();
    QCOMPARE(skin.pixelColor(40, 0), QColor(233, 242, 252)); // the card's fill, stretched
    QCOMPARE(skin.pixelColor(40, 23), QColor(233, 242, 252));
    QCOMPARE(onSkin->font().weight(), QFont::DemiBold);

    const QImage colour = onColour->grab().toImage();
    QCOMPARE(colour.pixelColor(99, 0), QColor(10, 20, 30));
    bool textDrawn = false;
    for (int x = 0; x < 60 && !textDrawn; ++x)
        for (int y = 0; y < 20 && !textDrawn; ++y)
            textDrawn = colour.pixelColor(x, y).red() > 120;
    QVERIFY(textDrawn);
}

QTEST_MAIN(TestCZorvaStatic)
#include "tst_czorvastatic.moc"
