#include "CZOREditComboBox.h"
#include "MessageRecorder.h"
#include "WinDefs.h"
#include "WinMessage.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void skin(CZOREditComboBox& box)
{
    box.SetEditComboBoxInfo(CSkinRect(215, 25, 27, 18), CSkinRect(193, 118, 25, 24),
                            CSkinRect(107, 158, 27, 54), 192);
}

} // namespace

class TestCZOREditComboBox : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void cleanup();
    void entriesAndSelectionSetBeforeItShowsAreThere();
    void pickOnlyRefusesTyping();
    void typingIsNotCompletedFromTheEntries();
    void choosingAnEntryPostsToTheParent_data();
    void choosingAnEntryPostsToTheParent();
    void findStringMatchesExactlyAndWraps();
    void selectionOutOfRangeSelectsNothing();
    void eventMaskGatesNotifications();
    void theListGetsItsLookWhenItFirstOpens();

  private:
    std::unique_ptr<MessageRecorder> m_parent;
};

void TestCZOREditComboBox::cleanup()
{
    m_parent.reset();
}

void TestCZOREditComboBox::entriesAndSelectionSetBeforeItShowsAreThere()
{
    // Configured the way a dialog's constructor does it: no parent, no window yet.
    auto box = std::make_unique<CZOREditComboBox>();
    skin(*box);
    box->SetBkColor(RGB(233, 242, 252));
    box->ResetContent();
    QCOMPARE(box->InsertString(0, u"工作"_s), 0);
    QCOMPARE(box->InsertString(1, u"生活"_s), 1);
    QCOMPARE(box->GetCurSel(), CB_ERR); // inserting selects nothing
    QCOMPARE(box->InsertString(2, u"其它"_s), 2);
    QCOMPARE(box->SetCurSel(1), 1);
    box->SetEnableInput(FALSE);

    m_parent = std::make_unique<MessageRecorder>();
    m_parent->resize(300, 100);
    CZOREditComboBox* shown = box.release();
    shown->setParent(m_parent.get()); // the parent owns it from here
    shown->setGeometry(10, 10, 192, 24);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));

    QCOMPARE(shown->GetCount(), 3);
    QCOMPARE(shown->GetCurSel(), 1);
    QCOMPARE(shown->GetWindowTextW(), u"生活"_s);
    QCOMPARE(shown->GetLBText(2), u"其它"_s);
    QVERIFY(!shown->IsInputEnabled());
    QVERIFY(m_parent->messages.isEmpty()); // the program's selection posts nothing
}

void TestCZOREditComboBox::pickOnlyRefusesTyping()
{
    m_parent = std::make_unique<MessageRecorder>();
    auto* box = new CZOREditComboBox(m_parent.get());
    skin(*box);
    box->InsertString(-1, u"工作"_s);
    box->SetCurSel(0);
    box->SetEnableInput(FALSE);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    box->lineEdit()->setFocus();

    QTest::keyClicks(box->lineEdit(), u"abc"_s);
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QGuiApplication::clipboard()->setText(u"粘贴"_s);
    QTest::keyClick(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->GetWindowTextW(), u"工作"_s);

    // The program may still put any text in the field.
    box->SetWindowTextW(u"不在列表"_s);
    QCOMPARE(box->GetWindowTextW(), u"不在列表"_s);

    // With input enabled the limit holds for typing.
    box->SetEnableInput(TRUE);
    box->LimitText(10);
    box->SetWindowTextW(QString());
    QTest::keyClicks(box->lineEdit(), u"abcdefghijkl"_s);
    QCOMPARE(box->GetWindowTextW(), u"abcdefghij"_s);
}

void TestCZOREditComboBox::typingIsNotCompletedFromTheEntries()
{
    // A new category's name is typed as it is, not turned into an existing entry that starts with it.
    m_parent = std::make_unique<MessageRecorder>();
    auto* box = new CZOREditComboBox(m_parent.get());
    skin(*box);
    box->InsertString(-1, u"apple"_s);
    box->InsertString(-1, u"Apricot"_s);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    box->lineEdit()->setFocus();

    QTest::keyClicks(box->lineEdit(), u"ap"_s);
    QCOMPARE(box->GetWindowTextW(), u"ap"_s);
    QVERIFY(!box->lineEdit()->hasSelectedText());
    QCOMPARE(box->lineEdit()->completer(), nullptr);
}

void TestCZOREditComboBox::choosingAnEntryPostsToTheParent_data()
{
    QTest::addColumn<bool>("onArrow");
    QTest::newRow("click in the field") << false;
    QTest::newRow("click on the arrow") << true;
}

