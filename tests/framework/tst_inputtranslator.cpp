// Input reaches PreTranslateMessage as the platform's messages: keys with their VK_ codes, mouse
// buttons and the wheel with MK_ key state and packed client coordinates, the pointer leaving; an
// event Qt offers the parents as well counts once, and a dialog that takes a message stops the event.
#include "CDialog.h"
#include "CDialogTemplate.h"
#include "WinDefs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr UINT kTemplate = 23001;
constexpr int kEdit = 23002;

// A pane that records what it is offered and takes the messages it is told to.
class RecordingPane : public CDialog
{
  public:
    RecordingPane() : CDialog(kTemplate, nullptr) {}
    QList<MSG> seen;
    UINT take = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        seen << *pMsg;
        return pMsg->message == take ? TRUE : FALSE;
    }
    // The messages of one kind, in order.
    QList<MSG> of(UINT message) const
    {
        QList<MSG> found;
        for (const MSG& m : seen)
            if (m.message == message)
                found << m;
        return found;
    }
};

} // namespace

class TestInputTranslator : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        CDialogTemplate::Register(
            kTemplate,
            [](QDialog* d) {
                auto* edit = new QLineEdit(d);
                edit->setObjectName(QString::number(kEdit));
                edit->setGeometry(10, 10, 120, 24);
            },
            WS_CHILD | WS_VISIBLE);
    }

    void init()
    {
        m_top = std::make_unique<QWidget>();
        m_top->resize(300, 200);
        m_pane = new RecordingPane; // owned by the top window once created
        QVERIFY(m_pane->Create(kTemplate, m_top.get()));
        m_pane->setGeometry(0, 0, 300, 200);
        m_top->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_top.get()));
        m_pane->seen.clear();
    }
    void cleanup() { m_top.reset(); }

    void keysArriveWithTheirVirtualKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<UINT>("vk");
        QTest::newRow("letter") << int(Qt::Key_S) << UINT('S');
        QTest::newRow("digit") << int(Qt::Key_7) << UINT('7');
        QTest::newRow("F3") << int(Qt::Key_F3) << VK_F3;
        QTest::newRow("F24") << int(Qt::Key_F24) << VK_F24;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << VK_BACK;
        QTest::newRow("Space") << int(Qt::Key_Space) << VK_SPACE;
        QTest::newRow("Alt") << int(Qt::Key_Alt) << VK_MENU;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << VK_NEXT;
        QTest::newRow("Left") << int(Qt::Key_Left) << VK_LEFT;
        QTest::newRow("Insert") << int(Qt::Key_Insert) << VK_INSERT;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << VK_DELETE;
        QTest::newRow("unknown") << int(Qt::Key_Launch0) << UINT(0);
    }
    void keysArriveWithTheirVirtualKeys()
    {
        QFETCH(int, key);
        QFETCH(UINT, vk);
        QWidget* edit = m_pane->GetDlgItem(kEdit);
        QTest::keyClick(edit, Qt::Key(key));
        const QList<MSG> down = m_pane->of(WM_KEYDOWN);
        QCOMPARE(down.size(), 1); // once, although the edit leaves some keys to its parents
        QCOMPARE(down[0].wParam, WPARAM(vk));
        QCOMPARE(down[0].hwnd, edit);
        QCOMPARE(down[0].lParam, LPARAM(0));
        QCOMPARE(m_pane->of(WM_KEYUP).size(), 1);
    }

    void anAutoRepeatSaysTheKeyWasDown()
    {
        QWidget* edit = m_pane->GetDlgItem(kEdit);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, u"a"_s, true);
        QApplication::sendEvent(edit, &repeat);
        QCOMPARE(m_pane->of(WM_KEYDOWN).value(0).lParam, LPARAM(1) << 30);
    }

    void mouseButtonsCarryKeyStateAndClientPosition()
    {
        QTest::mouseClick(m_pane, Qt::RightButton, Qt::ShiftModifier, QPoint(207, 150));
        const QList<MSG> down = m_pane->of(WM_RBUTTONDOWN);
        QCOMPARE(down.size(), 1);
        QCOMPARE(down[0].wParam, MK_RBUTTON | MK_SHIFT);
        QCOMPARE(down[0].lParam, LPARAM(207 | (150 << 16)));
        QCOMPARE(m_pane->of(WM_RBUTTONUP).size(), 1);

        QWidget* edit = m_pane->GetDlgItem(kEdit);
        QTest::mousePress(edit, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 4));
        const QList<MSG> left = m_pane->of(WM_LBUTTONDOWN);
        QCOMPARE(left.size(), 1);
        QCOMPARE(left[0].wParam, MK_LBUTTON | MK_CONTROL);
        QCOMPARE(left[0].lParam, LPARAM(3 | (4 << 16)));
        QTest::mouseRelease(edit, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 4));
        QCOMPARE(m_pane->of(WM_LBUTTONUP).size(), 1);
        QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
        QCOMPARE(m_pane->of(WM_LBUTTONDBLCLK).size(), 1);
    }

    void theWheelCarriesItsDeltaInTheHighWord()
    {
        QWidget* edit = m_pane->GetDlgItem(kEdit);
        const QPoint at(20, 12);
        QWheelEvent wheel(at, edit->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::MiddleButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(edit, &wheel);
        const QList<MSG> wheels = m_pane->of(WM_MOUSEWHEEL);
        QCOMPARE(wheels.size(), 1);
        QCOMPARE(wheels[0].wParam, (WPARAM(0xFF88) << 16) | MK_MBUTTON);
    }

    void thePointerLeaving()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_pane->GetDlgItem(kEdit), &leave);
        QCOMPARE(m_pane->of(WM_MOUSELEAVE).size(), 1);
    }

    void aTakenMessageStopsTheEvent()
    {
        auto* edit = static_cast<QLineEdit*>(m_pane->GetDlgItem(kEdit));
        m_pane->take = WM_KEYDOWN;
        QTest::keyClick(edit, Qt::Key_X);
        QVERIFY(edit->text().isEmpty());
        m_pane->take = 0;
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(edit->text(), u"x"_s);
    }

  private:
    std::unique_ptr<QWidget> m_top;
    RecordingPane* m_pane = nullptr;
};

QTEST_MAIN(TestInputTranslator)
#include "tst_inputtranslator.moc"
