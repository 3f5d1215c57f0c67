#include "CToolTipCtrl.h"

#include <QApplication>
#include <QHoverEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The pointer moving over `widget` to `local`, as the window system reports it.
void hoverTo(QWidget* widget, QPoint local)
{
    const QPoint global = widget->mapToGlobal(local);
    const QPoint old = widget->mapFromGlobal(QCursor::pos());
    QCursor::setPos(global);
    QHoverEvent move(QEvent::HoverMove, local, global, old);
    QApplication::sendEvent(widget, &move);
}

// What Qt sends a control that a relayout brought under a pointer at rest.
void enterUnderRestingPointer(QWidget* widget)
{
    QEnterEvent enter(widget->mapFromGlobal(QCursor::pos()), widget->mapFromGlobal(QCursor::pos()),
                      QCursor::pos());
    QApplication::sendEvent(widget, &enter);
    const QPoint here = widget->mapFromGlobal(QCursor::pos());
    QHoverEvent move(QEvent::HoverMove, here, QCursor::pos(), here);
    QApplication::sendEvent(widget, &move);
}

// Lets the timers that are due run, a tool tip's wait for its initial delay among them: a
// zero-interval timer started after theirs times out after them.
bool runDueTimers()
{
    QTimer after;
    after.setSingleShot(true);
    QSignalSpy done(&after, &QTimer::timeout);
    after.start(0);
    return done.wait(5000);
}

} // namespace

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
        hoverTo(&edit, QPoint(20, 12));
        QTRY_VERIFY(tip.IsTipVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&edit, &leave);
        QVERIFY(!tip.IsTipVisible());
        tip.DelTool(&edit);
        QVERIFY(!tip.ShowTip(&edit));
    }

    // A body that grows under the resting pointer (the window resized) shows no tip; a shown tip
    // goes when what it points at moves, changes size or its window goes to the background.
    void aBalloonNeverOutlivesItsReason_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("window resized") << 0;
        QTest::newRow("window moved") << 1;
        QTest::newRow("control resized") << 2;
        QTest::newRow("window deactivated") << 3;
    }
    void aBalloonNeverOutlivesItsReason()
    {
        QFETCH(int, change);
        QWidget dlg;
        dlg.setGeometry(100, 100, 300, 200);
        QLineEdit body(&dlg);
        body.setGeometry(10, 10, 100, 24);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        CToolTipCtrl tip;
        tip.Create(&dlg, TTS_BALLOON);
        tip.SetDelayTime(TTDT_INITIAL, 0);
        tip.Activate(TRUE);
        tip.AddTool(&body, QStringLiteral(u"正文内容不得超过500个字！"));

        QCursor::setPos(dlg.mapToGlobal(QPoint(150, 100))); // resting beside the body
        body.setGeometry(10, 10, 280, 180);                 // the body grows under it
        enterUnderRestingPointer(&body);
        QVERIFY(runDueTimers()); // the tip's initial delay (0) has run out
        QVERIFY(!tip.IsTipVisible());

        hoverTo(&body, QPoint(145, 95)); // the person moves the pointer on the body
        QTRY_VERIFY(tip.IsTipVisible());
        switch (change) {
        case 0:
            dlg.resize(400, 300);
            break;
        case 1:
            dlg.move(150, 150);
            break;
        case 2:
            body.resize(200, 100);
            break;
        default: {
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(&dlg, &deactivate);
        }
        }
        QTRY_VERIFY(!tip.IsTipVisible());
    }

    // The balloon's window has no corners beyond its outline (drawn black where nothing composes
    // transparent windows).
    void theBalloonIsShapedToItsOutline()
    {
        QWidget dlg;
        QLineEdit body(&dlg);
        body.setGeometry(10, 10, 100, 24);
        dlg.show();
        CToolTipCtrl tip;
        tip.Create(&dlg, TTS_BALLOON);
        tip.SetTitle(TTI_INFO, QStringLiteral(u"提示"));
        tip.AddTool(&body, QStringLiteral(u"正文内容不得超过500个字！"));
        QVERIFY(tip.ShowTip(&body));
        const QRegion shape = tip.GetSafeHwnd()->mask();
        const QRect box = tip.GetSafeHwnd()->rect();
        QVERIFY(!shape.isEmpty());
        QVERIFY(shape.contains(box.center()));
        for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            QVERIFY(!shape.contains(corner));
    }
};

QTEST_MAIN(TestCToolTipCtrl)
#include "tst_ctooltipctrl.moc"
