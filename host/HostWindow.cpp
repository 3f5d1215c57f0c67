#include "HostWindow.h"

#include "HostOptions.h"
#include "ModuleBar.h"
#include "ModuleHost.h"
#include "ModuleImage.h"
#include "StoreActions.h"
#include "StoreReopener.h"
#include "SyncModule.h"

#include <MemoStore.h>

#include <CDialog.h>
#include <CXml.h>
#include <ModuleProtocol.h>
#include <WinMessage.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>

#include <utility>

using namespace Qt::StringLiterals;
using namespace ModuleProtocol;

namespace {

const auto kGeometryKey = u"window/geometry"_s;
const auto kRecentUsersKey = u"users/recent"_s;
constexpr int kMaxRecentUsers = 8;

} // namespace

HostWindow::HostWindow(const QString& dataDir, QWidget* parent) : HostWindow(dataDir, QString(), parent)
{
}

HostWindow::HostWindow(const QString& dataDir, const QString& firstUser, QWidget* parent)
    : QMainWindow(parent), m_host(std::make_unique<ModuleHost>()), m_store(dataDir, firstUser),
      m_prompts(this), m_storeActions(std::make_unique<StoreActions>(
                           this, m_prompts, m_store, [this] { sendUserToModule(); },
                           [this](int firstKey, int count) {
                               // After the reload that sendUserToModule posted: the panel selects the first
                               // and says how many came back.
                               if (QWidget* panel = currentPanel())
                                   PostMessage(panel, WM_MEMO_SHOWRESTORED, WPARAM(firstKey), LPARAM(count));
                           })),
      m_storeReopener(
          std::make_unique<StoreReopener>(this, m_prompts, m_store, [this] { sendUserToModule(); })),
      m_moduleBar(new ModuleBar(this)), m_frame(new QStackedWidget(this)), m_placeholder(new QLabel(m_frame)),
      m_statusText(new QLabel(this)), m_userLabel(new QLabel(this)), m_syncLabel(new QLabel(this))
{
    setObjectName(u"hostWindow"_s);
    setWindowIcon(moduleImage(MEMO_IMAGE_ID));

    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_moduleBar);
    row->addWidget(m_frame, 1);
    setCentralWidget(centre);

    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setWordWrap(true);
    m_placeholder->setMargin(24);
    QPalette muted = m_placeholder->palette();
    muted.setColor(QPalette::WindowText, QColor(0x6B, 0x77, 0x85));
    m_placeholder->setPalette(muted);
    QFont larger = m_placeholder->font();
    larger.setPixelSize(14);
    m_placeholder->setFont(larger);
    m_frame->addWidget(m_placeholder);
    showPlaceholder(u"没有加载模块。"_s);

    m_statusText->setObjectName(u"statusText"_s);
    m_statusText->setMinimumWidth(200);
    m_statusText->setContentsMargins(6, 0, 0, 0);
    m_userLabel->setObjectName(u"userLabel"_s);
    m_userLabel->setContentsMargins(0, 0, 6, 0);
    statusBar()->addWidget(m_statusText, 1);
    m_syncLabel->setObjectName(u"syncStatus"_s);
    statusBar()->addPermanentWidget(m_syncLabel);
    statusBar()->addPermanentWidget(m_userLabel);
    HostSync::Hooks syncHooks;
    syncHooks.owner = this;
    syncHooks.prompts = &m_prompts;
    syncHooks.userName = [this] { return m_store.userName(); };
    syncHooks.storeChanged = [this] { sendUserToModule(); };
    syncHooks.showStatus = [this](const QString& text) { m_syncLabel->setText(text); };
    syncHooks.showDetails = [this](const QString& text) { m_syncLabel->setToolTip(text); };
    m_sync = std::make_unique<SyncModule>(
        std::move(syncHooks), HostOptions::privateLibraryPath(QString::fromLatin1(kHostSyncLibrary)));

    const QSettings settings;
    m_recentUsers = settings.value(kRecentUsersKey).toStringList();
    buildMenus();

    connect(m_host.get(), &ModuleHost::panelRegistered, this, &HostWindow::placePanel);
    connect(m_host.get(), &ModuleHost::statusTextReceived, this, &HostWindow::showStatusText);
    connect(m_moduleBar, &ModuleBar::panelChosen, m_frame, &QStackedWidget::setCurrentWidget);

    // Module windows created without a parent land in the frame, as a framework's child windows
    // land in its main window.
    CDialog::SetDefaultParent(m_frame);

    resize(1000, 640);
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    updateTitle();
}

