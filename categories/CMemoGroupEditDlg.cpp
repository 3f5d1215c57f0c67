#include "CMemoGroupEditDlg.h"

#include "CMemoGroupName.h"
#include "StoredGroups.h"
#include "ui_21003.h"

#include <CDataExchange.h>
#include <CDialogTemplate.h>
#include <DbiMemo.h>
#include <GroupNameTable.h>
#include <GroupRules.h>
#include <LoadStr.h>
#include <MemoGroups.h>
#include <MemoRules.h>
#include <MemoTime.h>
#include <SkinMessageBox.h>
#include <StringIds.h>
#include <TextView.h>
#include <WinDefs.h>

#include <algorithm>

namespace {

constexpr int IDC_GROUP_LIST = 21023;
constexpr int IDC_BTN_NEW_GROUP = 21024;
constexpr int IDC_BTN_EDIT_GROUP = 21025;
constexpr int IDC_BTN_DELETE_GROUP = 21026;

constexpr int POPUP_WIDTH = 486;
constexpr int POPUP_HEIGHT = 329;
constexpr int OK_WIDTH = 75;
constexpr int COMMAND_WIDTH = 95;
constexpr int BUTTON_HEIGHT = 32;

// Keys are 32-bit; list rows carry them as item data.
DWORD_PTR keyData(std::int32_t key)
{
    return static_cast<DWORD_PTR>(static_cast<std::uint32_t>(key));
}

std::int32_t keyOf(DWORD_PTR data)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(data));
}

// The stored memos that `change` alters (it returns whether it did), as altered, in store order.
template <class Change> std::vector<MemoRecord> changedMemos(Change change)
{
    std::vector<MemoRecord> changed;
    const std::int32_t count = DBI_MemGetValidRecordCount();
    for (std::int32_t order = 1; order <= count; ++order) {
        MemoRecord memo{};
        if (DBI_MemReadRecordByOrder(order, &memo) && change(memo))
            changed.push_back(memo);
    }
    return changed;
}

std::int32_t countOf(const std::vector<MemoRecord>& memos)
{
    return static_cast<std::int32_t>(memos.size());
}

} // namespace

CMemoGroupEditDlg::CMemoGroupEditDlg(QWidget* pParent) : CZorvaPoupDlg(IDD, pParent)
{
    SetPopupSize(POPUP_WIDTH, POPUP_HEIGHT);

    const COLORREF back = GetBkColor();
    for (CZorvaIconBtton* button : {&m_btnOK, &m_btnCancel, &m_btnNew, &m_btnEdit, &m_btnDelete})
        button->SetBkColor(back);
    m_btnOK.SetButtonInfo(CSkinRect(139, 396, 27, 18), CSkinRect(408, 107, 32, 32),
                          CSkinRect(504, 107, 32, 32), OK_WIDTH, 0);
    m_btnCancel.SetButtonInfo(CSkinRect(112, 27, 27, 18), CSkinRect(408, 107, 32, 32),
                              CSkinRect(536, 107, 32, 32), OK_WIDTH, 0);
    m_btnNew.SetButtonInfo(CSkinRect(169, 27, 27, 18), CSkinRect(408, 107, 32, 32),
                           CSkinRect(472, 107, 32, 32), COMMAND_WIDTH, 0);
    m_btnEdit.SetButtonInfo(CSkinRect(243, 26, 27, 18), CSkinRect(408, 107, 32, 32),
                            CSkinRect(440, 107, 32, 32), COMMAND_WIDTH, 0);
    m_btnDelete.SetButtonInfo(CSkinRect(133, 372, 27, 18), CSkinRect(408, 107, 32, 32),
                              CSkinRect(536, 107, 32, 32), COMMAND_WIDTH, 0);

    MapCommand(IDOK, [this] { OnOK(); });
    MapCommand(IDC_BTN_NEW_GROUP, &CMemoGroupEditDlg::OnNewGroup);
    MapCommand(IDC_BTN_EDIT_GROUP, &CMemoGroupEditDlg::OnEditGroup);
    MapCommand(IDC_BTN_DELETE_GROUP, &CMemoGroupEditDlg::OnDeleteGroup);
    MapCommand(IDCANCEL, [this] { OnCancel(); });
}

