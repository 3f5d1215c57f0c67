// The detail pane's unsaved edits: the question before an action of the panel replaces them, the
// draft that keeps them in the user's store where nobody can be asked, and the mark on Save.
#include "CMemoDlg.h"

#include "PanelText.h"

#include <LoadStr.h>
#include <MemoDraft.h>
#include <MemoStore.h>
#include <MemoTime.h>
#include <SkinMessageBox.h>

#include <QApplication>

using namespace panel;

namespace {

// How long after the last change the draft is written.
constexpr int DRAFT_DELAY_MS = 400;

// The panel whose draft the store's close hook writes (the newest one, when the host made several).
CMemoDlg* g_pDraftOwner = nullptr;

} // namespace

void CMemoDlg::SetUpPaneEdits()
{
    m_draftTimer.setSingleShot(true);
    m_draftTimer.setInterval(DRAFT_DELAY_MS);
    connect(&m_draftTimer, &QTimer::timeout, this, &CMemoDlg::SyncDraft);
    // Queued: the pane is looked at once the edit that changed it is complete.
    m_paneConnections[0] =
        connect(&m_dlgProperty, &CPropertyDlg::edited, this, &CMemoDlg::OnPaneEdited, Qt::QueuedConnection);
    // Leaving the pane writes the draft at once.
    m_paneConnections[1] =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (old && m_dlgProperty.isAncestorOf(old) && !(now && m_dlgProperty.isAncestorOf(now)) &&
                m_draftTimer.isActive()) {
                m_draftTimer.stop();
                SyncDraft();
            }
        });
    // What the pane shows before the first memo is not an edit.
    MarkPaneClean();
    m_strPaneStore = MemoStore_CurrentPath();
    g_pDraftOwner = this;
    MemoStore_SetCloseHook(&CMemoDlg::OnStoreClosing, this);
}

void CMemoDlg::TearDownPaneEdits()
{
    // The panel is going: the widgets taken down after this (focus moving, texts going) must
    // not call back into it.
    for (QMetaObject::Connection& connection : m_paneConnections)
        disconnect(connection);
    m_draftTimer.stop();
    if (GetSafeHwnd())
        SyncDraft();
    if (g_pDraftOwner == this) {
        MemoStore_SetCloseHook(nullptr, nullptr);
        g_pDraftOwner = nullptr;
    }
}

bool CMemoDlg::PaneHoldsEdits() const
{
    return m_dlgProperty.HoldsEdits(m_nShownKey != 0);
}

void CMemoDlg::MarkPaneClean()
{
    m_dlgProperty.MarkClean();
    ShowSaveMark(false);
}

void CMemoDlg::ShowSaveMark(bool edited)
{
    if (edited == m_bSaveMarked)
        return;
    m_bSaveMarked = edited;
    m_btnSave.SetWindowTextW(edited ? LoadStr(IDS_SAVE) + u'*' : LoadStr(IDS_SAVE));
}

void CMemoDlg::OnPaneEdited()
{
    const bool edited = PaneHoldsEdits();
    ShowSaveMark(edited);
    if (edited || m_bDraftStored)
        m_draftTimer.start();
}

bool CMemoDlg::SettlePaneEdits()
{
    if (!PaneHoldsEdits())
        return true;
    switch (SkinMessageBox(LoadStr(IDS_SAVE_EDITS_QUESTION), LoadStr(IDS_MEMO_CAPTION),
                           MB_YESNOCANCEL | MB_ICONQUESTION, 0, this)) {
    case IDYES:
        return SaveMemo();
    case IDNO:
        // The edits are dropped: the pane shows the memo as stored again, or nothing.
        if (m_nShownKey != 0 && !m_bNewMemo)
            ShowMemo(m_nShownKey);
        else
            ClearDetail(DetailReset::AfterReload);
        m_draftTimer.stop();
        SyncDraft(); // clears the draft of the edits just dropped
        if (m_bDraftStatusShown)
            UpdateStatus(FALSE); // the status bar no longer says that edits were brought back
        return true;
    default:
        return false;
    }
}

bool CMemoDlg::SettleBeforeReload(bool search)
{
    if (!PaneHoldsEdits())
        return true;
    // The reload selects row m_nSelItem again, or clears the pane when nothing is listed.
    BOOL searching = search ? TRUE : FALSE;
    const std::vector<ListedMemo> memos = MemosToList(searching);
    const int row = std::min(m_nSelItem, int(memos.size()) - 1);
    const int keyAfter = row >= 0 ? int(memos[std::size_t(row)].key) : 0;
    if (keyAfter != 0 && keyAfter == m_nShownKey && !m_bNewMemo)
        return true;
    return SettlePaneEdits();
}

void CMemoDlg::SyncDraft()
{
    if (!MemoStore_IsOpen() || MemoStore_CurrentPath() != m_strPaneStore || !m_dlgProperty.GetSafeHwnd())
        return;
    int result = MEMO_DRAFT_DONE;
    if (PaneHoldsEdits()) {
        const CPropertyDlg::Texts pane = m_dlgProperty.ReadTexts();
        MemoRecord draft = NewMemoRecord(CurrentMemoTime(), TextView(pane.group), 0, TextView(pane.title),
                                         TextView(pane.body));
        draft.key = m_nShownKey;
        result = MemoStore_DraftWrite(&draft);
        if (result == MEMO_DRAFT_DONE)
            m_bDraftStored = true;
    } else if (m_bDraftStored) {
        result = MemoStore_DraftClear();
        if (result == MEMO_DRAFT_DONE)
            m_bDraftStored = false;
    }
    // Another writer holds the store: typing never waits for it, the draft is tried again soon.
    if (result == MEMO_DRAFT_BUSY)
        m_draftTimer.start();
}

void CMemoDlg::OnStoreClosing(void* context)
{
    // The store is about to go (another user, the host closing): the pane's edits are written to
    // it now. Until the panel reloads for the store that comes next, SyncDraft writes nothing.
    auto* panel = static_cast<CMemoDlg*>(context);
    panel->m_draftTimer.stop();
    panel->SyncDraft();
}

void CMemoDlg::RestoreDraft()
{
    m_strPaneStore = MemoStore_CurrentPath();
    MemoRecord draft{};
    m_bDraftStored = MemoStore_DraftRead(&draft) == 1;
    if (!m_bDraftStored)
        return;
    // The edits come back on the memo they belong to; on a memo deleted meanwhile, as a new memo.
    const int key = draft.key;
    if (key != 0 && MemoStore_MemoState(key) != 0) {
        SelectOnly(RowOfKey(key));
        m_bNewMemo = FALSE;
        ShowMemo(key);
    } else {
        SelectOnly(-1);
        m_bNewMemo = TRUE;
        ClearDetail(DetailReset::AfterReload);
    }
    m_dlgProperty.PutEdits({shownText(FieldText(draft.title)), shownText(FieldText(draft.content)),
                            shownText(FieldText(draft.groupName))});
    m_draftTimer.stop();
    ShowSaveMark(PaneHoldsEdits());
    m_bDraftRestored = true;
}
