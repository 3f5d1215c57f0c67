// Unsaved edits of the detail pane on a real store: every action of the panel that would replace
// them asks first (save, drop, cancel), and where nobody can be asked they are kept as the user's
// draft and come back.
#include "PanelTestSupport.h"

#include <MemoDraft.h>
#include <MemoStore.h>
#include <TestSeams.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

// Runs SQL on the open store's file through a connection of its own.
void ExecOnStore(const char* sql)
{
    sqlite3* db = nullptr;
    QVERIFY(sqlite3_open(MemoStore_CurrentPath(), &db) == SQLITE_OK);
    QVERIFY2(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sqlite3_errmsg(db));
    sqlite3_close(db);
}

enum class Action { ClickRow, Refresh, Category, Search, DeleteOther, NewCancelled };

} // namespace

class TestMemoDlgEdits : public PanelTest
{
    Q_OBJECT
  private:
    QString paneBody() { return PaneBody(detail()).GetWindowTextW(); }
    void TypeBody(const QString& text)
    {
        PaneBody(detail()).SetSel(PaneBody(detail()).GetTextLength(), -1);
        Type(&PaneBody(detail()), text);
        PanelHarness::settle();
    }
    int QuestionsAsked() const
    {
        return int(
            std::count_if(m_boxes->calls().begin(), m_boxes->calls().end(),
                          [](const KitTest::MessageBoxCall& call) { return call.text == LoadStr(241); }));
    }

