#pragma once
// What the host's 数据 menu does with the current user's store: the trash (restore, empty), the
// backups (one at closing, at most one a day; restoring one), export to JSON or Markdown and import
// from JSON. Every question, report and choice goes through the host's prompts. After anything that
// changed the memos, storeChanged tells the module, whose panel then reloads; after a restore from
// the trash, memosRestored also names the first memo that came back and how many did.
#include <QString>
#include <functional>

class QWidget;
class UserStore;
struct HostPrompts;

class StoreActions
{
  public:
    enum class Format { Json, Markdown };

    using Restored = std::function<void(int firstKey, int count)>;

    StoreActions(QWidget* owner, HostPrompts& prompts, UserStore& store, std::function<void()> storeChanged,
                 Restored memosRestored);

    void showTrash();
    void emptyTrash();
    void exportMemos(Format format);
    void importMemos();
    void restoreBackup();
    // The store is about to be closed (another user, quit): back it up unless it was today.
    void backUpBeforeClosing();

  private:
    bool writeFile(const QString& path, const QByteArray& bytes);
    // The list of the backup copies to choose from: date, memo count, and which were taken just
    // before a restore. `current` gets the newest copy that was not.
    QStringList backupLabels(const QStringList& paths, int& current) const;

    QWidget* m_owner;
    HostPrompts& m_prompts;
    UserStore& m_store;
    std::function<void()> m_storeChanged;
    Restored m_memosRestored;
};
