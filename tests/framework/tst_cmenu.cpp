#include "CMenu.h"
#include "CRichEditCtrl.h"
#include "TestSeams.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

namespace {

// An edit with the four clipboard commands on its own context menu.
class MenuEdit : public CRichEditCtrl
{
  public:
    MenuEdit()
    {
        MapCommand(21009, [this] { SendMessage(WM_CUT); });
        MapCommand(21006, [this] { SendMessage(WM_COPY); });
        MapCommand(21008, [this] { SendMessage(WM_PASTE); });
        MapCommand(21007, [this] { SetSel(0, -1); });
    }

  protected:
    void OnContextMenu(QWidget* pWnd, QPoint pos) override
    {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 21009, QStringLiteral(u"剪切"));
        menu.AppendMenu(MF_STRING, 21006, QStringLiteral(u"复制"));
        menu.AppendMenu(MF_STRING, 21008, QStringLiteral(u"粘贴"));
        menu.AppendMenu(MF_STRING, 21007, QStringLiteral(u"全选"));
        long s = 0, e = 0;
        GetSel(s, e);
        if (s == e)
            menu.EnableMenuItem(21006, MF_BYCOMMAND | MF_GRAYED);
        menu.TrackPopupMenu(TPM_RIGHTBUTTON, pos.x(), pos.y(), pWnd);
        menu.DestroyMenu();
        SetFocus();
    }
};

} // namespace

class TestCMenu : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void itemsStatesAndIds()
    {
        CMenu menu;
        QCOMPARE(menu.AppendMenu(MF_STRING, 1, QStringLiteral("x")), FALSE); // no menu yet
        QVERIFY(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, 10, QStringLiteral("a"));
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | MF_GRAYED, 11, QStringLiteral("b"));
        QCOMPARE(menu.GetMenuItemCount(), 3);
        QCOMPARE(menu.GetMenuItemID(2), 11u);
        QCOMPARE(menu.GetMenuState(11, MF_BYCOMMAND), MF_GRAYED);
        QCOMPARE(menu.EnableMenuItem(11, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
        QCOMPARE(menu.EnableMenuItem(10, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
        QCOMPARE(menu.EnableMenuItem(99, MF_BYCOMMAND | MF_GRAYED), 0xFFFFFFFFu);
        QCOMPARE(menu.GetMenuString(0, MF_BYPOSITION), QStringLiteral("a"));
    }

    void theChoiceComesBackOrIsReturned()
    {
        KitTest::MenuResponder responder;
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 7, QStringLiteral("seven"));
        menu.AppendMenu(MF_STRING | MF_GRAYED, 8, QStringLiteral("eight"));
        responder.chooseNext(7);
        QCOMPARE(menu.TrackPopupMenu(TPM_RETURNCMD, 5, 6, nullptr), BOOL(7));
        responder.chooseNext(8); // greyed: cannot be chosen
        QCOMPARE(menu.TrackPopupMenu(TPM_RETURNCMD, 5, 6, nullptr), BOOL(0));
        QCOMPARE(responder.menus().size(), std::size_t(2));
        const auto& shown = responder.menus().front();
        QCOMPARE(shown.pos, QPoint(5, 6));
        QCOMPARE(shown.items.size(), std::size_t(2));
        QVERIFY(shown.items[0].enabled);
        QVERIFY(!shown.items[1].enabled);
        QCOMPARE(shown.items[1].text, QStringLiteral("eight"));
    }

    void contextMenuCommandsRunOnTheEdit()
    {
        KitTest::MenuResponder responder;
        MenuEdit edit;
        edit.SetMultiLine(true);
        edit.show();
        edit.SetWindowTextW(QStringLiteral("hello world"));
        edit.SetSel(-1, 0);
        QApplication::clipboard()->setText(QStringLiteral("clip"));

        // No selection: Copy is greyed, Cut changes nothing.
        responder.chooseNext(21009);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(3, 3), edit.mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(edit.viewport(), &click);
        QCOMPARE(responder.menus().size(), std::size_t(1));
        QVERIFY(!responder.menus()[0].items[1].enabled);
        QVERIFY(responder.menus()[0].items[0].enabled);
        QCOMPARE(responder.menus()[0].pos, edit.mapToGlobal(QPoint(3, 3)));
        QCOMPARE(edit.windowText(), QStringLiteral("hello world"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));

        // Select all, then Copy (now enabled), then Cut.
        responder.chooseNext(21007);
        QApplication::sendEvent(edit.viewport(), &click);
        QCOMPARE(edit.GetSelText(), QStringLiteral("hello world"));
        responder.chooseNext(21006);
        QApplication::sendEvent(edit.viewport(), &click);
        QVERIFY(responder.menus().back().items[1].enabled);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hello world"));
        QCOMPARE(edit.windowText(), QStringLiteral("hello world"));
        responder.chooseNext(21009);
        QApplication::sendEvent(edit.viewport(), &click);
        QCOMPARE(edit.windowText(), QString());
        responder.chooseNext(21008);
        QApplication::sendEvent(edit.viewport(), &click);
        QCOMPARE(edit.windowText(), QStringLiteral("hello world"));
    }

    void aRealPopupIsChosenWithTheKeyboard()
    {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING | MF_GRAYED, 1, QStringLiteral("one"));
        menu.AppendMenu(MF_STRING, 2, QStringLiteral("two"));
        QWidget owner;
        owner.show();
        QMetaObject::invokeMethod(
            &owner,
            [] {
                QWidget* popup = QApplication::activePopupWidget();
                QVERIFY(qobject_cast<QMenu*>(popup));
                QTest::keyClick(popup, Qt::Key_Down); // skips the greyed item
                QTest::keyClick(popup, Qt::Key_Return);
            },
            Qt::QueuedConnection);
        QCOMPARE(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), BOOL(2));
    }
};

QTEST_MAIN(TestCMenu)
#include "tst_cmenu.moc"
