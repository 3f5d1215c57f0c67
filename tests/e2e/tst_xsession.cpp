// A person at the real host in a real X server: the module file as built, loaded by the host's
// code, driven with real pointer and keyboard input from xdotool. Synthesized Qt events go
// straight to a widget and skip what the window system does with popups, grabs and focus; this
// test does not. Run by xsession-run.sh, which starts a private Xvfb.
#include "E2eSupport.h"

#include "../sync/CalDavServer.h"

#include <HostWindow.h>
#include <LoadStr.h>
#include <SyncController.h>
#include <SyncDialog.h>

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <TestSeams.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Runs xdotool with these arguments and waits for it: the input is then queued in the X server.
bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(u"xdotool"_s, arguments) == 0;
}

bool clickAt(QPoint global)
{
    return xdotool({u"mousemove"_s, u"--sync"_s, QString::number(global.x()), QString::number(global.y())}) &&
           xdotool({u"click"_s, u"1"_s});
}

bool clickOn(const QWidget* widget, QPoint local)
{
    return clickAt(widget->mapToGlobal(local));
}

QStringList titles(const QTreeWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        shown << list->topLevelItem(row)->text(0);
    return shown;
}

bool type(const QString& text)
{
    return xdotool({u"type"_s, u"--delay"_s, u"60"_s, text});
}

template <class W> W* control(const QWidget* parent, int id)
{
    return parent->findChild<W*>(QString::number(id));
}

QStringList storedContents()
{
    QStringList contents;
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        contents << QStringView(MemoContent(memo)).toString();
    }
    return contents;
}

void storeMemo(const QString& title, const QString& body, const QString& group, std::int32_t groupId)
{
    const MemoRecord memo = NewMemoRecord(305371800, group.toStdU16String(), groupId, title.toStdU16String(),
                                          body.toStdU16String());
    QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
}

// The balloon tip on screen, if one is.
QWidget* shownBalloon(const QWidget* panel)
{
    for (QWidget* w : panel->findChildren<QWidget*>())
        if (w->windowType() == Qt::ToolTip && w->isVisible())
            return w;
    return nullptr;
}

// The host on a store with these memos, on screen and active, the panel filled.
std::unique_ptr<HostWindow> startHost(const QString& dir, const QStringList& memos, QStringList& reports,
                                      const std::function<void(HostWindow&)>& prepare = {})
{
    auto window = std::make_unique<HostWindow>(dir);
    window->setErrorReporter([&reports](const QString&, const QString& text) { reports << text; });
    if (prepare)
        prepare(*window);
    if (!window->openUser(u"erin"_s))
        return nullptr;
    for (const QString& title : memos)
        storeMemo(title, title + u" 正文"_s, u"全部"_s, 0);
    if (!window->loadModule(e2e::moduleFile()))
        return nullptr;
    window->move(0, 0);
    window->resize(1000, 640);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    window->activateWindow();
    if (!QTest::qWaitFor([&] { return window->isActiveWindow(); }, 5000))
        return nullptr;
    return window;
}

} // namespace

