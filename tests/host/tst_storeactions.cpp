// The host's 数据 menu on real stores, every prompt answered by the test: a backup when a user's
// store is closed (at most one a day, seven kept) restored after a question; emptying the trash
// after a question; an export read back into an empty store gives every memo and category again,
// and files that are bad, hostile or over the limits are refused with a reason and change nothing.
#include <HostWindow.h>
#include <MemoTimeText.h>
#include <StoreContents.h>

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kDay = 24 * 3600;
const qint64 kMonday = QDateTime(QDate(2024, 5, 6), QTime(9, 0)).toSecsSinceEpoch();

QString text(std::u16string_view view)
{
    return QString::fromStdU16String(std::u16string(view));
}

std::int32_t storeMemo(const QString& title, MemoTime stamp = 305371800, const QString& body = u"b"_s,
                       const QString& group = u"全部"_s, std::int32_t groupId = 0)
{
    const MemoRecord memo =
        NewMemoRecord(stamp, group.toStdU16String(), groupId, title.toStdU16String(), body.toStdU16String());
    return DBI_MemRecycleWriteRecord(&memo);
}

void storeGroup(std::int32_t id, const QString& name)
{
    const MemoGroupRecord group = NewGroupRecord(id, name.toStdU16String());
    QVERIFY(DBI_MemGroupRecycleWriteRecord(&group) > 0);
}

// What a person can tell about the store's memos and categories, in order.
QStringList describe()
{
    const StoreContents contents = ReadStoreContents();
    QStringList lines;
    for (const MemoRecord& m : contents.memos)
        lines << u"%1|%2|%3|%4|%5"_s.arg(text(MemoTitle(m)), text(MemoContent(m)), text(MemoGroupName(m)))
                     .arg(m.groupId)
                     .arg(m.stamp);
    for (const MemoGroupRecord& g : contents.groups)
        if (!IsPseudoGroupName(GroupName(g)))
            lines << u"group %1|%2"_s.arg(g.id).arg(text(GroupName(g)));
    return lines;
}

QJsonObject memoJson(const QString& title)
{
    return {{u"title"_s, title}, {u"body"_s, u"b"_s}, {u"stamp"_s, 7}, {u"time"_s, MemoTimeToIso(7)}};
}

QByteArray exportJson(const QJsonArray& memos, const QJsonArray& groups = {})
{
    return QJsonDocument(QJsonObject{{u"format"_s, u"memo-export"_s},
                                     {u"version"_s, 1},
                                     {u"categories"_s, groups},
                                     {u"memos"_s, memos}})
        .toJson();
}

} // namespace

