#pragma once
// What the panel tests share: the panel created in a frame as the host places it, on a real store
// in a temporary folder, the status texts a host received, and a person's hands on its list.
#include "CategoryTestSupport.h"
#include "DlgItem.h"
#include "DocumentOutline.h"
#include "ShellTestHost.h"

#include <CMemoDlg.h>
#include <LoadStr.h>
#include <MemoTime.h>
#include <TestSeams.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>

#include <memory>

using namespace Qt::StringLiterals;

// The panel's controls (template 21000) and the detail pane's (template 21001), by id.
inline CZorvaListCtrl& MemoList(const CMemoDlg& panel)
{
    return DlgItem<CZorvaListCtrl>(panel, 21000);
}
inline CZorvaIconBtton& NewButton(const CMemoDlg& panel)
{
    return DlgItem<CZorvaIconBtton>(panel, 21001);
}
inline CZorvaIconBtton& DeleteButton(const CMemoDlg& panel)
{
    return DlgItem<CZorvaIconBtton>(panel, 21003);
}
inline CZorvaIconBtton& RefreshButton(const CMemoDlg& panel)
{
    return DlgItem<CZorvaIconBtton>(panel, 21004);
}
inline CZorvaIconBtton& FindButton(const CMemoDlg& panel)
{
    return DlgItem<CZorvaIconBtton>(panel, 21005);
}
inline CZorvaEdit& SearchBox(const CMemoDlg& panel)
{
    return DlgItem<CZorvaEdit>(panel, 21006);
}
inline CZOREditComboBox& GroupFilter(const CMemoDlg& panel)
{
    return DlgItem<CZOREditComboBox>(panel, 21007);
}
inline CZorvaIconBtton& SaveButton(const CMemoDlg& panel)
{
    return DlgItem<CZorvaIconBtton>(panel, 21025);
}

inline CPropertyDlg& Pane(const CMemoDlg& panel)
{
    auto* pane = panel.findChild<CPropertyDlg*>();
    if (!pane)
        qFatal("the panel has no detail pane");
    return *pane;
}
inline CZorvaEdit& PaneTitle(const CPropertyDlg& pane)
{
    return DlgItem<CZorvaEdit>(pane, 21013);
}
inline CZOREditComboBox& PaneGroup(const CPropertyDlg& pane)
{
    return DlgItem<CZOREditComboBox>(pane, 21014);
}
inline CMenuRichEditCtrl& PaneBody(const CPropertyDlg& pane)
{
    return DlgItem<CMenuRichEditCtrl>(pane, 21027);
}
inline CZorvaEdit& PaneTitle(const CMemoDlg& panel)
{
    return PaneTitle(Pane(panel));
}
inline CZOREditComboBox& PaneGroup(const CMemoDlg& panel)
{
    return PaneGroup(Pane(panel));
}
inline CMenuRichEditCtrl& PaneBody(const CMemoDlg& panel)
{
    return PaneBody(Pane(panel));
}

// A button of a modal dialog, by id.
inline QAbstractButton* Button(QDialog* dialog, int id)
{
    return dialog->findChild<QAbstractButton*>(QString::number(id));
}

// The status-bar texts a host received, in order.
inline QStringList StatusTexts(const ShellTestHost& host)
{
    QStringList texts;
    for (const SentDocument& doc : host.sent)
        if (const ParsedDoc parsed = parse(doc.text); parsed.root == u"UpdataStatusBarText"_s)
            texts << (parsed.children.isEmpty() ? QString() : parsed.children.first().second);
    return texts;
}

