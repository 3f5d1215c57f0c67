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

int panel::FillWithStoredGroups(CZOREditComboBox& box, std::u16string_view leaveOut,
                                std::u16string_view alsoLeaveOut)
{
    box.ResetContent();
    int entries = 0;
    for (const MemoGroupRecord& group : ReadStoredGroups()) {
        const std::u16string_view name = FieldText(group.name);
        if ((!leaveOut.empty() && name == leaveOut) || (!alsoLeaveOut.empty() && name == alsoLeaveOut))
            continue;
        box.InsertString(entries++, shownText(name));
    }
    return entries;
}

void CMemoDlg::ReloadList()
{
    m_listMemo.SetRedraw(FALSE);
    m_listMemo.Clear();
    // The detail pane keeps its text for now: the row selected below replaces it through the
    // selection report, and an empty list clears it. Emptying it here first would lay the same
    // body out twice after every Save.
    UpdateData(TRUE);

    const bool all = m_strFilterGroup == allGroups();
    bool searchRefused = false;
    QString searchText;
    if (m_bSearch)
        searchText = m_edtSearch.GetWindowTextW().trimmed();

    const std::int32_t count = DBI_MemGetValidRecordCount();
    const QString noTime = LoadStr(IDS_NO_TIME);
    int row = 0;
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        if (!all && m_strFilterGroup != shownCategory(memo))
            continue;
        const QString title = shownText(FieldText(memo.title));
        if (m_bSearch) {
            if (searchText.isEmpty()) {
                if (!searchRefused)
                    SkinMessageBox(LoadStr(IDS_EMPTY_SEARCH), LoadStr(IDS_MEMO_CAPTION), MB_OK, 0, this);
                searchRefused = true;
                continue;
            }
            if (!title.contains(searchText) && !shownText(FieldText(memo.content)).contains(searchText))
                continue;
        }
        m_listMemo.InsertItem(row, title);
        m_listMemo.SetItemText(
            row, 1, QString::fromStdU16String(FormatMemoTime(memo.stamp, noTime.toStdU16String())));
        m_listMemo.SetItemData(row, DWORD_PTR(std::uint32_t(memo.key)));
        ++row;
    }

    const int rows = m_listMemo.GetItemCount();
    if (rows > 0) {
        m_bNewMemo = FALSE;
        m_nSelItem = std::min(m_nSelItem, rows - 1);
        m_listMemo.EnsureVisible(m_nSelItem, FALSE);
        // Focused as well as selected, so that the arrow keys go on from this row.
        m_listMemo.SetItemState(m_nSelItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_btnFind.EnableWindow(TRUE);
    } else if (m_bSearch) {
        // Nothing matched: the whole category again; the search box keeps its text.
        m_bSearch = FALSE;
        m_listMemo.SetRedraw(TRUE);
        ReloadList();
        return;
    } else {
        m_btnFind.EnableWindow(FALSE);
        m_bNewMemo = TRUE;
        ClearDetail(DetailReset::AfterReload);
    }
    m_listMemo.SetRedraw(TRUE);
    m_listMemo.Invalidate(TRUE);
}

void CMemoDlg::ClearDetail(DetailReset reset)
{
    CPropertyDlg& detail = m_dlgProperty;
    detail.m_editTitle.SetSel(0, -1);
    detail.m_editTitle.ReplaceSel(QString());
    detail.m_editContent.SetSel(0, -1);
    detail.m_editContent.ReplaceSel(QString());
    if (reset == DetailReset::AfterDelete)
        detail.m_editContent.SetFocus();
    const int entries =
        FillWithStoredGroups(detail.m_comboGroup, GROUP_ALL,
                             reset == DetailReset::AfterReload ? GROUP_OTHER : std::u16string_view());
    const int entry = std::min(m_nGroupSel, entries);
    detail.m_comboGroup.SetCurSel(reset == DetailReset::AfterReload ? std::max(0, entry) : entry);
}

LRESULT CMemoDlg::OnListSelChange(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    m_bNewMemo = FALSE;
    POSITION pos = m_listMemo.GetFirstSelectedItemPosition();
    if (pos) {
        m_nSelItem = m_listMemo.GetNextSelectedItem(pos);
        ShowMemo(int(m_listMemo.GetItemData(m_nSelItem)));
    }
    return 0;
}

void CMemoDlg::ShowMemo(int nKey)
{
    MemoRecord memo{};
    DBI_MemReadRecord(nKey, &memo);
    CPropertyDlg& detail = m_dlgProperty;
    detail.UpdateData(TRUE);
    UpdateData(TRUE);

    detail.m_editTitle.SetWindowTextW(shownText(FieldText(memo.title)));
    detail.m_editContent.SetSel(0, -1);
    detail.m_editContent.ReplaceSel(shownText(FieldText(memo.content)));

    FillWithStoredGroups(detail.m_comboGroup, {});
    detail.m_strGroup = shownCategoryInBox(memo);
    detail.UpdateData(FALSE);
    UpdateData(FALSE);
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

void CMemoDlg::OnRefresh()
{
    m_edtSearch.SetWindowTextW(QString());
    m_bSearch = FALSE;
    ReloadList();
    UpdateStatus(FALSE);
}

void CMemoDlg::OnFindMemo()
{
    UpdateData(TRUE);
    if (m_edtSearch.GetWindowTextW().isEmpty()) {
        m_edtSearch.SetFocus();
        return;
    }
    m_bSearch = TRUE;
    ReloadList();
    m_edtSearch.SetFocus();
    UpdateStatus(FALSE);
}

void CMemoDlg::OnSearchSetFocus()
{
    if (m_edtSearch.GetWindowTextW() == LoadStr(IDS_SEARCH_PLACEHOLDER)) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
        m_edtSearch.SetWindowTextW(QString());
    }
}

void CMemoDlg::OnSearchKillFocus()
{
    if (m_edtSearch.GetWindowTextW().isEmpty()) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        m_edtSearch.SetWindowTextW(LoadStr(IDS_SEARCH_PLACEHOLDER));
    }
}

void CMemoDlg::OnSearchChange()
{
    // The edit reports no change that is made while its own change is being handled, so the
    // texts set here and by Refresh do not bring this handler back.
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
    OnRefresh();
    if (!searchHadFocus) {
        m_edtSearch.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        m_edtSearch.SetWindowTextW(placeholder);
    }
    m_edtSearch.SetFocus();
}
