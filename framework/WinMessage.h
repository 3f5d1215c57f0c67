#pragma once
// Window messages on Qt: a message is a QEvent whose type is the message number (all private
// messages lie in Qt's application range 1000..65535) and which carries wParam and lParam.
#include "FrameworkExport.h"
#include "WinTypes.h"

#include <QEvent>
#include <functional>
#include <memory>
#include <unordered_map>

class QObject;

class FRAMEWORK_API CWinMessageEvent : public QEvent
{
  public:
    // `release` frees whatever the message owns; it runs when the event is destroyed without
    // having been delivered to a handler (the receiver died first, or nobody handles it).
    CWinMessageEvent(UINT message, WPARAM wParam, LPARAM lParam, std::function<void()> release = {});
    ~CWinMessageEvent() override;
    CWinMessageEvent(const CWinMessageEvent&) = delete;
    CWinMessageEvent& operator=(const CWinMessageEvent&) = delete;

    UINT message() const { return UINT(type()); }
    WPARAM wParam() const { return m_wParam; }
    LPARAM lParam() const { return m_lParam; }
    LRESULT result() const { return m_result; }
    void setResult(LRESULT r) { m_result = r; }
    // A handler ran: what the message owned is now the handler's.
    void markDelivered() { m_release = nullptr; }

  private:
    WPARAM m_wParam;
    LPARAM m_lParam;
    LRESULT m_result = 0;
    std::function<void()> m_release;
};

// Queues the message for `target`; it arrives later, after the messages posted before it.
// Returns false (and posts nothing) when there is no target.
FRAMEWORK_API bool PostMessage(QObject* target, UINT message, WPARAM wParam, LPARAM lParam);

// Posts a message whose wParam is the address of `payload`. The handler takes the object over
// (it must delete it); if the message is never handled the object is deleted with the event.
template <class T>
bool PostOwningMessage(QObject* target, UINT message, std::unique_ptr<T> payload, LPARAM lParam = 0);

FRAMEWORK_API bool PostMessageWithRelease(QObject* target, UINT message, WPARAM wParam, LPARAM lParam,
                                          std::function<void()> release);

// Delivers the message now and returns the handler's result (0 when nobody handles it).
FRAMEWORK_API LRESULT SendMessage(QObject* target, UINT message, WPARAM wParam, LPARAM lParam);

// A class's message table: message number -> member handler. A window class keeps one and feeds
// its event() through dispatch().
class FRAMEWORK_API CMessageMap
{
  public:
    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;

    void add(UINT message, Handler handler);
    bool handles(UINT message) const;
    // True when `event` is a window message with a handler here; the handler has then run.
    bool dispatch(QEvent* event);

  private:
    std::unordered_map<UINT, Handler> m_handlers;
};

template <class T>
bool PostOwningMessage(QObject* target, UINT message, std::unique_ptr<T> payload, LPARAM lParam)
{
    T* raw = payload.get();
    if (!PostMessageWithRelease(target, message, reinterpret_cast<WPARAM>(raw), lParam,
                                [raw] { delete raw; }))
        return false;
    payload.release(); // now owned by the queued event or, once handled, by the handler
    return true;
}