class TestXSession : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == u"xcb"_s, "needs a real X server (xsession-run.sh)");
    }

    // Each test starts without the settings an earlier one (or an earlier run) left: sync settings
    // left behind would start a sync that asks for a password nobody answers.
    void init() { QSettings().clear(); }

    void aPersonFiltersPicksAndSearches()
    {
        QTemporaryDir dir;
        HostWindow window(dir.path());
        QStringList reports;
        window.setErrorReporter([&](const QString&, const QString& text) { reports << text; });
        QVERIFY(window.openUser(u"alice"_s));
        const MemoGroupRecord work = NewGroupRecord(100, u"工作");
        const MemoGroupRecord home = NewGroupRecord(101, u"生活");
        DBI_MemGroupRecycleWriteRecord(&work);
        DBI_MemGroupRecycleWriteRecord(&home);
        storeMemo(u"周报"_s, u"本周完成 ab 模块"_s, u"工作"_s, 100);
        storeMemo(u"买菜"_s, u"鸡蛋"_s, u"生活"_s, 101);
        storeMemo(u"会议"_s, u"下午三点"_s, u"工作"_s, 100);
        storeMemo(u"ab 清单"_s, u"杂事"_s, u"全部"_s, 0);
        QVERIFY(window.loadModule(e2e::moduleFile()));
        window.move(0, 0);
        window.resize(1000, 640);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());

        QWidget* panel = window.currentPanel();
        QVERIFY(panel);
        auto* list = panel->findChild<QTreeWidget*>(u"21000"_s);
        auto* box = panel->findChild<QComboBox*>(u"21007"_s);
        auto* search = panel->findChild<QTextEdit*>(u"21006"_s);
        auto* detailTitle = panel->findChild<QTextEdit*>(u"21013"_s);
        QVERIFY(list && box && search && detailTitle);
        QTRY_COMPARE(titles(list).size(), 4);

        // One click opens the category list and leaves it open; a click on an entry picks it.
        QVERIFY(clickOn(box->lineEdit(), QPoint(10, box->lineEdit()->height() / 2)));
        QTRY_VERIFY(box->view()->isVisible());
        QAbstractItemView* view = box->view();
        const QRect entry = view->visualRect(view->model()->index(box->findText(u"工作"_s), 0));
        QVERIFY(clickOn(view->viewport(), entry.center()));
        QTRY_COMPARE(titles(list), (QStringList{u"周报"_s, u"会议"_s}));
        QVERIFY(!view->isVisible());

        // A click on a row shows its memo in the detail pane.
        QVERIFY(clickOn(list->viewport(), list->visualItemRect(list->topLevelItem(1)).center()));
        QTRY_COMPARE(detailTitle->toPlainText(), u"会议"_s);

        // Back to every memo, then typing into the search box filters as the keys arrive.
        QVERIFY(clickOn(box->lineEdit(), QPoint(10, box->lineEdit()->height() / 2)));
        QTRY_VERIFY(view->isVisible());
        QVERIFY(clickOn(view->viewport(),
                        view->visualRect(view->model()->index(box->findText(u"全部"_s), 0)).center()));
        QTRY_COMPARE(titles(list).size(), 4);
        QVERIFY(clickOn(search, QPoint(40, search->height() / 2)));
        QTRY_VERIFY(search->hasFocus());
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"80"_s, u"ab"_s}));
        QTRY_COMPARE(titles(list), (QStringList{u"周报"_s, u"ab 清单"_s}));
        QCOMPARE(window.statusText(), FormatStr(LoadStr(233), 2));
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }

    void aPersonWritesEditsKeepsAndDeletesAMemo()
    {
        QTemporaryDir dir;
        QVERIFY(MemoStore_Open("bob", dir.path().toUtf8().constData()));
        storeMemo(u"bob's memo"_s, u"only bob's"_s, u"全部"_s, 0);
        MemoStore_Close();

        auto window = std::make_unique<HostWindow>(dir.path());
        QStringList reports;
        const auto start = [&] {
            window->setErrorReporter([&](const QString&, const QString& text) { reports << text; });
            QVERIFY(window->openUser(u"alice"_s));
            QVERIFY(window->loadModule(e2e::moduleFile()));
            window->move(0, 0);
            window->resize(1000, 640);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            window->activateWindow();
            QTRY_VERIFY(window->isActiveWindow());
        };
        start();
        QWidget* panel = window->currentPanel();
        auto* list = control<QTreeWidget>(panel, 21000);
        QCOMPARE(titles(list), QStringList());

        // New: the edit dialog opens; title, body, OK.
        KitTest::ModalDriver driver;
        driver.onNextModal([](QDialog* dlg) {
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            QVERIFY(clickOn(control<QWidget>(dlg, 21034), QPoint(20, 12)));
            QVERIFY(type(u"groceries"_s));
            QVERIFY(clickOn(control<QWidget>(dlg, 21036), QPoint(40, 40)));
            QVERIFY(type(u"milk and eggs"_s));
            QVERIFY(clickOn(control<QWidget>(dlg, IDOK), QPoint(20, 16)));
            QTRY_VERIFY(!dlg->isVisible());
        });
        QVERIFY(clickOn(control<QWidget>(panel, 21001), QPoint(30, 16)));
        QTRY_COMPARE(driver.driven(), 1);
        QTRY_COMPARE(titles(list), QStringList{u"groceries"_s});
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(storedContents(), QStringList{u"milk and eggs"_s});

        // Edited in the detail pane and saved.
        auto* body = control<QTextEdit>(panel, 21027);
        QVERIFY(clickOn(body, QPoint(body->width() - 20, body->height() - 20)));
        QVERIFY(xdotool({u"key"_s, u"ctrl+End"_s}));
        QVERIFY(type(u" and bread"_s));
        QVERIFY(clickOn(control<QWidget>(panel, 21025), QPoint(30, 16)));
        QTRY_COMPARE(storedContents(), QStringList{u"milk and eggs and bread"_s});

        // The next start finds it.
        window.reset();
        window = std::make_unique<HostWindow>(dir.path());
        start();
        panel = window->currentPanel();
        list = control<QTreeWidget>(panel, 21000);
        QTRY_COMPARE(titles(list), QStringList{u"groceries"_s});
        QTRY_COMPARE(control<QTextEdit>(panel, 21027)->toPlainText(), u"milk and eggs and bread"_s);

        // Delete, answered Yes.
        driver.onNextModal([](QDialog* box) {
            QVERIFY(QTest::qWaitForWindowExposed(box));
            QAbstractButton* yes = nullptr;
            for (QAbstractButton* button : static_cast<QMessageBox*>(box)->buttons())
                if (static_cast<QMessageBox*>(box)->buttonRole(button) == QMessageBox::YesRole)
                    yes = button;
            QVERIFY(yes);
            QVERIFY(clickOn(yes, QPoint(yes->width() / 2, yes->height() / 2)));
            QTRY_VERIFY(!box->isVisible());
        });
        QVERIFY(clickOn(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center()));
        QVERIFY(clickOn(control<QWidget>(panel, 21003), QPoint(30, 16)));
        QTRY_COMPARE(driver.driven(), 2);
        QTRY_COMPARE(titles(list), QStringList());
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);

        // Another user: that user's memos, none of alice's.
        QVERIFY(window->switchUser(u"bob"_s));
        QTRY_COMPARE(titles(list), QStringList{u"bob's memo"_s});
        QCOMPARE(driver.leftOpen(), 0);
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }

    // Ctrl+N, Escape and Down in the search box, and the list of keys in the 帮助 menu, pressed
    // and clicked as a person does.
    void theKeysAPersonExpects()
    {
        QTemporaryDir dir;
        QStringList reports;
        const auto window = startHost(dir.path(), {u"ab one"_s, u"two"_s, u"ab three"_s}, reports);
        QVERIFY(window);
        QWidget* panel = window->currentPanel();
        auto* list = control<QTreeWidget>(panel, 21000);
        auto* search = control<QTextEdit>(panel, 21006);
        QTRY_COMPARE(titles(list).size(), 3);

        QVERIFY(clickOn(search, QPoint(40, search->height() / 2)));
        QTRY_VERIFY(search->hasFocus());
        QVERIFY(type(u"ab"_s));
        QTRY_COMPARE(titles(list), (QStringList{u"ab one"_s, u"ab three"_s}));
        QVERIFY(xdotool({u"key"_s, u"Down"_s}));
        QTRY_VERIFY(list->hasFocus());
        QVERIFY(clickOn(search, QPoint(40, search->height() / 2)));
        QTRY_VERIFY(search->hasFocus());
        QVERIFY(xdotool({u"key"_s, u"Escape"_s}));
        QTRY_COMPARE(titles(list).size(), 3);
        QCOMPARE(search->toPlainText(), QString());

        KitTest::ModalDriver driver;
        driver.onNextModal([](QDialog* dlg) {
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            QVERIFY(control<QWidget>(dlg, 21036));
            QVERIFY(clickOn(control<QWidget>(dlg, IDCANCEL), QPoint(20, 16)));
            QTRY_VERIFY(!dlg->isVisible());
        });
        QVERIFY(xdotool({u"key"_s, u"ctrl+n"_s}));
        QTRY_COMPARE(driver.driven(), 1);
        QCOMPARE(driver.leftOpen(), 0);

        QStringList notices;
        window->prompts().notice = [&](const QString& title, const QString& text) {
            notices << title << text;
        };
        QMenuBar* bar = window->menuBar();
        QAction* help = nullptr;
        for (QAction* action : bar->actions())
            if (action->text().startsWith(u"帮助"_s))
                help = action;
        QVERIFY(help && help->menu());
        QVERIFY(clickOn(bar, bar->actionGeometry(help).center()));
        QTRY_VERIFY(help->menu()->isVisible());
        QAction* keys = window->findChild<QAction*>(u"shortcutsAction"_s);
        QVERIFY(clickOn(help->menu(), help->menu()->actionGeometry(keys).center()));
        QTRY_COMPARE(notices.size(), 2);
        QCOMPARE(notices[0], u"快捷键"_s);
        for (const QString& key : {u"Ctrl+N"_s, u"Ctrl+S"_s, u"Ctrl+F3"_s, u"Delete"_s, u"Esc"_s})
            QVERIFY2(notices[1].contains(key), qPrintable(key));

        // 模块 → 重新加载模块 leaves the keys working: the new panel has the keyboard.
        const QPointer<QWidget> firstPanel = panel;
        QAction* reload = window->findChild<QAction*>(u"reloadModuleAction"_s);
        QVERIFY(reload && qobject_cast<QMenu*>(reload->parent()));
        auto* moduleMenu = static_cast<QMenu*>(reload->parent());
        QVERIFY(clickOn(bar, bar->actionGeometry(moduleMenu->menuAction()).center()));
        QTRY_VERIFY(moduleMenu->isVisible());
        QVERIFY(clickOn(moduleMenu, moduleMenu->actionGeometry(reload).center()));
        QTRY_VERIFY(!moduleMenu->isVisible());
        QTRY_VERIFY(firstPanel.isNull() && window->currentPanel());
        driver.onNextModal([](QDialog* dlg) {
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            QVERIFY(clickOn(control<QWidget>(dlg, IDCANCEL), QPoint(20, 16)));
            QTRY_VERIFY(!dlg->isVisible());
        });
        QVERIFY(xdotool({u"key"_s, u"ctrl+n"_s}));
        QTRY_COMPARE(driver.driven(), 2);
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }

    // The body's hint shows when the pointer moves over the body, not when a resize brings the
    // body under a resting pointer, and it goes when the window changes size.
    void theBodyBalloonShowsOnlyWhenPointedAt()
    {
        QTemporaryDir dir;
        QStringList reports;
        const auto window = startHost(dir.path(), {u"about 35 characters long"_s}, reports);
        QVERIFY(window);
        QWidget* panel = window->currentPanel();
        auto* body = control<QTextEdit>(panel, 21027);
        QTRY_VERIFY(!body->toPlainText().isEmpty());

        // The pointer rests beside the window, where the body will be once the window is wider;
        // the window grows under it (X tells the window the pointer came in, where it was).
        const QPoint resting = body->mapToGlobal(body->rect().center()) + QPoint(300, 0);
        QVERIFY(!window->frameGeometry().contains(resting));
        QVERIFY(xdotool(
            {u"mousemove"_s, u"--sync"_s, QString::number(resting.x()), QString::number(resting.y())}));
        QTRY_COMPARE(QCursor::pos(), resting);
        window->resize(1300, 640);
        QTRY_VERIFY(body->rect().contains(body->mapFromGlobal(resting)));
        QTest::qWait(1500); // three times the tip's delay
        QVERIFY(!shownBalloon(panel));

        // The person moves the pointer on the body: the hint shows; the window shrinks: it goes.
        const QPoint moved = resting + QPoint(8, 4);
        QVERIFY(
            xdotool({u"mousemove"_s, u"--sync"_s, QString::number(moved.x()), QString::number(moved.y())}));
        QTRY_VERIFY(shownBalloon(panel));
        window->resize(1000, 640);
        QTRY_VERIFY(!shownBalloon(panel));
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }

    // Chinese typed into the New dialog, then one click into the next field and one on 确定,
    // twenty times over: every click lands at once, and what is typed lands in the field it was
    // typed into. xdotool types a character that is not on the keyboard map by remapping a key for
    // it; Qt's X11 input takes no such key (a plain QLineEdit neither), so only the Latin letters
    // and digits among the Chinese arrive, and they show where each key went.
    void clicksAfterTypingChineseLandAtOnce()
    {
        QTemporaryDir dir;
        QStringList reports;
        const auto window = startHost(dir.path(), {}, reports);
        QVERIFY(window);
        QWidget* panel = window->currentPanel();
        KitTest::ModalDriver driver;
        QStringList expected;
        QStringList missed;
        for (int round = 0; round < 20; ++round) {
            const QString title = u"会议r%1纪要"_s.arg(round);
            const QString body = u"明天at%1开会"_s.arg(round);
            expected << u"r%1|at%1"_s.arg(round);
            driver.onNextModal([&, round](QDialog* dlg) {
                QVERIFY(QTest::qWaitForWindowExposed(dlg));
                auto* titleEdit = control<QTextEdit>(dlg, 21034);
                auto* bodyEdit = control<QTextEdit>(dlg, 21036);
                QVERIFY(clickOn(titleEdit, QPoint(20, 12)));
                QTRY_VERIFY(titleEdit->hasFocus());
                QVERIFY(type(title));
                // The click right after the typing: the focus goes to the body at once.
                QVERIFY(clickOn(bodyEdit, QPoint(40, 40)));
                if (!QTest::qWaitFor([&] { return bodyEdit->hasFocus(); }, 1000))
                    missed << u"round %1: body click"_s.arg(round);
                QVERIFY(type(body));
                QVERIFY(clickOn(control<QWidget>(dlg, IDOK), QPoint(20, 16)));
                if (!QTest::qWaitFor([&] { return !dlg->isVisible(); }, 1000))
                    missed << u"round %1: 确定 click"_s.arg(round);
            });
            QVERIFY(clickOn(control<QWidget>(panel, 21001), QPoint(30, 16)));
            QTRY_COMPARE(driver.driven(), round + 1);
        }
        QCOMPARE(driver.leftOpen(), 0);
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(u'\n')));
        QStringList stored;
        for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
            MemoRecord memo{};
            DBI_MemReadRecordByOrder(order, &memo);
            stored << QStringView(MemoTitle(memo)).toString() + u'|' +
                          QStringView(MemoContent(memo)).toString();
        }
        QCOMPARE(stored, expected);
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }

    // Sync set up as a person does it: 数据 → 同步设置… clicked, the address, user and password typed
    // into the dialog, a memo edited in the pane and saved; a second host on another data folder
    // finds it in its list after its own sync at start. The server is a Radicale on loopback.
    void syncSettingsTypedInCarryAMemoToASecondHost()
    {
        CalDavServer server(u"radicale"_s);
        START_OR_SKIP(server);
        QTemporaryDir first;
        QTemporaryDir second;
        QStringList reports;
        const auto prepare = [&](HostWindow& window) {
            HostPrompts& prompts = window.prompts();
            prompts.notice = [](const QString&, const QString&) {}; // no keyring in this X server
            prompts.secret = [](const QString&, const QString&) { return u"secret"_s; };
            prompts.syncSettings = [url = server.url()](SyncSettings& settings) {
                SyncDialog dialog(settings);
                QTimer::singleShot(0, &dialog, [&dialog, url] {
                    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
                    auto* address = dialog.findChild<QLineEdit*>(u"syncServer"_s);
                    QVERIFY(clickOn(address, QPoint(20, address->height() / 2)));
                    QVERIFY(type(url.toString()));
                    QVERIFY(xdotool({u"key"_s, u"Tab"_s}));
                    QVERIFY(type(u"tester"_s));
                    QVERIFY(xdotool({u"key"_s, u"Tab"_s}));
                    QVERIFY(type(u"secret"_s));
                    QVERIFY(xdotool({u"key"_s, u"Return"_s}));
                });
                if (dialog.exec() != QDialog::Accepted)
                    return false;
                settings = dialog.settings();
                return true;
            };
        };
        std::unique_ptr<HostWindow> window = startHost(first.path(), {u"travel"_s}, reports, prepare);
        QVERIFY(window);
        QMenuBar* bar = window->menuBar();
        QAction* dataMenu = nullptr;
        for (QAction* action : bar->actions())
            if (action->text().startsWith(u"数据"_s))
                dataMenu = action;
        QVERIFY(dataMenu);
        QVERIFY(clickOn(bar, bar->actionGeometry(dataMenu).center()));
        QMenu* menu = dataMenu->menu();
        QTRY_VERIFY(menu->isVisible());
        QAction* settingsAction = window->findChild<QAction*>(u"syncSettingsAction"_s);
        QVERIFY(clickOn(menu, menu->actionGeometry(settingsAction).center()));
        // The sync library is loaded by that click.
        QTRY_VERIFY(window->sync() && window->sync()->settings().user == u"tester"_s);
        QCOMPARE(window->sync()->settings().password, u"secret"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!window->sync()->running() && window->sync()->lastReport().uploaded == 1,
                                 20000);

        // Edited in the pane and saved: sent a few seconds later without being asked.
        QWidget* panel = window->currentPanel();
        auto* body = control<QTextEdit>(panel, 21027);
        QVERIFY(clickOn(body, QPoint(body->width() - 20, body->height() - 20)));
        QTRY_VERIFY(body->hasFocus());
        QVERIFY(xdotool({u"key"_s, u"ctrl+End"_s}));
        QVERIFY(type(u" by train"_s));
        QSignalSpy synced(window->sync(), &SyncController::finished);
        QVERIFY(clickOn(control<QWidget>(panel, 21025), QPoint(30, 16)));
        QTRY_COMPARE(storedContents(), QStringList{u"travel 正文 by train"_s});
        QTRY_VERIFY_WITH_TIMEOUT(synced.count() == 1, 20000);
        QCOMPARE(window->sync()->lastReport().uploaded, 1);
        QVERIFY(window->sync()->statusText().startsWith(u"已同步"_s));
        window.reset();
        MemoStore_Close();

        // The second host: the settings are this host user's, the password is asked once.
        window = startHost(second.path(), {}, reports, prepare);
        QVERIFY(window);
        auto* list = control<QTreeWidget>(window->currentPanel(), 21000);
        QTRY_COMPARE_WITH_TIMEOUT(titles(list), QStringList{u"travel"_s}, 20000);
        QCOMPARE(storedContents(), QStringList{u"travel 正文 by train"_s});
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(u'\n')));
    }
};

QTEST_MAIN(TestXSession)
#include "tst_xsession.moc"
