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

class TestMemoDlgEveryday : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<PanelHarness> m_h;
    std::unique_ptr<KitTest::ModalDriver> m_driver;
    std::unique_ptr<KitTest::MessageBoxResponder> m_boxes;

  private Q_SLOTS:
    void initTestCase() { CMemoDlg::RegisterTemplate(); }
    void cleanupTestCase() { CMemoDlg::UnregisterTemplate(); }
    void init()
    {
        m_h = std::make_unique<PanelHarness>();
        QVERIFY(m_h->ok());
        m_driver = std::make_unique<KitTest::ModalDriver>();
        m_boxes = std::make_unique<KitTest::MessageBoxResponder>();
    }
    void cleanup()
    {
        QCOMPARE(m_driver->leftOpen(), 0);
        m_boxes.reset();
        m_driver.reset();
        m_h.reset();
    }

    void ctrlNOpensTheNewDialogLikeTheButton()
    {
        CMemoDlg& panel = m_h->open();
        m_driver->onNextModal([](QDialog* dlg) {
            QVERIFY(dlg->findChild<QWidget*>(u"21036"_s)); // the memo edit dialog's body
            dlg->reject();
        });
        QTest::keyClick(&panel.m_listMemo, Qt::Key_N, Qt::ControlModifier);
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
        panel.m_edtSearch.SetFocus();
        QTRY_VERIFY(panel.m_edtSearch.hasFocus());
        Type(&panel.m_edtSearch, typed);
        PanelHarness::settle();
        QTest::keyClick(&panel.m_edtSearch, Qt::Key(key));
        PanelHarness::settle();
        QCOMPARE(ListTitles(panel.m_listMemo), listed);
        QCOMPARE(panel.m_listMemo.hasFocus(), listFocused);
        QCOMPARE(panel.m_edtSearch.GetWindowTextW(), searchText);
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
        ClickRow(panel.m_listMemo, 1);
        CPropertyDlg& detail = panel.m_dlgProperty;
        QTRY_COMPARE(detail.m_editTitle.GetWindowTextW(), u"ABCDEFGHIJKLMNOPQRST"_s);
        QVERIFY(detail.m_editContent.verticalScrollBar()->maximum() > 0); // longer than the pane
        QCOMPARE(detail.m_editContent.verticalScrollBar()->value(), 0);
        QCOMPARE(detail.m_editContent.textCursor().position(), 0);
        QVERIFY(detail.m_editTitle.horizontalScrollBar()->maximum() > 0); // wider than the box
        QCOMPARE(detail.m_editTitle.horizontalScrollBar()->value(), 0);
        QCOMPARE(detail.m_editTitle.textCursor().position(), 0);
    }

    // Emoji in a memo are drawn as the colour pictures they are, not as empty boxes (the package
    // recommends a colour emoji font and the test command installs it).
    void emojiShowInColour()
    {
        QVERIFY(StoreFullMemo(u"表情"_s, u"\U0001F600\U0001F34E\U0001F30A"_s, u"全部"_s, 0) > 0);
        CMemoDlg& panel = m_h->open();
        ClickRow(panel.m_listMemo, 0);
        CMenuRichEditCtrl& body = panel.m_dlgProperty.m_editContent;
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
        QVERIFY(InkInListMiddle(panel.m_listMemo) > 0);

        m_driver->onNextModal([](QDialog* dlg) {
            Type(dlg->findChild<QWidget*>(u"21036"_s), u"first memo"_s);
            QTest::mouseClick(dlg->findChild<QWidget*>(u"1"_s), Qt::LeftButton);
        });
        QTest::mouseClick(&panel.m_btnNew, Qt::LeftButton);
        QTRY_COMPARE(ListTitles(panel.m_listMemo), QStringList{u"first memo"_s});
        QCOMPARE(InkInListMiddle(panel.m_listMemo), 0);

        Choose(panel.m_cmbGroup, u"其它"_s);
        QCOMPARE(panel.m_listMemo.GetItemCount(), 0);
        QCOMPARE(InkInListMiddle(panel.m_listMemo), 0);
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
        Choose(panel.m_cmbGroup, filter);
        if (!search.isEmpty()) {
            panel.m_edtSearch.SetFocus();
            Type(&panel.m_edtSearch, search);
            PanelHarness::settle();
        }
        QCOMPARE(ListTitles(panel.m_listMemo).contains(u"came back"_s),
                 filter == u"全部"_s && search.isEmpty());
        ClickRow(panel.m_listMemo, 0);

        SendMessage(&panel, WM_MEMO_SHOWRESTORED, WPARAM(back), LPARAM(2));
        PanelHarness::settle();
        QCOMPARE(ListTitles(panel.m_listMemo).value(SelectedRow(panel.m_listMemo)), u"came back"_s);
        QTRY_COMPARE(panel.m_dlgProperty.m_editContent.GetWindowTextW(), u"restored body"_s);
        QCOMPARE(StatusTexts(host).value(StatusTexts(host).size() - 1), FormatStr(LoadStr(244), 2, 3));
    }
};

QTEST_MAIN(TestMemoDlgEveryday)
#include "tst_memodlgeveryday.moc"
