#include "CToolTipCtrl.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

class TestCToolTipCtrl : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void balloonShowsTitleIconAndTextOfTheTool()
    {
        QWidget dlg;
        dlg.resize(300, 200);
        QLineEdit title(&dlg), body(&dlg);
        title.setGeometry(10, 10, 100, 24);
        body.setGeometry(10, 50, 100, 24);
        dlg.show();
        CToolTipCtrl tip;
        QVERIFY(!tip.AddTool(&title, QStringLiteral("x"))); // not created yet
        QVERIFY(tip.Create(&dlg, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON));
        QVERIFY(tip.GetSafeHwnd());
        tip.Activate(TRUE);
        QVERIFY(tip.AddTool(&title, QStringLiteral(u"标题不得超过20个字！")));
        QVERIFY(tip.AddTool(&body, QStringLiteral(u"正文内容不得超过500个字！")));
        QVERIFY(tip.SetTitle(TTI_INFO, QStringLiteral(u"提示")));
        QVERIFY(tip.IsBalloon());
        QCOMPARE(tip.GetText(&body), QStringLiteral(u"正文内容不得超过500个字！"));

        QVERIFY(tip.ShowTip(&body));
        QVERIFY(tip.IsTipVisible());
        QCOMPARE(tip.CurrentTool(), &body);
        // The balloon lies below the control, its tail pointing at it.
        QVERIFY(tip.GetSafeHwnd()->geometry().top() >= body.mapToGlobal(QPoint(0, body.height() - 1)).y());
        const QImage picture = tip.GetSafeHwnd()->grab().toImage();
        QVERIFY(!picture.isNull());

        // Typing into the tool hides it.
        QTest::keyClick(&body, Qt::Key_A);
        QVERIFY(!tip.IsTipVisible());
    }

    void restingOnAToolShowsItsTipWhileActive()
    {
        QWidget dlg;
        QLineEdit edit(&dlg);
        edit.setGeometry(10, 10, 100, 24);
        dlg.show();
        CToolTipCtrl tip;
        tip.Create(&dlg, TTS_BALLOON);
        tip.SetDelayTime(TTDT_INITIAL, 0);
        tip.AddTool(&edit, QStringLiteral("limit"));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&edit, &enter);
        QCoreApplication::processEvents();
        QVERIFY(!tip.IsTipVisible()); // not activated
        tip.Activate(TRUE);
        QApplication::sendEvent(&edit, &enter);
        QTRY_VERIFY(tip.IsTipVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&edit, &leave);
        QVERIFY(!tip.IsTipVisible());
        tip.DelTool(&edit);
        QVERIFY(!tip.ShowTip(&edit));
    }
};

QTEST_MAIN(TestCToolTipCtrl)
#include "tst_ctooltipctrl.moc"
