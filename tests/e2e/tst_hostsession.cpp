// The host program as a person uses it, in a real X server: memohost started as a process on its
// own store, driven only with pointer and keyboard input from xdotool, its work checked in the
// store file and through the clipboard (what the detail pane shows, copied as a person would).
// Where to click is measured on a copy of the same window made in this process with the same
// module file, size and fonts; the program itself is never reached into. Run by xsession-run.sh.
#include "E2eSupport.h"

#include <HostWindow.h>
#include <LoadStr.h>

#include <DbiMemo.h>
#include <MemoDraft.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <TestSeams.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int kNew = 21001, kDelete = 21003, kList = 21000, kSave = 21025, kDetailBody = 21027;
constexpr int kEditTitle = 21034, kEditBody = 21036;

// Runs xdotool and returns what it printed; empty when it failed or took longer than 20 s.
QString xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(u"xdotool"_s, arguments);
    if (!tool.waitForFinished(20000)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return tool.exitCode() == 0 ? QString::fromUtf8(tool.readAllStandardOutput()).trimmed() : QString();
}

bool run(const QStringList& arguments)
{
    return QProcess::execute(u"xdotool"_s, arguments) == 0;
}

// The visible window of process `pid` named `name`, waited for.
QString windowOf(qint64 pid, const QString& name)
{
    return xdotool({u"search"_s, u"--all"_s, u"--sync"_s, u"--onlyvisible"_s, u"--pid"_s,
                    QString::number(pid), u"--name"_s, u"^"_s + name + u"$"_s})
        .section(u'\n', 0, 0);
}

bool clickIn(const QString& window, QPoint at)
{
    return run({u"mousemove"_s, u"--window"_s, window, u"--sync"_s, QString::number(at.x()),
                QString::number(at.y())}) &&
           run({u"click"_s, u"1"_s});
}

bool keys(const QStringList& names)
{
    return run(QStringList{u"key"_s, u"--delay"_s, u"120"_s} + names);
}

bool type(const QString& text)
{
    return run({u"type"_s, u"--delay"_s, u"60"_s, text});
}

// The window X gives the keyboard to now.
QString focusedWindow()
{
    return xdotool({u"getwindowfocus"_s, u"-f"_s}).trimmed();
}

// Gives window the keyboard, as a window manager does with a new window, and waits until X has, so
// that what is typed next goes to it. There is no window manager in this X server.
bool focused(const QString& window)
{
    return !window.isEmpty() && run({u"windowfocus"_s, u"--sync"_s, window}) &&
           QTest::qWaitFor([&] { return focusedWindow() == window; }, 10000);
}

QStringList storedContents(const QString& dataDir, const char* user)
{
    QStringList contents;
    if (!MemoStore_Open(user, dataDir.toUtf8().constData()))
        return {u"(store not opened)"_s};
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        contents << QStringView(MemoContent(memo)).toString();
    }
    MemoStore_Close();
    return contents;
}

// The body of the draft the host keeps in user's store, or nothing.
QString storedDraft(const QString& dataDir, const char* user)
{
    if (!MemoStore_Open(user, dataDir.toUtf8().constData()))
        return {};
    MemoRecord draft{};
    const QString body =
        MemoStore_DraftRead(&draft) == 1 ? QStringView(MemoContent(draft)).toString() : QString();
    MemoStore_Close();
    return body;
}

// Where things are, relative to their windows, measured on a copy of the host window and of the
// memo edit dialog made here with the same module file and size.
struct Layout
{
    QMap<int, QPoint> panel;  // control id -> point in the host window
    QPoint firstRow;          // the list's first row, in the host window
    QMap<int, QPoint> dialog; // control id -> point in the memo edit dialog
};

Layout measure(const QString& scratchDir)
{
    Layout layout;
    HostWindow twin(scratchDir);
    twin.setErrorReporter([](const QString&, const QString&) {});
    if (!twin.openUser(u"twin"_s))
        return layout;
    const MemoRecord memo = NewMemoRecord(305371800, u"全部", 0, u"row", u"row");
    DBI_MemRecycleWriteRecord(&memo);
    if (!twin.loadModule(e2e::moduleFile()))
        return layout;
    twin.resize(1000, 640);
    twin.show();
    if (!QTest::qWaitForWindowExposed(&twin))
        return layout;
    QWidget* panel = twin.currentPanel();
    const auto centre = [&twin](const QWidget* w) { return w->mapTo(&twin, w->rect().center()); };
    for (int id : {kNew, kDelete, kSave, kDetailBody})
        if (auto* w = panel->findChild<QWidget*>(QString::number(id)))
            layout.panel[id] = centre(w);
    if (auto* list = panel->findChild<QTreeWidget*>(QString::number(kList));
        list && list->topLevelItemCount())
        layout.firstRow =
            list->viewport()->mapTo(&twin, list->visualItemRect(list->topLevelItem(0)).center());

    KitTest::ModalDriver driver;
    driver.onNextModal([&layout](QDialog* dlg) {
        const bool shown = QTest::qWaitForWindowExposed(dlg);
        for (int id : {kEditTitle, kEditBody, int(IDOK)})
            if (auto* w = dlg->findChild<QWidget*>(QString::number(id)); w && shown)
                layout.dialog[id] = w->mapTo(dlg, w->rect().center());
        dlg->reject();
    });
    if (auto* newButton = panel->findChild<QAbstractButton*>(QString::number(kNew)))
        newButton->click();
    return layout;
}