SyncController* HostWindow::sync() const
{
    return m_sync->controller();
}

HostWindow::~HostWindow()
{
    m_sync.reset(); // a run under way ends before the store or the module goes
    // The panels' code lives in the module: they must be gone before it is unloaded.
    unloadModule();
    if (CDialog::DefaultParent() == m_frame)
        CDialog::SetDefaultParent(nullptr);
}

void HostWindow::buildMenus()
{
    m_userMenu = menuBar()->addMenu(u"用户(&U)"_s);
    m_userGroup = new QActionGroup(this);
    rebuildUserMenu();

    QMenu* edit = menuBar()->addMenu(u"编辑(&E)"_s);
    QAction* find = edit->addAction(u"搜索备忘录(&F)"_s, this, &HostWindow::focusSearch);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    find->setShortcutContext(Qt::WindowShortcut);
    find->setObjectName(u"focusSearchAction"_s);

    buildDataMenu();

    QMenu* module = menuBar()->addMenu(u"模块(&M)"_s);
    module->addAction(u"重新加载模块(&R)"_s, this, &HostWindow::reloadModule)
        ->setObjectName(u"reloadModuleAction"_s);

    QMenu* help = menuBar()->addMenu(u"帮助(&H)"_s);
    QAction* keys = help->addAction(u"快捷键(&K)"_s, this, &HostWindow::showShortcuts);
    keys->setObjectName(u"shortcutsAction"_s);
    help->addAction(u"关于(&A)"_s, this, &HostWindow::showAbout);
}

void HostWindow::buildDataMenu()
{
    QMenu* data = menuBar()->addMenu(u"数据(&D)"_s);
    StoreActions* actions = m_storeActions.get();
    const auto add = [data](const QString& text, const char* name, auto handler) {
        QAction* action = data->addAction(text, data, handler);
        action->setObjectName(QString::fromLatin1(name));
    };
    add(u"回收站(&T)…"_s, "trashAction", [actions] { actions->showTrash(); });
    add(u"清空回收站(&E)…"_s, "emptyTrashAction", [actions] { actions->emptyTrash(); });
    data->addSeparator();
    add(u"导出为 JSON(&J)…"_s, "exportJsonAction",
        [actions] { actions->exportMemos(StoreActions::Format::Json); });
    add(u"导出为 Markdown(&M)…"_s, "exportMarkdownAction",
        [actions] { actions->exportMemos(StoreActions::Format::Markdown); });
    add(u"从 JSON 导入(&I)…"_s, "importJsonAction", [actions] { actions->importMemos(); });
    data->addSeparator();
    add(u"从备份恢复(&B)…"_s, "restoreBackupAction", [actions] { actions->restoreBackup(); });
    data->addSeparator();
    add(u"同步设置(&Y)…"_s, "syncSettingsAction", [this] { m_sync->edit(); });
    add(u"立即同步(&N)"_s, "syncNowAction", [this] { m_sync->syncNow(); });
}

