// The panel's commands on a real store: New through the memo edit dialog, Save of the detail pane,
// Delete, the bulk generator, the user-change notice, and what happens when the store refuses a
// write.
#include "FailingWrites.h"
#include "PanelTestSupport.h"

#include <CMemoEditDlg.h>
#include <MemoGroups.h>
#include <MemoStore.h>
#include <TestSeams.h>

#include <QApplication>

namespace {

// The memo edit dialog as the person fills it: the category (when given), the body, OK.
KitTest::ModalDriver::Action FillEditDialog(const QString& body, const QString& group = {})
{
    return [body, group](QDialog* d) {
        auto& groups = DlgItem<CZOREditComboBox>(*d, 21035);
        if (!group.isEmpty())
            groups.SetCurSel(groups.FindString(-1, group));
        Type(&DlgItem<CZorvaEdit>(*d, 21036), body);
        QTest::mouseClick(Button(d, IDOK), Qt::LeftButton);
    };
}

} // namespace

class TestMemoDlgCommands : public PanelTest
{
    Q_OBJECT
  private:
    void TypeIntoDetail(const QString& title, const QString& body)
    {
        PaneTitle(detail()).SetWindowTextW(title);
        PaneBody(detail()).SetSel(0, -1);
        PaneBody(detail()).ReplaceSel(body);
    }

