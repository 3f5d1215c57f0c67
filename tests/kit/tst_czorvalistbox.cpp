#include "CZorvaListBox.h"
#include "MessageRecorder.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCZorvaListBox : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void rowsWithDataAndSelection();
    void userSelectionNotifiesTheParent();
};

void TestCZorvaListBox::rowsWithDataAndSelection()
{
    CZorvaListBox list;
    QCOMPARE(list.GetCurSel(), LB_ERR);
    for (int i = 0; i < 12; ++i) {
        QCOMPARE(list.InsertString(i, u"分类%1"_s.arg(i)), i);
        QCOMPARE(list.SetItemData(i, DWORD_PTR(500 + i)), 0);
    }
    QCOMPARE(list.InsertString(-1, u"末尾"_s), 12);
    QCOMPARE(list.InsertString(0, u"开头"_s), 0);
    QCOMPARE(list.GetCount(), 14);
    QCOMPARE(list.GetText(1), u"分类0"_s);
    QCOMPARE(list.GetItemData(1), DWORD_PTR(500));
    QCOMPARE(list.GetItemData(0), DWORD_PTR(0));
    QString text;
    list.GetText(13, text);
    QCOMPARE(text, u"末尾"_s);

    QCOMPARE(list.SetCurSel(5), 5);
    QCOMPARE(list.GetCurSel(), 5);
    QCOMPARE(list.SetCurSel(14), LB_ERR);
    QCOMPARE(list.GetCurSel(), LB_ERR);
    QCOMPARE(list.SetItemData(20, 1), LB_ERR);
    QCOMPARE(list.GetItemData(-1), DWORD_PTR(0));

    list.resize(200, 100);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.SetTopIndex(8), 0);
    QCOMPARE(list.GetTopIndex(), 8);

    list.DeleteAllItems();
    QCOMPARE(list.GetCount(), 0);
    QCOMPARE(list.GetCurSel(), LB_ERR);
}

void TestCZorvaListBox::userSelectionNotifiesTheParent()
{
    MessageRecorder parent;
    parent.resize(200, 200);
    auto* list = new CZorvaListBox(&parent);
    list->setObjectName(u"21023"_s);
    list->setGeometry(0, 0, 200, 200);
    list->InsertString(-1, u"工作"_s);
    list->InsertString(-1, u"生活"_s);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    parent.notifications.clear();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(list->GetCurSel(), 1);
    QCOMPARE(parent.notifications, (QList<QPair<int, UINT>>{{21023, LBN_SELCHANGE}}));
}

QTEST_MAIN(TestCZorvaListBox)
#include "tst_czorvalistbox.moc"
