#pragma once
// Runs CalDAV sync for the user whose store is open: when the settings arrive, a few seconds after
// each change of the memos, every five minutes and on demand; one run at a time, in a thread of its
// own, so the window never waits for the server. A run that changed the store has the module reload
// (its pane keeps unsaved edits). The status bar shows when the last run ended, or why it failed.
#include "CalDavSync.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

class Q_DECL_EXPORT SyncController : public QObject
{
    Q_OBJECT
  public:
    static constexpr int kPeriodMs = 5 * 60 * 1000;
    static constexpr int kAfterChangeMs = 3000;

    explicit SyncController(std::function<void()> storeChanged, QObject* parent = nullptr);
    ~SyncController() override;

    // The settings of the user whose store is open; an empty server turns sync off.
    void useSettings(const SyncSettings& settings);
    const SyncSettings& settings() const { return m_settings; }
    bool enabled() const { return !m_settings.server.isEmpty(); }

    void syncNow();
    // Breaks off a run under way and waits for it; call before the open store is closed or replaced.
    void stop();
    bool running() const { return m_thread != nullptr; }
    QString statusText() const { return m_status; }
    const SyncReport& lastReport() const { return m_report; }

  Q_SIGNALS:
    void statusChanged(const QString& text);
    void finished(const SyncReport& report);

  private:
    static void OnChange(void* context);
    void runFinished();
    void setStatus(const QString& text);

    std::function<void()> m_storeChanged;
    SyncSettings m_settings;
    QTimer m_period;
    QTimer m_soon;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
    SyncReport m_report;
    SyncReport m_running; // written by the thread, read after it ended
    bool m_again = false; // asked for while a run was under way
    QString m_status;
};
