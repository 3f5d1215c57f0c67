#include "DrawingLog.h"

#include <LastError.h>
#include <LoadStr.h>
#include <WriteStringToFile.h>

#include <QDir>
#include <QStandardPaths>

QString DrawingLogPath()
{
#ifdef Q_OS_WIN
    if (QDir(QStringLiteral("d:/")).exists())
        return QStringLiteral("d:\\addr.txt");
#endif
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("addr.txt"));
}

void LogDrawingFailure(DrawingResource resource, const QString& function)
{
    // Read first: nothing below may change it.
    const int error = int(GetLastError());
    const QString format = resource == DrawingResource::MemoryDC
                               ? QStringLiteral("\r\nCreateCompatibleDC<%s><%d>\r\n")
                               : QStringLiteral("\r\nCreateCompatibleBitmap<%s><%d>\r\n");
    WriteStringToFile(FormatStr(format, function, error), DrawingLogPath(), 1);
}
