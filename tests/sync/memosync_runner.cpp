// One sync of a user's store as the host runs it, in a process of its own that a test can kill:
//   memosync_runner <data folder> <user> <server URL> <user name> <password>
// Prints "ok <uploaded> <brought in>" or "failed: <reason>"; exit code 0 when the sync ran through.
#include "CalDavSync.h"

#include <MemoStore.h>

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: memosync_runner <dir> <user> <url> <name> <password>\n");
        return 64;
    }
    if (MemoStore_Open(argv[2], argv[1]) != 1) {
        std::printf("failed: %s\n", MemoStore_LastError());
        return 1;
    }
    const SyncReport report =
        RunSync({QUrl(QString::fromUtf8(argv[3])), QString::fromUtf8(argv[4]), QString::fromUtf8(argv[5])});
    if (report.ok)
        std::printf("ok %d %d\n", report.uploaded, report.broughtIn);
    else
        std::printf("failed: %s\n", report.error.toUtf8().constData());
    MemoStore_Close();
    return report.ok ? 0 : 2;
}
