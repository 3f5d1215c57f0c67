#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

bool HostOptions::parse(const QStringList& arguments, HostOptions& options, QString& message, int& exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Memo host: loads the memo module and shows its panel."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption user(
        u"user"_s, u"Open the store of user NAME (default: $USER, else \"default\")."_s, u"NAME"_s);
    const QCommandLineOption dataDir(u"data-dir"_s, u"Keep the users' stores in DIR."_s, u"DIR"_s);
    const QCommandLineOption module(
        u"module"_s, u"Load the module FILE (default: libmemo.so beside the host)."_s, u"FILE"_s);
    const QCommandLineOption screenshot(
        u"screenshot"_s, u"Render the window after start-up to the PNG FILE and exit."_s, u"FILE"_s);
    parser.addOptions({user, dataDir, module, screenshot});

    exitCode = 0;
    if (!parser.parse(arguments)) {
        message = parser.errorText() + u"\n\n"_s + parser.helpText();
        exitCode = 2;
        return false;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message = u"Unexpected argument: "_s + parser.positionalArguments().constFirst() + u"\n\n"_s +
                  parser.helpText();
        exitCode = 2;
        return false;
    }

    options.userName = parser.isSet(user) ? parser.value(user) : defaultUserName();
    if (options.userName.trimmed().isEmpty()) {
        message = u"--user needs a non-empty name."_s;
        exitCode = 2;
        return false;
    }
    options.dataDir = parser.value(dataDir);
    options.modulePath = parser.isSet(module) ? parser.value(module) : defaultModulePath();
    options.screenshotPath = parser.value(screenshot);
    if (parser.isSet(screenshot) && options.screenshotPath.isEmpty()) {
        message = u"--screenshot needs a file name."_s;
        exitCode = 2;
        return false;
    }
    return true;
}

QString HostOptions::defaultModulePath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"libmemo.so"_s);
}

QString HostOptions::defaultUserName()
{
    for (const char* variable : {"USER", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return u"default"_s;
}