// The host program on `dataDir`, as a user starts it; stops it if a test leaves it running.
class Host
{
  public:
    Host(const QString& dataDir, const QString& configDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, configDir);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(e2e::hostProgram(), {u"--user"_s, u"alice"_s, u"--data-dir"_s, dataDir});
    }
    ~Host()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    qint64 pid() const { return m_process.processId(); }
    // Ended as by a crash or kill -9: no chance to write anything more.
    bool killHard()
    {
        m_process.kill();
        return m_process.waitForFinished(20000) && m_process.exitStatus() == QProcess::CrashExit;
    }
    // Sent SIGTERM, as at a logout: true when it then closed and exited with 0.
    bool terminate()
    {
        m_process.terminate();
        return m_process.waitForFinished(20000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }
    // Closed from its own menu (用户 → 退出): true when it then exited with 0.
    bool quit()
    {
        if (!keys({u"alt+u"_s, u"x"_s}) || !m_process.waitForFinished(20000))
            return false;
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

  private:
    QProcess m_process;
};

// What the detail pane holds, copied with Ctrl+A, Ctrl+C as a person would.
QString detailText(const QString& window, const Layout& layout)
{
    QGuiApplication::clipboard()->setText(u"(nothing copied)"_s);
    if (!clickIn(window, layout.panel.value(kDetailBody)) || !keys({u"ctrl+a"_s, u"ctrl+c"_s}))
        return {};
    // The copy is there once the new owner's text can be read: while X hands the clipboard over,
    // reading it gives nothing.
    (void)QTest::qWaitFor(
        [] {
            const QString text = QGuiApplication::clipboard()->text();
            return !text.isEmpty() && text != u"(nothing copied)"_s;
        },
        10000);
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestHostSession : public QObject
{
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == u"xcb"_s, "needs a real X server (xsession-run.sh)");
    }

    void aPersonWritesEditsKeepsDeletesAndSwitchesUsers()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"data"_s), config = dir.filePath(u"config"_s);
        QVERIFY(MemoStore_Open("bob", data.toUtf8().constData()));
        const MemoRecord bobs = NewMemoRecord(305371800, u"全部", 0, u"bob's memo", u"only bob's");
        QVERIFY(DBI_MemRecycleWriteRecord(&bobs) > 0);
        MemoStore_Close();
        const Layout layout = measure(dir.filePath(u"twin"_s));
        QVERIFY(layout.panel.size() == 4 && !layout.firstRow.isNull() && layout.dialog.size() == 3);

        auto host = std::make_unique<Host>(data, config);
        QString window = windowOf(host->pid(), u"MemoHost - alice"_s);
        QVERIFY2(focused(window), "the host's window did not appear");

        // New: the edit dialog; a title, a body, OK. The memo is stored, selected and shown.
        QVERIFY(clickIn(window, layout.panel[kNew]));
        const QString dialog = windowOf(host->pid(), LoadStr(214));
        QVERIFY2(focused(dialog), "the memo edit dialog did not appear");
        QVERIFY(clickIn(dialog, layout.dialog[kEditTitle]));
        QVERIFY(type(u"groceries"_s));
        QVERIFY(clickIn(dialog, layout.dialog[kEditBody]));
        QVERIFY(type(u"milk and eggs"_s));
        QVERIFY(clickIn(dialog, layout.dialog[IDOK]));
        QTRY_COMPARE_WITH_TIMEOUT(storedContents(data, "alice"), QStringList{u"milk and eggs"_s}, 10000);
        QCOMPARE(detailText(window, layout), u"milk and eggs"_s);

        // Edited in the detail pane and saved: the same memo holds the new text.
        QVERIFY(keys({u"ctrl+End"_s}));
        QVERIFY(type(u" and bread"_s));
        QVERIFY(clickIn(window, layout.panel[kSave]));
        QTRY_COMPARE_WITH_TIMEOUT(storedContents(data, "alice"), QStringList{u"milk and eggs and bread"_s},
                                  10000);

        // Closed and started again: the memo is there, shown in the detail pane.
        QVERIFY(host->quit());
        host = std::make_unique<Host>(data, config);
        window = windowOf(host->pid(), u"MemoHost - alice"_s);
        QVERIFY(focused(window));
        QCOMPARE(detailText(window, layout), u"milk and eggs and bread"_s);

        // Delete, answered Yes with Enter: gone from the store.
        QVERIFY(clickIn(window, layout.firstRow));
        QVERIFY(clickIn(window, layout.panel[kDelete]));
        QVERIFY2(focused(windowOf(host->pid(), LoadStr(235))), "no question before deleting");
        QVERIFY(keys({u"Return"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(storedContents(data, "alice"), QStringList(), 10000);

        // Another user from the menu (用户 → 切换用户): that user's memo, none of alice's.
        QVERIFY(clickIn(window, layout.panel[kDetailBody]));
        QVERIFY(keys({u"alt+u"_s, u"s"_s}));
        QVERIFY2(focused(windowOf(host->pid(), u"切换用户"_s)), "no prompt for the user name");
        QVERIFY(keys({u"ctrl+a"_s}));
        QVERIFY(type(u"bob"_s));
        QVERIFY(keys({u"Return"_s}));
        window = windowOf(host->pid(), u"MemoHost - bob"_s);
        QVERIFY2(focused(window), "the host did not switch to bob");
        QCOMPARE(detailText(window, layout), u"only bob's"_s);
        QCOMPARE(storedContents(data, "alice"), QStringList());
        QVERIFY(host->quit());
    }

    // Typed into the pane and not saved, then the host ends: killed once it has kept the draft, or
    // sent SIGTERM as at a logout before its own draft was due, when it closes as from its menu.
    // Either way the next start shows the text again and Save stores it. A logout also ends a host
    // whose modal dialog runs a loop of its own.
    void typedTextSurvivesTheHostsEnd_data()
    {
        QTest::addColumn<bool>("logout");
        QTest::newRow("killed") << false;
        QTest::newRow("logout") << true;
    }
    void typedTextSurvivesTheHostsEnd()
    {
        QFETCH(bool, logout);
        QTemporaryDir dir;
        const QString data = dir.filePath(u"data"_s), config = dir.filePath(u"config"_s);
        QVERIFY(MemoStore_Open("alice", data.toUtf8().constData()));
        const MemoRecord memo = NewMemoRecord(305371800, u"全部", 0, u"groceries", u"milk");
        QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        MemoStore_Close();
        const Layout layout = measure(dir.filePath(u"twin"_s));
        QVERIFY(layout.panel.size() == 4);

        auto host = std::make_unique<Host>(data, config);
        QString window = windowOf(host->pid(), u"MemoHost - alice"_s);
        QVERIFY2(focused(window), "the host's window did not appear");
        QVERIFY(clickIn(window, layout.panel[kDetailBody]));
        QVERIFY(keys({u"ctrl+End"_s}));
        QVERIFY(type(u" and bread"_s));
        if (logout) {
            QTest::qWait(100); // the keys handled; the pane writes its draft 400 ms after them
            QVERIFY2(host->terminate(), "SIGTERM did not close the host");
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(storedDraft(data, "alice"), u"milk and bread"_s, 10000);
            QVERIFY(host->killHard());
        }
        QCOMPARE(storedDraft(data, "alice"), u"milk and bread"_s);
        QCOMPARE(storedContents(data, "alice"), QStringList{u"milk"_s});

        host = std::make_unique<Host>(data, config);
        window = windowOf(host->pid(), u"MemoHost - alice"_s);
        QVERIFY(focused(window));
        QCOMPARE(detailText(window, layout), u"milk and bread"_s);
        QVERIFY(clickIn(window, layout.panel[kSave]));
        QTRY_COMPARE_WITH_TIMEOUT(storedContents(data, "alice"), QStringList{u"milk and bread"_s}, 10000);
        if (!logout) {
            QVERIFY(host->quit());
            return;
        }
        QVERIFY(keys({u"alt+u"_s, u"s"_s}));
        QVERIFY2(focused(windowOf(host->pid(), u"切换用户"_s)), "no prompt for the user name");
        QVERIFY2(host->terminate(), "SIGTERM did not close the host with a dialog open");
    }
};

QTEST_MAIN(TestHostSession)
#include "tst_hostsession.moc"
