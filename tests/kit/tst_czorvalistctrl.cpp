#include "CZorvaListCtrl.h"
#include "MessageRecorder.h"
#include "WinMessage.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<int> selectedRows(const CZorvaListCtrl& list)
{
    QList<int> rows;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos)
        rows << list.GetNextSelectedItem(pos);
    return rows;
}

} // namespace

class TestCZorvaListCtrl : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void rowsKeepInsertionOrderWithTheirData();
    void selectionChangePostsToTheParent();
    void deleteKeyAsksTheParent();
    void multiSelectionIsReportedFirstToLast();
    void deletingReportedRowsDeletesEachOnce();
    void badRowsAreRefused();
    void dressedWhenFirstShown();
    void rowsShowTheirState_data();
    void rowsShowTheirState();

  private:
    void fill(const QStringList& titles);
    std::unique_ptr<MessageRecorder> m_parent;
    CZorvaListCtrl* m_list = nullptr;
};

void TestCZorvaListCtrl::init()
{
    m_parent = std::make_unique<MessageRecorder>();
    m_parent->resize(500, 400);
    m_list = new CZorvaListCtrl(m_parent.get()); // owned by the parent
    m_list->setGeometry(0, 0, 500, 400);
    QCOMPARE(m_list->InsertColumn(0, u"标题"_s, 180, ZLC_ALIGN_LEFT, ZLC_HEADER_TEXT), 0);
    QCOMPARE(m_list->InsertColumn(1, u"时间"_s, 360, ZLC_ALIGN_LEFT, ZLC_HEADER_TEXT), 1);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    QCoreApplication::processEvents();
    m_parent->messages.clear();
}

void TestCZorvaListCtrl::cleanup()
{
    m_parent.reset();
    m_list = nullptr;
}

void TestCZorvaListCtrl::fill(const QStringList& titles)
{
    for (const QString& title : titles) {
        const int row = m_list->InsertItem(m_list->GetItemCount(), title);
        QVERIFY(m_list->SetItemText(row, 1, u"2011-07-01 09:3"_s + QString::number(row)));
        QVERIFY(m_list->SetItemData(row, DWORD_PTR(1000 + row)));
    }
}

void TestCZorvaListCtrl::rowsKeepInsertionOrderWithTheirData()
{
    fill({u"a"_s, u"b"_s, u"c"_s});
    QCOMPARE(m_list->InsertItem(1, u"inserted"_s), 1);
    m_list->SetItemData(1, 0xFFFFFFFFu);
    QCOMPARE(m_list->InsertItem(99, u"last"_s), 4);
    m_list->SetItemData(4, 7);
    QCOMPARE(m_list->GetItemCount(), 5);
    const QStringList expected{u"a"_s, u"inserted"_s, u"b"_s, u"c"_s, u"last"_s};
    const QList<DWORD_PTR> data{1000, 0xFFFFFFFFu, 1001, 1002, 7};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(m_list->GetItemText(i, 0), expected.at(i));
        QCOMPARE(m_list->GetItemData(i), data.at(i));
    }
    QCOMPARE(m_list->GetItemText(2, 1), u"2011-07-01 09:31"_s);

    QVERIFY(m_list->DeleteItem(1));
    QCOMPARE(m_list->GetItemData(1), DWORD_PTR(1001));
    QVERIFY(m_list->Clear());
    QCOMPARE(m_list->GetItemCount(), 0);
    QCOMPARE(m_list->headerItem()->text(1), u"时间"_s); // columns stay
    QCOMPARE(m_list->columnWidth(0), 180);
}

void TestCZorvaListCtrl::selectionChangePostsToTheParent()
{
    fill({u"a"_s, u"b"_s, u"c"_s});
    QCoreApplication::processEvents();
    m_parent->messages.clear();

    // A selection the program makes is reported too, later, through the parent's queue.
    QVERIFY(m_list->SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
    QVERIFY(m_parent->messages.isEmpty());
    QTRY_COMPARE(m_parent->messages, QList<UINT>{WM_ZORVA_LISTSELCHANGE});
    QCOMPARE(m_list->GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);

    m_parent->messages.clear();
    const QRect row0 = m_list->visualItemRect(m_list->topLevelItem(0));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, row0.center());
    QTRY_VERIFY(!m_parent->messages.isEmpty());
    QVERIFY(m_parent->messages.count(WM_ZORVA_LISTSELCHANGE) == m_parent->messages.size());
    QCOMPARE(selectedRows(*m_list), QList<int>{0});
}

void TestCZorvaListCtrl::deleteKeyAsksTheParent()
{
    fill({u"a"_s, u"b"_s});
    m_list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    m_list->setFocus();
    QCoreApplication::processEvents();
    m_parent->messages.clear();
    QTest::keyClick(m_list, Qt::Key_Delete);
    QTRY_COMPARE(m_parent->messages, QList<UINT>{WM_ZORVA_LISTDELETE});
    QCOMPARE(m_list->GetItemCount(), 2); // deleting is the parent's business
}

