#pragma once
// Termination signals (SIGTERM at logout or shutdown, SIGHUP when the terminal goes, SIGINT for
// Ctrl+C) turned into an ordinary close of the application's windows, so that they take the same
// way out as 用户 → 退出: the panel keeps what it holds as a draft, the settings and the closing
// backup are written. Without this the process ends where it stands.
#include <QObject>

class QSocketNotifier;

class QuitSignals : public QObject
{
    Q_OBJECT
  public:
    // Catches the signals from now on; one object at a time.
    explicit QuitSignals(QObject* parent = nullptr);
    // Gives the signals their default action back.
    ~QuitSignals() override;

  Q_SIGNALS:
    // In the event loop, after one or more signals were caught.
    void received();

  private:
    QSocketNotifier* m_notifier = nullptr;
};
