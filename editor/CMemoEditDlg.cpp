#include "CMemoEditDlg.h"

#include "ui_21005.h"

#include <CDataExchange.h>
#include <CDialogTemplate.h>
#include <CZorvaFont.h>
#include <LoadStr.h>
#include <MemoConstants.h>
#include <SkinMessageBox.h>
#include <StringIds.h>
#include <WinDefs.h>

namespace {

// Control ids of template 21005.
constexpr int IDC_EDIT_TITLE = 21034;
constexpr int IDC_COMBO_GROUP = 21035;
constexpr int IDC_EDIT_CONTENT = 21036;
constexpr int IDC_STATIC_TITLE = 21037;
constexpr int IDC_STATIC_GROUP = 21038;
constexpr int IDC_STATIC_CONTENT = 21039;

constexpr int POPUP_WIDTH = 486;
constexpr int POPUP_HEIGHT = 389;
constexpr int BUTTON_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 32;
constexpr int FIELD_WIDTH = 192;
constexpr int CONTENT_WIDTH = 466;
constexpr int LABEL_WIDTH = 100;
constexpr int LABEL_HEIGHT = 20;

// Skin areas of the fields, the picker's arrow and the buttons.
constexpr CSkinRect kNone(0, 0, 0, 0);
constexpr CSkinRect kFieldFrame(193, 118, 25, 24);
constexpr CSkinRect kComboArrow(215, 25, 27, 18);
constexpr CSkinRect kComboArrowStates(107, 158, 27, 54);
constexpr CSkinRect kButtonFace(408, 107, 32, 32);

} // namespace

CMemoEditDlg::CMemoEditDlg(QWidget* owner) : CZorvaPoupDlg(IDD, owner)
{
    SetPopupSize(POPUP_WIDTH, POPUP_HEIGHT);

    const COLORREF back = GetBkColor();
    m_comboGroup.SetBkColor(back);
    m_staticTitle.SetBkColor(back);
    m_staticGroup.SetBkColor(back);
    m_staticContent.SetBkColor(back);
    m_editTitle.SetBkColor(back);
    m_editContent.SetBkColor(back);
    m_btnOK.SetBkColor(back);
    m_btnCancel.SetBkColor(back);

    m_editTitle.SetEditInfo(kNone, kFieldFrame, kNone, FIELD_WIDTH, 0);
    m_editContent.SetEditInfo(kNone, kFieldFrame, kNone, CONTENT_WIDTH, 0);
    m_comboGroup.SetEditComboBoxInfo(kComboArrow, kFieldFrame, kComboArrowStates, FIELD_WIDTH);
    const LOGFONTW labelFont = CZorvaFont::GetInstance().GetDefaultLableFont();
    for (CZorvaStatic* label : {&m_staticTitle, &m_staticGroup, &m_staticContent})
        label->SetInfo(kNone, LABEL_WIDTH, LABEL_HEIGHT, labelFont, RGB(0, 0, 0), 0);
    m_btnOK.SetButtonInfo(CSkinRect(139, 396, 27, 18), kButtonFace, CSkinRect(504, 107, 32, 32), BUTTON_WIDTH,
                          0);
    m_btnCancel.SetButtonInfo(CSkinRect(112, 27, 27, 18), kButtonFace, CSkinRect(536, 107, 32, 32),
                              BUTTON_WIDTH, 0);

    MapNotify(IDC_EDIT_TITLE, EN_SETFOCUS, &CMemoEditDlg::OnTitleSetFocus);
    MapNotify(IDC_EDIT_TITLE, EN_KILLFOCUS, &CMemoEditDlg::OnTitleKillFocus);
    MapNotify(IDC_EDIT_TITLE, EN_CHANGE, &CMemoEditDlg::OnTitleChange);
    MapNotify(IDC_EDIT_CONTENT, EN_CHANGE, &CMemoEditDlg::OnContentChange);
    MapNotify(IDC_COMBO_GROUP, EN_SELCHANGE, &CMemoEditDlg::OnGroupSelChange);
    MapCommand(IDOK, &CMemoEditDlg::OnOKButton);
    MapCommand(IDCANCEL, &CMemoEditDlg::OnCancelButton);
}

CMemoEditDlg::~CMemoEditDlg() = default;

void CMemoEditDlg::RegisterTemplate()
{
    CDialogTemplate::RegisterForm<Ui::MemoEditForm>(IDD, WS_POPUP);
}

void CMemoEditDlg::UnregisterTemplate()
{
    CDialogTemplate::Unregister(IDD);
}

