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

class TestMemoDlgList : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<PanelHarness> m_h;

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
    void initTestCase() { CMemoDlg::RegisterTemplate(); }
    void cleanupTestCase() { CMemoDlg::UnregisterTemplate(); }
    void init()
    {
        m_h = std::make_unique<PanelHarness>();
        QVERIFY(m_h->ok());
    }
    void cleanup()
    {
        QPointer<CMemoDlg> panel = m_h->panel();
        m_h.reset();
        QVERIFY(!panel);
    }

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
        Choose(panel.m_cmbGroup, filter);
        QCOMPARE(ListTitles(panel.m_listMemo), titles);
        QCOMPARE(StatusTexts(host).value(StatusTexts(host).size() - 1),
                 FormatStr(LoadStr(233), int(titles.size())));
        // An empty list leaves the detail pane ready for a new memo, offering the real categories.
        QCOMPARE(panel.m_bNewMemo, titles.isEmpty() ? TRUE : FALSE);
        QCOMPARE(panel.m_btnFind.IsWindowEnabled(), titles.isEmpty() ? FALSE : TRUE);
        if (titles.isEmpty()) {
            QCOMPARE(panel.m_dlgProperty.m_editContent.GetWindowTextW(), QString());
            QCOMPARE(Entries(panel.m_dlgProperty.m_comboGroup), (QStringList{u"工作"_s, u"学习"_s}));
        }
    }

    void rowsShowTitleTimeAndCarryTheKey()
    {
        const std::int32_t dated =
            StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0, MakeMemoTime(2011, 7, 1, 9, 30, 0));
        StoreFullMemo(u"旧"_s, u"早"_s, u"全部"_s, 0, MakeMemoTime(2001, 5, 1, 0, 0, 0));
        CMemoDlg& panel = m_h->open();
        QCOMPARE(panel.m_listMemo.GetItemText(0, 1), u"2011-07-01 09:30"_s);
        QCOMPARE(panel.m_listMemo.GetItemText(1, 1), LoadStr(230));
        QCOMPARE(int(panel.m_listMemo.GetItemData(0)), dated);
        // The first row is selected and shown in the detail pane.
        QCOMPARE(SelectedRow(panel.m_listMemo), 0);
        QCOMPARE(panel.m_dlgProperty.m_editContent.GetWindowTextW(), u"本周"_s);
        QCOMPARE(panel.m_dlgProperty.m_comboGroup.GetWindowTextW(), u"全部"_s);
    }

    void searchFollowsTypingAndBackspaces()
    {
        CMemoDlg& panel = openWithSearchMemos();
        CZorvaEdit& search = panel.m_edtSearch;
        QCOMPARE(search.GetWindowTextW(), LoadStr(201));
        QTest::mouseClick(search.viewport(), Qt::LeftButton);
        QCOMPARE(search.GetWindowTextW(), QString());
        QSignalSpy notices(&search, &CRichEditCtrl::notified);

        TypeInto(search, u"a"_s);
        QCOMPARE(ListTitles(panel.m_listMemo), (QStringList{u"abc"_s, u"二"_s, u"data"_s}));
        TypeInto(search, u"b"_s);
        // Case-sensitive, in titles and bodies alike: "AB" does not match.
        QCOMPARE(ListTitles(panel.m_listMemo), (QStringList{u"abc"_s, u"二"_s}));
        QVERIFY(search.hasFocus());
        QTest::keyClick(&search, Qt::Key_Backspace);
        QCOMPARE(ListTitles(panel.m_listMemo).size(), 3);
        QTest::keyClick(&search, Qt::Key_Backspace);
        PanelHarness::settle();
        QCOMPARE(ListTitles(panel.m_listMemo).size(), 4);
        QCOMPARE(panel.m_bSearch, FALSE);

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
        QCOMPARE(ListTitles(panel.m_listMemo), (QStringList{u"abc"_s, u"二"_s}));

        search.SetWindowTextW(QString());
        panel.m_listMemo.setFocus();
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
        panel.m_edtSearch.setFocus();
        TypeInto(panel.m_edtSearch, typed);
        QCOMPARE(int(boxes.calls().size()), messages * int(typed.size()));
        for (const KitTest::MessageBoxCall& call : boxes.calls()) {
            QCOMPARE(call.text, LoadStr(231));
            QCOMPARE(call.caption, LoadStr(221));
        }
        QCOMPARE(ListTitles(panel.m_listMemo).size(), 4);
        QCOMPARE(panel.m_edtSearch.GetWindowTextW(), typed);
    }

    // A search text replaced from outside and a blank search pasted in, then typing: the keys go
    // into the search box (this sequence once pulled the text out from under a key press).
    void typingAfterTheSearchTextWasReplacedSearches()
    {
        StoreGroup(u"工作"_s, 100);
        StoreFullMemo(u"zzq"_s, u"正文"_s, u"工作"_s, 100);
        CMemoDlg& panel = m_h->open();
        KitTest::MessageBoxResponder boxes;
        Choose(panel.m_cmbGroup, u"工作"_s);
        panel.m_edtSearch.setPlainText(QString());
        PanelHarness::settle();
        QGuiApplication::clipboard()->setText(u"   "_s);
        panel.m_edtSearch.setFocus();
        QTest::keyClick(&panel.m_edtSearch, Qt::Key_V, Qt::ControlModifier);
        PanelHarness::settle();
        QCOMPARE(int(boxes.calls().size()), 1);
        panel.m_edtSearch.setPlainText(QString());
        PanelHarness::settle();
        panel.m_edtSearch.setFocus();
        TypeInto(panel.m_edtSearch, u"zzq"_s);
        QCOMPARE(panel.m_edtSearch.GetWindowTextW(), u"zzq"_s);
        QCOMPARE(ListTitles(panel.m_listMemo), QStringList{u"zzq"_s});
    }

    void undoNeverBringsBackTheBodyOfAnotherMemo()
    {
        StoreFullMemo(u"一"_s, u"第一条的正文"_s, u"全部"_s, 0);
        StoreFullMemo(u"二"_s, u"第二条的正文"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        CMenuRichEditCtrl& body = panel.m_dlgProperty.m_editContent;
        ClickRow(panel.m_listMemo, 1);
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
        ClickRow(panel.m_listMemo, 3);
        QCOMPARE(panel.m_dlgProperty.m_editTitle.GetWindowTextW(), u"四"_s);

        panel.UpdateStatus(TRUE);
        PanelHarness::settle();
        QCOMPARE(SelectedRow(panel.m_listMemo), 3);
        QCOMPARE(panel.m_dlgProperty.m_editContent.GetWindowTextW(), u"四的正文"_s);

        DBI_MemDeleteRecord(keys[3]);
        DBI_MemDeleteRecord(keys[4]);
        panel.UpdateStatus(TRUE);
        PanelHarness::settle();
        QCOMPARE(SelectedRow(panel.m_listMemo), 2);
        QCOMPARE(panel.m_dlgProperty.m_editTitle.GetWindowTextW(), u"三"_s);
    }

    void shownTitleIsNeverDrawnAsTheHint()
    {
        const std::int32_t key = StoreFullMemo(u"周报"_s, u"本周"_s, u"全部"_s, 0);
        CMemoDlg& panel = m_h->open();
        CZorvaEdit& title = panel.m_dlgProperty.m_editTitle;
        const QColor normal = DefaultTextColour(title);
        // The user empties the title and leaves it: the hint, in grey.
        title.setFocus();
        title.SetSel(0, -1);
        QTest::keyClick(&title, Qt::Key_Delete);
        panel.m_listMemo.setFocus();
        QCOMPARE(title.GetWindowTextW(), LoadStr(222));
        QVERIFY(DefaultTextColour(title) != normal);

        panel.ShowMemo(key);
        QCOMPARE(title.GetWindowTextW(), u"周报"_s);
        QCOMPARE(DefaultTextColour(title), normal);

        title.SetSel(0, -1);
        title.ReplaceSel(QString());
        panel.m_listMemo.setFocus();
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
        CPropertyDlg& detail = panel.m_dlgProperty;
        QCOMPARE(panel.m_listMemo.GetItemText(0, 0), QString(20, u'题'));
        QCOMPARE(detail.m_editTitle.GetWindowTextW(), QString(20, u'题'));
        QCOMPARE(detail.m_editContent.GetWindowTextW(), QString(500, u'文'));
        QCOMPARE(detail.m_comboGroup.GetWindowTextW(), QString(10, u'组'));
        QCOMPARE(Entries(detail.m_comboGroup), QStringList{QString(16, u'类')});
        QCOMPARE(panel.m_cmbGroup.GetLBText(0), QString(16, u'类'));
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
        CZorvaListCtrl& list = panel.m_listMemo;

        list.setFocus();
        QTest::keyClick(&list, Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(panel.m_edtSearch.hasFocus());

        // Passing over the list leaves the focus where it is; resting on it gives the list the focus.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), list.viewport()->mapToGlobal(QPointF(5, 5)));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(list.viewport(), &enter);
        QApplication::sendEvent(list.viewport(), &leave);
        QTest::qWait(600);
        QVERIFY(panel.m_edtSearch.hasFocus());
        QApplication::sendEvent(list.viewport(), &enter);
        QTRY_VERIFY(list.hasFocus());

        // One notch over the list scrolls it by one wheel step, however the panel routes it.
        panel.m_edtSearch.setFocus();
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
            names << panel.m_dlgProperty.GetDlgItem(id)->accessibleName();
        QVERIFY(!names.contains(QString()));
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    }
};

QTEST_MAIN(TestMemoDlgList)
#include "tst_memodlglist.moc"
