// The memo panel's list, the detail pane it fills and the live search over the list.
#include "CMemoDlg.h"

#include "PanelText.h"

#include <CZorvaFont.h>
#include <DbiMemo.h>
#include <LoadStr.h>
#include <MemoTime.h>
#include <RecordText.h>
#include <SkinMessageBox.h>
#include <StoredGroups.h>

using namespace panel;

QStringList panel::StoredGroupNames(std::u16string_view leaveOut, std::u16string_view alsoLeaveOut)
{
    QStringList names;
    for (const MemoGroupRecord& group : ReadStoredGroups()) {
        const std::u16string_view name = FieldText(group.name);
        if ((!leaveOut.empty() && name == leaveOut) || (!alsoLeaveOut.empty() && name == alsoLeaveOut))
            continue;
        names << shownText(name);
    }
    return names;
}

std::vector<CMemoDlg::ListedMemo> CMemoDlg::MemosToList(BOOL& search, bool* refused) const
{
    std::vector<MemoRecord> stored(std::size_t(std::max(0, DBI_MemGetValidRecordCount())));
    for (std::size_t i = 0; i < stored.size(); ++i)
        DBI_MemReadRecordByOrder(std::int32_t(i + 1), &stored[i]);
    const QString searchText = search ? m_edtSearch.GetWindowTextW().trimmed() : QString();
    const MemoListing listing = ListMemos(stored, TextView(m_strFilterGroup),
                                          search ? std::optional(TextView(searchText)) : std::nullopt);
    if (refused)
        *refused = listing.searchRefused;
    // Nothing matched: the search is off and the whole category listed; the search box keeps its
    // text.
    search = listing.searched ? TRUE : FALSE;
    std::vector<ListedMemo> listed;
    listed.reserve(listing.memos.size());
    for (const MemoRecord* memo : listing.memos)
        listed.push_back({memo->key, shownText(MemoTitle(*memo)), memo->stamp});
    return listed;
}

void CMemoDlg::ReloadList()
{
    m_listMemo.SetRedraw(FALSE);
    m_listMemo.Clear();
    // The detail pane keeps its text for now: the row selected below replaces it through the
    // selection report, and an empty list clears it. Emptying it here first would lay the same
    // body out twice after every Save.
    UpdateData(TRUE);

    bool searchRefused = false;
    const std::vector<ListedMemo> memos = MemosToList(m_bSearch, &searchRefused);
    if (searchRefused)
        SkinMessageBox(LoadStr(IDS_EMPTY_SEARCH), LoadStr(IDS_MEMO_CAPTION), MB_OK, 0, this);
    FillList(memos);

    const int rows = m_listMemo.GetItemCount();
    if (rows > 0) {
        m_bNewMemo = FALSE;
        m_nSelItem = std::min(m_nSelItem, rows - 1);
        m_listMemo.EnsureVisible(m_nSelItem, FALSE);
        // Focused as well as selected, so that the arrow keys go on from this row.
        m_listMemo.SetItemState(m_nSelItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_btnFind.EnableWindow(TRUE);
    } else {
        m_btnFind.EnableWindow(FALSE);
        m_bNewMemo = TRUE;
        ClearDetail(DetailReset::AfterReload);
    }
    m_listMemo.SetRedraw(TRUE);
    m_listMemo.Invalidate(TRUE);
}

void CMemoDlg::FillList(const std::vector<ListedMemo>& memos)
{
    const QString noTime = LoadStr(IDS_NO_TIME);
    int row = 0;
    for (const ListedMemo& memo : memos) {
        m_listMemo.InsertItem(row, memo.title);
        m_listMemo.SetItemText(
            row, 1, QString::fromStdU16String(FormatMemoTime(memo.stamp, noTime.toStdU16String())));
        m_listMemo.SetItemData(row, DWORD_PTR(std::uint32_t(memo.key)));
        ++row;
    }
}

void CMemoDlg::ClearDetail(DetailReset reset)
{
    const bool afterReload = reset == DetailReset::AfterReload;
    const QStringList categories =
        StoredGroupNames(GROUP_ALL, afterReload ? GROUP_OTHER : std::u16string_view());
    const int entry = std::min(m_nGroupSel, int(categories.size()));
    m_dlgProperty.Clear(categories, afterReload ? std::max(0, entry) : entry, !afterReload);
    m_nShownKey = 0;
    MarkPaneClean();
}

void CMemoDlg::SelectOnly(int nRow)
{
    for (int row = 0; row < m_listMemo.GetItemCount(); ++row)
        if (row != nRow)
            m_listMemo.SetItemState(row, 0, LVIS_SELECTED);
    if (nRow >= 0) {
        m_listMemo.EnsureVisible(nRow, FALSE);
        m_listMemo.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_nSelItem = nRow;
    }
}

int CMemoDlg::RowOfKey(int nKey) const
{
    for (int row = 0; nKey != 0 && row < m_listMemo.GetItemCount(); ++row)
        if (int(m_listMemo.GetItemData(row)) == nKey)
            return row;
    return -1;
}

LRESULT CMemoDlg::OnListSelChange(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    POSITION pos = m_listMemo.GetFirstSelectedItemPosition();
    if (!pos)
        return 0;
    const int row = m_listMemo.GetNextSelectedItem(pos);
    const int key = int(m_listMemo.GetItemData(row));
    if (PaneHoldsEdits()) {
        if (key == m_nShownKey && !m_bNewMemo) {
            m_nSelItem = row; // the edited memo is still the one in the pane
            return 0;
        }
        if (!SettlePaneEdits()) {
            // Cancelled: the row of the memo in the pane is selected again, and nothing else.
            SelectOnly(m_bNewMemo ? -1 : RowOfKey(m_nShownKey));
            return 0;
        }
        // Saving rebuilt the list: the memo the person chose is selected again by its key.
        SelectMemoByKey(key);
        pos = m_listMemo.GetFirstSelectedItemPosition();
        if (!pos || int(m_listMemo.GetItemData(m_listMemo.GetNextSelectedItem(pos))) != key)
            return 0;
    }
    m_bNewMemo = FALSE;
    pos = m_listMemo.GetFirstSelectedItemPosition();
    m_nSelItem = m_listMemo.GetNextSelectedItem(pos);
    ShowMemo(key);
    return 0;
}

void CMemoDlg::ShowMemo(int nKey)
{
    MemoRecord memo{};
    DBI_MemReadRecord(nKey, &memo);
    m_dlgProperty.ShowMemo(
        {shownText(FieldText(memo.title)), shownText(FieldText(memo.content)), shownCategoryInBox(memo)},
        StoredGroupNames({}));
    // The filter box's text is read and written back, as every showing did.
    UpdateData(TRUE);
    UpdateData(FALSE);
    m_nShownKey = nKey;
    RememberShownVersion(memo);
    MarkPaneClean();
}

void CMemoDlg::RememberShownVersion(const MemoRecord& memo)
{
    m_shownStamp = memo.stamp;
    m_shownTitle = MemoTitle(memo);
    m_shownBody = MemoContent(memo);
}

void CMemoDlg::SelectMemoByKey(int nKey)
{
    const int rows = m_listMemo.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        if (int(m_listMemo.GetItemData(row)) != nKey)
            continue;
        m_listMemo.SetItemState(m_nSelItem, 0, LVIS_SELECTED);
        m_listMemo.EnsureVisible(row, FALSE);
        m_listMemo.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_nSelItem = row;
        return;
    }
}

