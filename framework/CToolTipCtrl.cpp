#include "CToolTipCtrl.h"

#include "TipWindow.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

#include <algorithm>

CToolTipCtrl::CToolTipCtrl()
{
    m_showTimer.setSingleShot(true);
    m_hideTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, [this] {
        if (!m_pending || !m_bActive)
            return;
        const QPoint pointer = QCursor::pos();
        if (!m_bMoved && m_lastPointer && *m_lastPointer == pointer) {
            // Not moved since it came onto the control (or the control came under it): wait on.
            m_showTimer.start(std::max(m_initialDelay, 100));
            return;
        }
        const QPoint local = m_pending->mapFromGlobal(pointer);
        if (!m_pending->rect().contains(local))
            return;
        if (const Tool* t = toolAt(m_pending, local))
            show(*t, pointer + QPoint(0, 16));
    });
    connect(&m_hideTimer, &QTimer::timeout, this, &CToolTipCtrl::Pop);
}

CToolTipCtrl::~CToolTipCtrl()
{
    for (const Tool& t : m_tools)
        if (t.window)
            t.window->removeEventFilter(this);
    delete m_tip.data();
}

BOOL CToolTipCtrl::Create(QWidget* parent, DWORD style)
{
    if (m_tip)
        return FALSE;
    m_style = style;
    m_tip = new TipWindow(parent); // a child of the dialog: it goes with it at the latest
    return TRUE;
}

QWidget* CToolTipCtrl::GetSafeHwnd() const
{
    return m_tip.data();
}

void CToolTipCtrl::Activate(BOOL activate)
{
    m_bActive = activate != FALSE;
    if (!m_bActive)
        Pop();
}

BOOL CToolTipCtrl::AddTool(QWidget* tool, const QString& text, const CRect* area, UINT id)
{
    if (!m_tip || !tool)
        return FALSE;
    DelTool(tool, id);
    m_tools.push_back({tool, id, text, area ? std::optional<CRect>(*area) : std::nullopt});
    tool->installEventFilter(this);
    tool->setAttribute(Qt::WA_Hover);
    return TRUE;
}

void CToolTipCtrl::DelTool(QWidget* tool, UINT id)
{
    std::erase_if(m_tools, [&](const Tool& t) { return !t.window || (t.window == tool && t.id == id); });
    if (m_current == tool)
        Pop();
}

void CToolTipCtrl::UpdateTipText(const QString& text, QWidget* tool, UINT id)
{
    for (Tool& t : m_tools)
        if (t.window == tool && t.id == id)
            t.text = text;
}

BOOL CToolTipCtrl::SetTitle(UINT icon, const QString& title)
{
    m_icon = icon;
    m_title = title;
    return TRUE;
}

void CToolTipCtrl::SetDelayTime(UINT duration, int milliseconds)
{
    if (duration == TTDT_INITIAL || duration == TTDT_AUTOMATIC)
        m_initialDelay = std::max(0, milliseconds);
    if (duration == TTDT_AUTOPOP || duration == TTDT_AUTOMATIC)
        m_autoPop = std::max(0, milliseconds);
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    if (!msg)
        return;
    switch (msg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
        Pop();
        break;
    default:
        break;
    }
}

QString CToolTipCtrl::GetText(QWidget* tool, UINT id) const
{
    for (const Tool& t : m_tools)
        if (t.window == tool && t.id == id)
            return t.text;
    return {};
}

bool CToolTipCtrl::IsTipVisible() const
{
    return m_tip && m_tip->isVisible();
}

bool CToolTipCtrl::ShowTip(QWidget* tool)
{
    for (const Tool& t : m_tools)
        if (t.window == tool) {
            const QRect area = t.area ? t.area->toQRect() : tool->rect();
            show(t, tool->mapToGlobal(QPoint(area.center().x(), area.bottom())));
            return true;
        }
    return false;
}

