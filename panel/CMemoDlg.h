#pragma once
// The memo panel: the module's main window, a resizable child dialog from template 21000 that
// the plug-in shell creates and registers with the host. It holds the memo list, the category
// box, the search box and the command buttons.
#include <CPropertyDlg.h>
#include <CXTResizeDialog.h>
#include <CZOREditComboBox.h>
#include <CZorvaEdit.h>
#include <CZorvaIconBtton.h>
#include <CZorvaListCtrl.h>
#include <ModuleProtocol.h>

#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMemoEditDlg;
struct MemoRecord;

// Private window messages of the panel.
constexpr UINT WM_MEMO_LISTSELCHANGE = WM_USER + 104;  // 0x468, from the memo list
constexpr UINT WM_MEMO_LISTDELETE = WM_USER + 106;     // 0x46A, from the memo list
constexpr UINT WM_MEMO_GROUPSELCHANGE = WM_USER + 150; // 0x496, from the category box
constexpr UINT WM_MEMO_UPDATEDATA = WM_USER + 400;     // 0x590, from the shell; wParam owns a QString*
// From the host: WM_MEMO_FOCUSSEARCH (0xA72) and WM_MEMO_SHOWRESTORED (0xA73).
using ModuleProtocol::WM_MEMO_FOCUSSEARCH;
using ModuleProtocol::WM_MEMO_SHOWRESTORED;

class CMemoDlg : public CXTResizeDialog
{
    Q_OBJECT
  public:
    enum { IDD = 21000 };

    CMemoDlg();
    ~CMemoDlg() override;

    // Makes the module's dialog templates (the panel's own, the detail panel's, the memo edit
    // dialog's and the category dialogs') known to the kit, and forgets them again.
    static void RegisterTemplate();
    static void UnregisterTemplate();

