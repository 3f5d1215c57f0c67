#include "InputTranslator.h"

#include "CDialog.h"
#include "FrameworkInternal.h"
#include "MSG.h"
#include "WinDefs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>

namespace {

// Bit 30 of a key message's lParam: the key was down before this message (an auto-repeat).
constexpr LPARAM kPreviousKeyState = LPARAM(1) << 30;

UINT virtualKey(int key)
{
    // Digits and letters are their own (upper-case) characters on both sides.
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return UINT(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + UINT(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
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
        s |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        s |= MK_RBUTTON;
    if (mods & Qt::ShiftModifier)
        s |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        s |= MK_CONTROL;
    if (buttons & Qt::MiddleButton)
        s |= MK_MBUTTON;
    return s;
}

// Turns input events into MSG records and offers them to the PreTranslateMessage of every dialog
// from the target window up to its top-level window, the way the framework's message loop does.
class InputTranslator : public QObject
{
  public:
    explicit InputTranslator(QObject* parent) : QObject(parent)
    {
        m_hoverTimer.setSingleShot(true);
        m_hoverTimer.setInterval(kHoverTime);
        connect(&m_hoverTimer, &QTimer::timeout, this, &InputTranslator::hovered);
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

  public:
    bool hoverPending() const { return m_hoverTimer.isActive(); }

  private:
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
            msg.lParam = k->isAutoRepeat() ? kPreviousKeyState : 0;
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

} // namespace

namespace framework {

namespace {
QPointer<InputTranslator> theTranslator;
} // namespace

void installInputTranslator()
{
    if (!theTranslator && qApp) {
        theTranslator = new InputTranslator(qApp); // owned by the application
        qApp->installEventFilter(theTranslator);
    }
}

bool hoverPending()
{
    return theTranslator && theTranslator->hoverPending();
}

} // namespace framework
