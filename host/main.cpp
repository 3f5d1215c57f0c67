// memohost: the desktop host of the memo module.
#include "HostOptions.h"
#include "HostWindow.h"
#include "LazyIconStyle.h"
#include "QtTranslation.h"
#include "QuitSignals.h"

#include <QAccessible>
#include <QApplication>
#include <QTimer>
#include <cstdio>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Qt::StringLiterals;

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void printError(const QString& title, const QString& text)
{
    std::fprintf(stderr, "memohost: %s: %s\n", qPrintable(title),
                 qPrintable(QString(text).replace(u'\n', u' ')));
}

} // namespace

int main(int argc, char** argv)
{
#ifdef __GLIBC__
    // One heap for all of the host's threads. Its few threads (the store's first open, a sync run)
    // allocate little, and a heap of their own would keep what they freed out of the window's reach:
    // about 0.4 MB more at start-up for the store's open alone.
    mallopt(M_ARENA_MAX, 1);
#endif
    if (QString message; !HostOptions::argumentsAreText(argc, argv, message)) {
        std::fprintf(stderr, "memohost: %s\n", qPrintable(message));
        return 2;
    }
    // Without a screen Qt's window system would abort the program. The offscreen one is enough for
    // --help, --version, a usage error and --screenshot; a window is refused below, after them.
    const bool noDisplay = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay();
    if (noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Qt takes its own options (-style, -platform, ...) out of the arguments here.
    QApplication app(argc, argv);
    QApplication::setOrganizationName(u"MemoModule"_s);
    QApplication::setApplicationName(u"memohost"_s);
    QApplication::setApplicationVersion(QString::fromLatin1(MEMO_HOST_VERSION));
    // Lets a Wayland desktop match the windows with the desktop entry and its icon.
    QApplication::setDesktopFileName(u"memohost"_s);

    HostOptions options;
    QString message;
    int exitCode = 0;
    if (!HostOptions::parse(QApplication::arguments(), options, message, exitCode)) {
        std::fprintf(exitCode ? stderr : stdout, "%s\n", qPrintable(message));
        return exitCode;
    }
    const bool screenshot = !options.screenshotPath.isEmpty();
    if (noDisplay && !screenshot) {
        std::fprintf(stderr, "memohost: no display (DISPLAY is not set); to get a picture of the host "
                             "instead, run it with --screenshot FILE.png\n");
        return 1;
    }
    // After the command line, whose texts stay English like the rest of the terminal output.
    installQtTranslation(app);
    LazyIconStyle::install();

    // Qt's accessibility bridge connects to the session bus when a widget first reports a change.
    // Where the environment names no bus, the D-Bus library forks the process to try to start one,
    // and a fork costs the more (and leaves the more pages to copy on the next writes) the larger
    // the process has grown: asked for here, before the window and its fonts are built, the bridge
    // takes 1-2 ms less of the start.
    QAccessible::isActive();

    HostWindow window(options.dataDir, options.userName);
    if (screenshot)
        window.setErrorReporter(printError);
    if (!window.openUser(options.userName))
        return 1;
    if (!window.loadModule(options.modulePath) && screenshot)
        return 1;
    window.show();
    // A logout, a closed terminal or Ctrl+C closes the windows as 退出 does. Modal dialogs go first
    // (cancelled), then the main window, and the event loop ends with the last of them.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, &QApplication::closeAllWindows);

    if (screenshot) {
        // Let the panel handle what start-up posted to it (the user notice and what follows
        // from it) before the picture is taken.
        QTimer::singleShot(0, &window, [&window, &options] {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            QString error;
            const bool saved = window.saveScreenshot(options.screenshotPath, error);
            if (!saved)
                printError(u"screenshot"_s, error);
            else
                std::printf("memohost: wrote %s\n", qPrintable(options.screenshotPath));
            window.close();
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