  private Q_SLOTS:
    void newIsRefusedAtTheLimit_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("opens");
        QTest::newRow("100") << 100 << false;
        QTest::newRow("99") << 99 << true;
    }
    void newIsRefusedAtTheLimit()
    {
        QFETCH(int, stored);
        QFETCH(bool, opens);
        for (int i = 0; i < stored; ++i)
            StoreFullMemo(QString::number(i), u"正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        m_driver->onNextModal([](QDialog* d) { static_cast<CDialog*>(d)->EndDialog(IDCANCEL); });
        Click(NewButton(panel));
        QCOMPARE(m_driver->driven(), opens ? 1 : 0);
        QCOMPARE(int(m_boxes->calls().size()), opens ? 0 : 1);
        if (!opens)
            QCOMPARE(m_boxes->calls().front().text, LoadStr(223));
        QCOMPARE(DBI_MemGetValidRecordCount(), stored);
    }

    void newStoresAMemoWithItsCategoryAndSelectsIt_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("storedGroup");
        QTest::addColumn<int>("groupId");
        QTest::newRow("no category") << QString() << u"全部"_s << 0;
        QTest::newRow("category") << u"生活"_s << u"生活"_s << 101;
    }
    void newStoresAMemoWithItsCategoryAndSelectsIt()
    {
        QFETCH(QString, group);
        QFETCH(QString, storedGroup);
        QFETCH(int, groupId);
        StoreFullMemo(u"旧的"_s, u"早"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        // Without stored categories the dialog's picker has nothing to offer.
        if (!group.isEmpty()) {
            StoreGroup(u"工作"_s, 100);
            StoreGroup(u"生活"_s, 101);
        }
        // The title is left at the hint: it comes from the body, without the trailing blanks.
        m_driver->onNextModal(FillEditDialog(u"一二三四五六七八九十一二三四五六七八九 十二三  "_s, group));
        Click(NewButton(panel));
        QCOMPARE(m_driver->driven(), 1);
        const MemoRecord memo = Memos().back();
        QCOMPARE(Q(MemoTitle(memo)), u"一二三四五六七八九十一二三四五六七八九"_s);
        QCOMPARE(Q(MemoGroupName(memo)), storedGroup);
        QCOMPARE(memo.groupId, groupId);
        QCOMPARE(SelectedRow(MemoList(panel)), 1);
        QCOMPARE(PaneTitle(detail()).GetWindowTextW(), u"一二三四五六七八九十一二三四五六七八九"_s);
    }

    // The edit dialog is kept between News: the second starts empty, with the preselected entry
    // rather than the first one's pick.
    void aSecondNewStartsFromAnEmptyDialog()
    {
        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"生活"_s, 101);
        CMemoDlg& panel = m_h->open();
        m_driver->onNextModal(FillEditDialog(u"甲"_s, u"生活"_s));
        Click(NewButton(panel));
        m_driver->onNextModal(FillEditDialog(u"乙"_s));
        Click(NewButton(panel));
        QCOMPARE(m_driver->driven(), 2);
        const MemoRecord second = MemoByTitle(u"乙"_s);
        QCOMPARE(Q(MemoContent(second)), u"乙"_s);
        QCOMPARE(Q(MemoGroupName(second)), u"全部"_s);
        QCOMPARE(Q(MemoGroupName(MemoByTitle(u"甲"_s))), u"生活"_s);
    }

    // Neither a cancelled New nor a Save refused for an empty memo makes the shown memo a new
    // one: the next Save changes it instead of storing a copy beside it.
    void theShownMemoStaysTheOneSaveChanges()
    {
        const std::int32_t shown = StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        // OK on an empty memo is refused by the dialog itself; then the person cancels.
        m_driver->onNextModal([](QDialog* d) {
            auto& dlg = *static_cast<CMemoEditDlg*>(d);
            QTest::mouseClick(Button(d, IDOK), Qt::LeftButton);
            QVERIFY(dlg.isVisible());
            QTest::mouseClick(Button(d, IDCANCEL), Qt::LeftButton);
        });
        Click(NewButton(panel));
        QCOMPARE(m_boxes->calls().size(), size_t(1));
        QVERIFY(!panel.PaneIsNewMemo());
        TypeIntoDetail(u"周报"_s, u"改过"_s);
        Click(SaveButton(panel));

        TypeIntoDetail(QString(), QString());
        Click(SaveButton(panel));
        QCOMPARE(m_boxes->calls().back().text, LoadStr(220));
        TypeIntoDetail(u"重写"_s, u"重写的内容"_s);
        Click(SaveButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);
        QCOMPARE(Q(MemoTitle(Memos().front())), u"重写"_s);
        QCOMPARE(Memos().front().key, shown);
    }

    // The shown memo changed elsewhere (a sync, another host) while the pane held edits: Save keeps
    // that change and stores the pane as a new memo, and says so. Without edits in the pane Save
    // just shows the memo as it is now. A category renamed meanwhile is no such change.
    void saveAfterAChangeElsewhereKeepsBoth_data()
    {
        QTest::addColumn<bool>("bodyChanged");
        QTest::addColumn<bool>("typed");
        QTest::newRow("body changed elsewhere") << true << true;
        QTest::newRow("nothing typed here") << true << false;
        QTest::newRow("category renamed") << false << true;
    }
    void saveAfterAChangeElsewhereKeepsBoth()
    {
        QFETCH(bool, bodyChanged);
        QFETCH(bool, typed);
        const MemoGroupRecord work = StoreGroup(u"工作"_s, 100);
        const std::int32_t key = StoreFullMemo(u"买菜"_s, u"牛奶"_s, u"工作"_s, 100);
        CMemoDlg& panel = m_h->open();
        if (typed)
            TypeIntoDetail(u"买菜"_s, u"牛奶和面包"_s);
        MemoRecord elsewhere = MemoByTitle(u"买菜"_s);
        if (bodyChanged) {
            ApplySavedMemo(elsewhere, 305371900, u"工作", u"买菜", u"牛奶和鸡蛋");
            QCOMPARE(DBI_MemModifyRecord(key, &elsewhere), 1);
        } else {
            MemoGroupRecord renamed = work;
            RenameGroupRecord(renamed, u"家务");
            RenameMemoGroup(elsewhere, u"工作", u"家务");
            QCOMPARE(MemoStore_GroupRename(work.key, &renamed, &elsewhere, 1), 1);
        }
        Click(SaveButton(panel));

        const bool copied = bodyChanged && typed;
        QCOMPARE(DBI_MemGetValidRecordCount(), copied ? 2 : 1);
        MemoRecord stored{};
        QCOMPARE(DBI_MemReadRecord(key, &stored), 1);
        QCOMPARE(Q(MemoContent(stored)), bodyChanged ? u"牛奶和鸡蛋"_s : u"牛奶和面包"_s);
        QCOMPARE(m_boxes->calls().empty(), !copied);
        if (copied) {
            QCOMPARE(m_boxes->calls().back().text, LoadStr(246));
            QCOMPARE(Q(MemoContent(Memos().back())), u"牛奶和面包"_s);
        }
        QCOMPARE(PaneBody(panel).GetWindowTextW(), copied ? u"牛奶和面包"_s : Q(MemoContent(stored)));
        // Saved again, the pane changes the memo it shows, without another copy.
        TypeIntoDetail(u"买菜"_s, u"牛奶和面包和米"_s);
        Click(SaveButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), copied ? 2 : 1);
    }

    // The same with no room for the copy: Save says the store is full and stores nothing, and the
    // next New, which stores a memo of its own, does not tell of a copy.
    void aCopyRefusedForAFullStoreIsNotToldOfLater()
    {
        const std::int32_t key = StoreFullMemo(u"买菜"_s, u"牛奶"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        TypeIntoDetail(u"买菜"_s, u"牛奶和面包"_s);
        MemoRecord elsewhere = MemoByTitle(u"买菜"_s);
        ApplySavedMemo(elsewhere, 305371900, u"全部", u"买菜", u"牛奶和鸡蛋");
        QCOMPARE(DBI_MemModifyRecord(key, &elsewhere), 1);
        std::int32_t last = 0;
        for (int i = 1; i < 100; ++i)
            last = StoreFullMemo(QString::number(i), u"正文"_s, u"全部"_s, 0);
        Click(SaveButton(panel));
        QCOMPARE(int(m_boxes->calls().size()), 1);
        QCOMPARE(m_boxes->calls().back().text, LoadStr(223));
        QCOMPARE(DBI_MemGetValidRecordCount(), 100);

        QCOMPARE(DBI_MemDeleteRecord(last), 1);
        m_boxes->setNextAnswer(IDNO); // the pane's edits are not kept
        m_driver->onNextModal(FillEditDialog(u"新的一条"_s));
        Click(NewButton(panel));
        QCOMPARE(m_driver->driven(), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 100);
        QCOMPARE(int(m_boxes->calls().size()), 2); // the full store, then the question about the edits
        QVERIFY(m_boxes->calls().back().text != LoadStr(246));
    }

    // A title of several lines shows its first line in the title box; saved without touching it,
    // it stays whole. A title typed over is stored as typed.
    void aTitleOfSeveralLinesSurvivesASave_data()
    {
        QTest::addColumn<QString>("typedTitle");
        QTest::addColumn<QString>("storedTitle");
        QTest::newRow("left as shown") << u"one"_s << u"one\ntwo\nthree"_s;
        QTest::newRow("typed over") << u"uno"_s << u"uno"_s;
    }
    void aTitleOfSeveralLinesSurvivesASave()
    {
        QFETCH(QString, typedTitle);
        QFETCH(QString, storedTitle);
        const std::int32_t key = StoreFullMemo(u"one\ntwo\nthree"_s, u"one\ntwo\nthree"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        QCOMPARE(PaneTitle(detail()).GetWindowTextW(), u"one"_s);
        TypeIntoDetail(typedTitle, u"one\ntwo\nthree!"_s);
        Click(SaveButton(panel));
        MemoRecord saved{};
        QCOMPARE(DBI_MemReadRecord(key, &saved), 1);
        QCOMPARE(Q(MemoTitle(saved)), storedTitle);
        QCOMPARE(Q(MemoContent(saved)), u"one\ntwo\nthree!"_s);
    }

    // With nothing listed the pane stands for a new memo: Save stores it, with the empty category
    // it has (New would file it under 全部).
    void saveOfAnEmptyListCreatesAMemo()
    {
        StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        Choose(GroupFilter(panel), u"其它"_s);
        QVERIFY(panel.PaneIsNewMemo());
        TypeIntoDetail(u"新的"_s, u"内容"_s);
        detail().SetDlgItemTextW(21014, QString());
        Click(SaveButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        QCOMPARE(Q(MemoGroupName(MemoByTitle(u"新的"_s))), QString());
        QCOMPARE(Q(MemoContent(MemoByTitle(u"周报"_s))), u"本周"_s);
    }

    void saveKeepsTheRecordsOwnFields()
    {
        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"生活"_s, 101);
        MemoRecord stored = NewMemoRecord(305371800, u"工作", 100, u"周报", u"本周");
        stored.reserved1 = 11;
        stored.reserved2 = 22;
        stored.flags = 0x5;
        const std::int32_t key = DBI_MemRecycleWriteRecord(&stored);
        CMemoDlg& panel = m_h->open();
        const MemoTime before = CurrentMemoTime();
        TypeIntoDetail(u"周报"_s, u"本周完成了"_s);
        Click(SaveButton(panel));
        MemoRecord saved = Memos().front();
        QCOMPARE(saved.key, key);
        QCOMPARE(Q(MemoContent(saved)), u"本周完成了"_s);
        QCOMPARE(saved.reserved1, 11);
        QCOMPARE(saved.reserved2, 22);
        QCOMPARE(saved.groupId, 100);
        QCOMPARE(saved.flags, 0x80000005u);
        QVERIFY(saved.stamp >= before && saved.stamp <= CurrentMemoTime());
        QCOMPARE(SelectedRow(MemoList(panel)), 0);

        // Filed under another category, the memo carries that category's id: deleting the old
        // category no longer moves it, deleting the new one does.
        detail().SetDlgItemTextW(21014, u"生活"_s);
        Click(SaveButton(panel));
        saved = Memos().front();
        QCOMPARE(Q(MemoGroupName(saved)), u"生活"_s);
        QCOMPARE(saved.groupId, 101);
    }

    void bulkGenerator_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("count") << u" 5"_s << QStringList{u"0_1"_s, u"1_1"_s};
        QTest::newRow("no digits") << u"abc"_s << QStringList{u"QUARTZLEDGER"_s};
        QTest::newRow("zero") << u"0"_s << QStringList{u"QUARTZLEDGER"_s};
    }
    void bulkGenerator()
    {
        QFETCH(QString, body);
        QFETCH(QStringList, titles);
        for (int i = 0; i < 98; ++i)
            StoreFullMemo(QString::number(i), u"正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        Choose(GroupFilter(panel), u"其它"_s); // nothing listed: the pane stands for a new memo
        TypeIntoDetail(u"QUARTZLEDGER"_s, body);
        Click(SaveButton(panel));
        const std::vector<MemoRecord> memos = Memos();
        QCOMPARE(int(memos.size()), 98 + int(titles.size()));
        for (int i = 0; i < int(titles.size()); ++i) {
            const MemoRecord& memo = memos[std::size_t(98 + i)];
            QCOMPARE(Q(MemoTitle(memo)), titles[i]);
            if (titles[i] != u"QUARTZLEDGER"_s) {
                QCOMPARE(Q(MemoContent(memo)), titles[i]);
                QCOMPARE(memo.reserved1, memo.stamp);
            }
        }
    }

    void deleteAsksThenRemovesExactlyTheSelectedRows()
    {
        for (int i = 0; i < 6; ++i)
            StoreFullMemo(QString::number(i), u"正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        CZorvaListCtrl& list = MemoList(panel);
        // With nothing selected Delete asks nothing and selects the first row.
        list.SetItemState(-1, 0, LVIS_SELECTED);
        PanelHarness::settle();
        Click(DeleteButton(panel));
        QVERIFY(m_boxes->calls().empty());
        QCOMPARE(SelectedRow(list), 0);

        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : {1, 3, 5})
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        PanelHarness::settle();
        m_boxes->queueAnswers({IDNO, IDYES});
        Click(DeleteButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 6);
        Click(DeleteButton(panel));
        QCOMPARE(m_boxes->calls()[1].text, LoadStr(234));
        QCOMPARE(m_boxes->calls()[1].style, UINT(0x24));
        QCOMPARE(ListTitles(list), (QStringList{u"0"_s, u"2"_s, u"4"_s}));
        QStringList stored;
        for (const MemoRecord& memo : Memos())
            stored << Q(MemoTitle(memo));
        QCOMPARE(stored, ListTitles(list));
    }

    void deletingTheOnlyMemoEmptiesTheDetailPane()
    {
        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"全部"_s, 101);
        StoreGroup(u"其它"_s, 102);
        StoreFullMemo(u"唯一"_s, u"正文"_s, u"工作"_s, 100);
        CMemoDlg& panel = m_h->open();
        m_boxes->setDefaultAnswer(IDYES);
        Click(DeleteButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        QCOMPARE(PaneBody(detail()).GetWindowTextW(), QString());
        QVERIFY(PaneTitle(detail()).GetWindowTextW() != u"唯一"_s);
        QCOMPARE(Entries(PaneGroup(detail())), (QStringList{u"工作"_s, u"其它"_s}));

        // The list is empty and the pane says nothing of a stored memo: Save makes a new one.
        QVERIFY(!panel.PaneIsNewMemo());
        TypeIntoDetail(u"又一个"_s, u"正文"_s);
        Click(SaveButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"又一个"_s});
    }

    void reloadDuringTheEditDialogLosesNothing()
    {
        StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        m_driver->onNextModal([&panel](QDialog* d) {
            // A change of user reported while the dialog is open: the panel reloads in the
            // dialog's loop and the list has rows.
            PostOwningMessage(&panel, WM_MEMO_UPDATEDATA, std::make_unique<QString>(u"tester"_s));
            PanelHarness::settle();
            FillEditDialog(u"买菜"_s)(d);
        });
        Click(NewButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        QCOMPARE(ListTitles(MemoList(panel)), (QStringList{u"周报"_s, u"买菜"_s}));
        QCOMPARE(SelectedRow(MemoList(panel)), 1);
    }

    void failedWritesAreReportedAndLoseNothing()
    {
        StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        QVERIFY(FailWrites("memo")); // as a full disk would
        TypeIntoDetail(u"周报"_s, u"改过的正文"_s);
        Click(SaveButton(panel));
        QCOMPARE(m_boxes->calls().size(), size_t(1));
        QCOMPARE(m_boxes->calls()[0].text, LoadStr(239));
        QCOMPARE(PaneBody(detail()).GetWindowTextW(), u"改过的正文"_s);
        QCOMPARE(Q(MemoContent(Memos().front())), u"本周"_s);

        m_boxes->setDefaultAnswer(IDYES);
        Click(DeleteButton(panel));
        QCOMPARE(m_boxes->calls().back().text, LoadStr(240));
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"周报"_s});
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);

        // A new memo that could not be stored waits in the detail pane (the edits there before
        // are dropped when New asks).
        m_boxes->setNextAnswer(IDNO);
        m_driver->onNextModal(FillEditDialog(u"买菜"_s));
        Click(NewButton(panel));
        QCOMPARE(m_boxes->calls().back().text, LoadStr(239));
        QCOMPARE(PaneBody(detail()).GetWindowTextW(), u"买菜"_s);
        QVERIFY(panel.PaneIsNewMemo());
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);
    }

    void storedRecordsCarryNothingBeyondTheirTexts()
    {
        CMemoDlg& panel = m_h->open();
        TypeIntoDetail(u"短"_s, u"正文"_s);
        Click(SaveButton(panel));
        MemoRecord expected{};
        const MemoRecord memo = Memos().front();
        expected = NewMemoRecord(memo.stamp, u"", memo.groupId, u"短", u"正文");
        expected.key = memo.key;
        QCOMPARE(std::memcmp(&memo, &expected, sizeof memo), 0);
    }

    void userChangeWhileHiddenWaitsForTheShowing()
    {
        CMemoDlg& panel = m_h->open();
        ShellTestHost host;
        panel.hide();
        StoreFullMemo(u"别处写的"_s, u"正文"_s, u"全部"_s, 0);
        PostOwningMessage(&panel, WM_MEMO_UPDATEDATA, std::make_unique<QString>(u"tester"_s));
        PanelHarness::settle();
        QCOMPARE(MemoList(panel).GetItemCount(), 0);
        QVERIFY(StatusTexts(host).isEmpty());
        panel.show();
        PanelHarness::settle();
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"别处写的"_s});
        QCOMPARE(StatusTexts(host), QStringList{FormatStr(LoadStr(233), 1)});
    }

    void enterAndEscapeLeaveThePanelAlone()
    {
        StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        QTest::keyClick(&MemoList(panel), Qt::Key_Return);
        QTest::keyClick(&MemoList(panel), Qt::Key_Escape);
        PanelHarness::settle();
        QVERIFY(panel.isVisible());
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"周报"_s});
        QCOMPARE(m_driver->driven(), 0);
    }
};

QTEST_MAIN(TestMemoDlgCommands)
#include "tst_memodlgcommands.moc"
