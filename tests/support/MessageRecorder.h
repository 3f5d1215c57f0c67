#pragma once
// A dialog's stand-in for the kit's widget tests: it takes the window messages posted or sent to
// it and its controls' notifications, and records them in the order they come.
#include <INotifyTarget.h>
#include <WinMessage.h>

#include <QList>
#include <QPair>
#include <QWidget>

class MessageRecorder : public QWidget, public INotifyTarget
{
  public:
    using QWidget::QWidget;

    QList<UINT> messages;                  // message numbers
    QList<QPair<int, UINT>> notifications; // control id and notification code

    // The notification codes alone.
    QList<UINT> notificationCodes() const
    {
        QList<UINT> codes;
        for (const auto& [id, code] : notifications)
            codes << code;
        return codes;
    }

    bool OnControlNotify(int id, UINT code, QWidget* /*control*/, LRESULT* result) override
    {
        notifications << qMakePair(id, code);
        if (result)
            *result = 0;
        return true;
    }

  protected:
    bool event(QEvent* e) override
    {
        if (auto* m = dynamic_cast<CWinMessageEvent*>(e)) {
            messages << m->message();
            m->markDelivered();
            return true;
        }
        return QWidget::event(e);
    }
};