    // Optionally reloads everything, then sends the status-bar text (text 233 with the number
    // of rows) to the host.
    void UpdateStatus(BOOL bReload);
    // Rebuilds the category box from the store (stored categories, then the pseudo-categories
    // that are not stored, then the entry that opens the category editor) and restores its
    // selection.
    void ReloadGroups();
    // Rebuilds the memo list for the category filter and, while it applies, the search text,
    // and selects row m_nSelItem again (the last row if the list became shorter).
    void ReloadList();
    // Shows the memo with this key in the detail panel.
    void ShowMemo(int nKey);
    // Takes the stored memo as the version the pane's edits start from.
    void RememberShownVersion(const MemoRecord& memo);
    // Selects the row that carries this key, if one does.
    void SelectMemoByKey(int nKey);
    // Whether the detail pane holds edits that are not stored: another title, body or category
    // than the memo shown, or any title or body in the pane of a memo not created yet.
    bool PaneHoldsEdits() const;
    // Writes the pane's edits as the user's draft now (or removes a draft of edits no longer
    // there), as the panel does itself a moment after the last change.
    void SyncDraft();
    // Whether the pane stands for a memo not stored yet (Save creates one).
    bool PaneIsNewMemo() const { return m_bNewMemo != FALSE; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnPaint() override;
    void OnNcDestroy() override;

    LRESULT OnUpdateDataMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnFocusSearch(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowRestored(WPARAM wParam, LPARAM lParam);
    LRESULT OnGroupSelChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnListSelChange(WPARAM wParam, LPARAM lParam);

    void OnNewMemo();
    void OnSaveMemo() { SaveMemo(); }
    void OnDeleteMemo();
    LRESULT OnListDelete(WPARAM wParam, LPARAM lParam);
    void OnRefresh();
    void OnFindMemo();

    void OnSearchSetFocus();
    void OnSearchKillFocus();
    void OnSearchChange();
    // Enter and Escape neither close nor change the panel.
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void PlaceControls();
    void SetAnchors();
    void SetAccessibleNames();
    // Empties the detail panel for a memo that is not stored yet: no title, no body, the stored
    // categories in its category box. After a reload the box leaves out stored records named
    // "全部" or "其它" and selects an entry; after a deletion it leaves out only "全部", and the
    // body takes the focus.
    enum class DetailReset { AfterReload, AfterDelete };
    void ClearDetail(DetailReset reset);

    // Shared steps of New and Save: the title a memo is stored with (nothing, after telling the
    // user, when it has neither title nor body), the creation of a memo, and the end of a command
    // that stored one.
    std::optional<QString> ApplyTitleRule(const QString& title, const QString& content);
    int CreateMemo(const QString& title, const QString& content);
    // `asCopy`: the pane was stored as a new memo because its memo had changed elsewhere; the
    // user is told so.
    void FinishStore(int nKey, bool asCopy = false);
    // Writes the edited memo of the selected row: its key, 0 when the write failed (after telling
    // the user), NoMemoBehind when no memo is behind that row any more, ChangedElsewhere when the
    // memo changed since the pane showed it (the pane's text is for a new memo beside it).
    static constexpr int NoMemoBehind = -1;
    static constexpr int ChangedElsewhere = -2;
    int ModifySelectedMemo(const QString& title, const QString& content);
    // The hidden bulk generator: true when title and body asked for it (and it ran).
    bool RunBulkGenerator(const QString& title, const QString& content);
    void ReportWriteFailure(UINT textId);
    void ForwardWheelToList(const MSG* pMsg);
    // The keys of the search box: Escape empties it, Down goes on into the list. True when the
    // key was one of them.
    bool HandleSearchKey(const MSG* pMsg);

    // Save of the detail pane; false when nothing was stored (refused or failed, after telling
    // the person; the pane keeps what was typed).
    bool SaveMemo();
    void RefreshList();
    void SetSearchTextQuietly(const QString& text);

    // The memos the list shows for the category filter and, when `search`, the search text.
    // When nothing matches (a blank search text matches nothing and sets `refused`), the search
    // goes off (`search` cleared) and the whole category is listed.
    struct ListedMemo
    {
        std::int32_t key = 0;
        QString title;
        std::int32_t stamp = 0;
    };
    std::vector<ListedMemo> MemosToList(BOOL& search, bool* refused = nullptr) const;
    void FillList(const std::vector<ListedMemo>& memos);
    // Selects this row and no other (none for -1).
    void SelectOnly(int nRow);
    // The row that carries this key, -1 when none does.
    int RowOfKey(int nKey) const;

    // Unsaved edits of the detail pane. Actions the person starts in the panel ask before they
    // replace them; where nobody can be asked (a change of user, the host closing, a crash) they
    // are kept as the user's draft in the store and come back into the pane.
    void SetUpPaneEdits();
    void TearDownPaneEdits();
    void MarkPaneClean();
    // Asks whether to save the pane's edits: true to go on (saved, or dropped), false when the
    // person cancelled or the save did not store them.
    bool SettlePaneEdits();
    // SettlePaneEdits, when a search or a refresh would show another memo in the pane.
    bool SettleBeforeReload(bool search);
    void OnPaneEdited();
    void ShowSaveMark(bool edited);
    void RestoreDraft();
    static void OnStoreClosing(void* context);

    QString m_strFilterGroup;
    QString m_strNewGroup;
    int m_nSelItem = 0;
    int m_nGroupSel = -1;
    BOOL m_bNewMemo = TRUE;
    BOOL m_bSearch = FALSE;
    CZorvaListCtrl m_listMemo;
    CPropertyDlg m_dlgProperty;
    COLORREF m_crBack = RGB(243, 247, 251);
    CZorvaIconBtton m_btnNew;
    CZorvaIconBtton m_btnDelete;
    CZorvaIconBtton m_btnRefresh;
    CZorvaIconBtton m_btnFind;
    CZorvaIconBtton m_btnSave;
    CZorvaEdit m_edtSearch;
    CZOREditComboBox m_cmbGroup;
    // Set so that the first showing fills the panel.
    BOOL m_bReloadPending = TRUE;

    // New's edit dialog, made at the first New and run again for every later one (a window of
    // the panel's, hidden between uses).
    std::unique_ptr<CMemoEditDlg> m_pEditDlg;

    int m_nShownKey = 0; // the memo in the detail pane; 0 for one not created yet
    // The version of that memo the pane's edits start from: when the stored memo is no longer it
    // (a sync or another host changed it), Save keeps both instead of writing over that change.
    std::int32_t m_shownStamp = 0;
    std::u16string m_shownTitle;
    std::u16string m_shownBody;
    bool m_bSaveMarked = false;
    QTimer m_draftTimer;                          // writes the draft a moment after the last change
    QMetaObject::Connection m_paneConnections[2]; // pane edits and focus changes, cut at teardown
    bool m_bDraftStored = false;                  // the open store holds a draft of ours
    // The store the pane's texts belong to: drafts go to it only, never to a store the host opened
    // since (another user's) before the panel reloaded for it.
    std::string m_strPaneStore;
    bool m_bDraftRestored = false;    // the next status text says edits were brought back
    bool m_bDraftStatusShown = false; // the status text shown says so
    QString m_strSearchApplied;       // the search text the list was last built for
};