void TestCZorvaListCtrl::multiSelectionIsReportedFirstToLast()
{
    fill({u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s});
    for (int row : {4, 1, 3})
        m_list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    QCOMPARE(selectedRows(*m_list), (QList<int>{1, 3, 4}));
    QCOMPARE(m_list->GetSelectedCount(), 3u);

    // The user extends the selection with Ctrl+click.
    m_list->SetItemState(-1, 0, LVIS_SELECTED);
    QCOMPARE(m_list->GetFirstSelectedItemPosition(), POSITION(0));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                      m_list->visualItemRect(m_list->topLevelItem(3)).center());
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      m_list->visualItemRect(m_list->topLevelItem(0)).center());
    QCOMPARE(selectedRows(*m_list), (QList<int>{0, 3}));
}

void TestCZorvaListCtrl::deletingReportedRowsDeletesEachOnce()
{
    fill({u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s});
    for (int row : {1, 2, 4})
        m_list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    // The delete command's loop: each reported row is deleted before the next is asked for.
    QList<DWORD_PTR> deleted;
    POSITION pos = m_list->GetFirstSelectedItemPosition();
    while (pos) {
        const int row = m_list->GetNextSelectedItem(pos);
        deleted << m_list->GetItemData(row);
        QVERIFY(m_list->DeleteItem(row));
    }
    QCOMPARE(deleted, (QList<DWORD_PTR>{1001, 1002, 1004}));
    QCOMPARE(m_list->GetItemCount(), 3);
    QCOMPARE((QList<DWORD_PTR>{m_list->GetItemData(0), m_list->GetItemData(1), m_list->GetItemData(2)}),
             (QList<DWORD_PTR>{1000, 1003, 1005}));
}

void TestCZorvaListCtrl::badRowsAreRefused()
{
    fill({u"a"_s});
    QVERIFY(!m_list->SetItemText(1, 0, u"x"_s));
    QVERIFY(!m_list->SetItemText(0, 2, u"x"_s)); // no third column
    QVERIFY(!m_list->SetItemData(-1, 1));
    QCOMPARE(m_list->GetItemData(5), DWORD_PTR(0));
    QVERIFY(!m_list->DeleteItem(1));
    QVERIFY(!m_list->EnsureVisible(3, FALSE));
    QVERIFY(!m_list->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED));
    POSITION stale = 12345;
    QCOMPARE(m_list->GetNextSelectedItem(stale), -1);
    QCOMPARE(stale, POSITION(0));
}

// A list is given its font and look when it is first polished: a template's list that a member list
// replaces costs nothing to make. Shown, the rows have the kit's font and the headings the
// application's; the scroll bars keep the application's colours.
void TestCZorvaListCtrl::dressedWhenFirstShown()
{
    CZorvaListCtrl unshown(m_parent.get());
    QCOMPARE(unshown.style(), QApplication::style());

    QVERIFY(m_list->style() != QApplication::style());
    QCOMPARE(m_list->font().pixelSize(), 13);
    QCOMPARE(m_list->header()->font(), QApplication::font());
    QCOMPARE(m_list->verticalScrollBar()->palette().color(QPalette::Button),
             QApplication::palette().color(QPalette::Button));
}

// Each state of a row in its colour, over the rule that closes it; the rows and the headings are
// 28 pixels high above their rules.
void TestCZorvaListCtrl::rowsShowTheirState_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("plain") << true << 0 << QColor(0xff, 0xff, 0xff);
    QTest::newRow("under the pointer") << true << 2 << QColor(0xee, 0xf5, 0xfd);
    QTest::newRow("selected") << true << 1 << QColor(0xd3, 0xe6, 0xfb);
    QTest::newRow("selected, window inactive") << false << 1 << QColor(0xe2, 0xed, 0xf9);
}

void TestCZorvaListCtrl::rowsShowTheirState()
{
    QFETCH(bool, active);
    QFETCH(int, row);
    QFETCH(QColor, colour);
    fill({u"a"_s, u"b"_s, u"c"_s});
    m_list->topLevelItem(1)->setSelected(true);
    QWidget other;
    if (!active)
        other.show();
    QApplication::setActiveWindow(active ? static_cast<QWidget*>(m_parent.get()) : &other);
    QTRY_COMPARE(m_parent->isActiveWindow(), active);
    const QRect rect = m_list->visualItemRect(m_list->topLevelItem(row));
    const QPoint pointer = m_list->visualItemRect(m_list->topLevelItem(2)).center();
    QTest::mouseMove(m_list->viewport(), pointer); // enters
    QTest::mouseMove(m_list->viewport(), pointer + QPoint(1, 0));
    QTRY_COMPARE(m_list->viewport()->grab().toImage().pixelColor(400, rect.top() + 3), colour);

    const QImage image = m_list->viewport()->grab().toImage();
    QCOMPARE(rect.height(), 29);
    QCOMPARE(image.pixelColor(400, rect.bottom()), QColor(0xee, 0xf2, 0xf7));
    QCOMPARE(m_list->header()->height(), 29);
}

QTEST_MAIN(TestCZorvaListCtrl)
#include "tst_czorvalistctrl.moc"