// One panel on one fresh store; the panel deletes itself with its window.
class PanelHarness
{
  public:
    PanelHarness()
    {
        m_ok = m_store.ok();
        m_frame.resize(900, 600);
    }
    ~PanelHarness()
    {
        if (m_panel)
            m_panel->DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    PanelHarness(const PanelHarness&) = delete;
    PanelHarness& operator=(const PanelHarness&) = delete;

    bool ok() const { return m_ok; }
    QWidget& frame() { return m_frame; }

    // Creates the panel and shows it, which fills it; delivers what the list posted.
    CMemoDlg& open()
    {
        m_panel = new CMemoDlg;
        if (!m_panel->Create(CMemoDlg::IDD, &m_frame))
            qFatal("panel not created");
        m_frame.show();
        if (!QTest::qWaitForWindowExposed(&m_frame))
            qFatal("frame not shown");
        settle();
        return *m_panel;
    }
    CMemoDlg* panel() const { return m_panel; }

    // Delivers the posted messages (the list reports its selection by a posted message).
    static void settle() { QCoreApplication::sendPostedEvents(); }

  private:
    TempStore m_store;
    QWidget m_frame;
    QPointer<CMemoDlg> m_panel;
    bool m_ok = false;
};

// What every panel test starts from: the module's templates registered, and for each test a
// fresh panel harness with the kit's seams that answer modal dialogs and message boxes. After
// each test no dialog was left open and the panel is gone.
class PanelTest : public QObject
{
    Q_OBJECT
  protected:
    // `seams`: whether each test gets the modal driver and the message-box responder.
    explicit PanelTest(bool seams = true) : m_bSeams(seams) {}

    std::unique_ptr<PanelHarness> m_h;
    std::unique_ptr<KitTest::ModalDriver> m_driver;
    std::unique_ptr<KitTest::MessageBoxResponder> m_boxes;

    CPropertyDlg& detail() { return Pane(*m_h->panel()); }

  private Q_SLOTS:
    void initTestCase() { CMemoDlg::RegisterTemplate(); }
    void cleanupTestCase() { CMemoDlg::UnregisterTemplate(); }
    void init()
    {
        m_h = std::make_unique<PanelHarness>();
        QVERIFY(m_h->ok());
        if (m_bSeams) {
            m_driver = std::make_unique<KitTest::ModalDriver>();
            m_boxes = std::make_unique<KitTest::MessageBoxResponder>();
        }
    }
    void cleanup()
    {
        if (m_driver)
            QCOMPARE(m_driver->leftOpen(), 0);
        m_boxes.reset();
        m_driver.reset();
        QPointer<CMemoDlg> panel = m_h->panel();
        m_h.reset();
        QVERIFY(!panel);
    }

  private:
    bool m_bSeams;
};

inline void Click(CZorvaIconBtton& button)
{
    QTest::mouseClick(&button, Qt::LeftButton);
    PanelHarness::settle();
}

inline QStringList ListTitles(const CZorvaListCtrl& list)
{
    QStringList titles;
    for (int row = 0; row < list.GetItemCount(); ++row)
        titles << list.GetItemText(row, 0);
    return titles;
}

inline QStringList Entries(const CZOREditComboBox& box)
{
    QStringList entries;
    for (int i = 0; i < box.GetCount(); ++i)
        entries << box.GetLBText(i);
    return entries;
}

inline int SelectedRow(const CZorvaListCtrl& list)
{
    POSITION pos = list.GetFirstSelectedItemPosition();
    return pos ? list.GetNextSelectedItem(pos) : -1;
}

// Picks an entry the way a person does: open the list, click the entry.
inline void Choose(CZOREditComboBox& box, const QString& entry)
{
    const int index = box.FindString(0, entry);
    QVERIFY(index >= 0);
    QTest::mouseClick(box.lineEdit(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(box.view()->isVisible());
    QAbstractItemView* view = box.view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(index, 0)).center());
    QTRY_VERIFY(!box.view()->isVisible());
    PanelHarness::settle();
}

inline void ClickRow(CZorvaListCtrl& list, int row)
{
    const QRect rect = list.visualItemRect(list.topLevelItem(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
    PanelHarness::settle();
}

inline std::int32_t StoreFullMemo(const QString& title, const QString& body, const QString& groupName,
                                  std::int32_t groupId, MemoTime stamp = 305371800)
{
    MemoRecord memo = NewMemoRecord(stamp, U(groupName), groupId, U(title), U(body));
    return DBI_MemRecycleWriteRecord(&memo);
}
