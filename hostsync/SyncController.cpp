#include "SyncController.h"

#include <MemoStore.h>

#include <QThread>
#include <QTime>

using namespace Qt::StringLiterals;

SyncController::SyncController(std::function<void()> storeChanged, QObject* parent)
    : QObject(parent), m_storeChanged(std::move(storeChanged))
{
    m_period.setInterval(kPeriodMs);
    connect(&m_period, &QTimer::timeout, this, &SyncController::syncNow);
    m_soon.setSingleShot(true);
    m_soon.setInterval(kAfterChangeMs);
    connect(&m_soon, &QTimer::timeout, this, &SyncController::syncNow);
    MemoStore_SetChangeHook(&SyncController::OnChange, this);
}

SyncController::~SyncController()
{
    MemoStore_SetChangeHook(nullptr, nullptr);
    stop();
}

void SyncController::OnChange(void* context)
{
    // Inside the store's call, maybe on the sync's own thread: only start the timer, from the UI's.
    auto* self = static_cast<SyncController*>(context);
    QMetaObject::invokeMethod(
        self,
        [self] {
            if (self->enabled())
                self->m_soon.start();
        },
        Qt::QueuedConnection);
}

void SyncController::useSettings(const SyncSettings& settings)
{
    stop();
    m_settings = settings;
    m_report = {};
    if (!enabled()) {
        m_period.stop();
        m_soon.stop();
        setStatus({});
        return;
    }
    m_period.start();
    syncNow();
}

void SyncController::syncNow()
{
    if (!enabled())
        return;
    if (m_thread) {
        m_again = true;
        return;
    }
    m_soon.stop();
    m_cancel = false;
    setStatus(u"正在同步…"_s);
    const SyncSettings settings = m_settings;
    m_thread.reset(QThread::create([this, settings] { m_running = RunSync(settings, &m_cancel); }));
    QThread* thread = m_thread.get();
    // A run that stop() already finished with must not take a later run's place.
    connect(thread, &QThread::finished, this, [this, thread] {
        if (m_thread.get() == thread)
            runFinished();
    });
    thread->start();
}

void SyncController::stop()
{
    if (!m_thread)
        return;
    m_cancel = true;
    m_thread->wait();
    m_again = false;
    runFinished();
}

void SyncController::runFinished()
{
    if (!m_thread)
        return; // stop() has handled it already
    m_thread->wait();
    m_thread.reset();
    m_report = m_running;
    const QString time = QTime::currentTime().toString(u"HH:mm"_s);
    if (!m_report.ok) {
        setStatus(u"同步失败（%1）：%2"_s.arg(time, m_report.error));
    } else {
        QString text = u"已同步（%1）"_s.arg(time);
        if (!m_report.notBroughtIn.isEmpty())
            text += u"，%1 条笔记没有取回"_s.arg(m_report.notBroughtIn.size());
        if (!m_report.conflicts.isEmpty())
            text += u"，%1 处两边都改过（两份都保留）"_s.arg(m_report.conflicts.size());
        setStatus(text);
    }
    if (m_report.storeChanged() && !m_cancel)
        m_storeChanged();
    Q_EMIT finished(m_report);
    if (std::exchange(m_again, false) && !m_cancel)
        syncNow();
}

void SyncController::setStatus(const QString& text)
{
    m_status = text;
    Q_EMIT statusChanged(text);
}
