#include "CMenuRichEditCtrl.h"

#include <LoadStr.h>
#include <TestSeams.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestCMenuRichEditCtrl : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void menuHasFourItemsAndGreysCopyWithoutSelection();
    void cutWithoutSelectionChangesNothing();
    void copyPutsTheSelectionOnTheClipboard();
    void selectAllThenCutEmptiesTheControl();
    void pasteInsertsOnlyWhatFits();
    void focusComesBackAfterChoiceOrDismissal();

  private:
    // A right-click at `local` (viewport coordinates), as the platform delivers it.
    void rightClick(QPoint local = QPoint(10, 10));

    std::unique_ptr<QWidget> m_window;
    CMenuRichEditCtrl* m_edit = nullptr;
    QLineEdit* m_other = nullptr;
};

void TestCMenuRichEditCtrl::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(300, 200);
    m_edit = new CMenuRichEditCtrl(m_window.get());
    m_edit->SetMultiLine(true);
    m_edit->setGeometry(10, 10, 280, 140);
    m_other = new QLineEdit(m_window.get());
    m_other->setGeometry(10, 160, 280, 24);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QApplication::clipboard()->clear();
}

void TestCMenuRichEditCtrl::cleanup()
{
    m_window.reset();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TestCMenuRichEditCtrl::rightClick(QPoint local)
{
    QWidget* target = m_edit->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &event);
}

void TestCMenuRichEditCtrl::menuHasFourItemsAndGreysCopyWithoutSelection()
{
    KitTest::MenuResponder menus; // dismisses every menu
    m_edit->SetWindowTextW(u"hello world"_s);
    m_edit->SetSel(3, 3);
    rightClick(QPoint(20, 12));
    m_edit->SetSel(0, 5);
    rightClick();

    QCOMPARE(menus.menus().size(), std::size_t(2));
    const KitTest::MenuRecord& plain = menus.menus()[0];
    QCOMPARE(plain.owner, static_cast<QWidget*>(m_edit));
    QCOMPARE(plain.pos, m_edit->viewport()->mapToGlobal(QPoint(20, 12)));
    const std::vector<std::pair<UINT, UINT>> expected{{21009, 238}, {21006, 206}, {21008, 232}, {21007, 207}};
    QCOMPARE(plain.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(plain.items[i].id, expected[i].first);
        QCOMPARE(plain.items[i].text, LoadStr(expected[i].second));
        QVERIFY(!plain.items[i].text.isEmpty());
        QVERIFY(!plain.items[i].separator);
        QCOMPARE(plain.items[i].enabled, expected[i].first != 21006); // only Copy is greyed
    }
    const KitTest::MenuRecord& selected = menus.menus()[1];
    QCOMPARE(selected.items.size(), expected.size());
    for (const KitTest::MenuItemInfo& item : selected.items)
        QVERIFY2(item.enabled, qPrintable(item.text));
}

void TestCMenuRichEditCtrl::cutWithoutSelectionChangesNothing()
{
    KitTest::MenuResponder menus;
    QApplication::clipboard()->setText(u"on the clipboard"_s);
    m_edit->SetWindowTextW(u"keep me"_s);
    m_edit->SetSel(4, 4);
    menus.chooseNext(21009);
    rightClick();
    QCOMPARE(m_edit->GetWindowTextW(), u"keep me"_s);
    QCOMPARE(QApplication::clipboard()->text(), u"on the clipboard"_s);

    menus.chooseNext(21006); // greyed: choosing it does nothing
    rightClick();
    QCOMPARE(QApplication::clipboard()->text(), u"on the clipboard"_s);
}

void TestCMenuRichEditCtrl::copyPutsTheSelectionOnTheClipboard()
{
    KitTest::MenuResponder menus;
    m_edit->SetWindowTextW(u"第一行\n第二行"_s);
    m_edit->SetSel(2, 6);
    menus.chooseNext(21006);
    rightClick();
    QCOMPARE(QApplication::clipboard()->text(), u"行\n第二"_s);
    QCOMPARE(m_edit->GetWindowTextW(), u"第一行\n第二行"_s);
    long start = 0, end = 0;
    m_edit->GetSel(start, end);
    QCOMPARE(start, 2L);
    QCOMPARE(end, 6L);
    QVERIFY(!m_edit->GetModify());
}

void TestCMenuRichEditCtrl::selectAllThenCutEmptiesTheControl()
{
    KitTest::MenuResponder menus;
    m_edit->SetWindowTextW(u"a memo body\nwith two lines"_s);
    m_edit->SetSel(5, 5);
    menus.chooseNext(21007);
    rightClick();
    long start = 0, end = 0;
    m_edit->GetSel(start, end);
    QCOMPARE(start, 0L);
    QCOMPARE(end, m_edit->GetTextLength());
    QVERIFY(menus.menus().back().items[1].enabled == false); // Copy was greyed before Select all

    menus.chooseNext(21009);
    rightClick();
    QVERIFY(menus.menus().back().items[1].enabled); // now there is a selection
    QCOMPARE(m_edit->GetWindowTextW(), QString());
    QCOMPARE(QApplication::clipboard()->text(), u"a memo body\nwith two lines"_s);
    QVERIFY(m_edit->GetModify());
}

void TestCMenuRichEditCtrl::pasteInsertsOnlyWhatFits()
{
    KitTest::MenuResponder menus;
    m_edit->LimitText(10);

    // An empty clipboard changes nothing.
    m_edit->SetWindowTextW(u"abcdefgh"_s);
    m_edit->SetSel(8, 8);
    menus.chooseNext(21008);
    rightClick();
    QCOMPARE(m_edit->GetWindowTextW(), u"abcdefgh"_s);

    QApplication::clipboard()->setText(u"xyz"_s);
    menus.chooseNext(21008);
    rightClick();
    QCOMPARE(m_edit->GetWindowTextW(), u"abcdefghxy"_s);

    // At the limit nothing more goes in; in place of a selection only as much as it frees.
    m_edit->SetSel(10, 10);
    menus.chooseNext(21008);
    rightClick();
    QCOMPARE(m_edit->GetWindowTextW(), u"abcdefghxy"_s);
    m_edit->SetSel(0, 2);
    menus.chooseNext(21008);
    rightClick();
    QCOMPARE(m_edit->GetWindowTextW(), u"xycdefghxy"_s);
    QCOMPARE(QApplication::clipboard()->text(), u"xyz"_s);
}

void TestCMenuRichEditCtrl::focusComesBackAfterChoiceOrDismissal()
{
    KitTest::MenuResponder menus;
    m_edit->SetWindowTextW(u"text"_s);
    // The chooser runs while the menu is up: move the focus away there, as a popup would.
    auto chooseAfterFocusMoves = [this](UINT id) {
        return [this, id](const KitTest::MenuRecord&) {
            m_other->setFocus(Qt::PopupFocusReason);
            return id;
        };
    };
    for (UINT id : {0u, 21009u, 21006u, 21008u, 21007u}) {
        m_other->setFocus();
        QVERIFY(m_other->hasFocus());
        menus.onNextMenu(chooseAfterFocusMoves(id));
        rightClick();
        QVERIFY2(m_edit->hasFocus(), qPrintable(QString::number(id)));
    }
    QCOMPARE(menus.menus().size(), std::size_t(5));
}

QTEST_MAIN(TestCMenuRichEditCtrl)
#include "tst_cmenurichedit.moc"
