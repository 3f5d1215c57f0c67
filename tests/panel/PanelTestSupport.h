#pragma once
// What the panel tests share: the panel created in a frame as the host places it, on a real store
// in a temporary folder, a host that keeps the status texts, and a person's hands on its list.
#include "CategoryTestSupport.h"
#include "DocumentOutline.h"

#include <CMemoDlg.h>
#include <CXml.h>
#include <HostAdapter.h>
#include <LoadStr.h>
#include <MemoTime.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>

using namespace Qt::StringLiterals;

// Registered with the host adapter while it lives; keeps every status-bar text the panel sends.
class StatusHost
{
  public:
    StatusHost()
    {
        const HostAdapterHost host{&StatusHost::command, &StatusHost::command, this};
        HostAdapter_RegisterHost(&host);
    }
    ~StatusHost() { HostAdapter_UnregisterHost(this); }
    StatusHost(const StatusHost&) = delete;
    StatusHost& operator=(const StatusHost&) = delete;

    QStringList texts;

  private:
    static int command(void* context, int, CXml* doc, int)
    {
        const ParsedDoc sent = parse(doc ? doc->GetDoc() : QString());
        static_cast<StatusHost*>(context)->texts
            << (sent.children.isEmpty() ? QString() : sent.children.first().second);
        return 1;
    }
};

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
