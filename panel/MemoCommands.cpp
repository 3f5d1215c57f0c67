// The memo panel's commands that write memos: New (through the memo edit dialog), Save (of the
// detail pane), Delete, and the hidden bulk generator reached through New and Save.
#include "CMemoDlg.h"

#include "PanelText.h"

#include <CMemoEditDlg.h>
#include <DbiMemo.h>
#include <GroupLookup.h>
#include <LeadingInteger.h>
#include <LoadStr.h>
#include <MemoDraft.h>
#include <MemoTime.h>
#include <RecordText.h>
#include <SkinMessageBox.h>
#include <StoredGroups.h>
#include <TitleRule.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace panel;

namespace {

// A title that asks for test memos instead of one memo, when the body starts with a count.
constexpr char16_t BULK_KEYWORD[] = u"QUARTZLEDGER";

// What a memo filed under `category` carries in groupId, by the stored categories as they are now.
std::int32_t GroupIdOf(const QString& category)
{
    return GroupIdForNewMemo(ReadStoredGroups(), TextView(category));
}

// A delete that finds the memo gone already (another host deleted it) did what it was asked; one
// that cannot tell (the store could not be read) did not.
bool DeleteMemoRecord(std::int32_t key)
{
    return DBI_MemDeleteRecord(key) == 1 || MemoStore_MemoState(key) == 0;
}

// The text up to its first line break, as a one-line box shows it.
std::u16string_view FirstLine(std::u16string_view text)
{
    return text.substr(0, text.find_first_of(u"\r\n\u2028\u2029"));
}

} // namespace

void CMemoDlg::ReportWriteFailure(UINT textId)
{
    SkinMessageBox(LoadStr(textId), LoadStr(IDS_MEMO_CAPTION), MB_ICONEXCLAMATION, 0, this);
}

std::optional<QString> CMemoDlg::ApplyTitleRule(const QString& title, const QString& content)
{
    const QString hint = LoadStr(IDS_TITLE_HINT);
    if (const std::optional<std::u16string> stored =
            TitleToStore(TextView(title), TextView(content), TextView(hint)))
        return FromTextView(*stored);
    // Nothing is stored, and the pane stays what it was: a memo refused on Save is still the
    // shown memo, which the next Save changes rather than storing a copy beside it.
    SkinMessageBox(LoadStr(IDS_EMPTY_MEMO), LoadStr(IDS_MEMO_CAPTION), MB_OK, 0, this);
    m_dlgProperty.FocusBody();
    return std::nullopt;
}

int CMemoDlg::CreateMemo(const QString& title, const QString& content)
{
    m_bNewMemo = FALSE;
    // The record starts zero-filled, so no leftover memory reaches the store file; groupId names
    // the chosen category, so that deleting the category later finds the memo.
    const std::int32_t groupId = GroupIdOf(m_strNewGroup);
    const MemoRecord memo = NewMemoRecord(CurrentMemoTime(), TextView(m_strNewGroup), groupId,
                                          TextView(title), TextView(content));
    const std::int32_t key = DBI_MemRecycleWriteRecord(&memo);
    if (key == 0) {
        m_bNewMemo = TRUE; // still not stored: the next Save tries again
        ReportWriteFailure(IDS_SAVE_FAILED);
    } else {
        RememberShownVersion(memo); // the version the pane shows from now on
    }
    return key;
}

int CMemoDlg::ModifySelectedMemo(const QString& title, const QString& content)
{
    // The memo in the detail pane, which is the selected row's unless the pane brought back edits
    // of a memo the filter does not list.
    const std::int32_t key = m_nShownKey;
    if (key == 0)
        return NoMemoBehind;
    MemoRecord memo{};
    if (DBI_MemReadRecord(key, &memo) != 1) {
        if (MemoStore_MemoState(key) == 0)
            return NoMemoBehind;             // deleted meanwhile: the pane's text becomes a new memo
        ReportWriteFailure(IDS_SAVE_FAILED); // not readable now: nothing is written, not even a copy
        return 0;
    }
    // Changed elsewhere since the pane showed it: writing the pane over it would drop that change
    // unseen. The pane's text becomes a new memo beside it. (A category renamed or deleted meanwhile
    // changes only groupName, which the pane's category box settles.)
    if (memo.stamp != m_shownStamp || MemoTitle(memo) != m_shownTitle || MemoContent(memo) != m_shownBody) {
        if (!PaneHoldsEdits()) {
            ShowMemo(key); // nothing of the person's to keep: the pane shows the memo as it is now
            return key;
        }
        return ChangedElsewhere;
    }
    // The category as ShowMemo gave it to the detail pane: a Save that leaves it keeps groupId as
    // stored; another category takes that category's id, as a new memo would.
    const bool sameCategory = m_strNewGroup == shownCategoryInBox(memo);
    ApplySavedMemo(memo, CurrentMemoTime(), TextView(m_strNewGroup), TextView(title), TextView(content));
    if (!sameCategory)
        memo.groupId = GroupIdOf(m_strNewGroup);
    if (DBI_MemModifyRecord(key, &memo) != 1) {
        ReportWriteFailure(IDS_SAVE_FAILED);
        return 0;
    }
    RememberShownVersion(memo);
    return key;
}