CMemoGroupEditDlg::~CMemoGroupEditDlg() = default;

void CMemoGroupEditDlg::RegisterTemplate()
{
    CDialogTemplate::RegisterForm<Ui::MemoGroupEditForm>(IDD, WS_POPUP);
}

void CMemoGroupEditDlg::UnregisterTemplate()
{
    CDialogTemplate::Unregister(IDD);
}

void CMemoGroupEditDlg::DoDataExchange(CDataExchange* pDX)
{
    CZorvaPoupDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUP_LIST, m_wndGroupList);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_BTN_NEW_GROUP, m_btnNew);
    DDX_Control(pDX, IDC_BTN_EDIT_GROUP, m_btnEdit);
    DDX_Control(pDX, IDC_BTN_DELETE_GROUP, m_btnDelete);
}

BOOL CMemoGroupEditDlg::OnInitDialog()
{
    CZorvaPoupDlg::OnInitDialog();

    m_wndGroupList.MoveWindow(10, 6, 466, 256);
    m_btnOK.MoveWindow(316, 263, OK_WIDTH, BUTTON_HEIGHT);
    m_btnOK.SetWindowTextW(QStringLiteral(u"确定"));
    m_btnCancel.MoveWindow(396, 263, OK_WIDTH, BUTTON_HEIGHT);
    m_btnCancel.SetWindowTextW(QStringLiteral(u"取消"));
    m_btnNew.MoveWindow(13, 263, COMMAND_WIDTH, BUTTON_HEIGHT);
    m_btnNew.SetWindowTextW(QStringLiteral(u"新建组"));
    m_btnEdit.MoveWindow(113, 263, COMMAND_WIDTH, BUTTON_HEIGHT);
    m_btnEdit.SetWindowTextW(QStringLiteral(u"编辑组"));
    m_btnDelete.MoveWindow(213, 263, COMMAND_WIDTH, BUTTON_HEIGHT);
    m_btnDelete.SetWindowTextW(QStringLiteral(u"删除组"));

    m_wndGroupList.DeleteAllItems();
    LoadGroupCache();
    FillGroupList();
    m_wndGroupList.SetFocus();
    return TRUE;
}

void CMemoGroupEditDlg::LoadGroupCache()
{
    m_groupCache = ReadStoredGroups();
}

void CMemoGroupEditDlg::FillGroupList()
{
    m_wndGroupList.SetRedraw(FALSE);
    m_wndGroupList.DeleteAllItems();

    for (const MemoGroupRecord& group : ReadStoredGroups()) {
        if (IsPseudoGroupName(GroupName(group)))
            continue;
        const int row = m_wndGroupList.InsertString(-1, FromTextView(GroupName(group)));
        m_wndGroupList.SetItemData(row, keyData(group.key));
    }

    const int rows = m_wndGroupList.GetCount();
    const BOOL any = rows > 0 ? TRUE : FALSE;
    if (any) {
        m_nSelRow = std::min(m_nSelRow, rows - 1);
        m_wndGroupList.SetTopIndex(m_nSelRow);
        m_wndGroupList.SetCurSel(m_nSelRow);
    }
    m_btnDelete.EnableWindow(any);
    m_btnEdit.EnableWindow(any);
    m_btnOK.EnableWindow(any);

    m_wndGroupList.SetRedraw(TRUE);
    m_wndGroupList.UpdateWindow();
    m_wndGroupList.Invalidate(TRUE);
}

void CMemoGroupEditDlg::ShowStoredGroups(bool written)
{
    LoadGroupCache();
    FillGroupList();
    if (!written)
        SkinMessageBox(LoadStr(IDS_GROUP_NOT_SAVED), LoadStr(IDS_GROUP_CAPTION), MB_ICONEXCLAMATION, 0, this);
}

bool CMemoGroupEditDlg::AskName(int nMode, const QString& preset, QString& name)
{
    CMemoGroupName dlg(this, nMode);
    dlg.SetName(preset);
    if (dlg.DoModal() != IDOK)
        return false;
    name = dlg.Name();
    return true;
}