QString CMemoEditDlg::GetTitle()
{
    if (GetSafeHwnd())
        UpdateData(TRUE);
    return m_strTitle;
}

QString CMemoEditDlg::GetGroup()
{
    if (GetSafeHwnd())
        UpdateData(TRUE);
    return m_strGroup;
}

QString CMemoEditDlg::GetContent()
{
    if (GetSafeHwnd())
        UpdateData(TRUE);
    return m_strContent;
}

void CMemoEditDlg::Prepare(const QString& title, const QString& content, const QStringList& categories,
                           int selected)
{
    m_strTitle = title;
    m_strContent = content;
    // Left empty, so that the first exchange takes the preselected entry.
    m_strGroup.clear();
    m_comboGroup.ResetContent();
    for (int i = 0; i < int(categories.size()); ++i)
        m_comboGroup.InsertString(i, categories[i]);
    m_comboGroup.SetCurSel(selected);
}

void CMemoEditDlg::DoDataExchange(CDataExchange* pDX)
{
    CZorvaPoupDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATIC_TITLE, m_staticTitle);
    DDX_Control(pDX, IDC_STATIC_GROUP, m_staticGroup);
    DDX_Control(pDX, IDC_EDIT_TITLE, m_editTitle);
    DDX_Control(pDX, IDC_COMBO_GROUP, m_comboGroup);
    DDX_Control(pDX, IDC_EDIT_CONTENT, m_editContent);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_STATIC_CONTENT, m_staticContent);
    DDX_Text(pDX, IDC_EDIT_TITLE, m_strTitle);
    DDX_Text(pDX, IDC_COMBO_GROUP, m_strGroup);
    DDX_Text(pDX, IDC_EDIT_CONTENT, m_strContent);
}

BOOL CMemoEditDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    return CZorvaPoupDlg::PreTranslateMessage(pMsg);
}

BOOL CMemoEditDlg::OnInitDialog()
{
    SetWindowPos(nullptr, 0, 0, POPUP_WIDTH, POPUP_HEIGHT, SWP_NOMOVE | SWP_NOZORDER);
    // The caller fills and preselects the picker but leaves m_strGroup empty; the first exchange
    // would otherwise blank the preselected entry's text, and the memo would lose its category.
    if (m_strGroup.isEmpty())
        m_strGroup = m_comboGroup.GetWindowTextW();
    if (m_bOpenedBefore)
        StartAgain();
    CZorvaPoupDlg::OnInitDialog();
    // What the texts went through before (an earlier memo, say) cannot be brought back.
    m_editTitle.EmptyUndoBuffer();
    m_editContent.EmptyUndoBuffer();

    m_editTitle.SetEventMask(m_editTitle.GetEventMask() | ENM_CHANGE);
    m_editContent.SetEventMask(m_editContent.GetEventMask() | ENM_CHANGE);

    SetWindowTextW(LoadStr(IDS_EDIT_CAPTION));

    m_btnOK.MoveWindow(316, 325, BUTTON_WIDTH, BUTTON_HEIGHT);
    m_btnCancel.MoveWindow(396, 325, BUTTON_WIDTH, BUTTON_HEIGHT);
    m_btnOK.SetWindowTextW(LoadStr(IDS_OK));
    m_btnCancel.SetWindowTextW(LoadStr(IDS_CANCEL));

    // The category row stands above the title row.
    m_staticGroup.MoveWindow(10, 24, LABEL_WIDTH, LABEL_HEIGHT);
    m_staticTitle.MoveWindow(10, 54, LABEL_WIDTH, LABEL_HEIGHT);
    m_staticContent.MoveWindow(10, 84, LABEL_WIDTH, LABEL_HEIGHT);
    m_comboGroup.MoveWindow(110, 19, FIELD_WIDTH, 24);
    m_editTitle.MoveWindow(110, 49, FIELD_WIDTH, 24);
    m_editContent.MoveWindow(10, 109, CONTENT_WIDTH, 209);

    m_comboGroup.LimitText(int(MAX_GROUP_NAME_LEN));
    m_editTitle.SendMessage(EM_EXLIMITTEXT, 0, LPARAM(MAX_TITLE_LEN));
    m_editContent.SendMessage(EM_EXLIMITTEXT, 0, LPARAM(MAX_CONTENT_LEN));

    m_tooltip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON);
    m_tooltip.Activate(TRUE);
    m_tooltip.AddTool(&m_editTitle, LoadStr(IDS_TIP_TITLE), nullptr, 0);
    m_tooltip.AddTool(&m_editContent, LoadStr(IDS_TIP_CONTENT), nullptr, 0);
    m_tooltip.AddTool(&m_comboGroup, LoadStr(IDS_TIP_GROUP), nullptr, 0);
    m_tooltip.SetTitle(TTI_INFO, LoadStr(IDS_TIP_CAPTION));

    m_comboGroup.SetEnableInput(FALSE);
    m_comboGroup.SetEventMask(ENM_SELCHANGE);

    // Names for assistive technology: the fields are named after their labels, which carry the
    // counters in their text.
    m_comboGroup.setAccessibleName(QStringLiteral(u"分组"));
    m_editTitle.setAccessibleName(QStringLiteral(u"标题"));
    m_editContent.setAccessibleName(QStringLiteral(u"内容"));
    m_btnOK.setAccessibleName(m_btnOK.GetWindowTextW());
    m_btnCancel.setAccessibleName(m_btnCancel.GetWindowTextW());
    const std::array labels{&m_staticGroup, &m_staticTitle, &m_staticContent};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!m_bOpenedBefore)
            m_labelTexts[i] = labels[i]->GetWindowTextW();
        SetLabel(*labels[i], m_labelTexts[i]);
    }
    m_bOpenedBefore = true;
    return TRUE;
}

