#pragma once
// Helpers of the end-to-end tests: the built module and host files, the documents as text, and
// a counter of the user-change messages that reach a panel.
#include "DocumentOutline.h"

#include <CXml.h>
#include <WinMessage.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QStringList>
#include <QXmlStreamReader>
#include <utility>

namespace e2e {

inline QString moduleFile()
{
    return QString::fromUtf8(MEMO_MODULE_FILE);
}

inline QString hostProgram()
{
    return QString::fromUtf8(MEMO_HOST_PROGRAM);
}

constexpr unsigned int WM_MEMO_UPDATEDATA = 0x590;

inline CXml document(const QString& text)
{
    CXml doc;
    if (!text.isEmpty())
        doc.SetDoc(text);
    return doc;
}

// Records the private messages of one number that reach an object; for the user-change message
// also the name it carries.
class MessageCounter : public QObject
{
  public:
    MessageCounter(QObject* target, unsigned int message) : m_message(message)
    {
        if (target)
            target->installEventFilter(this);
    }
    QStringList names;
    int count() const { return int(names.size()); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Type(m_message))
            return false;
        const auto* message = static_cast<CWinMessageEvent*>(event);
        if (m_message == WM_MEMO_UPDATEDATA && message->wParam())
            names.append(*reinterpret_cast<const QString*>(message->wParam()));
        else
            names.append(QString());
        return false;
    }

  private:
    unsigned int m_message;
};

inline void deliverPosted()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace e2e
