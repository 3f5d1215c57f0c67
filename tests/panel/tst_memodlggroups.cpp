// The panel's category box: what it lists and the way into the category editor.
#include "PanelTestSupport.h"

#include <CMemoGroupName.h>
#include <TestSeams.h>

class TestMemoDlgGroups : public PanelTest
{
    Q_OBJECT
  public:
    // The tests answer the category editor and its message boxes themselves.
    TestMemoDlgGroups() : PanelTest(false) {}

  private:
    CMemoDlg& openPanel() { return m_h->open(); }

  private Q_SLOTS:
    void boxListsStoredCategoriesThenMissingPseudoEntries()
    {
        CMemoDlg& panel = openPanel();
        QCOMPARE(Entries(GroupFilter(panel)), (QStringList{u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        QCOMPARE(GroupFilter(panel).GetCurSel(), 1);
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"全部"_s);

        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"其它"_s, 101);
        panel.UpdateStatus(TRUE);
        QCOMPARE(Entries(GroupFilter(panel)), (QStringList{u"工作"_s, u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        // The filter chosen before stays, found again by its name (an import or another user's
        // store moves the entries).
        QCOMPARE(GroupFilter(panel).GetCurSel(), 2);
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"全部"_s);

        Choose(GroupFilter(panel), u"工作"_s);
        QTRY_COMPARE(GroupFilter(panel).GetWindowTextW(), u"工作"_s);
        DBI_MemGroupDeleteRecord(Groups().front().key);
        StoreGroup(u"生活"_s, 102);
        StoreGroup(u"工作"_s, 103);
        panel.UpdateStatus(TRUE);
        QCOMPARE(GroupFilter(panel).GetLBText(GroupFilter(panel).GetCurSel()), u"工作"_s);
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"工作"_s);
        DBI_MemGroupDeleteRecord(Groups().back().key);
        panel.UpdateStatus(TRUE);
        QCOMPARE(GroupFilter(panel).GetLBText(GroupFilter(panel).GetCurSel()), u"全部"_s);
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"全部"_s);
    }

    // A stored category that carries the editor entry's name is an ordinary filter; only the
    // box's last entry opens the editor.
    void onlyTheLastEntryOpensTheEditor()
    {
        StoreGroup(u"编辑分类"_s, 100);
        StoreFullMemo(u"甲"_s, u"正文"_s, u"编辑分类"_s, 100);
        StoreFullMemo(u"乙"_s, u"正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = openPanel();
        KitTest::ModalDriver driver;
        GroupFilter(panel).setCurrentIndex(0);
        Q_EMIT GroupFilter(panel).activated(0);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(driver.driven(), 0);
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"编辑分类"_s);
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"甲"_s});

        driver.onNextModal(
            [](QDialog* editor) { QTest::mouseClick(Button(editor, IDCANCEL), Qt::LeftButton); });
        Choose(GroupFilter(panel), u"全部"_s);
        const int last = GroupFilter(panel).GetCount() - 1;
        GroupFilter(panel).setCurrentIndex(last);
        Q_EMIT GroupFilter(panel).activated(last);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(driver.driven(), 1);
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"全部"_s);
    }

    void choosingACategorySetsTheFilter()
    {
        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"生活"_s, 101);
        CMemoDlg& panel = openPanel();
        Choose(GroupFilter(panel), u"生活"_s);
        QTRY_COMPARE(GroupFilter(panel).GetWindowTextW(), u"生活"_s);
        QCOMPARE(GroupFilter(panel).GetCurSel(), 1);
        Choose(GroupFilter(panel), u"其它"_s);
        QTRY_COMPARE(GroupFilter(panel).GetWindowTextW(), u"其它"_s);
        QCOMPARE(GroupFilter(panel).GetCurSel(), 2);
    }

    void editEntryOpensTheEditorAndRefillsTheBox()
    {
        StoreGroup(u"生活"_s, 100);
        CMemoDlg& panel = openPanel();
        Choose(GroupFilter(panel), u"生活"_s);
        QTRY_COMPARE(GroupFilter(panel).GetWindowTextW(), u"生活"_s);

        KitTest::ModalDriver driver;
        QString editorTitle;
        // The editor: New, then OK. The name dialog opened by New: type a name, OK.
        driver.onNextModal([&](QDialog* editor) {
            editorTitle = editor->windowTitle();
            QTest::mouseClick(Button(editor, 21024), Qt::LeftButton);
            QTest::mouseClick(Button(editor, IDOK), Qt::LeftButton);
        });
        driver.onNextModal([](QDialog* name) {
            Type(&DlgItem<CZorvaEdit>(*name, 21032), u"工作"_s);
            QTest::mouseClick(Button(name, IDOK), Qt::LeftButton);
        });
        Choose(GroupFilter(panel), u"编辑分类"_s);
        QTRY_COMPARE(driver.driven(), 2);
        QCOMPARE(driver.leftOpen(), 0);
        QCOMPARE(editorTitle, u"备忘录分类编辑"_s);

        // The new category is stored and listed; the filter and its entry are the ones chosen
        // before, although the entry moved.
        QTRY_COMPARE(Entries(GroupFilter(panel)),
                     (QStringList{u"生活"_s, u"工作"_s, u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        QCOMPARE(Groups().size(), size_t(2));
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"生活"_s);
        QCOMPARE(GroupFilter(panel).GetCurSel(), 0);
    }

    void filterFallsBackToAllWhenTheEditorRemovesIt()
    {
        StoreGroup(u"生活"_s, 100);
        CMemoDlg& panel = openPanel();
        Choose(GroupFilter(panel), u"生活"_s);
        QTRY_COMPARE(GroupFilter(panel).GetWindowTextW(), u"生活"_s);

        KitTest::ModalDriver driver;
        KitTest::MessageBoxResponder boxes(IDYES);
        driver.onNextModal([](QDialog* editor) {
            QTest::mouseClick(Button(editor, 21026), Qt::LeftButton); // Delete, answered Yes
            QTest::mouseClick(Button(editor, IDOK), Qt::LeftButton);
        });
        Choose(GroupFilter(panel), u"编辑分类"_s);
        QTRY_COMPARE(driver.driven(), 1);
        QTRY_COMPARE(Entries(GroupFilter(panel)), (QStringList{u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"全部"_s);
        QCOMPARE(GroupFilter(panel).GetCurSel(), 1);
    }
};

QTEST_MAIN(TestMemoDlgGroups)
#include "tst_memodlggroups.moc"