void HostWindow::rebuildUserMenu()
{
    m_userMenu->clear();
    for (QAction* action : m_userGroup->actions())
        m_userGroup->removeAction(action);

    for (const QString& name : std::as_const(m_recentUsers)) {
        QAction* action = m_userMenu->addAction(name);
        action->setCheckable(true);
        action->setChecked(name == m_store.userName());
        m_userGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, name] { switchUser(name); });
    }
    if (!m_recentUsers.isEmpty())
        m_userMenu->addSeparator();
    m_userMenu->addAction(u"切换用户(&S)…"_s, this, &HostWindow::askForUser)
        ->setObjectName(u"switchUserAction"_s);
    m_userMenu->addSeparator();
    QAction* quit = m_userMenu->addAction(u"退出(&X)"_s, this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void HostWindow::rememberUser(const QString& userName)
{
    m_recentUsers.removeAll(userName);
    m_recentUsers.prepend(userName);
    while (m_recentUsers.size() > kMaxRecentUsers)
        m_recentUsers.removeLast();
    rebuildUserMenu();
}

bool HostWindow::openUser(const QString& userName)
{
    QString error;
    if (!m_store.open(userName, error)) {
        reportError(u"无法打开备忘录"_s,
                    u"无法打开用户“%1”的备忘录存储。\n\n%2\n\n存储文件未作任何改动。"_s.arg(userName, error));
        updateTitle();
        return false;
    }
    m_storeReopener->watch();
    rememberUser(userName);
    updateTitle();
    m_sync->userOpened();
    return true;
}

bool HostWindow::switchUser(const QString& userName)
{
    const QString previous = m_store.userName();
    if (userName == previous && m_store.isOpen()) {
        rebuildUserMenu();
        return true;
    }
    m_sync->stop();
    m_storeActions->backUpBeforeClosing();
    if (!openUser(userName)) {
        QString error;
        if (!previous.isEmpty() && !m_store.open(previous, error))
            reportError(u"无法打开备忘录"_s,
                        u"也无法重新打开用户“%1”的备忘录存储。\n\n%2"_s.arg(previous, error));
        rebuildUserMenu();
        updateTitle();
        return false;
    }
    sendUserToModule();
    return true;
}

void HostWindow::askForUser()
{
    QString typed = m_store.userName();
    for (;;) {
        const std::optional<QString> entered = m_prompts.text(u"切换用户"_s, u"用户名："_s, typed);
        const QString name = entered ? entered->trimmed() : QString();
        if (name.isEmpty())
            break;
        // A mistyped name would otherwise become a new, empty store without a word.
        const QByteArray user = name.toUtf8();
        const QByteArray dir = m_store.dataDir().toUtf8();
        if (name == m_store.userName() ||
            MemoStore_Exists(user.constData(), m_store.dataDir().isEmpty() ? nullptr : dir.constData()) ||
            m_prompts.question(u"新建用户"_s,
                               u"用户“%1”还没有备忘录。要为这个用户新建一个空的备忘录存储吗？\n\n"
                               "选“否”可回到输入框修改用户名。"_s.arg(name))) {
            switchUser(name);
            return;
        }
        typed = name;
    }
    rebuildUserMenu();
}

bool HostWindow::loadModule(const QString& path)
{
    unloadModule();
    QString error;
    if (!m_module.load(path, error)) {
        showPlaceholder(u"无法加载模块：%1"_s.arg(path));
        reportError(u"无法加载模块"_s, u"无法加载模块“%1”。\n\n%2"_s.arg(path, error));
        return false;
    }
    m_componentId = m_module.componentId();
    showPlaceholder(u"模块 %1 没有登记面板。"_s.arg(QFileInfo(path).fileName()));

    CXml createDoc;
    m_module.notify(NTF_CREATE_PANEL, &createDoc);
    sendUserToModule();
    return true;
}

void HostWindow::unloadModule()
{
    if (!m_module.isLoaded())
        return;
    // Taken out first: each deletion updates m_panels through the panel's destroyed signal.
    const QList<QPointer<QWidget>> panels = std::exchange(m_panels, {});
    for (const QPointer<QWidget>& panel : panels)
        delete panel.data();
    // Anything a panel left for later deletion still runs module code.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_module.unload();
    m_componentId = 0;
    m_statusText->clear();
    showPlaceholder(u"没有加载模块。"_s);
}

void HostWindow::reloadModule()
{
    const QString path = m_module.path();
    if (path.isEmpty() || !loadModule(path))
        return;
    // The focus was in the panel that went. At start-up showing the window put it into the
    // panel; the window is on screen already here, so the new panel is given it, where the panel
    // itself asked for it (its list), so that its keys work without a click into it first.
    if (QWidget* panel = currentPanel()) {
        QWidget* asked = panel->focusWidget();
        (asked ? asked : panel)->setFocus(Qt::OtherFocusReason);
    }
}

void HostWindow::placePanel(const PanelRegistration& registration)
{
    QWidget* panel = registration.panel;
    if (m_panels.contains(panel))
        return;
    m_panels.append(panel);
    // The module made it with no parent: from now on the frame owns it.
    panel->setParent(m_frame);
    m_frame->addWidget(panel);
    m_frame->setCurrentWidget(panel);
    // Out of the frame while a panel is there: the frame's size hint would otherwise lay out the
    // hidden notice's wrapped text, in a font nothing else uses, each time it is asked.
    m_frame->removeWidget(m_placeholder);
    m_placeholder->hide();
    m_moduleBar->addPanel(panel, moduleImage(registration.imageId), registration.caption);
    connect(panel, &QObject::destroyed, this, [this] {
        m_panels.removeAll(nullptr);
        if (!currentPanel())
            showPlaceholder(u"面板已关闭。"_s);
    });
    updateTitle();
}

QWidget* HostWindow::currentPanel() const
{
    QWidget* current = m_frame->currentWidget();
    return current == m_placeholder ? nullptr : current;
}

QWidget* HostWindow::frame() const
{
    return m_frame;
}

QString HostWindow::statusText() const
{
    return m_statusText->text();
}

QIcon HostWindow::moduleImage(int imageId)
{
    auto it = m_moduleImages.find(imageId);
    if (it == m_moduleImages.end())
        it = m_moduleImages.insert(imageId, ModuleImage(imageId));
    return *it;
}

void HostWindow::showStatusText(const QString& text)
{
    m_statusText->setText(text);
}

void HostWindow::showPlaceholder(const QString& text)
{
    m_placeholder->setText(text);
    if (!currentPanel()) {
        if (m_frame->indexOf(m_placeholder) < 0)
            m_frame->addWidget(m_placeholder);
        m_frame->setCurrentWidget(m_placeholder);
    }
}

void HostWindow::focusSearch()
{
    if (QWidget* panel = currentPanel())
        PostMessage(panel, WM_MEMO_FOCUSSEARCH, 0, 0);
}

void HostWindow::sendUserToModule()
{
    if (!m_module.isLoaded() || m_store.userName().isEmpty())
        return;
    CXml doc;
    doc.AddElem(UPDATE_ROOT);
    doc.AddChildElem(UPDATE_USER_NAME, m_store.userName());
    m_module.notify(NTF_UPDATE_DATA, &doc);
}

void HostWindow::updateTitle()
{
    const QString user = m_store.userName();
    setWindowTitle(user.isEmpty() ? u"MemoHost"_s : u"MemoHost - %1"_s.arg(user));
    m_userLabel->setText(user.isEmpty() ? u"未打开存储"_s : u"用户：%1"_s.arg(user));
}

void HostWindow::showShortcuts()
{
    // A table, so that the descriptions line up whatever the keys' widths.
    static const std::pair<const char16_t*, const char16_t*> keys[] = {
        {u"Ctrl+N", u"新建备忘录"},
        {u"Ctrl+S", u"保存详情区的修改"},
        {u"Delete", u"删除列表中选中的备忘录"},
        {u"Ctrl+F、Ctrl+F3", u"转到搜索框"},
        {u"Esc", u"（在搜索框中）清空搜索"},
        {u"↓", u"（在搜索框中）转到列表"},
        {u"Ctrl+Q", u"退出"},
    };
    QString rows;
    for (const auto& [key, what] : keys)
        rows += u"<tr><td>%1</td><td>%2</td></tr>"_s.arg(QStringView(key), QStringView(what));
    m_prompts.notice(u"快捷键"_s, u"<table cellspacing=\"4\">%1</table>"_s.arg(rows));
}

void HostWindow::showAbout()
{
    const QString module =
        m_module.isLoaded() ? u"%1（组件号 %2）"_s.arg(m_module.path()).arg(m_componentId) : u"无"_s;
    QMessageBox::about(
        this, u"关于 MemoHost"_s,
        u"<p><b>MemoHost</b>：加载备忘录模块并显示其面板。</p>"
        "<p>模块：%1<br>存储：%2</p>"_s.arg(module.toHtmlEscaped(), m_store.path().toHtmlEscaped()));
}

bool HostWindow::saveScreenshot(const QString& path, QString& error)
{
    const QImage image = grab().toImage();
    if (image.isNull() || !image.save(path, "PNG")) {
        error = u"could not write %1"_s.arg(path);
        return false;
    }
    return true;
}

void HostWindow::closeEvent(QCloseEvent* event)
{
    // Written here rather than as they change: start-up then only reads the settings file.
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kRecentUsersKey, m_recentUsers);
    m_sync->stop();
    m_storeActions->backUpBeforeClosing();
    QMainWindow::closeEvent(event);
}

void HostWindow::setErrorReporter(ErrorReporter reporter)
{
    m_prompts.error = reporter ? std::move(reporter) : HostPrompts::defaultError(this);
}

void HostWindow::reportError(const QString& title, const QString& text)
{
    m_prompts.error(title, text);
}