void TestCZOREditComboBox::choosingAnEntryPostsToTheParent()
{
    QFETCH(bool, onArrow);
    m_parent = std::make_unique<MessageRecorder>();
    m_parent->resize(300, 200);
    auto* box = new CZOREditComboBox(m_parent.get());
    skin(*box);
    box->setGeometry(10, 10, 192, 24);
    for (const QString& name : {u"工作"_s, u"其它"_s, u"全部"_s, u"编辑分类"_s})
        box->InsertString(-1, name);
    box->SetCurSel(2);
    box->SetEnableInput(FALSE);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));

    // The press opens the list. Under a window system the popup then gets the release of the
    // same click, wherever the cursor is: the list stays open all the same.
    QWidget* target = onArrow ? static_cast<QWidget*>(box) : box->lineEdit();
    const QPoint at = onArrow ? QPoint(box->width() - 10, 12) : QPoint(5, 5);
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTRY_VERIFY(box->view()->isVisible());
    QWidget* popup = box->view()->parentWidget();
    QTest::mouseRelease(popup, Qt::LeftButton, {}, popup->mapFromGlobal(target->mapToGlobal(at)));
    QVERIFY(box->view()->isVisible());

    // The second click picks an entry.
    QAbstractItemView* view = box->view();
    const QRect entry = view->visualRect(view->model()->index(3, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
    QTRY_COMPARE(m_parent->messages, QList<UINT>{WM_ZORVA_COMBOSELCHANGE});
    QVERIFY(!box->view()->isVisible());
    QCOMPARE(box->GetCurSel(), 3);
    QCOMPARE(box->GetWindowTextW(), u"编辑分类"_s);

    box->SetCurSel(0);
    QCoreApplication::processEvents();
    QCOMPARE(m_parent->messages.size(), 1);
}

void TestCZOREditComboBox::findStringMatchesExactlyAndWraps()
{
    CZOREditComboBox box;
    for (const QString& name : {u"全部门"_s, u"ab"_s, u"全部"_s, u"AB"_s, u"全部"_s})
        box.InsertString(-1, name);
    QCOMPARE(box.FindString(-1, u"全部"_s), 2);
    QCOMPARE(box.FindString(0, u"全部"_s), 2);
    QCOMPARE(box.FindString(2, u"全部"_s), 4);
    QCOMPARE(box.FindString(4, u"全部"_s), 2); // wraps to the top
    QCOMPARE(box.FindString(-1, u"AB"_s), 3);
    QCOMPARE(box.FindString(3, u"全部门"_s), 0);
    QCOMPARE(box.FindString(-1, u"全"_s), CB_ERR);
    CZOREditComboBox empty;
    QCOMPARE(empty.FindString(0, u"全部"_s), CB_ERR);
}

void TestCZOREditComboBox::selectionOutOfRangeSelectsNothing()
{
    CZOREditComboBox box;
    box.InsertString(-1, u"a"_s);
    box.InsertString(-1, u"b"_s);
    box.SetCurSel(1);
    QCOMPARE(box.SetCurSel(2), CB_ERR);
    QCOMPARE(box.GetCurSel(), CB_ERR);
    QCOMPARE(box.GetWindowTextW(), QString());
    box.SetCurSel(0);
    QCOMPARE(box.SetCurSel(-1), CB_ERR);
    QCOMPARE(box.GetCurSel(), CB_ERR);
    box.ResetContent();
    QCOMPARE(box.GetCount(), 0);
    QCOMPARE(box.GetCurSel(), CB_ERR);
}

void TestCZOREditComboBox::eventMaskGatesNotifications()
{
    m_parent = std::make_unique<MessageRecorder>();
    auto* box = new CZOREditComboBox(m_parent.get());
    box->setObjectName(u"21035"_s);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    box->lineEdit()->setFocus();

    QTest::keyClicks(box->lineEdit(), u"a"_s);
    QVERIFY(m_parent->notifications.isEmpty());

    QCOMPARE(box->SetEventMask(ENM_CHANGE), DWORD(0));
    QTest::keyClicks(box->lineEdit(), u"b"_s);
    QCOMPARE(m_parent->notificationCodes(), QList<UINT>{EN_CHANGE});

    m_parent->notifications.clear();
    QCOMPARE(box->SetEventMask(ENM_SELCHANGE), ENM_CHANGE);
    QTest::keyClicks(box->lineEdit(), u"c"_s);
    QVERIFY(!m_parent->notificationCodes().contains(EN_CHANGE));
    box->lineEdit()->selectAll();
    QVERIFY(m_parent->notificationCodes().contains(EN_SELCHANGE));
}

// Until it opens, the list costs no style sheet; open, it has its blue border.
void TestCZOREditComboBox::theListGetsItsLookWhenItFirstOpens()
{
    m_parent = std::make_unique<MessageRecorder>();
    auto* box = new CZOREditComboBox(m_parent.get());
    skin(*box);
    box->setGeometry(10, 10, 192, 24);
    box->AddString(u"工作"_s);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    QVERIFY(box->view()->styleSheet().isEmpty());

    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    const QImage list = box->view()->grab().toImage();
    QCOMPARE(list.pixelColor(0, list.height() / 2), QColor(0x9f, 0xbb, 0xdb));
    box->hidePopup();
}

QTEST_MAIN(TestCZOREditComboBox)
#include "tst_czoreditcombobox.moc"