class TestStoreActions : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_errors;
    QStringList m_notices;
    QStringList m_questions;
    bool m_answer = false;
    qint64 m_now = kMonday;
    std::unique_ptr<HostWindow> m_window;

    HostWindow& window(const QString& user)
    {
        m_window = std::make_unique<HostWindow>(m_dir->path());
        HostPrompts& prompts = m_window->prompts();
        prompts.error = [this](const QString&, const QString& text) { m_errors << text; };
        prompts.notice = [this](const QString&, const QString& text) { m_notices << text; };
        prompts.question = [this](const QString&, const QString& text) {
            m_questions << text;
            return m_answer;
        };
        prompts.file = [this](const QString&, const QString&, bool) { return file(); };
        prompts.item = [](const QString&, const QString&, const QStringList& items) {
            return items.isEmpty() ? -1 : 0;
        };
        prompts.clock = [this] { return m_now; };
        [&] { QVERIFY(m_window->openUser(user)); }();
        return *m_window;
    }

    QString file() const { return m_dir->filePath(u"memos.json"_s); }

    void trigger(const QString& action)
    {
        QAction* found = m_window->findChild<QAction*>(action);
        QVERIFY(found);
        found->trigger();
    }

    QStringList backupsOf(const QString& hexUser) const
    {
        return QDir(m_dir->filePath(u"backups"_s))
            .entryList({u"memo-%1.*.db"_s.arg(hexUser)}, QDir::Files, QDir::Name | QDir::Reversed);
    }

  private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        m_dir = std::make_unique<QTemporaryDir>();
        m_errors.clear();
        m_notices.clear();
        m_questions.clear();
        m_now = kMonday;
    }

    void cleanup()
    {
        m_window.reset();
        MemoStore_Close();
        m_dir.reset();
    }

    void aCopyIsMadeOnSwitchingUsersAndRestoredAfterAQuestion()
    {
        HostWindow& host = window(u"alice"_s);
        for (const QString& title : {u"one"_s, u"two"_s, u"three"_s})
            QVERIFY(storeMemo(title) > 0);
        const QStringList before = describe();
        QVERIFY(host.switchUser(u"bob"_s));
        QCOMPARE(backupsOf(u"616c696365"_s), QStringList{u"memo-616c696365.20240506-090000.db"_s});

        m_now += 3600;
        QVERIFY(host.switchUser(u"alice"_s));
        for (std::int32_t key = 1; key <= 3; ++key)
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        QVERIFY(storeMemo(u"later"_s) > 0);
        const QStringList changed = describe();

        m_answer = false;
        trigger(u"restoreBackupAction"_s);
        QCOMPARE(m_questions.size(), 1);
        QVERIFY(m_questions[0].contains(u"alice"_s) && m_questions[0].contains(u"2024-05-06 09:00:00"_s));
        QCOMPARE(describe(), changed);

        m_answer = true;
        trigger(u"restoreBackupAction"_s);
        QCOMPARE(describe(), before);
        QCOMPARE(MemoStore_TrashCount(), 0);
        QCOMPARE(backupsOf(u"616c696365"_s).size(), 2); // what alice had before the restore
        QCOMPARE(m_errors, QStringList());
    }

    void closingMakesACopyAtMostDailyAndTheNewestSevenAreKept()
    {
        HostWindow& host = window(u"alice"_s);
        QStringList expected;
        for (int day = 0; day < 9; ++day) {
            m_now = kMonday + day * kDay;
            for (int twice = 0; twice < 2; ++twice) { // the second time the same day: no copy
                QVERIFY(host.switchUser(u"bob"_s));
                QVERIFY(host.switchUser(u"alice"_s));
            }
            expected.prepend(u"memo-616c696365.%1.db"_s.arg(
                QDateTime::fromSecsSinceEpoch(m_now).toString(u"yyyyMMdd-HHmmss"_s)));
        }
        QCOMPARE(backupsOf(u"616c696365"_s), expected.mid(0, 7));
        QCOMPARE(backupsOf(u"626f62"_s).size(), 7);

        m_now += kDay;
        host.show();
        host.close();
        QVERIFY(backupsOf(u"616c696365"_s)
                    .front()
                    .contains(QDateTime::fromSecsSinceEpoch(m_now).toString(u"yyyyMMdd"_s)));
        QCOMPARE(backupsOf(u"616c696365"_s).size(), 7);
        QCOMPARE(m_errors, QStringList());
    }

    void emptyingTheTrashAsksFirst()
    {
        window(u"dave"_s);
        QCOMPARE(DBI_MemDeleteRecord(storeMemo(u"a"_s)), 1);
        m_answer = false;
        trigger(u"emptyTrashAction"_s);
        QCOMPARE(MemoStore_TrashCount(), 1);
        m_answer = true;
        trigger(u"emptyTrashAction"_s);
        QCOMPARE(MemoStore_TrashCount(), 0);
        QCOMPARE(m_questions.size(), 2);
        QVERIFY(m_questions[0].contains(u"1 条"_s));
    }

    void exportThenImportIntoAnEmptyStoreGivesEverythingBack()
    {
        HostWindow& host = window(u"alice"_s);
        // A day the real calendar lacks, a stamp before 2002, the last moment, the longest texts,
        // text that JSON escapes, the pseudo-categories (a stored 其它 record is not exported).
        storeGroup(305371800, u"工作"_s);
        storeGroup(305371801, u"生活\"引号\""_s);
        storeGroup(7, u"其它"_s);
        QVERIFY(storeMemo(u"会议"_s, MakeMemoTime(2011, 7, 1, 9, 30, 0), u"一\n二 \"引\" \\ \t"_s, u"工作"_s,
                          305371800));
        QVERIFY(storeMemo(u"二月三十日"_s, MakeMemoTime(2023, 2, 30, 23, 59, 59), u"b"_s, u"生活\"引号\""_s,
                          305371801));
        QVERIFY(storeMemo(u"很久以前"_s, -1));
        QVERIFY(storeMemo(QString(20, u'标'), INT32_MAX, QString(500, u'文'), u"其它"_s, OTHER_GROUP_ID));
        const QStringList alice = describe();
        trigger(u"exportJsonAction"_s);
        QCOMPARE(m_notices, QStringList{u"已把 4 条备忘录和 2 个分类导出到“%1”。"_s.arg(file())});
        QFile exported(file());
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QJsonArray memos = QJsonDocument::fromJson(exported.readAll())[u"memos"_s].toArray();
        QCOMPARE(memos[0][u"time"_s].toString(), u"2011-07-01T09:30:00"_s);
        QCOMPARE(memos[1][u"time"_s].toString(), u"2023-02-30T23:59:59"_s);

        QVERIFY(host.switchUser(u"bob"_s));
        trigger(u"importJsonAction"_s);
        QCOMPARE(m_notices.last(), u"已导入 4 条备忘录、2 个分类。"_s);
        QCOMPARE(describe(), alice);

        // Again: all of it is there already, so nothing is added and each is named.
        trigger(u"importJsonAction"_s);
        QCOMPARE(describe(), alice);
        QVERIFY(m_notices.last().startsWith(u"已导入 0 条备忘录、0 个分类。\n\n跳过 6 项"_s));
        QVERIFY(m_notices.last().contains(u"备忘录“会议”：已有相同的备忘录"_s));
        QVERIFY(m_notices.last().contains(u"分类“工作”：已有同名分类"_s));
        QCOMPARE(m_errors, QStringList());
    }

    void badFilesChangeNothingAndSayWhy_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("stored"); // memos in the store before
        QTest::addColumn<QString>("reason");
        const QByteArray valid = exportJson({memoJson(u"x"_s)});
        QJsonArray many;
        for (int i = 0; i <= 100; ++i)
            many.append(memoJson(u"m%1"_s.arg(i)));
        QJsonArray groups;
        for (int i = 0; i <= 10; ++i)
            groups.append(QJsonObject{{u"id"_s, i}, {u"name"_s, u"g%1"_s.arg(i)}});
        QJsonObject disagree = memoJson(u"x"_s);
        disagree[u"stamp"_s] = 8;

        QTest::newRow("truncated") << valid.left(valid.size() / 2) << 1 << u"被截断"_s;
        QTest::newRow("not JSON") << QByteArray("title: x\n") << 1 << u"不是完整有效的 JSON"_s;
        QTest::newRow("10 MB") << QByteArray(10 * 1024 * 1024, ' ') << 1 << u"文件太大"_s;
        QTest::newRow("other JSON") << QByteArray(R"({"memos": []})") << 1 << u"不是备忘录的导出文件"_s;
        QTest::newRow("101 memos") << exportJson(many) << 0 << u"最多 100 条备忘录"_s;
        QTest::newRow("11 categories") << exportJson({}, groups) << 0 << u"10 个分类"_s;
        QTest::newRow("title of 21") << exportJson({memoJson(QString(21, u't'))}) << 1 << u"超过 20 个字符"_s;
        QTest::newRow("reserved name")
            << exportJson({}, {QJsonObject{{u"id"_s, 1}, {u"name"_s, u"所有"_s}}}) << 1 << u"保留的名称"_s;
        QTest::newRow("stamp and time disagree") << exportJson({disagree}) << 1 << u"不是同一时刻"_s;
        QTest::newRow("no title, no body")
            << exportJson({QJsonObject{{u"stamp"_s, 1}}}) << 1 << u"没有正文"_s;
        QTest::newRow("the store would pass 100") << valid << 100 << u"超过上限 100 条"_s;
    }

    void badFilesChangeNothingAndSayWhy()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, stored);
        QFETCH(QString, reason);
        window(u"carol"_s);
        storeGroup(305371800, u"旧"_s);
        for (int i = 0; i < stored; ++i)
            QVERIFY(storeMemo(u"s%1"_s.arg(i), i) > 0);
        const QStringList before = describe();
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();

        trigger(u"importJsonAction"_s);
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors[0].startsWith(u"没有导入任何内容。"_s) && m_errors[0].contains(reason),
                 qPrintable(m_errors[0]));
        QCOMPARE(m_notices, QStringList());
        QCOMPARE(describe(), before);
    }

    void calendarTextIsExact_data()
    {
        QTest::addColumn<QString>("iso");
        QTest::addColumn<qint64>("stamp"); // -1 - 2^32: not a moment a stamp can hold
        const qint64 none = -1 - (qint64(1) << 32);
        QTest::newRow("31st of February")
            << u"2023-02-31T01:02:03"_s << qint64(MakeMemoTime(2023, 2, 31, 1, 2, 3));
        QTest::newRow("before 2002") << u"2001-12-31T23:59:59"_s << qint64(-1);
        QTest::newRow("first") << u"1935-03-07T20:45:52"_s << qint64(INT32_MIN);
        QTest::newRow("past the last") << u"2068-10-25T03:14:08"_s << none;
        QTest::newRow("month 13") << u"2011-13-01T00:00:00"_s << none;
        QTest::newRow("space for T") << u"2011-07-01 09:30:00"_s << none;
    }

    void calendarTextIsExact()
    {
        QFETCH(QString, iso);
        QFETCH(qint64, stamp);
        const std::optional<MemoTime> read = MemoTimeFromIso(iso);
        QCOMPARE(read.has_value(), stamp >= INT32_MIN);
        if (read) {
            QCOMPARE(qint64(*read), stamp);
            QCOMPARE(MemoTimeToIso(*read), iso);
        }
    }
};

QTEST_MAIN(TestStoreActions)
#include "tst_storeactions.moc"
