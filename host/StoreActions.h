#pragma once
// What the host's 数据 menu does with the current user's store: the trash (restore, empty), the
// backups (one at closing, at most one a day; restoring one), export to JSON or Markdown and import
// from JSON. Every question, report and choice goes through the host's prompts. After anything that
// changed the memos, storeChanged tells the module, whose panel then reloads.
#include <QString>
#include <functional>

class QWidget;
class UserStore;
struct HostPrompts;

class StoreActions
{
  public:
    enum class Format { Json, Markdown };

    StoreActions(QWidget* owner, HostPrompts& prompts, UserStore& store, std::function<void()> storeChanged);

    void showTrash();
    void emptyTrash();
    void exportMemos(Format format);
    void importMemos();
    void restoreBackup();
    // The store is about to be closed (another user, quit): back it up unless it was today.
    void backUpBeforeClosing();

  private:
    bool writeFile(const QString& path, const QByteArray& bytes);

    QWidget* m_owner;
    HostPrompts& m_prompts;
    UserStore& m_store;
    std::function<void()> m_storeChanged;
};