void CMemoEditDlg::StartAgain()
{
    // Back to how a new dialog starts: the title in its plain font (the grey of the hint may be
    // left from the last focus change), the focus to go to the title, no tip showing. The labels
    // get their template texts back at the end of OnInitDialog.
    m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
    m_bFirstShow = 1;
    m_tooltip.Pop();
}

void CMemoEditDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CZorvaPoupDlg::OnShowWindow(bShow, nStatus);
    if (bShow && m_bFirstShow) {
        m_editTitle.SetFocus();
        m_bFirstShow = 0;
    }
}

void CMemoEditDlg::SetLabel(CZorvaStatic& label, const QString& text)
{
    label.SetWindowTextW(text);
    label.setAccessibleName(text);
}

void CMemoEditDlg::OnTitleSetFocus()
{
    // The focus also leaves while the window closes; the members then keep what OK or Cancel read.
    if (!GetSafeHwnd() || isHidden())
        return;
    UpdateData(TRUE);
    if (m_strTitle == LoadStr(IDS_TITLE_HINT)) {
        m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
        m_strTitle.clear();
    }
    UpdateData(FALSE);
}

void CMemoEditDlg::OnTitleKillFocus()
{
    if (!GetSafeHwnd() || isHidden())
        return;
    UpdateData(TRUE);
    if (m_strTitle.isEmpty()) {
        m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        m_strTitle = LoadStr(IDS_TITLE_HINT);
    }
    UpdateData(FALSE);
}

void CMemoEditDlg::OnTitleChange()
{
    UpdateData(TRUE);
    const QString hint = LoadStr(IDS_TITLE_HINT);
    if (m_strTitle != hint) {
        const bool focused = GetFocus() == &m_editTitle;
        if (!m_strTitle.isEmpty() && focused) {
            m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
            m_editTitle.SetFocus();
        } else if (m_strTitle.isEmpty() && !focused) {
            m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
            m_strTitle = hint;
            // Written back before the focus moves, so that gaining it finds the hint to clear.
            UpdateData(FALSE);
            m_editTitle.SetFocus();
        }
    }
    SetLabel(m_staticTitle,
             FormatStr(LoadStr(IDS_TITLE_COUNTER), int(m_strTitle.size()), int(MAX_TITLE_LEN)));
    UpdateData(FALSE);
}

void CMemoEditDlg::OnContentChange()
{
    UpdateData(TRUE);
    SetLabel(m_staticContent,
             FormatStr(LoadStr(IDS_CONTENT_COUNTER), int(m_strContent.size()), int(MAX_CONTENT_LEN)));
}

LRESULT CMemoEditDlg::OnGroupSelChange()
{
    // The chosen name reaches m_strGroup through the text binding at the next exchange.
    return 0;
}

void CMemoEditDlg::OnOKButton()
{
    UpdateData(TRUE);
    if (m_strTitle.isEmpty() || m_strTitle == LoadStr(IDS_TITLE_HINT)) {
        if (m_strContent.trimmed().isEmpty()) {
            SkinMessageBox(LoadStr(IDS_EMPTY_MEMO), LoadStr(IDS_MEMO_CAPTION), MB_OK, 0, this);
            return;
        }
    }
    CZorvaPoupDlg::OnOK();
}

void CMemoEditDlg::OnCancelButton()
{
    UpdateData(TRUE);
    CZorvaPoupDlg::OnCancel();
}
