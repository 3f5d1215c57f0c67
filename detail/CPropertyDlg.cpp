#include "CPropertyDlg.h"

#include "DrawingLog.h"
#include "ui_21001.h"

#include <CClientRect.h>
#include <CDC.h>
#include <CDataExchange.h>
#include <CDialogTemplate.h>
#include <CImage.h>
#include <CMemDC.h>
#include <CRes.h>
#include <CZorvaFont.h>
#include <LoadStr.h>
#include <MemoConstants.h>
#include <StringIds.h>

#include <QScrollBar>

namespace {

// Control ids of template 21001.
constexpr int IDC_EDIT_TITLE = 21013;
constexpr int IDC_COMBO_GROUP = 21014;
constexpr int IDC_STATIC_TITLE = 21015;
constexpr int IDC_STATIC_GROUP = 21016;
constexpr int IDC_EDIT_CONTENT = 21027;

// Areas of the common skin image: the panel's background strip (its top half, one middle row
// that is stretched to the panel's height, its bottom half) and the line under the category.
constexpr CSkinRect kBackStrip(0, 52, 269, 55);
constexpr CSkinRect kSeparator(0, 112, 262, 2);
constexpr QPoint kSeparatorAt(4, 91);

// Skin values of the title edit and the category picker.
constexpr CSkinRect kNoGlyph(0, 0, 0, 0);
constexpr CSkinRect kFieldFrame(193, 118, 25, 24);
constexpr CSkinRect kComboArrow(215, 25, 27, 18);
constexpr CSkinRect kComboArrowStates(107, 158, 27, 54);
constexpr int kFieldWidth = 162;
constexpr COLORREF kFieldBack = RGB(233, 242, 252);

const QString& drawMemDCName()
{
    static const QString name = QStringLiteral("CPropertyDlg::DrawMemDC()");
    return name;
}

const QString& eraseBkgndName()
{
    static const QString name = QStringLiteral("CPropertyDlg::OnEraseBkgnd");
    return name;
}

} // namespace

CPropertyDlg::CPropertyDlg()
    : CXTResizeDialog(IDD, nullptr, 0), m_crBack(RGB(243, 247, 251)), m_sizeBack(269, 55)
{
    m_editTitle.SetEditInfo(kNoGlyph, kFieldFrame, kNoGlyph, kFieldWidth, 0);
    m_comboGroup.SetEditComboBoxInfo(kComboArrow, kFieldFrame, kComboArrowStates, kFieldWidth);

    // The labels stand on the strip's middle row, so their background is that row stretched.
    const CSkinRect labelBack(kBackStrip.x + 28, kBackStrip.y + kBackStrip.height / 2, 41, 1);
    const LOGFONTW labelFont = CZorvaFont::GetInstance().GetMemoPropertyDlgTeamLableFont();
    m_staticTitle.SetInfo(labelBack, 41, 24, labelFont, RGB(0, 0, 0), 0);
    m_staticGroup.SetInfo(labelBack, 41, 24, labelFont, RGB(0, 0, 0), 0);

    m_editTitle.SetBkColor(kFieldBack);
    m_comboGroup.SetBkColor(kFieldBack);

    MapNotify(IDC_EDIT_TITLE, EN_KILLFOCUS, &CPropertyDlg::OnTitleKillFocus);
    MapNotify(IDC_EDIT_TITLE, EN_SETFOCUS, &CPropertyDlg::OnTitleSetFocus);
    MapNotify(IDC_EDIT_TITLE, EN_CHANGE, &CPropertyDlg::OnTitleChange);
}

CPropertyDlg::~CPropertyDlg()
{
    // Deleted with the memo panel, window and all: its controls must not call back into it.
    DetachBeforeDelete();
}

void CPropertyDlg::RegisterTemplate()
{
    CDialogTemplate::RegisterForm<Ui::PropertyForm>(IDD, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
}

void CPropertyDlg::UnregisterTemplate()
{
    CDialogTemplate::Unregister(IDD);
}

void CPropertyDlg::DoDataExchange(CDataExchange* pDX)
{
    CXTResizeDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_TITLE, m_editTitle);
    DDX_Control(pDX, IDC_COMBO_GROUP, m_comboGroup);
    DDX_Control(pDX, IDC_STATIC_TITLE, m_staticTitle);
    DDX_Control(pDX, IDC_STATIC_GROUP, m_staticGroup);
    DDX_Control(pDX, IDC_EDIT_CONTENT, m_editContent);
    DDX_Text(pDX, IDC_COMBO_GROUP, m_strGroup);
    // Checked on reading only. The picker takes no typing, so a limit on its field would do
    // nothing but cut a longer name that the program puts there, and a cut name would then be
    // saved as if it were the memo's category; read back whole, it is refused instead.
    if (pDX->m_bSaveAndValidate)
        DDV_MaxChars(pDX, m_strGroup, int(MAX_GROUP_NAME_LEN));
}

