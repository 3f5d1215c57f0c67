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
    // false with the text to print in `message` and the exit code in `exitCode`.
    static bool parse(const QStringList& arguments, HostOptions& options, QString& message, int& exitCode);

    // The module built beside the host program.
    static QString defaultModulePath();
    // $USER, else $USERNAME, else "default".
    static QString defaultUserName();
};
