#include "CDialog.h"

#include "CDC.h"
#include "CDataExchange.h"
#include "CDialogTemplate.h"
#include "FrameworkTestSeams.h"
#include "InputTranslator.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

namespace {

QPointer<QWidget> g_defaultParent;

} // namespace

CDialog::CDialog(UINT templateId, QWidget* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
    framework::installInputTranslator();
}

CDialog::~CDialog() = default;

void CDialog::SetDefaultParent(QWidget* parent)
{
    g_defaultParent = parent;
}

QWidget* CDialog::DefaultParent()
{
    return g_defaultParent;
}

bool CDialog::createWindow(QWidget* parent, bool child)
{
    if (m_bHasWindow || !CDialogTemplate::IsRegistered(m_nIDTemplate))
        return false;
    if (!parent)
        parent = m_pParentWnd ? m_pParentWnd : DefaultParent();
    if (parent == this)
        parent = nullptr;
    setParent(parent, child ? Qt::Widget
                            : Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                  Qt::WindowSystemMenuHint);
    if (!m_bTemplateLoaded) {
        if (!CDialogTemplate::Load(m_nIDTemplate, this))
            return false;
        m_bTemplateLoaded = true;
        for (QWidget* w : findChildren<QWidget*>())
            if (::GetDlgCtrlID(w))
                HookControl(w);
    }
    m_bHasWindow = true;
    m_bEndRequested = false;
    return true;
}

void CDialog::runInitDialog()
{
    m_bInitDone = false;
    OnInitDialog();
    m_bInitDone = true;
}

BOOL CDialog::Create(UINT templateId, QWidget* parent)
{
    if (templateId)
        m_nIDTemplate = templateId;
    const DWORD style = CDialogTemplate::Style(m_nIDTemplate);
    const bool child = (style & WS_CHILD) || (!(style & WS_POPUP) && m_bChildByDefault);
    if (!createWindow(parent, child))
        return FALSE;
    runInitDialog();
    if (m_bHasWindow && (style & WS_VISIBLE))
        show();
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (!createWindow(nullptr, false))
        return -1;
    m_nModalResult = IDCANCEL;
    m_bInModalLoop = true;
    runInitDialog();
    int result = m_nModalResult;
    if (!m_bEndRequested && m_bHasWindow) {
        setWindowModality(Qt::ApplicationModal);
        if (FrameworkTest::ModalDriver* driver = FrameworkTest::activeModalDriver())
            driver->dialogStarting(this);
        exec();
        result = m_bEndRequested ? m_nModalResult : IDCANCEL;
    }
    m_bInModalLoop = false;
    hide();
    if (m_bHasWindow) {
        m_bHasWindow = false;
        m_bInitDone = false;
        OnNcDestroy();
    }
    return result;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bEndRequested = true;
    if (m_bInModalLoop)
        done(result);
    else
        hide();
}

BOOL CDialog::DestroyWindow()
{
    if (!m_bHasWindow)
        return FALSE;
    if (m_bInModalLoop) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_bHasWindow = false;
    m_bInitDone = false;
    hide();
    OnNcDestroy(); // last: the dialog may delete itself here
    return TRUE;
}

void CDialog::DetachBeforeDelete()
{
    m_bHasWindow = false;
    m_bInitDone = false;
    ++m_nLockout; // for good: no control is heard from any more
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    ++m_nLockout;
    DoDataExchange(&dx);
    --m_nLockout;
    return dx.Failed() ? FALSE : TRUE;
}

void CDialog::GotoDlgCtrl(QWidget* control)
{
    if (!control)
        return;
    control->setFocus(Qt::TabFocusReason);
}

void CDialog::HookControl(QWidget* control)
{
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (!button || button->property("frameworkHooked").toBool())
        return;
    button->setProperty("frameworkHooked", true);
    connect(button, &QAbstractButton::clicked, this, [this, button] {
        LRESULT r = 0;
        OnControlNotify(::GetDlgCtrlID(button), BN_CLICKED, button, &r);
    });
}

