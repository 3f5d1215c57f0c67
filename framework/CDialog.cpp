#include "CDialog.h"

#include "CDC.h"
#include "CDataExchange.h"
#include "CDialogTemplate.h"
#include "FrameworkInternal.h"
#include "FrameworkTestSeams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

namespace {

QPointer<QWidget> g_defaultParent;

UINT virtualKey(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return UINT(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return UINT(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

LPARAM packPoint(QPoint p)
{
    return LPARAM((unsigned(p.x()) & 0xFFFFu) | ((unsigned(p.y()) & 0xFFFFu) << 16));
}

WPARAM mouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM s = 0;
    if (buttons & Qt::LeftButton)
        s |= 0x0001;
    if (buttons & Qt::RightButton)
        s |= 0x0002;
    if (mods & Qt::ShiftModifier)
        s |= 0x0004;
    if (mods & Qt::ControlModifier)
        s |= 0x0008;
    if (buttons & Qt::MiddleButton)
        s |= 0x0010;
    return s;
}

// Turns input events into MSG records and offers them to the PreTranslateMessage of every dialog
// from the target window up to its top-level window, the way the framework's message loop does.
class PreTranslateFilter : public QObject
{
  public:
    explicit PreTranslateFilter(QObject* parent) : QObject(parent)
    {
        m_hoverTimer.setSingleShot(true);
        m_hoverTimer.setInterval(kHoverTime);
        connect(&m_hoverTimer, &QTimer::timeout, this, &PreTranslateFilter::hovered);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        auto* receiver = qobject_cast<QWidget*>(watched);
        if (!receiver)
            return false;
        trackHover(receiver, e);
        MSG msg;
        if (!translate(receiver, e, msg) || isPropagation(receiver, e))
            return false;
        remember(receiver, e);
        return offer(receiver, msg);
    }

  private:
    // The pointer hovers when it rests on a window for the hover time without moving further than
    // a few pixels, as the platform defines it; passing over a window is no hover.
    static constexpr int kHoverTime = 400;
    static constexpr int kHoverSlop = 4;

    static bool offer(QWidget* receiver, MSG& msg)
    {
        for (QPointer<QWidget> w = receiver; w; w = w->parentWidget()) {
            if (auto* dialog = qobject_cast<CDialog*>(w.data()); dialog && dialog->GetSafeHwnd())
                if (dialog->PreTranslateMessage(&msg))
                    return true;
            if (!w || w->isWindow())
                break;
        }
        return false;
    }

    void trackHover(QWidget* receiver, QEvent* e)
    {
        switch (e->type()) {
        case QEvent::Enter:
            armHover(receiver, static_cast<QEnterEvent*>(e)->globalPosition().toPoint());
            break;
        case QEvent::MouseMove: {
            const QPoint at = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            if (receiver != m_hoverTarget || (at - m_hoverAt).manhattanLength() > kHoverSlop)
                armHover(receiver, at);
            break;
        }
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            if (receiver == m_hoverTarget)
                m_hoverTimer.stop();
            break;
        default:
            break;
        }
    }

    void armHover(QWidget* receiver, QPoint at)
    {
        m_hoverTarget = receiver;
        m_hoverAt = at;
        m_hoverTimer.start();
    }

    void hovered()
    {
        QWidget* target = m_hoverTarget;
        if (!target || !target->isVisible())
            return;
        MSG msg;
        msg.hwnd = target;
        msg.message = WM_MOUSEHOVER;
        msg.pt = m_hoverAt;
        msg.lParam = packPoint(target->mapFromGlobal(m_hoverAt));
        offer(target, msg);
    }

    QTimer m_hoverTimer;
    QPointer<QWidget> m_hoverTarget;
    QPoint m_hoverAt;

    static bool translate(QWidget* receiver, QEvent* e, MSG& msg)
    {
        msg.hwnd = receiver;
        msg.event = e;
        // The cursor position is asked for only where the event does not carry it: under X11
        // QCursor::pos() is a round trip to the server, far too slow for every event.
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(e);
            msg.pt = QCursor::pos();
            framework::setInputModifiers(k->modifiers());
            msg.message = e->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
            msg.wParam = virtualKey(k->key());
            msg.lParam = k->isAutoRepeat() ? LPARAM(1) << 30 : 0;
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            framework::setInputModifiers(m->modifiers());
            const bool right = m->button() == Qt::RightButton;
            switch (e->type()) {
            case QEvent::MouseButtonPress:
                msg.message = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
                break;
            case QEvent::MouseButtonRelease:
                msg.message = right ? WM_RBUTTONUP : WM_LBUTTONUP;
                break;
            case QEvent::MouseButtonDblClick:
                msg.message = WM_LBUTTONDBLCLK;
                break;
            default:
                msg.message = WM_MOUSEMOVE;
                break;
            }
            msg.wParam = mouseKeyState(m->buttons(), m->modifiers());
            msg.lParam = packPoint(m->position().toPoint());
            msg.pt = m->globalPosition().toPoint();
            return true;
        }
        case QEvent::Wheel: {
            auto* w = static_cast<QWheelEvent*>(e);
            framework::setInputModifiers(w->modifiers());
            msg.message = WM_MOUSEWHEEL;
            const int delta = w->angleDelta().y() ? w->angleDelta().y() : w->angleDelta().x();
            msg.wParam =
                (WPARAM(unsigned(delta) & 0xFFFFu) << 16) | mouseKeyState(w->buttons(), w->modifiers());
            msg.pt = w->globalPosition().toPoint();
            msg.lParam = packPoint(msg.pt);
            return true;
        }
        case QEvent::Leave:
            msg.message = WM_MOUSELEAVE;
            msg.pt = QCursor::pos();
            return true;
        default:
            return false;
        }
    }

    // Qt offers an ignored key or mouse event to the parents of its target as well; the platform
    // delivers it once, so only the first delivery counts. A propagation always goes to a parent:
    // an event for the same widget is a new one, even where it reuses the address of the last
    // one (key events are made on the stack, so consecutive presses often share it).
    bool isPropagation(QWidget* receiver, QEvent* e) const
    {
        if (!m_lastReceiver || e->type() != m_lastType || receiver == m_lastReceiver ||
            !receiver->isAncestorOf(m_lastReceiver))
            return false;
        if (e == m_lastEvent)
            return true;
        if (auto* in = dynamic_cast<QSinglePointEvent*>(e))
            return in->timestamp() == m_lastTimestamp && in->globalPosition() == m_lastGlobal;
        return false;
    }

    void remember(QWidget* receiver, QEvent* e)
    {
        m_lastReceiver = receiver;
        m_lastType = e->type();
        m_lastEvent = e;
        if (auto* in = dynamic_cast<QSinglePointEvent*>(e)) {
            m_lastTimestamp = in->timestamp();
            m_lastGlobal = in->globalPosition();
        }
    }

    QPointer<QWidget> m_lastReceiver;
    QEvent::Type m_lastType = QEvent::None;
    const QEvent* m_lastEvent = nullptr;
    quint64 m_lastTimestamp = 0;
    QPointF m_lastGlobal;
};

void installPreTranslateFilter()
{
    static QPointer<QObject> filter;
    if (!filter && qApp) {
        filter = new PreTranslateFilter(qApp); // owned by the application
        qApp->installEventFilter(filter);
    }
}

} // namespace

CDialog::CDialog(UINT templateId, QWidget* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
    installPreTranslateFilter();
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

bool CDialog::dispatchCommand(int id, UINT code, QWidget* control, LRESULT* result)
{
    static_cast<void>(control);
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

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    static_cast<void>(pMsg);
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

void CDialog::DoDataExchange(CDataExchange* pDX)
{
    static_cast<void>(pDX);
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

void CDialog::OnSize(UINT nType, int cx, int cy)
{
    static_cast<void>(nType);
    static_cast<void>(cx);
    static_cast<void>(cy);
}

void CDialog::OnShowWindow(BOOL bShow, UINT nStatus)
{
    static_cast<void>(bShow);
    static_cast<void>(nStatus);
}

BOOL CDialog::OnEraseBkgnd(CDC* pDC)
{
    static_cast<void>(pDC);
    return FALSE;
}

void CDialog::OnPaint()
{
}

void CDialog::OnContextMenu(QWidget* pWnd, QPoint pos)
{
    static_cast<void>(pWnd);
    static_cast<void>(pos);
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

void CDialog::paintEvent(QPaintEvent* e)
{
    static_cast<void>(e);
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
