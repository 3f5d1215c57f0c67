#pragma once
// The host's command line.
#include <QString>
#include <QStringList>

struct HostOptions
{
    QString userName;       // whose store to open; from the environment unless --user is given
    QString dataDir;        // folder of the stores; empty: the store library's default folder
    QString modulePath;     // the module file to load
    QString screenshotPath; // when set: render the window after start-up to this PNG and exit

    // Parses `arguments` (argv, program name first). On a usage error or --help/--version returns
    // false with the text to print in `message` and the exit code in `exitCode`: 0 for --help and
    // --version, 2 for a usage error.
    static bool parse(const QStringList& arguments, HostOptions& options, QString& message, int& exitCode);

    // Qt reads the command line and the environment as UTF-8 and turns bytes that are not UTF-8 into
    // U+FFFD, so two different such user names would open the same store (and such a folder or file
    // name would name another one). Looks at the raw arguments and, without --user, at the user name
    // the environment gives; false with the message to print when one of them is not valid UTF-8.
    static bool argumentsAreText(int argc, const char* const* argv, QString& message);

    // The module file of the host program in `programDir`: an installed host keeps it in its
    // private library folder, a host in the build tree has it beside itself.
    static QString defaultModulePath(const QString& programDir);
    static QString defaultModulePath();
    // A library of the host's own (the module, the sync), in its private folder when installed.
    static QString privateLibraryPath(const QString& programDir, const QString& fileName);
    static QString privateLibraryPath(const QString& fileName);
    // $USER, else $USERNAME, else "default".
    static QString defaultUserName();
};
