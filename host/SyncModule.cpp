#include "SyncModule.h"

#include "HostPrompts.h"

#include <QLibrary>
#include <QSettings>

using namespace Qt::StringLiterals;

SyncModule::SyncModule(HostSync::Hooks hooks, QString libraryPath)
    : m_hooks(std::move(hooks)), m_libraryPath(std::move(libraryPath))
{
}

// The library is never unloaded: its classes' meta-objects and the store's change hook would
// outlive it otherwise.
SyncModule::~SyncModule() = default;

void SyncModule::userOpened()
{
    if (!m_sync) {
        const QString user = m_hooks.userName();
        if (user.isEmpty() || QSettings().value(SyncSettingsKey(user, "server")).toString().isEmpty())
            return; // nothing to sync, and no run of another user's to turn off
    }
    if (HostSync* s = sync(false))
        s->load();
}

void SyncModule::edit()
{
    if (HostSync* s = sync(true))
        s->edit();
}

void SyncModule::syncNow()
{
    if (HostSync* s = sync(true))
        s->syncNow();
}

void SyncModule::stop()
{
    if (m_sync)
        m_sync->stop();
}

SyncController* SyncModule::controller() const
{
    return m_sync ? m_sync->controller() : nullptr;
}

HostSync* SyncModule::sync(bool reportFailure)
{
    if (m_sync)
        return m_sync.get();
    QLibrary library(m_libraryPath);
    auto make = reinterpret_cast<MakeHostSyncFunction>(library.resolve(kMakeHostSyncSymbol));
    if (!make) {
        const QString reason = library.errorString();
        m_hooks.showStatus(u"同步不可用"_s);
        m_hooks.showDetails(reason);
        if (reportFailure)
            m_hooks.prompts->error(u"同步"_s,
                                   u"同步功能没能加载，备忘录照常保存在本机。\n\n%1"_s.arg(reason));
        return nullptr;
    }
    m_sync.reset(make(m_hooks));
    return m_sync.get();
}
