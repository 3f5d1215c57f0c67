// Making the menu bar reads no image (no image format plugin is loaded), and its overflow arrow,
// once drawn, is the one the style without the deferral draws.
#include <LazyIconStyle.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QStyleFactory>
#include <QTest>

using namespace Qt::StringLiterals;

class TestLazyIconStyle : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void theOverflowArrowIsReadWhenFirstDrawn()
    {
        const QString name = QApplication::style()->name();
        LazyIconStyle::install();
        QMenuBar bar;
        QFile maps(u"/proc/self/maps"_s);
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("imageformats"));

        const std::unique_ptr<QStyle> plain(QStyleFactory::create(name));
        for (auto which :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QImage expected = plain->standardIcon(which).pixmap(16).toImage();
            QVERIFY(!expected.isNull());
            QCOMPARE(QApplication::style()->standardIcon(which).pixmap(16).toImage(), expected);
        }
    }
};

QTEST_MAIN(TestLazyIconStyle)
#include "tst_lazyiconstyle.moc"
