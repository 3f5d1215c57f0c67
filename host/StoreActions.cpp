#include "StoreActions.h"

#include "HostPrompts.h"
#include "MemoExport.h"
#include "MemoImport.h"
#include "TrashDialog.h"
#include "UserStore.h"

#include <MemoBackups.h>
#include <MemoBatch.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <DbiMemo.h>
#include <TextView.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

constexpr int kListedSkips = 15;

QString StoreError()
{
    return QString::fromUtf8(MemoStore_LastError());
}

// The user's documents folder, the home folder where there is none.
QString DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() || !QFileInfo(documents).isDir() ? QDir::homePath() : documents;
}

// A user name as part of a file name: characters no file name may hold become "_".
QString FileNamePart(QString name)
{
    static const QRegularExpression unsafe(u"[/\\\\:*?\"<>|\\x00-\\x1f]"_s);
    name.replace(unsafe, u"_"_s);
    return name.isEmpty() || name.startsWith(u'.') ? u"_"_s + name : name;
}

const auto kBeforeRestoreKey = u"backups/beforeRestore"_s;

// The copies the store took of itself just before a restore, by path, kept across runs.
QStringList CopiesBeforeRestore()
{
    return QSettings().value(kBeforeRestoreKey).toStringList();
}

void RememberCopiesBeforeRestore(const QStringList& before, const QStringList& after)
{
    QStringList marked;
    for (const QString& path : CopiesBeforeRestore())
        if (after.contains(path))
            marked << path; // copies removed since are forgotten
    for (const QString& path : after)
        if (!before.contains(path) && !marked.contains(path))
            marked << path;
    QSettings().setValue(kBeforeRestoreKey, marked);
}

QStringList BackupPaths()
{
    const QString list = QString::fromUtf8(MemoStore_Backups());
    return list.isEmpty() ? QStringList() : list.split(u'\n');
}

QString RestoreRefusal(int result)
{
    switch (result) {
    case MEMO_TRASH_STORE_FULL:
        return u"已有 %1 条备忘录，达到上限；请先删除一些备忘录"_s.arg(MAX_MEMO_COUNT);
    case MEMO_TRASH_KEY_IN_USE:
        return u"已有一条备忘录用着它的编号"_s;
    case MEMO_TRASH_NOT_FOUND:
        return u"它已不在回收站里"_s;
    default:
        return u"存储出错（%1）"_s.arg(StoreError());
    }
}

// "memo-616c696365.20240506-183005.db" is shown as "2024-05-06 18:30:05".
QString BackupLabel(const QString& path)
{
    static const QRegularExpression stamp(
        u"\\.(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})(\\d{2})(-\\d+)?\\.db$"_s);
    const QRegularExpressionMatch m = stamp.match(path);
    if (!m.hasMatch())
        return QFileInfo(path).fileName();
    return u"%1-%2-%3 %4:%5:%6%7"_s.arg(
        m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5), m.captured(6),
        m.captured(7).isEmpty() ? QString() : u"（"_s + m.captured(7).mid(1) + u"）"_s);
}

} // namespace

StoreActions::StoreActions(QWidget* owner, HostPrompts& prompts, UserStore& store,
                           std::function<void()> storeChanged, Restored memosRestored)
    : m_owner(owner), m_prompts(prompts), m_store(store), m_storeChanged(std::move(storeChanged)),
      m_memosRestored(std::move(memosRestored))
{
}