void CMemoDlg::FinishStore(int nKey, bool asCopy)
{
    // What the pane holds is stored: the draft of it goes, and the pane counts as unedited while
    // the list is rebuilt.
    m_nShownKey = nKey;
    MarkPaneClean();
    m_draftTimer.stop();
    SyncDraft();
    ReloadList();
    SelectMemoByKey(nKey);
    m_listMemo.SetFocus();
    UpdateStatus(FALSE);
    if (asCopy)
        SkinMessageBox(LoadStr(IDS_SAVED_AS_COPY), LoadStr(IDS_MEMO_CAPTION), MB_ICONINFORMATION, 0, this);
}

bool CMemoDlg::RunBulkGenerator(const QString& title, const QString& content)
{
    if (title != QStringView(BULK_KEYWORD))
        return false;
    const int wanted = ReadLeadingInteger(TextView(content));
    if (wanted <= 0)
        return false;
    // The keyword and the count in the pane were a command, not edits to keep.
    MarkPaneClean();
    const int count = std::min(wanted, int(MAX_MEMO_COUNT) - DBI_MemGetValidRecordCount());
    const std::int32_t groupId = GroupIdOf(m_strNewGroup);
    for (int i = 0; i < count; ++i) {
        const std::u16string text = QString::number(i).toStdU16String() + u"_1";
        MemoRecord memo = NewMemoRecord(CurrentMemoTime(), TextView(m_strNewGroup), groupId, text, text);
        memo.reserved1 = memo.stamp;
        if (DBI_MemRecycleWriteRecord(&memo) == 0) {
            ReportWriteFailure(IDS_SAVE_FAILED);
            break;
        }
    }
    ReloadList();
    return true;
}

void CMemoDlg::OnNewMemo()
{
    if (MemoTableFull(DBI_MemGetValidRecordCount())) {
        SkinMessageBox(LoadStr(IDS_MEMO_TABLE_FULL), LoadStr(IDS_MEMO_CAPTION), MB_OK, 0, this);
        return;
    }
    if (m_pEditDlg && m_pEditDlg->GetSafeHwnd())
        return; // already open
    // The new memo will be shown in the pane: unsaved edits there are settled first.
    if (!SettlePaneEdits())
        return;
    m_bNewMemo = TRUE;

    if (!m_pEditDlg)
        m_pEditDlg = std::make_unique<CMemoEditDlg>(this);
    CMemoEditDlg& dlg = *m_pEditDlg;
    const QStringList categories = StoredGroupNames(GROUP_ALL);
    dlg.Prepare(LoadStr(IDS_TITLE_HINT), QString(), categories,
                std::min(m_nGroupSel, int(categories.size())));
    if (dlg.DoModal() == IDCANCEL) {
        // Nothing was created: a memo still shown in the pane is the one Save changes.
        m_bNewMemo = m_nShownKey == 0;
        return;
    }

    m_bSearch = FALSE;
    const QString title = dlg.GetTitle();
    const QString content = dlg.GetContent();
    UpdateData(TRUE);
    m_strNewGroup = dlg.GetGroup();
    if (RunBulkGenerator(title, content))
        return;
    const std::optional<QString> stored = ApplyTitleRule(title, content);
    if (!stored)
        return;
    // The person confirmed a new memo: it is stored, also when a reload while the dialog was open
    // (a change of user, say) left rows in the list and so marked the detail pane as not new.
    if (m_strNewGroup.isEmpty())
        m_strNewGroup = allGroups();
    const int key = CreateMemo(*stored, content);
    if (key == 0) {
        // Not stored: what the person wrote waits in the detail pane for Save.
        m_dlgProperty.PutEdits(
            {title == LoadStr(IDS_TITLE_HINT) ? QString() : title, content, m_strNewGroup});
        return;
    }
    FinishStore(key);
}

