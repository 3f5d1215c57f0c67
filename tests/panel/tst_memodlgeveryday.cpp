// What a new person at the panel runs into on a real store: the keys people expect, a long memo
// opened at its start, emoji in colour, the hint of an empty start, and memos back from the trash
// shown and counted.
#include "PanelTestSupport.h"

#include <MemoStore.h>
#include <TestSeams.h>

#include <QScrollBar>

namespace {

// Dark pixels in the middle of the list's empty area: the hint's text, if any.
int InkInListMiddle(CZorvaListCtrl& list)
{
    const QImage image = list.viewport()->grab().toImage();
    const QRect middle(image.width() / 4, image.height() / 3, image.width() / 2, image.height() / 3);
    int ink = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
    return ink;
}

} // namespace

class TestMemoDlgEveryday : public PanelTest
{
    Q_OBJECT
  private Q_SLOTS:
    void ctrlNOpensTheNewDialogLikeTheButton()
    {
        CMemoDlg& panel = m_h->open();
        m_driver->onNextModal([](QDialog* dlg) {
            QVERIFY(dlg->findChild<QWidget*>(u"21036"_s)); // the memo edit dialog's body
            dlg->reject();
        });
        QTest::keyClick(&MemoList(panel), Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(m_driver->driven(), 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
    }

    // Escape empties a search as Refresh does; Down goes on into the list; neither does anything
    // to an empty search box or an empty list.
    void escapeAndDownInTheSearchBox_data()
    {
        QTest::addColumn<int>("memos");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("listFocused");
        QTest::addColumn<QString>("searchText");
        const QStringList all{u"ab one"_s, u"two"_s, u"ab three"_s};
        QTest::newRow("escape empties") << 3 << u"ab"_s << int(Qt::Key_Escape) << all << false << QString();
        QTest::newRow("down into the list") << 3 << u"ab"_s << int(Qt::Key_Down)
                                            << QStringList{u"ab one"_s, u"ab three"_s} << true << u"ab"_s;
        QTest::newRow("down, nothing listed")
            << 0 << QString() << int(Qt::Key_Down) << QStringList() << false << QString();
    }
    void escapeAndDownInTheSearchBox()
    {
        QFETCH(int, memos);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QStringList, listed);
        QFETCH(bool, listFocused);
        QFETCH(QString, searchText);
        for (const QString& title : QStringList{u"ab one"_s, u"two"_s, u"ab three"_s}.mid(0, memos))
            QVERIFY(StoreFullMemo(title, u"b"_s, u"全部"_s, 0) > 0);
        CMemoDlg& panel = m_h->open();
        SearchBox(panel).SetFocus();
        QTRY_VERIFY(SearchBox(panel).hasFocus());
        Type(&SearchBox(panel), typed);
        PanelHarness::settle();
        QTest::keyClick(&SearchBox(panel), Qt::Key(key));
        PanelHarness::settle();
        QCOMPARE(ListTitles(MemoList(panel)), listed);
        QCOMPARE(MemoList(panel).hasFocus(), listFocused);
        QCOMPARE(SearchBox(panel).GetWindowTextW(), searchText);
        QVERIFY(panel.IsWindowVisible()); // Escape never closes the panel
    }

    void aLongMemoOpensAtItsStart()
    {
        QStringList lines;
        for (int i = 0; i < 60; ++i)
            lines << u"第%1行"_s.arg(i);
        QVERIFY(StoreFullMemo(u"short"_s, u"b"_s, u"全部"_s, 0) > 0);
        QVERIFY(StoreFullMemo(u"ABCDEFGHIJKLMNOPQRST"_s, lines.join(u'\n'), u"全部"_s, 0) > 0);
        CMemoDlg& panel = m_h->open();
        ClickRow(MemoList(panel), 1);
        CPropertyDlg& detail = Pane(panel);
        QTRY_COMPARE(PaneTitle(detail).GetWindowTextW(), u"ABCDEFGHIJKLMNOPQRST"_s);
        QVERIFY(PaneBody(detail).verticalScrollBar()->maximum() > 0); // longer than the pane
        QCOMPARE(PaneBody(detail).verticalScrollBar()->value(), 0);
        QCOMPARE(PaneBody(detail).textCursor().position(), 0);
        QVERIFY(PaneTitle(detail).horizontalScrollBar()->maximum() > 0); // wider than the box
        QCOMPARE(PaneTitle(detail).horizontalScrollBar()->value(), 0);
        QCOMPARE(PaneTitle(detail).textCursor().position(), 0);
    }

    // Emoji in a memo are drawn as the colour pictures they are, not as empty boxes (the package
    // recommends a colour emoji font and the test command installs it).
    void emojiShowInColour()
    {
        QVERIFY(StoreFullMemo(u"表情"_s, u"\U0001F600\U0001F34E\U0001F30A"_s, u"全部"_s, 0) > 0);
        CMemoDlg& panel = m_h->open();
        ClickRow(MemoList(panel), 0);
        CMenuRichEditCtrl& body = PaneBody(panel);
        QTRY_COMPARE(body.GetWindowTextW(), u"\U0001F600\U0001F34E\U0001F30A"_s);
        const QImage image = body.viewport()->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < std::min(image.height(), 40); ++y)
            for (int x = 0; x < std::min(image.width(), 120); ++x)
                coloured += QColor(image.pixel(x, y)).hsvSaturation() > 120 ? 1 : 0;
        QVERIFY2(coloured > 30, qPrintable(QString::number(coloured)));
    }

