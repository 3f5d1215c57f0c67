#include "CMemoGroupName.h"

#include "StoredGroups.h"
#include "ui_21029.h"

#include <CDataExchange.h>
#include <CDialogTemplate.h>
#include <CZorvaFont.h>
#include <GroupLookup.h>
#include <GroupRules.h>
#include <SkinMessageBox.h>
#include <TextView.h>
#include <WinDefs.h>

namespace {

constexpr int IDC_GROUP_PROMPT = 21030;
constexpr int IDC_GROUP_NAME = 21032;

constexpr int POPUP_WIDTH = 254;
constexpr int POPUP_HEIGHT = 161;
constexpr int BUTTON_WIDTH = 82;

QString trimmedSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

CMemoGroupName::CMemoGroupName(QWidget* pParent, int nMode) : CZorvaPoupDlg(IDD, pParent), m_nMode(nMode)
{
    SetPopupSize(POPUP_WIDTH, POPUP_HEIGHT);

    m_stcPrompt.SetInfo(CSkinRect(), 150, 20, CZorvaFont::GetInstance().GetDefaultLableFont(), 0, 0);
    m_edtName.SetEditInfo(CSkinRect(0, 0, 0, 0), CSkinRect(193, 118, 25, 24), CSkinRect(0, 0, 0, 0), 192, 0);
    m_edtName.SetBkColor(GetBkColor());
    m_stcPrompt.SetBkColor(GetBkColor());
    m_btnOK.SetBkColor(GetBkColor());
    m_btnCancel.SetBkColor(GetBkColor());
    m_btnOK.SetButtonInfo(CSkinRect(139, 396, 27, 18), CSkinRect(408, 107, 32, 32),
                          CSkinRect(504, 107, 32, 32), BUTTON_WIDTH, 0);
    m_btnCancel.SetButtonInfo(CSkinRect(112, 27, 27, 18), CSkinRect(408, 107, 32, 32),
                              CSkinRect(536, 107, 32, 32), BUTTON_WIDTH, 0);

    MapCommand(IDOK, &CMemoGroupName::OnOKButton);
    MapCommand(IDCANCEL, [this] { OnCancel(); });
}

CMemoGroupName::~CMemoGroupName() = default;

void CMemoGroupName::RegisterTemplate()
{
    CDialogTemplate::RegisterForm<Ui::MemoGroupNameForm>(IDD, WS_POPUP);
}

void CMemoGroupName::UnregisterTemplate()
{
    CDialogTemplate::Unregister(IDD);
}

void CMemoGroupName::DoDataExchange(CDataExchange* pDX)
{
    CZorvaPoupDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUP_NAME, m_edtName);
    DDX_Control(pDX, IDC_GROUP_PROMPT, m_stcPrompt);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Text(pDX, IDC_GROUP_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, MAX_INPUT_LEN);
}

BOOL CMemoGroupName::OnInitDialog()
{
    CZorvaPoupDlg::OnInitDialog();

    m_stcPrompt.MoveWindow(21, 24, 150, 20);
    m_edtName.MoveWindow(27, 44, 192, 24);
    m_btnOK.MoveWindow(11, 95, BUTTON_WIDTH, 32);
    m_btnOK.SetWindowTextW(QStringLiteral(u"确定"));
    m_btnCancel.MoveWindow(159, 95, BUTTON_WIDTH, 32);
    m_btnCancel.SetWindowTextW(QStringLiteral(u"取消"));

    m_edtName.SetWindowTextW(m_strName);
    m_edtName.SetFocus();

    SetWindowTextW(m_nMode == GROUP_NAME_EDIT ? QStringLiteral(u"编辑分类") : QStringLiteral(u"新建分类"));
    return TRUE;
}

void CMemoGroupName::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CZorvaPoupDlg::OnShowWindow(bShow, nStatus);
    if (bShow)
        m_edtName.SetFocus();
}

void CMemoGroupName::Refuse(const QString& text, const QString& caption, bool selectAll)
{
    SkinMessageBox(text, caption, MB_ICONEXCLAMATION, 0, this);
    if (selectAll)
        m_edtName.SetSel(0, -1);
    m_edtName.SetFocus();
}

void CMemoGroupName::OnOKButton()
{
    UpdateData(TRUE);
    m_strName = m_edtName.GetWindowTextW();

    if (m_strName.isEmpty()) {
        Refuse(QStringLiteral(u"分类名称不能为空！"), QStringLiteral(u"输入分类名称"));
        return;
    }
    // The reserved names are refused as typed; a padded one is caught by the callers' own check.
    if (IsReservedGroupName(TextView(m_strName))) {
        Refuse(QStringLiteral(u"分类名称无效,请重新输入！"), QStringLiteral(u"输入分类名称"));
        return;
    }
    m_strName = trimmedSpaces(m_strName);
    if (m_strName.isEmpty()) {
        Refuse(QStringLiteral(u"分类名称无效,请重新输入！"), QStringLiteral(u"提示"));
        return;
    }
    // A rename that leaves the preset untouched closes at once, with the field's text as it is.
    if (!m_edtName.GetModify()) {
        CDialog::OnOK();
        return;
    }
    // Compared as the record will keep it: a longer name is stored cut, and must not end up
    // beside an existing category of the same stored name.
    if (GroupNameTaken(ReadStoredGroups(), TextView(m_strName))) {
        Refuse(QStringLiteral(u"分类名称已存在,请重新输入！"), QStringLiteral(u"提示"), true);
        return;
    }
    CZorvaPoupDlg::OnOK();
}
