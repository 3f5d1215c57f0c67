#include "HostOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

bool HostOptions::parse(const QStringList& arguments, HostOptions& options, QString& message, int& exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Memo host: loads the memo module and shows its panel."_s);
    // Not addHelpOption(): its --help-all (Qt's own options) is answered only by process(), which
    // exits the program itself.
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help."_s);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption user(
        u"user"_s, u"Open the store of user NAME (default: $USER, else \"default\")."_s, u"NAME"_s);
    const QCommandLineOption dataDir(u"data-dir"_s, u"Keep the users' stores in DIR."_s, u"DIR"_s);
    const QCommandLineOption module(
        u"module"_s, u"Load the module FILE (default: the libmemo.so installed with the host)."_s, u"FILE"_s);
    const QCommandLineOption screenshot(
        u"screenshot"_s, u"Render the window after start-up to the PNG FILE and exit."_s, u"FILE"_s);
    parser.addOptions({help, user, dataDir, module, screenshot});

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
    if (parser.isSet(version)) {
        message = u"memohost "_s + QString::fromLatin1(MEMO_HOST_VERSION);
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

namespace {

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

// The bytes as they can be shown: printable ASCII as it is, everything else as \xNN.
QString shown(QByteArrayView bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            text += QChar(char16_t(byte));
        else
            text += u"\\x%1"_s.arg(uint(byte), 2, 16, QChar(u'0'));
    }
    return text;
}

} // namespace

bool HostOptions::argumentsAreText(int argc, const char* const* argv, QString& message)
{
    bool userGiven = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (!isUtf8(argument)) {
            message =
                u"The argument \"%1\" is not valid UTF-8 text, so it names no user, folder or file."_s.arg(
                    shown(argument));
            return false;
        }
        userGiven = userGiven || argument == "--user" || argument.startsWith("--user=");
    }
    if (userGiven)
        return true;
    for (const char* variable : {"USER", "USERNAME"}) {
        const QByteArray value = qgetenv(variable).trimmed();
        if (value.isEmpty())
            continue;
        if (isUtf8(value))
            return true;
        message = u"The user name in %1 (\"%2\") is not valid UTF-8 text; give the user with --user."_s.arg(
            QString::fromLatin1(variable), shown(value));
        return false;
    }
    return true;
}

QString HostOptions::privateLibraryPath(const QString& programDir, const QString& fileName)
{
    // MEMO_HOST_LIBDIR is the private library folder as seen from the program's folder in an
    // installed tree; the build tree puts programs and libraries in one folder.
    const QDir dir(programDir);
    const QString installed =
        QDir::cleanPath(dir.filePath(QString::fromUtf8(MEMO_HOST_LIBDIR) + u'/' + fileName));
    return QFileInfo::exists(installed) ? installed : dir.filePath(fileName);
}

QString HostOptions::privateLibraryPath(const QString& fileName)
{
    return privateLibraryPath(QCoreApplication::applicationDirPath(), fileName);
}

QString HostOptions::defaultModulePath(const QString& programDir)
{
    return privateLibraryPath(programDir, u"libmemo.so"_s);
}

QString HostOptions::defaultModulePath()
{
    return defaultModulePath(QCoreApplication::applicationDirPath());
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