  private Q_SLOTS:
    // Each action of the person that would replace the edited pane, answered each way.
    void actionsAskBeforeReplacingEdits_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("answer");
        const std::pair<const char*, Action> actions[] = {
            {"row", Action::ClickRow},  {"refresh", Action::Refresh},    {"category", Action::Category},
            {"search", Action::Search}, {"delete", Action::DeleteOther}, {"new", Action::NewCancelled}};
        const std::pair<const char*, int> answers[] = {{"yes", IDYES}, {"no", IDNO}, {"cancel", IDCANCEL}};
        for (const auto& [actionName, action] : actions)
            for (const auto& [answerName, answer] : answers)
                QTest::addRow("%s %s", actionName, answerName) << action << answer;
    }
    void actionsAskBeforeReplacingEdits()
    {
        QFETCH(Action, action);
        QFETCH(int, answer);
        StoreGroup(u"生活"_s, 9);
        StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0);
        StoreFullMemo(u"乙"_s, u"乙正文"_s, u"全部"_s, 0);
        StoreFullMemo(u"丙"_s, u"丙正文"_s, u"生活"_s, 0);
        CMemoDlg& panel = m_h->open();
        QCOMPARE(paneBody(), u"甲正文"_s);
        TypeBody(u"改"_s);
        QVERIFY(panel.PaneHoldsEdits());

        m_boxes->queueAnswers({answer, IDYES}); // the second answers Delete's own question
        switch (action) {
        case Action::ClickRow:
            ClickRow(MemoList(panel), 1);
            break;
        case Action::Refresh:
            Click(RefreshButton(panel));
            break;
        case Action::Category:
            Choose(GroupFilter(panel), u"生活"_s);
            break;
        case Action::Search:
            Type(&SearchBox(panel), u"丙"_s);
            PanelHarness::settle();
            break;
        case Action::DeleteOther:
            // Row 乙 alone is selected, with no report of it handled yet.
            MemoList(panel).SetItemState(0, 0, LVIS_SELECTED);
            MemoList(panel).SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
            QTest::mouseClick(&DeleteButton(panel), Qt::LeftButton);
            PanelHarness::settle();
            break;
        case Action::NewCancelled:
            m_driver->onNextModal([](QDialog* d) { QTest::mouseClick(Button(d, IDCANCEL), Qt::LeftButton); });
            Click(NewButton(panel));
            break;
        }
        QCOMPARE(QuestionsAsked(), 1);
        const KitTest::MessageBoxCall& question = m_boxes->calls().front();
        QCOMPARE(question.caption, LoadStr(221));
        QCOMPARE(question.style, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
        QCOMPARE(question.owner, &panel);

        const QString stored = Q(MemoContent(MemoByTitle(u"甲"_s)));
        QCOMPARE(stored, answer == IDYES ? u"甲正文改"_s : u"甲正文"_s);
        MemoRecord draft{};
        if (answer == IDCANCEL) {
            // Everything as it was: pane, selection, filter, search text, and 乙 still stored.
            PanelHarness::settle();
            QCOMPARE(paneBody(), u"甲正文改"_s);
            QVERIFY(panel.PaneHoldsEdits());
            QCOMPARE(SelectedRow(MemoList(panel)), 0);
            QCOMPARE(GroupFilter(panel).GetWindowTextW(), u"全部"_s);
            QCOMPARE(ListTitles(MemoList(panel)), (QStringList{u"甲"_s, u"乙"_s, u"丙"_s}));
            QVERIFY(SearchBox(panel).GetWindowTextW().isEmpty() ||
                    SearchBox(panel).GetWindowTextW() == LoadStr(201));
            return;
        }
        QVERIFY(!panel.PaneHoldsEdits());
        QCOMPARE(MemoStore_DraftRead(&draft), 0);
        // Delete selects the row after the deleted one.
        // New, cancelled, leaves the memo as stored (the edits dropped on No) in the pane.
        const QString expectedPane = action == Action::ClickRow ? u"乙正文"_s
                                     : action == Action::Refresh || action == Action::NewCancelled
                                         ? stored
                                         : u"丙正文"_s;
        QTRY_COMPARE(paneBody(), expectedPane);
        if (action == Action::Category)
            QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"丙"_s});
        if (action == Action::DeleteOther)
            QCOMPARE(ListTitles(MemoList(panel)), (QStringList{u"甲"_s, u"丙"_s}));
    }

    // The search box taking the focus, and the placeholder going, change nothing in the pane.
    void focusingTheSearchBoxKeepsThePane()
    {
        StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        ShellTestHost host;
        TypeBody(u"改"_s);
        SearchBox(panel).SetFocus();
        PanelHarness::settle();
        PostMessage(&panel, WM_MEMO_FOCUSSEARCH, 0, 0);
        QTest::keyClick(&MemoList(panel), Qt::Key_F3, Qt::ControlModifier);
        PanelHarness::settle();
        QCOMPARE(paneBody(), u"甲正文改"_s);
        QVERIFY(StatusTexts(host).isEmpty()); // nothing was reloaded
        QCOMPARE(QuestionsAsked(), 0);

        // One press of Refresh (answered: drop the edits) reloads once.
        m_boxes->setNextAnswer(IDNO);
        Click(RefreshButton(panel));
        QCOMPARE(StatusTexts(host).size(), 1);
        QCOMPARE(paneBody(), u"甲正文"_s);
    }

    // Ctrl+S saves; Save shows whether the pane holds unsaved edits.
    void ctrlSSavesAndSaveShowsEdits()
    {
        StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        const QString plain = SaveButton(panel).GetWindowTextW();
        TypeBody(u"改"_s);
        QVERIFY(SaveButton(panel).GetWindowTextW() != plain);
        QTest::keyClick(&PaneBody(detail()), Qt::Key_S, Qt::ControlModifier);
        PanelHarness::settle();
        QCOMPARE(Q(MemoContent(MemoByTitle(u"甲"_s))), u"甲正文改"_s);
        QCOMPARE(SaveButton(panel).GetWindowTextW(), plain);
        QCOMPARE(paneBody(), u"甲正文改"_s);
    }

    // Where nobody is asked (a change of user), the edits wait in their user's store as a draft
    // and come back, with text 242, when that user's panel shows again; Save stores and clears it.
    void draftFollowsItsUserThroughAUserChange()
    {
        StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        ShellTestHost host;
        const QByteArray firstDir = QFileInfo(QString::fromUtf8(MemoStore_CurrentPath())).path().toUtf8();
        TypeBody(u"改"_s);

        QTemporaryDir otherDir;
        QVERIFY(MemoStore_Open("other", otherDir.path().toUtf8().constData()) == 1);
        PostOwningMessage(&panel, WM_MEMO_UPDATEDATA, std::make_unique<QString>(u"other"_s));
        PanelHarness::settle();
        QCOMPARE(MemoList(panel).GetItemCount(), 0);
        QVERIFY(paneBody().isEmpty());
        QCOMPARE(QuestionsAsked(), 0);

        QVERIFY(MemoStore_Open("tester", firstDir.constData()) == 1);
        PostOwningMessage(&panel, WM_MEMO_UPDATEDATA, std::make_unique<QString>(u"tester"_s));
        PanelHarness::settle();
        QCOMPARE(paneBody(), u"甲正文改"_s);
        QVERIFY(panel.PaneHoldsEdits());
        QCOMPARE(StatusTexts(host).back(), FormatStr(LoadStr(242), 1));
        QCOMPARE(Q(MemoContent(MemoByTitle(u"甲"_s))), u"甲正文"_s);

        Click(SaveButton(panel));
        QCOMPARE(Q(MemoContent(MemoByTitle(u"甲"_s))), u"甲正文改"_s);
        MemoRecord draft{};
        QCOMPARE(MemoStore_DraftRead(&draft), 0);
        QCOMPARE(StatusTexts(host).back(), FormatStr(LoadStr(233), 1));
    }

    // A reload (after a sync, say) that finds the edited memo deleted keeps the edits as a new
    // memo, and the keys go on where the person was typing.
    void typingGoesOnInTheBodyWhenTheMemoIsDeletedElsewhere()
    {
        const std::int32_t key = StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0);
        StoreFullMemo(u"乙"_s, u"乙正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        panel.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(panel.window()));
        PaneBody(detail()).setFocus();
        TypeBody(u"改"_s);
        QTRY_VERIFY(PaneBody(detail()).hasFocus());
        QCOMPARE(DBI_MemDeleteRecord(key), 1);
        PostOwningMessage(&panel, WM_MEMO_UPDATEDATA, std::make_unique<QString>(u"tester"_s));
        PanelHarness::settle();
        QCOMPARE(paneBody(), u"甲正文改"_s);
        QVERIFY(PaneBody(detail()).hasFocus());
    }

    // A draft of a memo deleted meanwhile, or of one never created, comes back as a new memo.
    void draftOfAMemoNotStoredComesBackAsNew_data()
    {
        QTest::addColumn<bool>("memoWasStored");
        QTest::newRow("deleted meanwhile") << true;
        QTest::newRow("never created") << false;
    }
    void draftOfAMemoNotStoredComesBackAsNew()
    {
        QFETCH(bool, memoWasStored);
        const std::int32_t other = StoreFullMemo(u"乙"_s, u"乙正文"_s, u"全部"_s, 0);
        MemoRecord draft = NewMemoRecord(305371800, u"", 0, u"草稿", u"草稿正文");
        draft.key = memoWasStored ? StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0) : 0;
        QCOMPARE(MemoStore_DraftWrite(&draft), int(MEMO_DRAFT_DONE));
        if (memoWasStored)
            QCOMPARE(DBI_MemDeleteRecord(draft.key), 1);

        CMemoDlg& panel = m_h->open();
        QCOMPARE(paneBody(), u"草稿正文"_s);
        QCOMPARE(SelectedRow(MemoList(panel)), -1);
        Click(SaveButton(panel));
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        QCOMPARE(Q(MemoContent(MemoByTitle(u"草稿"_s))), u"草稿正文"_s);
        QCOMPARE(Q(MemoContent(MemoByTitle(u"乙"_s))), u"乙正文"_s);
        QVERIFY(other != 0);
    }

    // A Save that would create the 101st memo is refused and keeps the text in the pane.
    void saveCreatingAtTheLimitIsRefused()
    {
        for (int i = 0; i < int(MAX_MEMO_COUNT) - 1; ++i)
            StoreFullMemo(QString::number(i), u"正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        // Nothing listed: the pane stands for a memo not stored yet; then another host fills the
        // store.
        Choose(GroupFilter(panel), u"其它"_s);
        StoreFullMemo(u"99"_s, u"正文"_s, u"全部"_s, 0);
        TypeBody(u"第一百零一条"_s);
        Click(SaveButton(panel));
        QCOMPARE(m_boxes->calls().back().text, LoadStr(223));
        QCOMPARE(DBI_MemGetValidRecordCount(), std::int32_t(MAX_MEMO_COUNT));
        QVERIFY(paneBody().endsWith(u"第一百零一条"_s));
    }

    // A delete that fails while the store cannot even be read is a failed delete, not a memo
    // that was gone already.
    void deleteThatCannotTellIsAFailure()
    {
        StoreFullMemo(u"甲"_s, u"甲正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        ExecOnStore("ALTER TABLE memo RENAME TO memo_away");
        m_boxes->setDefaultAnswer(IDYES);
        Click(DeleteButton(panel));
        ExecOnStore("ALTER TABLE memo_away RENAME TO memo");
        QCOMPARE(m_boxes->calls().back().text, LoadStr(240));
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"甲"_s});
        QCOMPARE(DBI_MemGetValidRecordCount(), 1);
    }
};

QTEST_MAIN(TestMemoDlgEdits)
#include "tst_memodlgedits.moc"