void CDialog::MapMessage(UINT message, CMessageMap::Handler handler)
{
    m_messageMap.add(message, std::move(handler));
}

void CDialog::MapCommand(int id, std::function<void()> handler)
{
    MapNotify(id, BN_CLICKED, [handler = std::move(handler)] {
        handler();
        return LRESULT(0);
    });
}

void CDialog::MapNotify(int id, UINT code, std::function<LRESULT()> handler)
{
    m_notifyMap[{id, code}] = std::move(handler);
}

bool CDialog::dispatchCommand(int id, UINT code, QWidget* /*control*/, LRESULT* result)
{
    const auto it = m_notifyMap.find({id, code});
    if (it != m_notifyMap.end()) {
        const auto handler = it->second; // a handler may change the map
        *result = handler();
        return true;
    }
    if (code == BN_CLICKED && id == IDOK) {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnControlNotify(int id, UINT code, QWidget* control, LRESULT* result)
{
    *result = 0;
    // While the dialog exchanges data its controls' notifications are ignored, so a handler that
    // writes its members back does not run itself again.
    if (m_nLockout > 0 && control)
        return true;
    return dispatchCommand(id, code, control, result);
}

BOOL CDialog::PreTranslateMessage(MSG* /*pMsg*/)
{
    return FALSE;
}

void CDialog::accept()
{
    LRESULT r = 0;
    dispatchCommand(IDOK, BN_CLICKED, nullptr, &r);
}

void CDialog::reject()
{
    LRESULT r = 0;
    dispatchCommand(IDCANCEL, BN_CLICKED, nullptr, &r);
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/)
{
}

void CDialog::OnShowWindow(BOOL /*bShow*/, UINT /*nStatus*/)
{
}

BOOL CDialog::OnEraseBkgnd(CDC* /*pDC*/)
{
    return FALSE;
}

void CDialog::OnPaint()
{
}

void CDialog::OnContextMenu(QWidget* /*pWnd*/, QPoint /*pos*/)
{
}

void CDialog::OnNcDestroy()
{
}

bool CDialog::event(QEvent* e)
{
    if (m_messageMap.dispatch(e))
        return true;
    return QDialog::event(e);
}

void CDialog::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (m_bInitDone)
        OnSize(SIZE_RESTORED, width(), height());
}

void CDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous() && m_bHasWindow)
        OnShowWindow(TRUE, 0);
}

void CDialog::hideEvent(QHideEvent* e)
{
    QDialog::hideEvent(e);
    if (!e->spontaneous() && m_bHasWindow)
        OnShowWindow(FALSE, 0);
}

void CDialog::paintEvent(QPaintEvent* /*e*/)
{
    QPainter painter(this);
    m_activePainter = &painter;
    {
        CDC dc(&painter);
        if (!OnEraseBkgnd(&dc))
            painter.fillRect(rect(), palette().window());
    }
    OnPaint();
    m_activePainter = nullptr;
}

QWidget* CDialog::defaultButton() const
{
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->isDefault() && b->window() == window() && !b->isHidden() &&
            FindDlgItem(this, ::GetDlgCtrlID(b)) == b)
            return b;
    return nullptr;
}

void CDialog::keyPressEvent(QKeyEvent* e)
{
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        // Enter is the default button's command (IDOK when there is none to press).
        if (QWidget* def = defaultButton()) {
            if (def->isEnabled())
                static_cast<QPushButton*>(def)->click();
        } else
            accept();
        e->accept();
        return;
    }
    if (plain && e->key() == Qt::Key_Escape) {
        reject();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void CDialog::contextMenuEvent(QContextMenuEvent* e)
{
    QWidget* target = childAt(e->pos());
    OnContextMenu(target ? target : this, e->globalPos());
    e->accept();
}