void CMemoDlg::SetSearchTextQuietly(const QString& text)
{
    // Text the program puts into the search box (the placeholder, or emptying it) is not a search:
    // it must not reach OnSearchChange.
    const DWORD mask = m_edtSearch.GetEventMask();
    m_edtSearch.SetEventMask(mask & ~DWORD(ENM_CHANGE));
    m_edtSearch.SetWindowTextW(text);
    m_edtSearch.SetEventMask(mask);
}

void CMemoDlg::OnRefresh()
{
    if (PaneHoldsEdits() && !SettlePaneEdits())
        return;
    RefreshList();
    if (GetFocus() != &m_edtSearch) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        SetSearchTextQuietly(LoadStr(IDS_SEARCH_PLACEHOLDER));
    }
}

void CMemoDlg::RefreshList()
{
    SetSearchTextQuietly(QString());
    m_strSearchApplied.clear();
    m_bSearch = FALSE;
    ReloadList();
    UpdateStatus(FALSE);
}

void CMemoDlg::OnFindMemo()
{
    UpdateData(TRUE);
    const QString text = m_edtSearch.GetWindowTextW();
    if (text.isEmpty()) {
        m_edtSearch.SetFocus();
        return;
    }
    if (!SettleBeforeReload(TRUE)) {
        // Cancelled: the search box goes back to the search the list shows.
        SetSearchTextQuietly(m_strSearchApplied);
        m_edtSearch.SetSel(m_edtSearch.GetTextLength(), -1);
        m_edtSearch.SetFocus();
        return;
    }
    m_strSearchApplied = text;
    m_bSearch = TRUE;
    ReloadList();
    m_edtSearch.SetFocus();
    UpdateStatus(FALSE);
}

void CMemoDlg::OnSearchSetFocus()
{
    if (m_edtSearch.GetWindowTextW() == LoadStr(IDS_SEARCH_PLACEHOLDER)) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
        SetSearchTextQuietly(QString());
    }
}

void CMemoDlg::OnSearchKillFocus()
{
    if (m_edtSearch.GetWindowTextW().isEmpty()) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        SetSearchTextQuietly(LoadStr(IDS_SEARCH_PLACEHOLDER));
    }
}

void CMemoDlg::OnSearchChange()
{
    // Only the person's edits of the search text come here: texts the program sets go in
    // quietly (SetSearchTextQuietly).
    const QString placeholder = LoadStr(IDS_SEARCH_PLACEHOLDER);
    const QString text = m_edtSearch.GetWindowTextW();
    if (text == placeholder)
        return;
    if (!text.isEmpty()) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
        OnFindMemo();
        m_edtSearch.SetFocus();
        return;
    }
    const bool searchHadFocus = GetFocus() == &m_edtSearch;
    if (!SettleBeforeReload(FALSE)) {
        SetSearchTextQuietly(m_strSearchApplied);
        m_edtSearch.SetSel(m_edtSearch.GetTextLength(), -1);
        m_edtSearch.SetFocus();
        return;
    }
    RefreshList();
    if (!searchHadFocus) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        SetSearchTextQuietly(placeholder);
    }
    m_edtSearch.SetFocus();
}