BOOL CPropertyDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    return CXTResizeDialog::PreTranslateMessage(pMsg);
}

BOOL CPropertyDlg::OnInitDialog()
{
    CXTResizeDialog::OnInitDialog();

    m_editTitle.SetEventMask(m_editTitle.GetEventMask() | ENM_CHANGE);

    m_tooltip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON);
    m_tooltip.Activate(TRUE);
    m_tooltip.AddTool(&m_editTitle, QStringLiteral(u"标题不得超过20个字！"), nullptr, 0);
    m_tooltip.AddTool(&m_editContent, QStringLiteral(u"正文内容不得超过500个字！"), nullptr, 0);
    m_tooltip.AddTool(&m_comboGroup, QStringLiteral(u"分组名称不得超过10个字！"), nullptr, 0);
    m_tooltip.SetTitle(TTI_INFO, QStringLiteral(u"提示"));

    m_editContent.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());

    const CClientRect client(this);
    const int W = client.Width();
    const int H = client.Height();

    m_staticTitle.SetWindowTextW(QStringLiteral(u"标题："));
    m_staticGroup.SetWindowTextW(QStringLiteral(u"分组："));
    m_editTitle.SetWindowTextW(QStringLiteral(u"全部"));

    m_editTitle.MoveWindow(71, 18, kFieldWidth, 24);
    m_editTitle.LimitText(long(MAX_TITLE_LEN));
    m_comboGroup.MoveWindow(71, 53, kFieldWidth, 24);
    m_staticTitle.MoveWindow(28, 22, 41, 24);
    m_staticGroup.MoveWindow(28, 57, 41, 24);
    m_editContent.MoveWindow(15, 103, W - 27, H - 118);

    m_editContent.LimitText(long(MAX_CONTENT_LEN));
    m_editContent.SetBackgroundColor(FALSE, RGB(255, 255, 255));

    SetResize(IDC_EDIT_TITLE, CXTResizePoint(0, 0), CXTResizePoint(0, 0));
    SetResize(IDC_COMBO_GROUP, CXTResizePoint(0, 0), CXTResizePoint(0, 0));
    SetResize(IDC_STATIC_TITLE, CXTResizePoint(0, 0), CXTResizePoint(0, 0));
    SetResize(IDC_STATIC_GROUP, CXTResizePoint(0, 0), CXTResizePoint(0, 0));
    SetResize(IDC_EDIT_CONTENT, CXTResizePoint(0, 0), CXTResizePoint(1, 1));

    m_comboGroup.SetEnableInput(FALSE);
    connect(&m_editTitle, &QTextEdit::textChanged, this, &CPropertyDlg::edited);
    connect(&m_editContent, &QTextEdit::textChanged, this, &CPropertyDlg::edited);
    connect(&m_comboGroup, &QComboBox::currentTextChanged, this, &CPropertyDlg::edited);

    SetAccessibleNames();
    DrawMemDC();
    return TRUE;
}

void CPropertyDlg::SetAccessibleNames()
{
    // A screen reader tells the fields apart by these.
    m_editTitle.setAccessibleName(QStringLiteral(u"标题"));
    m_comboGroup.setAccessibleName(QStringLiteral(u"分组"));
    m_editContent.setAccessibleName(QStringLiteral(u"内容"));
}

void CPropertyDlg::FillCategories(const QStringList& categories)
{
    m_comboGroup.ResetContent();
    for (int i = 0; i < int(categories.size()); ++i)
        m_comboGroup.InsertString(i, categories[i]);
}

void CPropertyDlg::ShowMemo(const Texts& memo, const QStringList& categories)
{
    UpdateData(TRUE);
    m_editTitle.SetWindowTextW(memo.title);
    m_editContent.SetSel(0, -1);
    m_editContent.ReplaceSel(memo.body);
    // A memo is read from its start: the caret at the first character, scrolled there, not at
    // the end where putting the texts in left it.
    m_editTitle.SetSel(0, 0);
    m_editContent.SetSel(0, 0);
    m_editTitle.horizontalScrollBar()->setValue(0);
    m_editContent.verticalScrollBar()->setValue(0);

    FillCategories(categories);
    m_strGroup = memo.group;
    UpdateData(FALSE);
}

void CPropertyDlg::Clear(const QStringList& categories, int selected, bool focusBody)
{
    m_editTitle.SetSel(0, -1);
    m_editTitle.ReplaceSel(QString());
    m_editContent.SetSel(0, -1);
    m_editContent.ReplaceSel(QString());
    if (focusBody)
        m_editContent.SetFocus();
    FillCategories(categories);
    m_comboGroup.SetCurSel(selected);
}

void CPropertyDlg::PutEdits(const Texts& edits)
{
    m_editTitle.SetWindowTextW(edits.title);
    m_editContent.SetSel(0, -1);
    m_editContent.ReplaceSel(edits.body);
    m_strGroup = edits.group;
    UpdateData(FALSE);
}

