#pragma once
// The host's main window: a module bar down the left, the frame that holds the registered
// panels, a status bar for the module's texts, a user menu, the 数据 menu that keeps the user's
// memos safe (trash, backups, export and import), and the module file it runs.
#include "HostPrompts.h"
#include "ModuleLibrary.h"
#include "UserStore.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class ModuleBar;
class ModuleHost;
class StoreActions;
class StoreReopener;
class SyncController;
class SyncModule;
class QActionGroup;
class QLabel;
class QMenu;
class QStackedWidget;
struct PanelRegistration;

class HostWindow : public QMainWindow
{
    Q_OBJECT
  public:
    // Shows a problem the user must know of; the default is a message box over the window.
    using ErrorReporter = std::function<void(const QString& title, const QString& text)>;

    explicit HostWindow(const QString& dataDir, QWidget* parent = nullptr);
    // The same, with `firstUser`'s store opening on another thread while the window is built;
    // openUser(firstUser) then takes what that open gave.
    HostWindow(const QString& dataDir, const QString& firstUser, QWidget* parent = nullptr);
    ~HostWindow() override;

    // Replaces the error prompt; an empty reporter brings back the message box.
    void setErrorReporter(ErrorReporter reporter);
    // Every question, notice, choice and the clock of the backups; a test answers through them.
    HostPrompts& prompts() { return m_prompts; }

    // Opens the user's store before any module is loaded. False (after reporting why) when the
    // store cannot be opened: the host must not run on no store or on an empty one in its place.
    bool openUser(const QString& userName);
    // Backs up the current user's store (at most once a day), opens another user's store and tells
    // the module. If that store cannot be opened the previous user's store is opened again and the
    // module is not told anything.
    bool switchUser(const QString& userName);
    QString userName() const { return m_store.userName(); }

    // Loads the module file, asks its component id, asks it to create its panel and tells it
    // who the user is. False (after reporting why) when the file is not a loadable module.
    bool loadModule(const QString& path);
    // Destroys the module's panels, then unloads the file.
    void unloadModule();
    bool isModuleLoaded() const { return m_module.isLoaded(); }
    int componentId() const { return m_componentId; }
    ModuleLibrary& module() { return m_module; }

    // The panel in front, null when there is none.
    QWidget* currentPanel() const;
    QWidget* frame() const;
    ModuleBar* moduleBar() const { return m_moduleBar; }
    ModuleHost* moduleHost() const { return m_host.get(); }
    QString statusText() const;
    // The sync, once its library is loaded (a user with sync settings, or sync asked for).
    SyncController* sync() const;

    // Asks the panel in front to put the focus into its search box.
    void focusSearch();
    // Renders the window as it is now to a PNG file.
    bool saveScreenshot(const QString& path, QString& error);

  protected:
    // Also backs up the current user's store, as switching users does.
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildDataMenu();
    void rebuildUserMenu();
    void rememberUser(const QString& userName);
    void askForUser();
    void reloadModule();
    void showShortcuts();
    void showAbout();
    void placePanel(const PanelRegistration& registration);
    // The picture for a module's image id, drawn the first time it is asked for.
    QIcon moduleImage(int imageId);
    void showStatusText(const QString& text);
    void showPlaceholder(const QString& text);
    void sendUserToModule();
    void updateTitle();
    void reportError(const QString& title, const QString& text);

    std::unique_ptr<ModuleHost> m_host;
    UserStore m_store;
    ModuleLibrary m_module;
    int m_componentId = 0;
    HostPrompts m_prompts;
    std::unique_ptr<StoreActions> m_storeActions;
    std::unique_ptr<StoreReopener> m_storeReopener;
    std::unique_ptr<SyncModule> m_sync;

    ModuleBar* m_moduleBar;
    QStackedWidget* m_frame;
    QLabel* m_placeholder;
    QLabel* m_statusText;
    QLabel* m_userLabel;
    QLabel* m_syncLabel;
    QMenu* m_userMenu = nullptr;
    QActionGroup* m_userGroup = nullptr;
    QList<QPointer<QWidget>> m_panels;
    QStringList m_recentUsers; // most recent first; saved when the window closes
    QHash<int, QIcon> m_moduleImages;
};
