#include "WriteStringToFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString LocalFilePath(const QString& path)
{
    static const QRegularExpression drivePath(QStringLiteral("^([A-Za-z]):[\\\\/](.*)$"));
    const QRegularExpressionMatch match = drivePath.match(path);
    if (!match.hasMatch())
        return path;
    QStringList parts;
    for (const QString& part :
         match.captured(2).split(QRegularExpression(QStringLiteral("[\\\\/]+")), Qt::SkipEmptyParts))
        if (part != u"." && part != u"..")
            parts << part;
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return base + QStringLiteral("/drive-") + match.captured(1).toLower() + QLatin1Char('/') +
           parts.join(u'/');
}

BOOL WriteStringToFile(const QString& text, const QString& path, BOOL /*bAppend*/)
{
    const QString local = LocalFilePath(path);
    if (local.isEmpty() || local.endsWith(u'/'))
        return 0;
    QDir().mkpath(QFileInfo(local).absolutePath());
    QFile file(local);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return 0;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush() ? 1 : 0;
}