    // The hint stands in the empty list of an empty store only: not under a category that lists
    // nothing while other memos exist, and not once the first memo is written.
    void anEmptyStartSaysWhatToDo()
    {
        CMemoDlg& panel = m_h->open();
        QVERIFY(InkInListMiddle(MemoList(panel)) > 0);

        m_driver->onNextModal([](QDialog* dlg) {
            Type(dlg->findChild<QWidget*>(u"21036"_s), u"first memo"_s);
            QTest::mouseClick(dlg->findChild<QWidget*>(u"1"_s), Qt::LeftButton);
        });
        QTest::mouseClick(&NewButton(panel), Qt::LeftButton);
        QTRY_COMPARE(ListTitles(MemoList(panel)), QStringList{u"first memo"_s});
        QCOMPARE(InkInListMiddle(MemoList(panel)), 0);

        Choose(GroupFilter(panel), u"其它"_s);
        QCOMPARE(MemoList(panel).GetItemCount(), 0);
        QCOMPARE(InkInListMiddle(MemoList(panel)), 0);
    }

    // Memos back from the trash: the first is selected and shown, also where the filter or a
    // search hid it, and the status text says how many came back.
    void memosBackFromTheTrashAreShownAndCounted_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("search");
        QTest::newRow("all listed") << u"全部"_s << QString();
        QTest::newRow("hidden by the category") << u"其它"_s << QString();
        QTest::newRow("hidden by a search") << u"全部"_s << u"zz"_s;
    }
    void memosBackFromTheTrashAreShownAndCounted()
    {
        QFETCH(QString, filter);
        QFETCH(QString, search);
        ShellTestHost host;
        QVERIFY(StoreFullMemo(u"zz other"_s, u"b"_s, u"其它"_s, OTHER_GROUP_ID) > 0);
        QVERIFY(StoreFullMemo(u"zz two"_s, u"b"_s, u"其它"_s, OTHER_GROUP_ID) > 0);
        const std::int32_t back = StoreFullMemo(u"came back"_s, u"restored body"_s, u"全部"_s, 0);
        QVERIFY(back > 0);
        CMemoDlg& panel = m_h->open();
        Choose(GroupFilter(panel), filter);
        if (!search.isEmpty()) {
            SearchBox(panel).SetFocus();
            Type(&SearchBox(panel), search);
            PanelHarness::settle();
        }
        QCOMPARE(ListTitles(MemoList(panel)).contains(u"came back"_s),
                 filter == u"全部"_s && search.isEmpty());
        ClickRow(MemoList(panel), 0);

        SendMessage(&panel, WM_MEMO_SHOWRESTORED, WPARAM(back), LPARAM(2));
        PanelHarness::settle();
        QCOMPARE(ListTitles(MemoList(panel)).value(SelectedRow(MemoList(panel))), u"came back"_s);
        QTRY_COMPARE(PaneBody(panel).GetWindowTextW(), u"restored body"_s);
        QCOMPARE(StatusTexts(host).value(StatusTexts(host).size() - 1), FormatStr(LoadStr(244), 2, 3));
    }

    // The panel as it first shows uses no style sheet: Qt's style-sheet engine would cost every
    // start half a megabyte and several milliseconds.
    void thePanelOpensWithoutAStyleSheet()
    {
        QVERIFY(StoreFullMemo(u"one"_s, u"b"_s, u"全部"_s, 0) > 0);
        CMemoDlg& panel = m_h->open();
        ClickRow(MemoList(panel), 0);
        PanelHarness::settle();
        QVERIFY(qApp->styleSheet().isEmpty());
        for (const QWidget* widget : QApplication::allWidgets())
            QVERIFY2(!widget->style()->inherits("QStyleSheetStyle"), widget->metaObject()->className());
    }
};

QTEST_MAIN(TestMemoDlgEveryday)
#include "tst_memodlgeveryday.moc"
