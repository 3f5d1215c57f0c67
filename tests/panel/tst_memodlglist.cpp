// The panel's memo list: what it lists under each category and search text, what it selects,
// what the detail pane then shows, and the panel's keyboard and mouse routing.
#include "PanelTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>

#include <CZorvaFont.h>
#include <TestSeams.h>

#include <QInputMethodEvent>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

QColor DefaultTextColour(const CRichEditCtrl& edit)
{
    CHARFORMATW format;
    edit.GetDefaultCharFormat(format);
    return QColor(GetRValue(format.crTextColor), GetGValue(format.crTextColor),
                  GetBValue(format.crTextColor));
}

void TypeInto(CZorvaEdit& edit, const QString& text)
{
    for (const QChar ch : text)
        QTest::keyClick(&edit, ch.toLatin1());
    PanelHarness::settle();
}

} // namespace

class TestMemoDlgList : public PanelTest
{
    Q_OBJECT
  public:
    // The list tests answer message boxes themselves where they expect one.
    TestMemoDlgList() : PanelTest(false) {}

  private:
    // Four memos for the search: "ab" is in the first one's title and the second one's body.
    CMemoDlg& openWithSearchMemos()
    {
        StoreFullMemo(u"abc"_s, u"一"_s, u"全部"_s, 0);
        StoreFullMemo(u"二"_s, u"zab"_s, u"全部"_s, 0);
        StoreFullMemo(u"AB"_s, u"AB"_s, u"全部"_s, 0);
        StoreFullMemo(u"data"_s, u"三"_s, u"全部"_s, 0);
        return m_h->open();
    }

  private Q_SLOTS:

    void listFollowsTheCategory_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("all") << u"全部"_s
                             << QStringList{u"周报"_s, u"买菜"_s, u"旧账"_s, u"草稿"_s, u"杂事"_s};
        QTest::newRow("category") << u"工作"_s << QStringList{u"周报"_s};
        // groupId 1 files a memo under "其它" whatever its groupName says.
        QTest::newRow("other") << u"其它"_s << QStringList{u"旧账"_s, u"杂事"_s};
        QTest::newRow("empty category") << u"学习"_s << QStringList{};
    }
    void listFollowsTheCategory()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, titles);
        for (const auto& [name, id] :
             {std::pair(u"工作"_s, 100), {u"学习"_s, 101}, {u"全部"_s, 102}, {u"其它"_s, 103}})
            StoreGroup(name, id);
        StoreFullMemo(u"周报"_s, u"本周"_s, u"工作"_s, 100);
        StoreFullMemo(u"买菜"_s, u"鸡蛋"_s, u"生活"_s, 0);
        StoreFullMemo(u"旧账"_s, u"去年"_s, u"工作"_s, OTHER_GROUP_ID);
        StoreFullMemo(u"草稿"_s, u"未分类"_s, u"全部"_s, 0);
        StoreFullMemo(u"杂事"_s, u"其它"_s, u"其它"_s, OTHER_GROUP_ID);
        CMemoDlg& panel = m_h->open();
        ShellTestHost host;
        Choose(GroupFilter(panel), filter);
        QCOMPARE(ListTitles(MemoList(panel)), titles);
        QCOMPARE(StatusTexts(host).value(StatusTexts(host).size() - 1),
                 FormatStr(LoadStr(233), int(titles.size())));
        // An empty list leaves the detail pane ready for a new memo, offering the real categories.
        QCOMPARE(panel.PaneIsNewMemo(), titles.isEmpty());
        QCOMPARE(FindButton(panel).IsWindowEnabled(), titles.isEmpty() ? FALSE : TRUE);
        if (titles.isEmpty()) {
            QCOMPARE(PaneBody(panel).GetWindowTextW(), QString());
            QCOMPARE(Entries(PaneGroup(panel)), (QStringList{u"工作"_s, u"学习"_s}));
        }
    }

    void rowsShowTitleTimeAndCarryTheKey()
    {
        const std::int32_t dated =
            StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0, MakeMemoTime(2011, 7, 1, 9, 30, 0));
        StoreFullMemo(u"旧"_s, u"早"_s, u"全部"_s, 0, MakeMemoTime(2001, 5, 1, 0, 0, 0));
        CMemoDlg& panel = m_h->open();
        QCOMPARE(MemoList(panel).GetItemText(0, 1), u"2011-07-01 09:30"_s);
        QCOMPARE(MemoList(panel).GetItemText(1, 1), LoadStr(230));
        QCOMPARE(int(MemoList(panel).GetItemData(0)), dated);
        // The first row is selected and shown in the detail pane.
        QCOMPARE(SelectedRow(MemoList(panel)), 0);
        QCOMPARE(PaneBody(panel).GetWindowTextW(), u"本周"_s);
        QCOMPARE(PaneGroup(panel).GetWindowTextW(), u"全部"_s);
    }

    void searchFollowsTypingAndBackspaces()
    {
        CMemoDlg& panel = openWithSearchMemos();
        CZorvaEdit& search = SearchBox(panel);
        QCOMPARE(search.GetWindowTextW(), LoadStr(201));
        QTest::mouseClick(search.viewport(), Qt::LeftButton);
        QCOMPARE(search.GetWindowTextW(), QString());
        QSignalSpy notices(&search, &CRichEditCtrl::notified);

        TypeInto(search, u"a"_s);
        QCOMPARE(ListTitles(MemoList(panel)), (QStringList{u"abc"_s, u"二"_s, u"data"_s}));
        TypeInto(search, u"b"_s);
        // Case-sensitive, in titles and bodies alike: "AB" does not match.
        QCOMPARE(ListTitles(MemoList(panel)), (QStringList{u"abc"_s, u"二"_s}));
        QVERIFY(search.hasFocus());
        QTest::keyClick(&search, Qt::Key_Backspace);
        QCOMPARE(ListTitles(MemoList(panel)).size(), 3);
        QTest::keyClick(&search, Qt::Key_Backspace);
        PanelHarness::settle();
        QCOMPARE(ListTitles(MemoList(panel)).size(), 4);
        {
            // The search is off: a reload lists everything without asking for a search text.
            KitTest::MessageBoxResponder boxes;
            panel.ReloadList();
            QVERIFY(boxes.calls().empty());
            QCOMPARE(ListTitles(MemoList(panel)).size(), 4);
        }

        // One change notice per keystroke: the texts the handlers set raise none of their own.
        const auto changes = std::count_if(notices.cbegin(), notices.cend(), [](const QList<QVariant>& n) {
            return n.at(0).toUInt() == EN_CHANGE;
        });
        QCOMPARE(changes, 4);
        QVERIFY(notices.size() <= 8);

        // Text an input method commits filters like typed text.
        QInputMethodEvent commit;
        commit.setCommitString(u"ab"_s);
        QApplication::sendEvent(&search, &commit);
        PanelHarness::settle();
        QCOMPARE(ListTitles(MemoList(panel)), (QStringList{u"abc"_s, u"二"_s}));

        search.SetWindowTextW(QString());
        MemoList(panel).setFocus();
        QCOMPARE(search.GetWindowTextW(), LoadStr(201));
    }

    void searchWithoutResultListsTheWholeCategory_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::newRow("blank") << u"   "_s << 1;
        QTest::newRow("no hit") << u"zzz"_s << 0;
    }
    void searchWithoutResultListsTheWholeCategory()
    {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        CMemoDlg& panel = openWithSearchMemos();
        KitTest::MessageBoxResponder boxes;
        SearchBox(panel).setFocus();
        TypeInto(SearchBox(panel), typed);
        QCOMPARE(int(boxes.calls().size()), messages * int(typed.size()));
        for (const KitTest::MessageBoxCall& call : boxes.calls()) {
            QCOMPARE(call.text, LoadStr(231));
            QCOMPARE(call.caption, LoadStr(221));
        }
        QCOMPARE(ListTitles(MemoList(panel)).size(), 4);
        QCOMPARE(SearchBox(panel).GetWindowTextW(), typed);
    }

    // A search text replaced from outside and a blank search pasted in, then typing: the keys go
    // into the search box (this sequence once pulled the text out from under a key press).
    void typingAfterTheSearchTextWasReplacedSearches()
    {
        StoreGroup(u"工作"_s, 100);
        StoreFullMemo(u"zzq"_s, u"正文"_s, u"工作"_s, 100);
        CMemoDlg& panel = m_h->open();
        KitTest::MessageBoxResponder boxes;
        Choose(GroupFilter(panel), u"工作"_s);
        SearchBox(panel).setPlainText(QString());
        PanelHarness::settle();
        QGuiApplication::clipboard()->setText(u"   "_s);
        SearchBox(panel).setFocus();
        QTest::keyClick(&SearchBox(panel), Qt::Key_V, Qt::ControlModifier);
        PanelHarness::settle();
        QCOMPARE(int(boxes.calls().size()), 1);
        SearchBox(panel).setPlainText(QString());
        PanelHarness::settle();
        SearchBox(panel).setFocus();
        TypeInto(SearchBox(panel), u"zzq"_s);
        QCOMPARE(SearchBox(panel).GetWindowTextW(), u"zzq"_s);
        QCOMPARE(ListTitles(MemoList(panel)), QStringList{u"zzq"_s});
    }

    void undoNeverBringsBackTheBodyOfAnotherMemo()
    {
        StoreFullMemo(u"一"_s, u"第一条的正文"_s, u"全部"_s, 0);
        StoreFullMemo(u"二"_s, u"第二条的正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        CMenuRichEditCtrl& body = PaneBody(panel);
        ClickRow(MemoList(panel), 1);
        body.setFocus();
        QTest::keyClick(&body, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(body.GetWindowTextW(), u"第二条的正文"_s);
        // What the person typed can still be undone.
        QTest::keyClick(&body, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(&body, u"x"_s);
        QTest::keyClick(&body, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(body.GetWindowTextW(), u"第二条的正文"_s);
    }

    void reloadSelectsTheSameRowOrTheLast()
    {
        std::vector<std::int32_t> keys;
        for (const QString& title : {u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s})
            keys.push_back(StoreFullMemo(title, title + u"的正文"_s, u"全部"_s, 0));
        CMemoDlg& panel = m_h->open();
        ClickRow(MemoList(panel), 3);
        QCOMPARE(PaneTitle(panel).GetWindowTextW(), u"四"_s);

        panel.UpdateStatus(TRUE);
        PanelHarness::settle();
        QCOMPARE(SelectedRow(MemoList(panel)), 3);
        QCOMPARE(PaneBody(panel).GetWindowTextW(), u"四的正文"_s);

        DBI_MemDeleteRecord(keys[3]);
        DBI_MemDeleteRecord(keys[4]);
        panel.UpdateStatus(TRUE);
        PanelHarness::settle();
        QCOMPARE(SelectedRow(MemoList(panel)), 2);
        QCOMPARE(PaneTitle(panel).GetWindowTextW(), u"三"_s);
    }

    void shownTitleIsNeverDrawnAsTheHint()
    {
        const std::int32_t key = StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        CZorvaEdit& title = PaneTitle(panel);
        const QColor normal = DefaultTextColour(title);
        // The user empties the title and leaves it: the hint, in grey.
        title.setFocus();
        title.SetSel(0, -1);
        QTest::keyClick(&title, Qt::Key_Delete);
        MemoList(panel).setFocus();
        QCOMPARE(title.GetWindowTextW(), LoadStr(222));
        QVERIFY(DefaultTextColour(title) != normal);

        panel.ShowMemo(key);
        QCOMPARE(title.GetWindowTextW(), u"周报"_s);
        QCOMPARE(DefaultTextColour(title), normal);

        title.SetSel(0, -1);
        title.ReplaceSel(QString());
        MemoList(panel).setFocus();
        QCOMPARE(title.GetWindowTextW(), LoadStr(222));
        QVERIFY(DefaultTextColour(title) != normal);
    }

    void fieldsFilledToTheirEndAreShownWithinThem()
    {
        // Every text field full, without a terminator; the title's last unit is the first half of
        // a pair that did not fit.
        MemoRecord memo{};
        std::fill(std::begin(memo.title), std::end(memo.title), u'题');
        memo.title[20] = char16_t(0xD83D);
        std::fill(std::begin(memo.content), std::end(memo.content), u'文');
        std::fill(std::begin(memo.groupName), std::end(memo.groupName), u'组');
        const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
        QVERIFY(key > 0);
        MemoGroupRecord group{};
        std::fill(std::begin(group.name), std::end(group.name), u'类');
        DBI_MemGroupRecycleWriteRecord(&group);

        CMemoDlg& panel = m_h->open();
        CPropertyDlg& detail = Pane(panel);
        QCOMPARE(MemoList(panel).GetItemText(0, 0), QString(20, u'题'));
        QCOMPARE(PaneTitle(detail).GetWindowTextW(), QString(20, u'题'));
        QCOMPARE(PaneBody(detail).GetWindowTextW(), QString(500, u'文'));
        QCOMPARE(PaneGroup(detail).GetWindowTextW(), QString(10, u'组'));
        QCOMPARE(Entries(PaneGroup(detail)), QStringList{QString(16, u'类')});
        QCOMPARE(GroupFilter(panel).GetLBText(0), QString(16, u'类'));
        // Reading the pane back asks nothing of the user.
        KitTest::MessageBoxResponder boxes;
        QVERIFY(detail.UpdateData(TRUE));
        QVERIFY(boxes.calls().empty());
    }

    void keysHoverAndWheel()
    {
        for (int i = 0; i < 60; ++i)
            StoreFullMemo(QString::number(i), u"正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        CZorvaListCtrl& list = MemoList(panel);

        list.setFocus();
        QTest::keyClick(&list, Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(SearchBox(panel).hasFocus());

        // Passing over the list leaves the focus where it is; resting on it gives the list the focus.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), list.viewport()->mapToGlobal(QPointF(5, 5)));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(list.viewport(), &enter);
        QVERIFY(KitTest::HoverPending());
        QApplication::sendEvent(list.viewport(), &leave);
        QVERIFY(!KitTest::HoverPending()); // nothing left that could move the focus later
        QVERIFY(SearchBox(panel).hasFocus());
        QApplication::sendEvent(list.viewport(), &enter);
        QTRY_VERIFY(list.hasFocus());

        // One notch over the list scrolls it by one wheel step, however the panel routes it.
        SearchBox(panel).setFocus();
        QScrollBar* bar = list.verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        const QPointF at(20, 60);
        QWheelEvent wheel(at, list.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &wheel);
        QCOMPARE(bar->value(), QApplication::wheelScrollLines() * bar->singleStep());
    }

    void everyControlHasItsOwnAccessibleName()
    {
        CMemoDlg& panel = m_h->open();
        QStringList names;
        for (int id : {21000, 21001, 21003, 21004, 21005, 21006, 21007, 21025})
            names << panel.GetDlgItem(id)->accessibleName();
        for (int id : {21013, 21014, 21027})
            names << Pane(panel).GetDlgItem(id)->accessibleName();
        QVERIFY(!names.contains(QString()));
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    }
};

QTEST_MAIN(TestMemoDlgList)
#include "tst_memodlglist.moc"