void StoreActions::showTrash()
{
    const std::vector<DeletedMemo> trash = ReadTrash();
    if (trash.empty()) {
        m_prompts.notice(u"回收站"_s, u"回收站是空的。"_s);
        return;
    }
    TrashDialog dialog(trash, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int restored = 0;
    qint32 firstRestored = 0;
    QStringList refused;
    for (const qint32 key : dialog.chosenKeys()) {
        const auto entry = std::find_if(trash.begin(), trash.end(),
                                        [key](const DeletedMemo& e) { return e.memo.key == key; });
        const int result = MemoStore_TrashRestore(key);
        if (result == MEMO_TRASH_RESTORED && restored++ == 0)
            firstRestored = key;
        else if (result != MEMO_TRASH_RESTORED)
            refused << u"“%1”：%2"_s.arg(entry != trash.end() ? FromTextView(MemoTitle(entry->memo))
                                                              : QString::number(key),
                                         RestoreRefusal(result));
    }
    if (restored > 0) {
        m_storeChanged();
        if (m_memosRestored)
            m_memosRestored(firstRestored, restored);
    }
    if (!refused.isEmpty())
        m_prompts.error(u"无法恢复"_s,
                        u"有 %1 条备忘录没有恢复：\n\n%2"_s.arg(refused.size()).arg(refused.join(u'\n')));
}

void StoreActions::emptyTrash()
{
    const std::int32_t count = MemoStore_TrashCount();
    if (count <= 0) {
        m_prompts.notice(u"清空回收站"_s, u"回收站是空的。"_s);
        return;
    }
    if (!m_prompts.question(u"清空回收站"_s,
                            u"永久删除回收站里的 %1 条备忘录吗？删除后不能再恢复。"_s.arg(count)))
        return;
    if (MemoStore_TrashEmpty() < 0)
        m_prompts.error(u"无法清空回收站"_s, u"回收站没有清空。\n\n%1"_s.arg(StoreError()));
}

bool StoreActions::writeFile(const QString& path, const QByteArray& bytes)
{
    // Written whole or not at all, readable by its owner only, like the stores.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                         file.commit();
    if (!written)
        m_prompts.error(u"无法导出"_s, u"无法写入文件“%1”：%2"_s.arg(path, file.errorString()));
    return written;
}

void StoreActions::exportMemos(Format format)
{
    const bool json = format == Format::Json;
    const QString suffix = json ? u".json"_s : u".md"_s;
    const QString day = QDateTime::fromSecsSinceEpoch(m_prompts.clock()).toString(u"yyyyMMdd"_s);
    const QString proposed =
        QDir(DocumentsFolder())
            .filePath(u"备忘录-%1-%2%3"_s.arg(FileNamePart(m_store.userName()), day, suffix));
    const QString chosen =
        m_prompts.file(json ? u"导出为 JSON"_s : u"导出为 Markdown"_s,
                       json ? u"JSON 文件 (*.json)"_s : u"Markdown 文件 (*.md)"_s, proposed, true);
    if (chosen.isEmpty())
        return;
    // The dialog asked before replacing the file it was given, not one with the type added.
    const QString path = chosen.endsWith(suffix, Qt::CaseInsensitive) ? chosen : chosen + suffix;
    if (path != chosen && QFileInfo::exists(path) &&
        !m_prompts.question(json ? u"导出为 JSON"_s : u"导出为 Markdown"_s,
                            u"文件“%1”已经存在。要替换它吗？"_s.arg(QDir::toNativeSeparators(path))))
        return;
    const StoreContents contents = ReadStoreContents();
    const QByteArray bytes = json ? MemosToJson(contents) : MemosToMarkdown(contents, m_store.userName());
    if (writeFile(path, bytes))
        m_prompts.notice(u"导出"_s, u"已把 %1 条备忘录和 %2 个分类导出到“%3”。"_s.arg(contents.memos.size())
                                        .arg(ExportedGroups(contents).size())
                                        .arg(path));
}

void StoreActions::importMemos()
{
    const QString path =
        m_prompts.file(u"从 JSON 导入"_s, u"JSON 文件 (*.json);;所有文件 (*)"_s, DocumentsFolder(), false);
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<ImportPlan> plan = [&]() -> std::optional<ImportPlan> {
        const std::optional<QByteArray> bytes = ReadImportFile(path, error);
        if (!bytes)
            return std::nullopt;
        std::optional<ImportPlan> planned = PlanImport(*bytes, ReadStoreContents(), error);
        if (planned && !(planned->memos.empty() && planned->groups.empty()) &&
            MemoStore_AddRecords(planned->memos.data(), std::int32_t(planned->memos.size()),
                                 planned->groups.data(),
                                 std::int32_t(planned->groups.size())) != MEMO_BATCH_ADDED) {
            error = u"存储拒绝了这些记录：%1"_s.arg(StoreError());
            return std::nullopt;
        }
        return planned;
    }();
    if (!plan) {
        m_prompts.error(u"无法导入"_s, u"没有导入任何内容。\n\n%1"_s.arg(error));
        return;
    }
    if (!plan->memos.empty() || !plan->groups.empty())
        m_storeChanged();
    QString report = u"已导入 %1 条备忘录、%2 个分类。"_s.arg(plan->memos.size()).arg(plan->groups.size());
    if (!plan->skipped.isEmpty()) {
        report += u"\n\n跳过 %1 项：\n"_s.arg(plan->skipped.size()) +
                  plan->skipped.mid(0, kListedSkips).join(u'\n');
        if (plan->skipped.size() > kListedSkips)
            report += u"\n……另有 %1 项"_s.arg(plan->skipped.size() - kListedSkips);
    }
    m_prompts.notice(u"导入"_s, report);
}

QStringList StoreActions::backupLabels(const QStringList& paths, int& current) const
{
    const QStringList beforeRestore = CopiesBeforeRestore();
    QStringList labels;
    current = -1;
    for (const QString& path : paths) {
        const int memos = MemoStore_BackupMemoCount(QFile::encodeName(path).constData());
        QString label = BackupLabel(path) + (memos < 0 ? u"  （无法读取）"_s : u"  %1 条备忘录"_s.arg(memos));
        if (beforeRestore.contains(path))
            label += u"  （恢复前自动保存）"_s;
        else if (current < 0)
            current = int(labels.size());
        labels << label;
    }
    if (current < 0)
        current = 0;
    return labels;
}

void StoreActions::restoreBackup()
{
    const QStringList paths = BackupPaths();
    if (paths.isEmpty()) {
        m_prompts.notice(u"从备份恢复"_s,
                         u"还没有备份。关闭程序或切换用户时会自动备份当前用户的备忘录，每天最多一次。"_s);
        return;
    }
    int current = 0;
    const QStringList labels = backupLabels(paths, current);
    const int chosen = m_prompts.item(u"从备份恢复"_s, u"选择一个备份（最新的在最前）："_s, labels, current);
    if (chosen < 0 || chosen >= paths.size())
        return;
    const QString user = m_store.userName();
    if (!m_prompts.question(
            u"从备份恢复"_s,
            u"用 %1 的备份替换用户“%2”现在的全部备忘录、分类和回收站吗？\n\n现在的内容会先另存为一个备份。"_s
                .arg(BackupLabel(paths[chosen]), user)))
        return;
    const QByteArray path = QFile::encodeName(paths[chosen]);
    if (MemoStore_RestoreBackup(path.constData(), m_prompts.clock()) == 1) {
        RememberCopiesBeforeRestore(paths, BackupPaths());
        m_storeChanged();
        m_prompts.notice(u"从备份恢复"_s, u"已从 %1 的备份恢复。用户“%2”现在共有 %3 条备忘录。"_s
                                              .arg(BackupLabel(paths[chosen]), user)
                                              .arg(DBI_MemGetValidRecordCount()));
        return;
    }
    QString error = StoreError();
    if (!m_store.isOpen()) {
        // The store did not open again: open it as a user switch would, or say that it cannot.
        QString reopenError;
        if (m_store.open(user, reopenError))
            m_storeChanged();
        else
            error += u"\n\n"_s + reopenError;
    }
    m_prompts.error(u"无法从备份恢复"_s, u"备份没有恢复。\n\n%1"_s.arg(error));
}

void StoreActions::backUpBeforeClosing()
{
    if (!m_store.isOpen())
        return;
    if (MemoStore_BackUp(m_prompts.clock(), 1) == MEMO_BACKUP_FAILED)
        m_prompts.error(u"备份失败"_s,
                        u"用户“%1”的备忘录没有备份。\n\n%2"_s.arg(m_store.userName(), StoreError()));
}
