// The panel's category box: what it lists and the way into the category editor.
#include "PanelTestSupport.h"

#include <CMemoGroupName.h>
#include <TestSeams.h>

namespace {

QAbstractButton* Button(QDialog* dlg, int id)
{
    return dlg->findChild<QAbstractButton*>(QString::number(id));
}

} // namespace

class TestMemoDlgGroups : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<TempStore> m_store;
    std::unique_ptr<QWidget> m_frame;
    QPointer<CMemoDlg> m_panel;

    CMemoDlg& openPanel()
    {
        m_panel = new CMemoDlg; // deletes itself with its window
        if (!m_panel->Create(CMemoDlg::IDD, m_frame.get()))
            qFatal("panel not created");
        m_frame->show();
        if (!QTest::qWaitForWindowExposed(m_frame.get()))
            qFatal("frame not shown");
        return *m_panel;
    }

  private Q_SLOTS:
    void initTestCase() { CMemoDlg::RegisterTemplate(); }
    void cleanupTestCase() { CMemoDlg::UnregisterTemplate(); }

    void init()
    {
        m_store = std::make_unique<TempStore>();
        QVERIFY(m_store->ok());
        m_frame = std::make_unique<QWidget>();
        m_frame->resize(900, 600);
    }

    void cleanup()
    {
        if (m_panel)
            m_panel->DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_panel);
        m_frame.reset();
        m_store.reset();
    }

    void boxListsStoredCategoriesThenMissingPseudoEntries()
    {
        CMemoDlg& panel = openPanel();
        QCOMPARE(Entries(panel.m_cmbGroup), (QStringList{u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        QCOMPARE(panel.m_cmbGroup.GetCurSel(), 1);
        QCOMPARE(panel.m_strFilterGroup, u"全部"_s);

        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"其它"_s, 101);
        panel.UpdateStatus(TRUE);
        QCOMPARE(Entries(panel.m_cmbGroup), (QStringList{u"工作"_s, u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        // The filter chosen before stays, found again by its name (an import or another user's
        // store moves the entries).
        QCOMPARE(panel.m_cmbGroup.GetCurSel(), 2);
        QCOMPARE(panel.m_strFilterGroup, u"全部"_s);

        Choose(panel.m_cmbGroup, u"工作"_s);
        QTRY_COMPARE(panel.m_strFilterGroup, u"工作"_s);
        DBI_MemGroupDeleteRecord(Groups().front().key);
        StoreGroup(u"生活"_s, 102);
        StoreGroup(u"工作"_s, 103);
        panel.UpdateStatus(TRUE);
        QCOMPARE(panel.m_cmbGroup.GetLBText(panel.m_cmbGroup.GetCurSel()), u"工作"_s);
        QCOMPARE(panel.m_strFilterGroup, u"工作"_s);
        DBI_MemGroupDeleteRecord(Groups().back().key);
        panel.UpdateStatus(TRUE);
        QCOMPARE(panel.m_cmbGroup.GetLBText(panel.m_cmbGroup.GetCurSel()), u"全部"_s);
        QCOMPARE(panel.m_strFilterGroup, u"全部"_s);
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
        panel.m_cmbGroup.setCurrentIndex(0);
        Q_EMIT panel.m_cmbGroup.activated(0);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(driver.driven(), 0);
        QCOMPARE(panel.m_strFilterGroup, u"编辑分类"_s);
        QCOMPARE(ListTitles(panel.m_listMemo), QStringList{u"甲"_s});

        driver.onNextModal([](QDialog* editor) { QTest::mouseClick(Button(editor, IDCANCEL), Qt::LeftButton); });
        Choose(panel.m_cmbGroup, u"全部"_s);
        const int last = panel.m_cmbGroup.GetCount() - 1;
        panel.m_cmbGroup.setCurrentIndex(last);
        Q_EMIT panel.m_cmbGroup.activated(last);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(driver.driven(), 1);
        QCOMPARE(panel.m_strFilterGroup, u"全部"_s);
    }

    void choosingACategorySetsTheFilter()
    {
        StoreGroup(u"工作"_s, 100);
        StoreGroup(u"生活"_s, 101);
        CMemoDlg& panel = openPanel();
        Choose(panel.m_cmbGroup, u"生活"_s);
        QTRY_COMPARE(panel.m_strFilterGroup, u"生活"_s);
        QCOMPARE(panel.m_nGroupSel, 1);
        Choose(panel.m_cmbGroup, u"其它"_s);
        QTRY_COMPARE(panel.m_strFilterGroup, u"其它"_s);
        QCOMPARE(panel.m_nGroupSel, 2);
    }

    void editEntryOpensTheEditorAndRefillsTheBox()
    {
        StoreGroup(u"生活"_s, 100);
        CMemoDlg& panel = openPanel();
        Choose(panel.m_cmbGroup, u"生活"_s);
        QTRY_COMPARE(panel.m_strFilterGroup, u"生活"_s);

        KitTest::ModalDriver driver;
        QString editorTitle;
        // The editor: New, then OK. The name dialog opened by New: type a name, OK.
        driver.onNextModal([&](QDialog* editor) {
            editorTitle = editor->windowTitle();
            QTest::mouseClick(Button(editor, 21024), Qt::LeftButton);
            QTest::mouseClick(Button(editor, IDOK), Qt::LeftButton);
        });
        driver.onNextModal([](QDialog* name) {
            auto& dlg = *static_cast<CMemoGroupName*>(name);
            Type(&dlg.m_edtName, u"工作"_s);
            QTest::mouseClick(Button(name, IDOK), Qt::LeftButton);
        });
        Choose(panel.m_cmbGroup, u"编辑分类"_s);
        QTRY_COMPARE(driver.driven(), 2);
        QCOMPARE(driver.leftOpen(), 0);
        QCOMPARE(editorTitle, u"备忘录分类编辑"_s);

        // The new category is stored and listed; the filter and its entry are the ones chosen
        // before, although the entry moved.
        QTRY_COMPARE(Entries(panel.m_cmbGroup),
                     (QStringList{u"生活"_s, u"工作"_s, u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        QCOMPARE(Groups().size(), size_t(2));
        QCOMPARE(panel.m_strFilterGroup, u"生活"_s);
        QCOMPARE(panel.m_cmbGroup.GetCurSel(), 0);
    }

    void filterFallsBackToAllWhenTheEditorRemovesIt()
    {
        StoreGroup(u"生活"_s, 100);
        CMemoDlg& panel = openPanel();
        Choose(panel.m_cmbGroup, u"生活"_s);
        QTRY_COMPARE(panel.m_strFilterGroup, u"生活"_s);

        KitTest::ModalDriver driver;
        KitTest::MessageBoxResponder boxes(IDYES);
        driver.onNextModal([](QDialog* editor) {
            QTest::mouseClick(Button(editor, 21026), Qt::LeftButton); // Delete, answered Yes
            QTest::mouseClick(Button(editor, IDOK), Qt::LeftButton);
        });
        Choose(panel.m_cmbGroup, u"编辑分类"_s);
        QTRY_COMPARE(driver.driven(), 1);
        QTRY_COMPARE(Entries(panel.m_cmbGroup), (QStringList{u"其它"_s, u"全部"_s, u"编辑分类"_s}));
        QCOMPARE(panel.m_strFilterGroup, u"全部"_s);
        QCOMPARE(panel.m_cmbGroup.GetCurSel(), 1);
    }
};

QTEST_MAIN(TestMemoDlgGroups)
#include "tst_memodlggroups.moc"
