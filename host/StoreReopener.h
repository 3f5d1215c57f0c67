#pragma once
// Brings the host back onto its store file after the file was replaced while open (a copy renamed or
// moved over it). From that moment the store refuses every write and says why; this keeps what the
// replaced file held as a backup, opens the store again through the checks of a fresh start, has the
// module reload and tells the person what happened. It waits until no dialog is open, so that the
// panel that met the refused write has finished with it first.
#include <QString>
#include <functional>

class QWidget;
class UserStore;
struct HostPrompts;

class StoreReopener
{
  public:
    StoreReopener(QWidget* owner, HostPrompts& prompts, UserStore& store, std::function<void()> storeChanged);
    ~StoreReopener();
    StoreReopener(const StoreReopener&) = delete;
    StoreReopener& operator=(const StoreReopener&) = delete;

    // Starts listening for a replaced store file; called once a store is open. Before that nothing
    // can be replaced, and setting the store's hook waits for its lock, which the first open holds
    // on its own thread while it checks the file.
    void watch();

  private:
    static void OnReplaced(void* context);
    void reopen();

    QWidget* m_owner;
    HostPrompts& m_prompts;
    UserStore& m_store;
    std::function<void()> m_storeChanged;
    bool m_pending = false;
    bool m_watching = false;
};