void CToolTipCtrl::Pop()
{
    m_showTimer.stop();
    m_hideTimer.stop();
    m_current = nullptr;
    if (m_currentWindow && std::none_of(m_tools.begin(), m_tools.end(),
                                        [this](const Tool& t) { return t.window == m_currentWindow; }))
        m_currentWindow->removeEventFilter(this);
    m_currentWindow = nullptr;
    if (m_tip)
        m_tip->hide();
}

const CToolTipCtrl::Tool* CToolTipCtrl::toolAt(QWidget* window, QPoint local) const
{
    for (const Tool& t : m_tools)
        if (t.window == window && (!t.area || t.area->PtInRect(local)))
            return &t;
    return nullptr;
}

void CToolTipCtrl::show(const Tool& tool, QPoint anchor)
{
    if (!m_tip || !tool.window || tool.text.isEmpty())
        return;
    QIcon icon;
    QStyle* style = QApplication::style();
    switch (m_icon) {
    case TTI_INFO:
        icon = style->standardIcon(QStyle::SP_MessageBoxInformation);
        break;
    case TTI_WARNING:
        icon = style->standardIcon(QStyle::SP_MessageBoxWarning);
        break;
    case TTI_ERROR:
        icon = style->standardIcon(QStyle::SP_MessageBoxCritical);
        break;
    default:
        break;
    }
    m_tip->setContent(icon, m_title, tool.text, IsBalloon(), m_maxWidth);
    m_tip->showAt(anchor);
    m_current = tool.window;
    m_currentWindow = tool.window->window();
    m_currentWindow->installEventFilter(this);
    if (m_autoPop > 0)
        m_hideTimer.start(m_autoPop);
}

void CToolTipCtrl::pointerOver(QWidget* window, QPoint global, bool entered)
{
    // Only a move counts: the events a control gets when it is laid out anew under a resting
    // pointer carry the position the pointer already had.
    if (entered || m_pending != window)
        m_bMoved = false;
    else if (m_lastPointer && *m_lastPointer != global)
        m_bMoved = true;
    m_lastPointer = global;
    m_pending = window;
    if (m_bActive && !IsTipVisible() && !m_showTimer.isActive())
        m_showTimer.start(m_initialDelay);
}

bool CToolTipCtrl::eventFilter(QObject* watched, QEvent* e)
{
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window)
        return false;
    if (window == m_currentWindow && window != m_current) {
        // The window of the shown tip: the balloon would point at a place that has gone.
        switch (e->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
            Pop();
            break;
        default:
            break;
        }
        if (std::none_of(m_tools.begin(), m_tools.end(),
                         [window](const Tool& t) { return t.window == window; }))
            return false;
    }
    switch (e->type()) {
    case QEvent::ToolTip:
        return true; // this control's tips are ours
    case QEvent::Enter: {
        const auto* enter = dynamic_cast<QEnterEvent*>(e);
        pointerOver(window, enter ? enter->globalPosition().toPoint() : QCursor::pos(), true);
        break;
    }
    case QEvent::HoverMove:
        pointerOver(window, window->mapToGlobal(static_cast<QHoverEvent*>(e)->position().toPoint()), false);
        break;
    case QEvent::MouseMove:
        pointerOver(window, static_cast<QMouseEvent*>(e)->globalPosition().toPoint(), false);
        break;
    case QEvent::Leave:
    case QEvent::HoverLeave:
        m_lastPointer.reset();
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
        // Laid out anew: a shown tip points at a place that has gone, and one on its way waits for
        // the pointer to move again.
        if (m_current == window)
            Pop();
        if (m_pending == window) {
            m_bMoved = false;
            m_lastPointer = QCursor::pos();
            if (m_bActive && !m_showTimer.isActive())
                m_showTimer.start(m_initialDelay);
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::Hide:
    case QEvent::FocusOut:
        if (m_pending == window || m_current == window) {
            m_pending = nullptr;
            Pop();
        }
        break;
    default:
        break;
    }
    return false;
}
