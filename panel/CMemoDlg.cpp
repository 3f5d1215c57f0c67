#include "CMemoDlg.h"

#include "PanelText.h"
#include "ui_21000.h"

#include <CClientRect.h>
#include <CDataExchange.h>
#include <CDialogTemplate.h>
#include <CMemDC.h>
#include <CMemoEditDlg.h>
#include <CMemoGroupEditDlg.h>
#include <CZorvaFont.h>
#include <CategoryEditor.h>
#include <LoadStr.h>
#include <MemoShell.h>
#include <StoredGroups.h>

#include <DbiMemo.h>
#include <GroupLookup.h>
#include <GroupRules.h>
#include <MemoConstants.h>
#include <RecordText.h>

#include <QApplication>
#include <QPointer>
#include <QWheelEvent>

#include <memory>
#include <utility>

using namespace panel;

namespace {

constexpr int MAX_GROUP_NAME_CHARS = int(MAX_GROUP_NAME_LEN);
// The status text goes through a buffer of 48 UTF-16 units, terminator included.
constexpr int MAX_STATUS_CHARS = 47;

// The smallest panel in which every control is whole: the category box right of the search box,
// Save right of Refresh, the list beside the detail pane, and the pane's body a few lines high.
constexpr int MIN_PANEL_WIDTH = 250 + 8 + 238;
constexpr int MIN_PANEL_HEIGHT = 33 + 103 + 80 + 15 + 35;

template <class... Counts> QString statusText(UINT textId, Counts... counts)
{
    QString text = FormatStr(LoadStr(textId), counts...);
    if (text.size() > MAX_STATUS_CHARS) {
        text.truncate(MAX_STATUS_CHARS);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

} // namespace

CMemoDlg::CMemoDlg() : CXTResizeDialog(IDD, nullptr)
{
    m_edtSearch.SetEditInfo(CSkinRect(0, 0, 0, 0), CSkinRect(193, 118, 25, 24), CSkinRect(0, 0, 0, 0), 250,
                            0);
    m_cmbGroup.SetEditComboBoxInfo(CSkinRect(215, 25, 27, 18), CSkinRect(193, 118, 25, 24),
                                   CSkinRect(107, 158, 27, 54), 192);
    m_btnFind.SetButtonInfo(CSkinRect(193, 28, 27, 18), CSkinRect(440, 139, 32, 32),
                            CSkinRect(472, 139, 32, 32), 80, 1);
    m_btnNew.SetButtonInfo(CSkinRect(169, 27, 27, 18), CSkinRect(408, 107, 32, 32),
                           CSkinRect(472, 107, 32, 32), 100, 0);
    m_btnDelete.SetButtonInfo(CSkinRect(133, 372, 27, 18), CSkinRect(408, 107, 32, 32),
                              CSkinRect(536, 107, 32, 32), 100, 0);
    m_btnRefresh.SetButtonInfo(CSkinRect(140, 27, 27, 18), CSkinRect(408, 107, 32, 32),
                               CSkinRect(472, 171, 32, 32), 100, 0);
    m_btnSave.SetButtonInfo(CSkinRect(250, 122, 27, 18), CSkinRect(408, 107, 32, 32),
                            CSkinRect(406, 139, 32, 32), 100, 0);

    MapMessage(WM_MEMO_UPDATEDATA, &CMemoDlg::OnUpdateDataMsg);
    MapMessage(WM_MEMO_FOCUSSEARCH, &CMemoDlg::OnFocusSearch);
    MapMessage(WM_MEMO_SHOWRESTORED, &CMemoDlg::OnShowRestored);
    MapMessage(WM_MEMO_GROUPSELCHANGE, &CMemoDlg::OnGroupSelChange);
    MapMessage(WM_MEMO_LISTSELCHANGE, &CMemoDlg::OnListSelChange);
    MapMessage(WM_MEMO_LISTDELETE, &CMemoDlg::OnListDelete);
    MapCommand(IDC_BTN_NEW, &CMemoDlg::OnNewMemo);
    MapCommand(IDC_BTN_SAVE, &CMemoDlg::OnSaveMemo);
    MapCommand(IDC_BTN_DELETE, &CMemoDlg::OnDeleteMemo);
    MapCommand(IDC_BTN_REFRESH, &CMemoDlg::OnRefresh);
    MapCommand(IDC_BTN_FIND, &CMemoDlg::OnFindMemo);
    MapNotify(IDC_EDIT_SEARCH, EN_SETFOCUS, &CMemoDlg::OnSearchSetFocus);
    MapNotify(IDC_EDIT_SEARCH, EN_KILLFOCUS, &CMemoDlg::OnSearchKillFocus);
    MapNotify(IDC_EDIT_SEARCH, EN_CHANGE, &CMemoDlg::OnSearchChange);
}

CMemoDlg::~CMemoDlg()
{
    // The host unloading the module or closing: what the pane holds is kept as the user's draft.
    TearDownPaneEdits();
    // The host may delete the panel with its window still there; the controls going away below
    // must not call back into it.
    DetachBeforeDelete();
    // However the panel goes (the host deleting its window or OnNcDestroy), the shell must not
    // pass it anything more.
    ForgetMemoPanel(this);
}

void CMemoDlg::RegisterTemplate()
{
    CDialogTemplate::RegisterForm<Ui::MemoPanelForm>(IDD, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    CPropertyDlg::RegisterTemplate();
    CMemoEditDlg::RegisterTemplate();
    RegisterCategoryTemplates();
}

void CMemoDlg::UnregisterTemplate()
{
    CDialogTemplate::Unregister(IDD);
    CPropertyDlg::UnregisterTemplate();
    CMemoEditDlg::UnregisterTemplate();
    UnregisterCategoryTemplates();
}

void CMemoDlg::DoDataExchange(CDataExchange* pDX)
{
    CXTResizeDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MEMO_LIST, m_listMemo);
    DDX_Control(pDX, IDC_BTN_NEW, m_btnNew);
    DDX_Control(pDX, IDC_BTN_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_BTN_REFRESH, m_btnRefresh);
    DDX_Control(pDX, IDC_BTN_FIND, m_btnFind);
    DDX_Control(pDX, IDC_BTN_SAVE, m_btnSave);
    DDX_Control(pDX, IDC_EDIT_SEARCH, m_edtSearch);
    DDX_Control(pDX, IDC_COMBO_GROUP, m_cmbGroup);
    DDX_Text(pDX, IDC_COMBO_GROUP, m_strFilterGroup);
    DDV_MaxChars(pDX, m_strFilterGroup, MAX_GROUP_NAME_CHARS);
}

BOOL CMemoDlg::OnInitDialog()
{
    CXTResizeDialog::OnInitDialog();
    if (!m_dlgProperty.Create(CPropertyDlg::IDD, this))
        return FALSE;
    m_dlgProperty.ShowWindow(SW_SHOW);
    PlaceControls();
    SetAnchors();
    // The host's window does not shrink below it (its layout takes the frame's content's minimum).
    setMinimumSize(MIN_PANEL_WIDTH, MIN_PANEL_HEIGHT);

    m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
    m_edtSearch.SetWindowTextW(LoadStr(IDS_SEARCH_PLACEHOLDER));

    m_listMemo.InsertColumn(0, LoadStr(IDS_COLUMN_TITLE), 180, ZLC_ALIGN_LEFT, ZLC_HEADER_TEXT);
    m_listMemo.InsertColumn(1, LoadStr(IDS_COLUMN_TIME), 360, ZLC_ALIGN_LEFT, ZLC_HEADER_TEXT);
    SetAccessibleNames();
    SetUpPaneEdits();
    return TRUE;
}

void CMemoDlg::SetAccessibleNames()
{
    // A screen reader tells the controls apart by these: captions without their letter
    // spacing, the column headers, the search box's placeholder.
    const auto caption = [](const CZorvaIconBtton& button) { return button.GetWindowTextW().remove(u' '); };
    for (CZorvaIconBtton* button : {&m_btnNew, &m_btnDelete, &m_btnRefresh, &m_btnFind, &m_btnSave})
        button->setAccessibleName(caption(*button));
    m_listMemo.setAccessibleName(QStringLiteral(u"备忘录列表"));
    m_listMemo.setAccessibleDescription(LoadStr(IDS_COLUMN_TITLE) + u'/' + LoadStr(IDS_COLUMN_TIME));
    m_edtSearch.setAccessibleName(LoadStr(IDS_SEARCH_PLACEHOLDER));
    m_cmbGroup.setAccessibleName(QStringLiteral(u"分类筛选"));
}

void CMemoDlg::PlaceControls()
{
    const CClientRect client(this);
    const int W = client.Width();
    const int H = client.Height();

    m_listMemo.MoveWindow(0, 33, W - 273, H - 68);
    m_dlgProperty.MoveWindow(W - 267, 33, 267, H - 68);
    m_edtSearch.MoveWindow(0, 3, 250, 26);
    m_edtSearch.SetEventMask(m_edtSearch.GetEventMask() | ENM_CHANGE);
    m_cmbGroup.MoveWindow(W - 238, 3, 192, 24);
    m_cmbGroup.SetEnableInput(FALSE);

    m_btnFind.MoveWindow(181, 1, 80, 32);
    m_btnFind.SetWindowTextW(LoadStr(IDS_FIND));
    m_btnNew.MoveWindow(0, H - 32, 100, 32);
    m_btnNew.SetWindowTextW(LoadStr(IDS_NEW));
    m_btnDelete.MoveWindow(108, H - 32, 100, 32);
    m_btnDelete.SetWindowTextW(LoadStr(IDS_DELETE));
    m_btnRefresh.MoveWindow(216, H - 32, 100, 32);
    m_btnRefresh.SetWindowTextW(LoadStr(IDS_REFRESH));
    m_btnSave.MoveWindow(W - 168, H - 32, 100, 32);
    m_btnSave.SetWindowTextW(LoadStr(IDS_SAVE));
}

void CMemoDlg::SetAnchors()
{
    SetResize(IDC_COMBO_GROUP, CXTResizePoint(1, 0), CXTResizePoint(1, 0));
    SetResize(IDC_BTN_SAVE, CXTResizePoint(1, 1), CXTResizePoint(1, 1));
    SetResize(IDC_EDIT_SEARCH, CXTResizePoint(0, 0), CXTResizePoint(0, 0));
    SetResize(IDC_BTN_NEW, CXTResizePoint(0, 1), CXTResizePoint(0, 1));
    SetResize(IDC_BTN_FIND, CXTResizePoint(0, 0), CXTResizePoint(0, 0));
    SetResize(IDC_BTN_DELETE, CXTResizePoint(0, 1), CXTResizePoint(0, 1));
    SetResize(IDC_BTN_REFRESH, CXTResizePoint(0, 1), CXTResizePoint(0, 1));
    SetResize(IDC_MEMO_LIST, CXTResizePoint(0, 0), CXTResizePoint(1, 1));
    const CClientRect client(this);
    SetResize(&m_dlgProperty, CXTResizeRect(1, 0, 1, 1),
              CRect(client.Width() - 267, 33, client.Width(), client.Height() - 35));
}

void CMemoDlg::OnSize(UINT nType, int cx, int cy)
{
    CXTResizeDialog::OnSize(nType, cx, cy);
}

void CMemoDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CXTResizeDialog::OnShowWindow(bShow, nStatus);
    if (bShow)
        UpdateStatus(m_bReloadPending);
}

BOOL CMemoDlg::OnEraseBkgnd(CDC* pDC)
{
    CMemDC memDC(*pDC, this);
    memDC.FillSolidRect(CClientRect(this), m_crBack);
    return TRUE;
}

void CMemoDlg::OnPaint()
{
}

void CMemoDlg::OnNcDestroy()
{
    CXTResizeDialog::OnNcDestroy();
    ForgetMemoPanel(this);
    // Later rather than now: the window may be going away inside one of its own handlers.
    deleteLater();
}

void CMemoDlg::UpdateStatus(BOOL bReload)
{
    if (bReload) {
        // Nobody is asked here (a change of user, an import, the first showing): the pane's edits
        // go to the draft and come back after the reload when they belong to this store.
        m_draftTimer.stop();
        SyncDraft();
        MarkPaneClean();
        // Someone typing into the pane while the reload comes (after a sync, say) goes on typing
        // where they were, also when the reload clears the pane to put the edits back.
        const QPointer<QWidget> typing = QApplication::focusWidget();
        const bool typingInPane = typing && m_dlgProperty.isAncestorOf(typing);
        ReloadGroups();
        ReloadList();
        RestoreDraft();
        if (typingInPane && typing && PaneHoldsEdits() && QApplication::focusWidget() != typing)
            typing->setFocus(Qt::OtherFocusReason);
        m_bReloadPending = FALSE;
    }
    // A first start says what to do while the store holds no memo at all.
    m_listMemo.SetEmptyText(DBI_MemGetValidRecordCount() == 0 ? LoadStr(IDS_EMPTY_STORE_HINT) : QString());
    m_bDraftStatusShown = std::exchange(m_bDraftRestored, false);
    const UINT textId = m_bDraftStatusShown ? IDS_STATUS_DRAFT_RESTORED : IDS_STATUS_ROWS;
    const QString text = statusText(textId, m_listMemo.GetItemCount());
    SendStatusBarText(reinterpret_cast<const char16_t*>(text.utf16()));
}

LRESULT CMemoDlg::OnUpdateDataMsg(WPARAM wParam, LPARAM /*lParam*/)
{
    if (!wParam)
        return 0;
    // The user name came with the message and is ours to free; which user it is does not
    // matter: any change of user reloads the panel.
    const std::unique_ptr<QString> userName(reinterpret_cast<QString*>(wParam));
    if (IsWindowVisible())
        UpdateStatus(TRUE);
    else
        m_bReloadPending = TRUE;
    return 0;
}

LRESULT CMemoDlg::OnFocusSearch(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    m_edtSearch.SetFocus();
    return 0;
}

LRESULT CMemoDlg::OnShowRestored(WPARAM wParam, LPARAM lParam)
{
    const int key = int(wParam);
    if (RowOfKey(key) < 0 && (m_bSearch || m_strFilterGroup != allGroups())) {
        // The filter hides it: every memo is listed, as after choosing "全部" and Refresh.
        if (PaneHoldsEdits() && !SettlePaneEdits())
            return 0;
        m_strFilterGroup = allGroups();
        m_nGroupSel = m_cmbGroup.FindString(0, allGroups());
        m_cmbGroup.SetCurSel(m_nGroupSel);
        UpdateData(FALSE);
        SetSearchTextQuietly(GetFocus() == &m_edtSearch ? QString() : LoadStr(IDS_SEARCH_PLACEHOLDER));
        m_strSearchApplied.clear();
        m_bSearch = FALSE;
        ReloadList();
    }
    if (RowOfKey(key) >= 0)
        SelectOnly(RowOfKey(key)); // the list reports it, and the pane shows the memo
    const QString text = statusText(IDS_STATUS_TRASH_RESTORED, int(lParam), m_listMemo.GetItemCount());
    SendStatusBarText(reinterpret_cast<const char16_t*>(text.utf16()));
    return 0;
}

void CMemoDlg::ReloadGroups()
{
    m_cmbGroup.ResetContent();
    bool storedAll = false;
    bool storedOther = false;
    const std::vector<MemoGroupRecord> groups = ReadStoredGroups();
    for (const MemoGroupRecord& group : groups) {
        const QString name = FromTextView(FieldText(group.name));
        m_cmbGroup.InsertString(m_cmbGroup.GetCount(), name);
        storedAll = storedAll || name == allGroups();
        storedOther = storedOther || name == otherGroup();
    }
    // Each insertion at the same place pushes the earlier ones down: the box ends with the
    // stored categories, "其它", "全部", "编辑分类" (the pseudo-categories only where not stored).
    const int end = m_cmbGroup.GetCount();
    m_cmbGroup.InsertString(end, FromTextView(GROUP_EDIT_ENTRY)); // opens the category editor
    if (!storedAll)
        m_cmbGroup.InsertString(end, allGroups());
    if (!storedOther)
        m_cmbGroup.InsertString(end, otherGroup());

    // The filter is kept by its name, wherever the category now stands (another user's categories,
    // an import, the category editor); "全部" where it is gone. The last entry opens the editor and
    // is never a filter, whatever a stored category is called.
    int kept = -1;
    if (m_nGroupSel != -1 && !m_strFilterGroup.isEmpty()) {
        kept = m_cmbGroup.FindString(0, m_strFilterGroup);
        if (kept == m_cmbGroup.GetCount() - 1)
            kept = -1;
    }
    if (kept < 0) {
        kept = m_cmbGroup.FindString(0, allGroups());
        m_strFilterGroup = allGroups();
    }
    m_nGroupSel = kept;
    m_cmbGroup.SetCurSel(kept);
    // The box's text follows, so it never shows an empty or stale name.
    UpdateData(FALSE);
}

LRESULT CMemoDlg::OnGroupSelChange(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (PaneHoldsEdits() && !SettlePaneEdits()) {
        m_cmbGroup.SetCurSel(m_nGroupSel); // cancelled: the filter stays as it was
        return 0;
    }
    m_bNewMemo = FALSE;
    m_bSearch = FALSE;
    const int sel = m_cmbGroup.GetCurSel();
    if (sel >= 0 && sel == m_cmbGroup.GetCount() - 1) {
        CMemoGroupEditDlg dlg;
        dlg.DoModal();
        ReloadGroups(); // keeps the filter the person had, found again by name
    } else if (sel == m_cmbGroup.FindString(0, otherGroup())) {
        m_strFilterGroup = otherGroup();
        m_nGroupSel = sel;
    } else if (sel == m_cmbGroup.FindString(0, allGroups())) {
        m_strFilterGroup = allGroups();
        m_nGroupSel = sel;
    } else if (sel >= 0) {
        MemoGroupRecord group{};
        DBI_MemGroupReadRecordByOrder(sel + 1, &group);
        // Memos carry at most MAX_GROUP_NAME_LEN characters of their category's name.
        m_strFilterGroup = shownText(StoredGroupName(FieldText(group.name)));
        m_nGroupSel = sel;
    }
    UpdateData(FALSE);
    m_nSelItem = 0;
    ReloadList();
    m_listMemo.SetFocus();
    UpdateStatus(FALSE);
    return 0;
}

BOOL CMemoDlg::PreTranslateMessage(MSG* pMsg)
{
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if (pMsg->wParam == VK_F3 && (GetKeyState(VK_CONTROL) & 0x8000))
            m_edtSearch.SetFocus();
        if (pMsg->wParam == 'S' && (GetKeyState(VK_CONTROL) & 0x8000)) {
            OnSaveMemo();
            return TRUE;
        }
        if (pMsg->wParam == 'N' && (GetKeyState(VK_CONTROL) & 0x8000)) {
            OnNewMemo();
            return TRUE;
        }
        if (HandleSearchKey(pMsg))
            return TRUE;
        break;
    case WM_MOUSEHOVER:
        if (m_listMemo.geometry().contains(mapFromGlobal(pMsg->pt)))
            m_listMemo.SetFocus();
        break;
    case WM_MOUSELEAVE:
        m_listMemo.Invalidate(TRUE);
        break;
    case WM_MOUSEWHEEL:
        if (m_listMemo.geometry().contains(mapFromGlobal(pMsg->pt)))
            ForwardWheelToList(pMsg);
        break;
    default:
        break;
    }
    return CXTResizeDialog::PreTranslateMessage(pMsg);
}

