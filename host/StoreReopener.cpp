#include "StoreReopener.h"

#include "HostPrompts.h"
#include "UserStore.h"

#include <MemoBackups.h>
#include <MemoStore.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// How often a reopen that waits for an open dialog looks again.
constexpr int kDialogPollMs = 200;

} // namespace

StoreReopener::StoreReopener(QWidget* owner, HostPrompts& prompts, UserStore& store,
                             std::function<void()> storeChanged)
    : m_owner(owner), m_prompts(prompts), m_store(store), m_storeChanged(std::move(storeChanged))
{
}

StoreReopener::~StoreReopener()
{
    if (m_watching)
        MemoStore_SetReplacedHook(nullptr, nullptr);
}

void StoreReopener::watch()
{
    if (!std::exchange(m_watching, true))
        MemoStore_SetReplacedHook(&StoreReopener::OnReplaced, this);
}

void StoreReopener::OnReplaced(void* context)
{
    // Runs inside the refused write, under the store's lock: only note it, act from the event loop.
    auto* self = static_cast<StoreReopener*>(context);
    if (std::exchange(self->m_pending, true))
        return;
    QTimer::singleShot(0, self->m_owner, [self] { self->reopen(); });
}

void StoreReopener::reopen()
{
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kDialogPollMs, m_owner, [this] { reopen(); });
        return;
    }
    m_pending = false;
    const QString user = m_store.userName();
    if (user.isEmpty() || !m_store.isOpen())
        return;
    // The connection still reads the file that left the path: what it held stays restorable.
    const bool kept = MemoStore_BackUp(m_prompts.clock(), 0) == MEMO_BACKUP_WRITTEN;
    const QString keptText =
        kept ? u"被替换前的内容已另存为一个备份（数据 → 从备份恢复）。"_s
             : u"被替换前的内容没能另存为备份（%1）。"_s.arg(QString::fromUtf8(MemoStore_LastError()));
    const QString what =
        u"用户“%1”的备忘录存储文件在程序运行时被另一个文件替换或移走了。从那时起的改动没有写入，"
        u"并已报告为失败。"_s.arg(user);
    QString error;
    if (!m_store.open(user, error)) {
        m_prompts.error(u"备忘录存储被替换"_s,
                        u"%1\n\n现在位于原处的文件无法打开：\n\n%2\n\n%3"_s.arg(what, error, keptText));
        return;
    }
    m_storeChanged();
    m_prompts.notice(
        u"备忘录存储被替换"_s,
        u"%1\n\n现在位于原处的文件已检查并重新打开，面板已按它重新载入；详情栏中未保存的编辑仍在，"
        u"可以再保存一次。\n\n%2"_s.arg(what, keptText));
}
