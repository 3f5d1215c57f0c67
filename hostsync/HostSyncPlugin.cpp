// The sync library's one entry point: the sync, its settings and their keeper behind the host's
// HostSync interface.
#include "HostSync.h"
#include "SyncController.h"
#include "SyncSettingsKeeper.h"

using namespace Qt::StringLiterals;

namespace {

class HostSyncPlugin final : public HostSync
{
  public:
    explicit HostSyncPlugin(const Hooks& hooks)
        : m_sync(hooks.storeChanged),
          m_keeper(hooks.owner, *hooks.prompts, hooks.userName, m_sync, hooks.showStatus)
    {
        QObject::connect(&m_sync, &SyncController::statusChanged, &m_sync, hooks.showStatus);
        // Pointing at the status names what the last run left alone and where it kept both versions.
        QObject::connect(&m_sync, &SyncController::finished, &m_sync,
                         [details = hooks.showDetails](const SyncReport& report) {
                             QStringList lines;
                             if (!report.notBroughtIn.isEmpty())
                                 lines << u"没有取回的笔记："_s << report.notBroughtIn;
                             if (!report.conflicts.isEmpty())
                                 lines << u"两边都改过，两份都保留："_s << report.conflicts;
                             details(lines.join(u'\n'));
                         });
    }

    void load() override { m_keeper.load(); }
    void edit() override { m_keeper.edit(); }
    void syncNow() override
    {
        if (m_sync.enabled())
            m_sync.syncNow();
        else
            m_keeper.edit();
    }
    void stop() override { m_sync.stop(); }
    SyncController* controller() override { return &m_sync; }

  private:
    SyncController m_sync;
    SyncSettingsKeeper m_keeper;
};

} // namespace

extern "C" Q_DECL_EXPORT HostSync* MemoHost_MakeSync(const HostSync::Hooks& hooks)
{
    return new HostSyncPlugin(hooks);
}