bool CMemoDlg::HandleSearchKey(const MSG* pMsg)
{
    if (pMsg->hwnd != &m_edtSearch && !m_edtSearch.isAncestorOf(pMsg->hwnd))
        return false;
    if (pMsg->wParam == VK_ESCAPE) {
        const QString text = m_edtSearch.GetWindowTextW();
        if (!text.isEmpty() && text != LoadStr(IDS_SEARCH_PLACEHOLDER))
            OnRefresh();
        return true;
    }
    if (pMsg->wParam == VK_DOWN && m_listMemo.GetItemCount() > 0) {
        m_listMemo.SetFocus();
        return true;
    }
    return false;
}

void CMemoDlg::ForwardWheelToList(const MSG* pMsg)
{
    // The wheel turns the list under the cursor, wherever the focus is. A wheel event that is
    // already on its way to the list (the widget under the cursor gets it) must not be sent
    // again: the list would scroll twice.
    if (pMsg->hwnd == &m_listMemo || m_listMemo.isAncestorOf(pMsg->hwnd))
        return;
    const auto distance = static_cast<short>(HIWORD(pMsg->wParam));
    QWidget* viewport = m_listMemo.viewport();
    const QPointF local = viewport->mapFromGlobal(QPointF(pMsg->pt));
    QWheelEvent wheel(local, QPointF(pMsg->pt), QPoint(), QPoint(0, distance), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
}