bool CMemoDlg::SaveMemo()
{
    m_bSearch = FALSE;
    const CPropertyDlg::Texts edits = m_dlgProperty.ReadEdits();
    QString title = FromTextView(TrimTrailingWhiteSpace(TextView(edits.title)));
    // A title of several lines (New makes one from a body of several) shows only its first line
    // in the one-line title box; left as it shows, it is kept whole, not cut to that line.
    if (!m_bNewMemo && m_nShownKey != 0 && title.size() < qsizetype(m_shownTitle.size()) &&
        TrimTrailingWhiteSpace(FirstLine(m_shownTitle)) == TextView(title))
        title = FromTextView(m_shownTitle);
    const QString content = FromTextView(TrimTrailingWhiteSpace(TextView(edits.body)));
    UpdateData(TRUE);
    m_strNewGroup = edits.group;
    if (RunBulkGenerator(title, content))
        return true;
    const std::optional<QString> stored = ApplyTitleRule(title, content);
    if (!stored)
        return false;
    // Without a memo behind the pane (Delete emptied the list, or another host deleted it
    // meanwhile), the pane's text becomes a new memo rather than being lost.
    int key = m_bNewMemo ? NoMemoBehind : ModifySelectedMemo(*stored, content);
    const bool asCopy = key == ChangedElsewhere;
    if (key < 0) {
        if (MemoTableFull(DBI_MemGetValidRecordCount())) {
            SkinMessageBox(LoadStr(IDS_MEMO_TABLE_FULL), LoadStr(IDS_MEMO_CAPTION), MB_OK, 0, this);
            return false; // the pane keeps what was typed
        }
        key = CreateMemo(*stored, content);
    }
    if (key == 0)
        return false; // reported; the pane keeps what was typed and the list stays as it was
    FinishStore(key, asCopy);
    return true;
}

void CMemoDlg::OnDeleteMemo()
{
    int row = 0;
    if (m_listMemo.GetSelectedCount() > 0) {
        std::vector<std::int32_t> keys;
        for (POSITION pos = m_listMemo.GetFirstSelectedItemPosition(); pos;)
            keys.push_back(std::int32_t(m_listMemo.GetItemData(m_listMemo.GetNextSelectedItem(pos))));
        // Edits of a memo that stays would be replaced by the row selected after the deletion.
        const bool paneMemoGoes =
            !m_bNewMemo && std::find(keys.begin(), keys.end(), m_nShownKey) != keys.end();
        if (!paneMemoGoes && PaneHoldsEdits()) {
            if (!SettlePaneEdits()) {
                SelectOnly(m_bNewMemo ? -1 : RowOfKey(m_nShownKey)); // the pane's memo, as before
                m_listMemo.SetFocus();
                return;
            }
            // Saving rebuilt the list: the rows to delete are selected again by their keys.
            SelectOnly(-1);
            for (int r = 0; r < m_listMemo.GetItemCount(); ++r)
                if (std::find(keys.begin(), keys.end(), std::int32_t(m_listMemo.GetItemData(r))) !=
                    keys.end())
                    m_listMemo.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
        }
        if (SkinMessageBox(LoadStr(IDS_DELETE_QUESTION), LoadStr(IDS_DELETE_CAPTION),
                           MB_YESNO | MB_ICONQUESTION, 0, this) != IDYES) {
            m_listMemo.SetFocus();
            return;
        }
        bool failed = false;
        POSITION pos = m_listMemo.GetFirstSelectedItemPosition();
        while (pos) {
            row = m_listMemo.GetNextSelectedItem(pos);
            const auto key = std::int32_t(m_listMemo.GetItemData(row));
            if (!DeleteMemoRecord(key)) {
                failed = true; // the row stays, and so does its memo
                continue;
            }
            if (key == m_nShownKey && !m_bNewMemo)
                MarkPaneClean(); // its edits went with it; the next row's memo replaces them
            m_listMemo.DeleteItem(row);
            const int rows = m_listMemo.GetItemCount();
            if (rows > 0 && row > rows - 1)
                row = rows - 1;
        }
        if (failed)
            ReportWriteFailure(IDS_DELETE_FAILED);
    }
    m_listMemo.EnsureVisible(row, FALSE);
    m_listMemo.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_listMemo.Invalidate(TRUE);
    if (m_listMemo.GetItemCount() == 0)
        ClearDetail(DetailReset::AfterDelete);
    m_listMemo.SetFocus();
    UpdateStatus(FALSE);
}

LRESULT CMemoDlg::OnListDelete(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    OnDeleteMemo();
    return 0;
}