CPropertyDlg::Texts CPropertyDlg::ReadEdits()
{
    Texts edits{m_editTitle.GetWindowTextW(), m_editContent.GetWindowTextW(), QString()};
    UpdateData(TRUE);
    edits.group = m_strGroup;
    return edits;
}

void CPropertyDlg::MarkClean()
{
    m_clean = ReadTexts();
}

bool CPropertyDlg::HoldsEdits(bool stored) const
{
    if (!GetSafeHwnd())
        return false;
    const Texts now = ReadTexts();
    if (!stored)
        return now.title != m_clean.title || now.body != m_clean.body;
    return now != m_clean;
}

void CPropertyDlg::FocusBody()
{
    m_editContent.SetFocus();
}

CPropertyDlg::Texts CPropertyDlg::ReadTexts() const
{
    QString title = m_editTitle.GetWindowTextW();
    if (title == LoadStr(IDS_TITLE_HINT))
        title.clear();
    return {title, m_editContent.GetWindowTextW(), m_comboGroup.currentText()};
}

void CPropertyDlg::DrawMemDC()
{
    CClientDC dc(this);
    CDC memDC;
    if (!memDC.CreateCompatibleDC(&dc))
        LogDrawingFailure(DrawingResource::MemoryDC, drawMemDCName());

    if (!m_bmpBack.GetSafeHandle()) {
        const int w = m_sizeBack.width();
        const int h = m_sizeBack.height();
        if (!m_bmpBack.CreateCompatibleBitmap(&dc, w, h))
            LogDrawingFailure(DrawingResource::Bitmap, drawMemDCName());
        CBitmap* oldBitmap = memDC.SelectObject(&m_bmpBack);
        memDC.FillSolidRect(0, 0, w, h, m_crBack);
        const CImage strip(CRes::GetInstance().Skin(QRect(kBackStrip.x, kBackStrip.y, w, h)));
        strip.AlphaBlend(&memDC, 0, 0, w, h, 0, 0, w, h);
        memDC.SelectObject(oldBitmap);
        ++m_nStripRenders;
    }
    memDC.DeleteDC();
}

BOOL CPropertyDlg::OnEraseBkgnd(CDC* pDC)
{
    const CClientRect client(this);
    const int h = client.Height();
    const int stripWidth = m_sizeBack.width();
    const int half = m_sizeBack.height() / 2;

    CClientDC dc(this);
    CDC memDC;
    if (!memDC.CreateCompatibleDC(&dc))
        LogDrawingFailure(DrawingResource::MemoryDC, eraseBkgndName());
    CBitmap* oldBitmap = memDC.SelectObject(&m_bmpBack);
    {
        CMemDC buffer(*pDC, client);
        buffer.FillSolidRect(client, m_crBack);
        buffer.BitBlt(0, 0, stripWidth, half, &memDC, 0, 0, SRCCOPY);
        buffer.StretchBlt(0, half, stripWidth, h - m_sizeBack.height() + 1, &memDC, 0, half, stripWidth, 1,
                          SRCCOPY);
        buffer.BitBlt(0, h - half, stripWidth, half, &memDC, 0, m_sizeBack.height() - half, SRCCOPY);
        const CImage separator(CRes::GetInstance().Skin(kSeparator));
        separator.AlphaBlend(&buffer, kSeparatorAt.x(), kSeparatorAt.y(), kSeparator.width, kSeparator.height,
                             0, 0, kSeparator.width, kSeparator.height);
        memDC.SelectObject(oldBitmap);
    } // all of it reaches the screen in one step, with the rest of the paint event
    memDC.DeleteDC();
    return TRUE;
}

void CPropertyDlg::OnPaint()
{
    // Everything is drawn on erase.
}

void CPropertyDlg::OnTitleKillFocus()
{
    if (m_editTitle.GetWindowTextW().isEmpty()) {
        m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        m_editTitle.SetWindowTextW(LoadStr(IDS_TITLE_HINT));
    }
}

void CPropertyDlg::OnTitleSetFocus()
{
    if (m_editTitle.GetWindowTextW() == LoadStr(IDS_TITLE_HINT)) {
        m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
        m_editTitle.SetWindowTextW(QString());
    }
}

void CPropertyDlg::OnTitleChange()
{
    const QString hint = LoadStr(IDS_TITLE_HINT);
    const QString text = m_editTitle.GetWindowTextW();
    if (text == hint)
        return;
    const bool focused = GetFocus() == &m_editTitle;
    if (!text.isEmpty()) {
        // A real title is never drawn in the hint's grey, also when the program puts it there
        // while the focus is elsewhere (a memo shown after the hint was).
        m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetDefaultRichEditFont());
        if (focused)
            m_editTitle.SetFocus();
    } else if (!focused) {
        m_editTitle.SetDefaultCharFormat(CZorvaFont::GetInstance().GetSearchRichEditDefaultFont());
        m_editTitle.SetWindowTextW(hint);
        m_editTitle.SetFocus();
    }
}
