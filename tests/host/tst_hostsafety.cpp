// The host's backups and trash without a module: a copy of a user's store when it is closed (user
// switch, quit), at most one a day and seven kept, restored after a question; emptying the trash
// after a question. Every prompt is answered by the test.
#include <HostWindow.h>

#include <DbiMemo.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kDay = 24 * 3600;
const qint64 kMonday = QDateTime(QDate(2024, 5, 6), QTime(9, 0)).toSecsSinceEpoch();

void addMemos(const QStringList& titles)
{
    for (const QString& title : titles) {
        const MemoRecord memo = NewMemoRecord(305371800, u"全部", 0, title.toStdU16String(), u"body");
        QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
    }
}

QStringList storedTitles()
{
    QStringList titles;
    for (std::int32_t order = 1; order <= DBI_MemGetValidRecordCount(); ++order) {
        MemoRecord memo{};
        DBI_MemReadRecordByOrder(order, &memo);
        titles << QString::fromStdU16String(std::u16string(MemoTitle(memo)));
    }
    return titles;
}

} // namespace

class TestHostSafety : public QObject
{
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    QStringList m_errors;
    QStringList m_notices;
    QStringList m_questions;
    bool m_answer = false;
    qint64 m_now = kMonday;

    std::unique_ptr<HostWindow> makeWindow()
    {
        auto window = std::make_unique<HostWindow>(m_dir.path());
        HostPrompts& prompts = window->prompts();
        prompts.error = [this](const QString&, const QString& text) { m_errors << text; };
        prompts.notice = [this](const QString&, const QString& text) { m_notices << text; };
        prompts.question = [this](const QString&, const QString& text) {
            m_questions << text;
            return m_answer;
        };
        prompts.item = [](const QString&, const QString&, const QStringList& items) {
            return items.isEmpty() ? -1 : 0;
        };
        prompts.clock = [this] { return m_now; };
        return window;
    }

    QStringList backupsOf(const QString& hexUser) const
    {
        return QDir(m_dir.filePath(u"backups"_s))
            .entryList({u"memo-%1.*.db"_s.arg(hexUser)}, QDir::Files, QDir::Name | QDir::Reversed);
    }

    static void trigger(HostWindow& window, const QString& action)
    {
        QAction* found = window.findChild<QAction*>(action);
        QVERIFY(found);
        found->trigger();
    }

  private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QSettings().clear();
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
        m_errors.clear();
        m_notices.clear();
        m_questions.clear();
        m_now = kMonday;
    }

    void cleanup()
    {
        MemoStore_Close();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void aCopyIsMadeOnSwitchingUsersAndRestoredAfterAQuestion()
    {
        auto window = makeWindow();
        QVERIFY(window->openUser(u"alice"_s));
        addMemos({u"one"_s, u"two"_s, u"three"_s});
        QVERIFY(window->switchUser(u"bob"_s));
        QCOMPARE(backupsOf(u"616c696365"_s), QStringList{u"memo-616c696365.20240506-090000.db"_s});

        m_now += 3600;
        QVERIFY(window->switchUser(u"alice"_s));
        for (std::int32_t key = 1; key <= 3; ++key)
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        addMemos({u"later"_s});

        m_answer = false;
        trigger(*window, u"restoreBackupAction"_s);
        QCOMPARE(m_questions.size(), 1);
        QVERIFY(m_questions[0].contains(u"alice"_s) && m_questions[0].contains(u"2024-05-06 09:00:00"_s));
        QCOMPARE(storedTitles(), QStringList{u"later"_s});

        m_answer = true;
        trigger(*window, u"restoreBackupAction"_s);
        QCOMPARE(storedTitles(), (QStringList{u"one"_s, u"two"_s, u"three"_s}));
        QCOMPARE(MemoStore_TrashCount(), 0);
        // What alice had before the restore is kept as a copy of its own.
        QCOMPARE(backupsOf(u"616c696365"_s).size(), 2);
        QCOMPARE(window->userName(), u"alice"_s);
    }

    void closingTheWindowMakesACopyAndTheNewestSevenAreKept()
    {
        auto window = makeWindow();
        QVERIFY(window->openUser(u"alice"_s));
        addMemos({u"kept"_s});
        QStringList expected;
        for (int day = 0; day < 9; ++day) {
            m_now = kMonday + day * kDay;
            QVERIFY(window->switchUser(u"bob"_s));
            QVERIFY(window->switchUser(u"alice"_s));
            QVERIFY(window->switchUser(u"bob"_s)); // the same day: no second copy
            QVERIFY(window->switchUser(u"alice"_s));
            expected.prepend(u"memo-616c696365.%1.db"_s.arg(
                QDateTime::fromSecsSinceEpoch(m_now).toString(u"yyyyMMdd-HHmmss"_s)));
        }
        QCOMPARE(backupsOf(u"616c696365"_s), expected.mid(0, 7));
        QCOMPARE(backupsOf(u"626f62"_s).size(), 7);

        m_now += kDay;
        window->show();
        window->close();
        QCOMPARE(backupsOf(u"616c696365"_s).size(), 7);
        QVERIFY(backupsOf(u"616c696365"_s)
                    .front()
                    .contains(QDateTime::fromSecsSinceEpoch(m_now).toString(u"yyyyMMdd"_s)));
    }

    void withoutCopiesTheRestoreSaysSo()
    {
        auto window = makeWindow();
        QVERIFY(window->openUser(u"carol"_s));
        trigger(*window, u"restoreBackupAction"_s);
        QCOMPARE(m_notices.size(), 1);
        QVERIFY(m_notices[0].contains(u"还没有备份"_s));
        QVERIFY(m_questions.isEmpty());
    }

    void emptyingTheTrashAsksFirst()
    {
        auto window = makeWindow();
        QVERIFY(window->openUser(u"dave"_s));
        addMemos({u"a"_s, u"b"_s});
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QCOMPARE(DBI_MemDeleteRecord(2), 1);

        m_answer = false;
        trigger(*window, u"emptyTrashAction"_s);
        QCOMPARE(MemoStore_TrashCount(), 2);
        m_answer = true;
        trigger(*window, u"emptyTrashAction"_s);
        QCOMPARE(MemoStore_TrashCount(), 0);
        QCOMPARE(m_questions.size(), 2);
        QVERIFY(m_questions[0].contains(u"2 条"_s));
        // With nothing in it there is nothing to ask.
        trigger(*window, u"emptyTrashAction"_s);
        QCOMPARE(m_questions.size(), 2);
        QCOMPARE(m_notices, QStringList{u"回收站是空的。"_s});
    }
};

QTEST_MAIN(TestHostSafety)
#include "tst_hostsafety.moc"
