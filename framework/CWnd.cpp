#include "CWnd.h"

#include "CDialog.h"
#include "FrameworkInternal.h"
#include "INotifyTarget.h"

#include <QApplication>
#include <QGuiApplication>

INotifyTarget::~INotifyTarget() = default;

namespace {

std::optional<Qt::KeyboardModifiers> g_inputModifiers;

bool isIdName(const QString& name)
{
    if (name.isEmpty() || name.size() > 9)
        return false;
    for (QChar c : name)
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

namespace framework {

void setInputModifiers(std::optional<Qt::KeyboardModifiers> modifiers)
{
    g_inputModifiers = modifiers;
}

} // namespace framework

int GetDlgCtrlID(const QWidget* window)
{
    if (!window)
        return 0;
    const QString name = window->objectName();
    return isIdName(name) ? name.toInt() : 0;
}

void SetDlgCtrlID(QWidget* window, int id)
{
    if (window)
        window->setObjectName(QString::number(id));
}

QWidget* FindDlgItem(const QWidget* parent, int id)
{
    if (!parent)
        return nullptr;
    const QString name = QString::number(id);
    // Breadth first, so a control of this dialog wins over a deeper one, and never inside a
    // nested dialog: its ids are its own.
    QList<QWidget*> level = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    while (!level.isEmpty()) {
        QList<QWidget*> next;
        for (QWidget* w : level) {
            if (w->objectName() == name)
                return w;
            if (!qobject_cast<CDialog*>(w) && !w->isWindow())
                next += w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        }
        level = std::move(next);
    }
    return nullptr;
}

LRESULT NotifyParent(QWidget* control, UINT code)
{
    if (!control)
        return 0;
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (auto* target = dynamic_cast<INotifyTarget*>(w)) {
            LRESULT result = 0;
            target->OnControlNotify(GetDlgCtrlID(control), code, control, &result);
            return result;
        }
        if (w->isWindow())
            break;
    }
    return 0;
}

QWidget* GetFocus()
{
    return QApplication::focusWidget();
}

short GetKeyState(int virtualKey)
{
    const Qt::KeyboardModifiers m = g_inputModifiers.value_or(QGuiApplication::queryKeyboardModifiers());
    bool down = false;
    switch (virtualKey) {
    case VK_CONTROL:
        down = m.testFlag(Qt::ControlModifier);
        break;
    case VK_SHIFT:
        down = m.testFlag(Qt::ShiftModifier);
        break;
    case VK_MENU:
        down = m.testFlag(Qt::AltModifier);
        break;
    default:
        break;
    }
    return down ? short(0x8000) : short(0);
}

void MoveWindow(QWidget* window, int x, int y, int width, int height)
{
    if (window)
        window->setGeometry(x, y, std::max(0, width), std::max(0, height));
}

bool SetWindowPos(QWidget* window, const QWidget* /*insertAfter*/, int x, int y, int cx, int cy, UINT flags)
{
    // No insertAfter: Z order is the widgets' stacking order and stays as it is.
    if (!window)
        return false;
    const QRect g = window->isWindow() ? window->frameGeometry() : window->geometry();
    const QPoint pos = (flags & SWP_NOMOVE) ? g.topLeft() : QPoint(x, y);
    if (!(flags & SWP_NOSIZE))
        window->resize(std::max(0, cx), std::max(0, cy));
    if (!(flags & SWP_NOMOVE))
        window->move(pos);
    if (flags & SWP_SHOWWINDOW)
        window->show();
    if (flags & SWP_HIDEWINDOW)
        window->hide();
    return true;
}

bool ShowWindow(QWidget* window, int command)
{
    if (!window)
        return false;
    const bool was = window->isVisible();
    window->setVisible(command != SW_HIDE);
    return was;
}

bool EnableWindow(QWidget* window, bool enable)
{
    if (!window)
        return false;
    const bool wasDisabled = !window->isEnabled();
    window->setEnabled(enable);
    return wasDisabled;
}

CRect GetClientRect(const QWidget* window)
{
    return window ? CRect(0, 0, window->width(), window->height()) : CRect();
}

CRect GetWindowRect(const QWidget* window)
{
    if (!window)
        return {};
    if (window->isWindow())
        return CRect(window->frameGeometry());
    return CRect(QRect(window->mapToGlobal(QPoint(0, 0)), window->size()));
}

QWidget* SetFocus(QWidget* window)
{
    QWidget* previous = QApplication::focusWidget();
    if (window)
        window->setFocus(Qt::OtherFocusReason);
    return previous;
}
