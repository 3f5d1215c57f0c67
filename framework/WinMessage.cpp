#include "WinMessage.h"

#include <QCoreApplication>
#include <QObject>

CWinMessageEvent::CWinMessageEvent(UINT message, WPARAM wParam, LPARAM lParam, std::function<void()> release)
    : QEvent(QEvent::Type(message)), m_wParam(wParam), m_lParam(lParam), m_release(std::move(release))
{
    Q_ASSERT(message >= QEvent::User && message <= QEvent::MaxUser);
}

CWinMessageEvent::~CWinMessageEvent()
{
    if (m_release)
        m_release();
}

bool PostMessageWithRelease(QObject* target, UINT message, WPARAM wParam, LPARAM lParam,
                            std::function<void()> release)
{
    if (!target)
        return false;
    // Qt owns posted events: it deletes this one after delivery, or with the receiver.
    QCoreApplication::postEvent(target, new CWinMessageEvent(message, wParam, lParam, std::move(release)));
    return true;
}

bool PostMessage(QObject* target, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageWithRelease(target, message, wParam, lParam, {});
}

LRESULT SendMessage(QObject* target, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!target)
        return 0;
    CWinMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.result();
}

void CMessageMap::add(UINT message, Handler handler)
{
    m_handlers[message] = std::move(handler);
}

bool CMessageMap::handles(UINT message) const
{
    return m_handlers.contains(message);
}

bool CMessageMap::dispatch(QEvent* event)
{
    auto* message = dynamic_cast<CWinMessageEvent*>(event);
    if (!message)
        return false;
    const auto it = m_handlers.find(message->message());
    if (it == m_handlers.end())
        return false;
    message->markDelivered();
    // Copy: a handler may change the table or destroy the window that owns it.
    const Handler handler = it->second;
    message->setResult(handler(message->wParam(), message->lParam()));
    return true;
}