void CMemoGroupEditDlg::OnNewGroup()
{
    if (GroupTableFull(m_groupCache)) {
        SkinMessageBox(QStringLiteral(u"分类数目已达到最大，请清除一些后再新建！"),
                       QStringLiteral(u"分类提示"), MB_OK, 0, this);
        return;
    }

    QString name;
    bool accepted = AskName(GROUP_NAME_NEW, QString(), name);
    // "所有" is refused with the pseudo-categories: the name dialog lets a padded one through.
    while (accepted && IsReservedGroupName(TextView(name))) {
        SkinMessageBox(FormatStr(LoadStr(IDS_CREATE_RESERVED), name), LoadStr(IDS_GROUP_CAPTION), MB_OK, 0,
                       this);
        accepted = AskName(GROUP_NAME_NEW, QString(), name);
    }

    if (accepted) {
        const MemoGroupRecord group = NewGroupRecord(CurrentMemoTime(), TextView(name));
        ShowStoredGroups(DBI_MemGroupRecycleWriteRecord(&group) != 0);
    }
    m_wndGroupList.SetFocus();
}

void CMemoGroupEditDlg::OnEditGroup()
{
    const int row = m_wndGroupList.GetCurSel();
    if (row < 0) {
        m_wndGroupList.SetFocus();
        return;
    }
    const QString oldName = m_wndGroupList.GetText(row);
    const DWORD_PTR itemData = m_wndGroupList.GetItemData(row);
    const auto cached =
        std::find_if(m_groupCache.begin(), m_groupCache.end(),
                     [itemData](const MemoGroupRecord& group) { return group.key == keyOf(itemData); });
    if (cached == m_groupCache.end()) {
        m_wndGroupList.SetFocus();
        return;
    }

    QString newName;
    bool accepted = AskName(GROUP_NAME_EDIT, oldName, newName);
    while (accepted && newName != oldName && IsReservedGroupName(TextView(newName))) {
        SkinMessageBox(FormatStr(LoadStr(IDS_RENAME_RESERVED), newName), LoadStr(IDS_GROUP_CAPTION), MB_OK, 0,
                       this);
        accepted = AskName(GROUP_NAME_EDIT, oldName, newName);
    }
    if (!accepted || newName == oldName) {
        m_wndGroupList.SetFocus();
        return;
    }

    // The category and the memos filed under its old name change together or not at all.
    MemoGroupRecord renamed = *cached;
    RenameGroupRecord(renamed, TextView(newName));
    const std::vector<MemoRecord> memos = changedMemos(
        [&](MemoRecord& memo) { return RenameMemoGroup(memo, TextView(oldName), TextView(newName)); });
    ShowStoredGroups(MemoStore_GroupRename(keyOf(itemData), &renamed, memos.data(), countOf(memos)) != 0);
    m_wndGroupList.SetFocus();
}

void CMemoGroupEditDlg::OnDeleteGroup()
{
    m_nSelRow = m_wndGroupList.GetCurSel();
    if (m_nSelRow < 0) {
        m_wndGroupList.SetFocus();
        return;
    }
    const QString name = m_wndGroupList.GetText(m_nSelRow);
    if (SkinMessageBox(FormatStr(QStringLiteral(u"删除分类 %s ?"), name), QStringLiteral(u"删除分类"),
                       MB_YESNO | MB_ICONQUESTION, 0, this) != IDYES) {
        m_wndGroupList.SetFocus();
        return;
    }
    const std::int32_t key = keyOf(m_wndGroupList.GetItemData(m_nSelRow));

    GroupNameTable names;
    for (const MemoGroupRecord& group : ReadStoredGroups())
        names.Add(group);

    // The memos move to "其它" in the same transaction that deletes the category and packs the table.
    const std::vector<MemoRecord> memos =
        changedMemos([&](MemoRecord& memo) { return MoveMemoOfDeletedGroup(memo, names, TextView(name)); });
    const bool written = MemoStore_GroupDelete(key, memos.data(), countOf(memos)) != 0;

    m_wndGroupList.DeleteAllItems();
    ShowStoredGroups(written);
    m_wndGroupList.SetFocus();
}
