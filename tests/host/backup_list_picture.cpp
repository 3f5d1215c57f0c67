// Renders the list of backup copies that 数据 → 从备份恢复 offers, after one restore, over a
// temporary store and settings folder, and saves it as a PNG: backup_list_picture <list.png>.
// Runs offscreen as well.
#include <HostWindow.h>

#include <DbiMemo.h>
#include <MemoRules.h>
#include <MemoStore.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void storeMemo(const QString& title)
{
    const MemoRecord memo = NewMemoRecord(305371800, u"全部", 0, title.toStdU16String(), u"正文");
    DBI_MemRecycleWriteRecord(&memo);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_s).toLocal8Bit());
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 || !dir.isValid()) {
        std::fprintf(stderr, "usage: backup_list_picture <list.png>\n");
        return 2;
    }
    HostWindow window(dir.path());
    qint64 now = QDateTime(QDate(2024, 5, 6), QTime(9, 0)).toSecsSinceEpoch();
    HostPrompts& prompts = window.prompts();
    prompts.clock = [&now] { return now; };
    prompts.question = [](const QString&, const QString&) { return true; };
    prompts.notice = [](const QString&, const QString&) {};
    prompts.item = [](const QString&, const QString&, const QStringList&, int current) { return current; };
    if (!window.openUser(u"alice"_s))
        return 1;
    for (const QString& title : {u"周报"_s, u"买菜"_s, u"会议"_s})
        storeMemo(title);
    window.switchUser(u"bob"_s); // alice's store is backed up as it is closed
    window.switchUser(u"alice"_s);
    storeMemo(u"新的想法"_s);
    now += 3600;
    QAction* restore = window.findChild<QAction*>(u"restoreBackupAction"_s);
    restore->trigger(); // copies the store as it is first, then brings back the three memos

    // The list as the host shows it, grabbed once it is up, then cancelled.
    bool saved = false;
    const HostPrompts::ItemChoice shown = HostPrompts(&window).item;
    prompts.item = [&](const QString& title, const QString& label, const QStringList& items, int current) {
        QTimer::singleShot(300, &app, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                QApplication::processEvents();
                saved = dialog->grab().save(args[1], "PNG");
                dialog->close();
            }
        });
        return shown(title, label, items, current);
    };
    restore->trigger();
    MemoStore_Close();
    if (!saved) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
