// The host's 数据 menu on real stores, every prompt answered by the test: backups when a user's
// store is closed, restored only after a question, as the trash is emptied; a JSON export read
// back by import, and import files that are refused with a reason.
#include <HostWindow.h>
#include <MemoTimeText.h>
#include <StoreContents.h>

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoBackups.h>
#include <MemoRules.h>
#include <MemoStore.h>
#include <MemoTrash.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const qint64 kMonday = QDateTime(QDate(2024, 5, 6), QTime(9, 0)).toSecsSinceEpoch();

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
        lines << u"%1|%2|%3|%4|%5"_s
                     .arg(QStringView(MemoTitle(m)), QStringView(MemoContent(m)),
                          QStringView(MemoGroupName(m)))
                     .arg(m.groupId)
                     .arg(m.stamp);
    for (const MemoGroupRecord& g : contents.groups)
        if (!IsPseudoGroupName(GroupName(g)))
            lines << u"group %1|%2"_s.arg(g.id).arg(QStringView(GroupName(g)));
    return lines;
}

QString alicesBackupAt(qint64 when)
{
    return u"memo-616c696365.%1.db"_s.arg(QDateTime::fromSecsSinceEpoch(when).toString(u"yyyyMMdd-HHmmss"_s));
}

// An export file of one valid memo, or of one with `field` set to `value`.
QByteArray oneMemo(const QString& field = {}, const QJsonValue& value = {})
{
    QJsonObject memo{{u"title"_s, u"x"_s}, {u"stamp"_s, 7}, {u"time"_s, MemoTimeToIso(7)}};
    if (!field.isEmpty())
        memo[field] = value;
    return QJsonDocument(QJsonObject{{u"format"_s, u"memo-export"_s},
                                     {u"version"_s, 1},
                                     {u"memos"_s, QJsonArray{memo}}})
        .toJson();
}

// An export file of version 1 with these categories and memos, as JSON text: escapes stay as written.
QByteArray exportOf(const char* categories, const char* memos)
{
    return R"({"format":"memo-export","version":1,"categories":[)" + QByteArray(categories) +
           R"(],"memos":[)" + QByteArray(memos) + "]}";
}

} // namespace

class TestStoreActions : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_errors;
    bool m_answer = false;
    qint64 m_now = kMonday;
    std::unique_ptr<HostWindow> m_window;
    QString m_typed;     // the file name a person types into the save dialog; empty: memos.json
    QString m_proposed;  // the path the dialog was opened with
    QStringList m_items; // the backup list offered
    int m_current = -1;  // the entry of it chosen at first
    QStringList m_notices;
    QStringList m_questions;

    HostWindow& window(const QString& user)
    {
        m_window = std::make_unique<HostWindow>(m_dir->path());
        HostPrompts& prompts = m_window->prompts();
        prompts.error = [this](const QString&, const QString& text) { m_errors << text; };
        prompts.file = [this](const QString&, const QString&, const QString& proposed, bool) {
            m_proposed = proposed;
            return m_typed.isEmpty() ? file() : m_dir->filePath(m_typed);
        };
        prompts.item = [this](const QString&, const QString&, const QStringList& items, int current) {
            m_items = items;
            m_current = current;
            return current;
        };
        prompts.notice = [this](const QString&, const QString& text) { m_notices << text; };
        prompts.question = [this](const QString&, const QString& text) {
            m_questions << text;
            return m_answer;
        };
        prompts.clock = [this] { return m_now; };
        [&] { QVERIFY(m_window->openUser(user)); }();
        return *m_window;
    }

    QString file() const { return m_dir->filePath(u"memos.json"_s); }

    // Runs a menu action; a question it asks is answered with `answer`.
    void trigger(const QString& action, bool answer = true)
    {
        m_answer = answer;
        QAction* found = m_window->findChild<QAction*>(action);
        QVERIFY(found);
        found->trigger();
    }

    QStringList alicesBackups() const
    {
        return QDir(m_dir->filePath(u"backups"_s))
            .entryList({u"memo-616c696365.*.db"_s}, QDir::Files, QDir::Name | QDir::Reversed);
    }

  private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        m_dir = std::make_unique<QTemporaryDir>();
        m_errors.clear();
        m_now = kMonday;
        m_typed.clear();
        m_notices.clear();
        m_questions.clear();
    }

    void cleanup()
    {
        m_window.reset();
        MemoStore_Close();
        m_dir.reset();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }

    void aCopyMadeOnSwitchingUsersIsRestoredAndTheTrashEmptiedOnlyAfterYes()
    {
        HostWindow& host = window(u"alice"_s);
        QVERIFY(storeMemo(u"one"_s) > 0);
        const QStringList before = describe();
        QVERIFY(host.switchUser(u"bob"_s));
        QVERIFY(host.switchUser(u"alice"_s));
        QCOMPARE(DBI_MemDeleteRecord(1), 1);
        QVERIFY(storeMemo(u"later"_s) > 0);
        const QStringList changed = describe();
        trigger(u"restoreBackupAction"_s, false);
        trigger(u"emptyTrashAction"_s, false);
        QCOMPARE(describe(), changed);
        QCOMPARE(MemoStore_TrashCount(), 1);

        trigger(u"emptyTrashAction"_s);
        QCOMPARE(MemoStore_TrashCount(), 0);
        trigger(u"restoreBackupAction"_s);
        QCOMPARE(describe(), before);
    }

    void closingMakesACopyAtMostDailyAndTheNewestSevenAreKept()
    {
        HostWindow& host = window(u"alice"_s);
        QStringList expected;
        for (int day = 0; day < 9; ++day, m_now += 24 * 3600) {
            for (int twice = 0; twice < 2; ++twice) { // the second time the same day: no copy
                QVERIFY(host.switchUser(u"bob"_s));
                QVERIFY(host.switchUser(u"alice"_s));
            }
            expected.prepend(alicesBackupAt(m_now));
        }
        QCOMPARE(alicesBackups(), expected.mid(0, 7));
        host.show();
        host.close();
        QCOMPARE(alicesBackups(), QStringList{alicesBackupAt(m_now)} + expected.mid(0, 6));
    }

    // A copy moved over the open store: the next save is refused, the host keeps what the replaced
    // file held as a backup, opens the file now at the path and says so; saves then land there.
    void aStoreReplacedWhileOpenIsOpenedAgainWithItsContentsKept()
    {
        HostWindow& host = window(u"alice"_s);
        QStringList notices;
        host.prompts().notice = [&](const QString&, const QString& text) { notices << text; };
        QVERIFY(storeMemo(u"one"_s) > 0);
        QCOMPARE(MemoStore_BackUp(m_now, 0), int(MEMO_BACKUP_WRITTEN));
        const QString copy = m_dir->filePath(u"backups/"_s + alicesBackups().value(0));
        QVERIFY(storeMemo(u"two"_s) > 0);
        const QByteArray path = MemoStore_CurrentPath();
        QVERIFY(std::rename(QFile::encodeName(copy).constData(), path.constData()) == 0);

        QCOMPARE(storeMemo(u"three"_s), 0);
        QVERIFY2(QByteArray(MemoStore_LastError()).contains("replaced"), MemoStore_LastError());
        QTRY_COMPARE(notices.size(), 1);
        QVERIFY(notices[0].contains(u"重新打开"_s));
        QCOMPARE(describe().size(), 1); // "one", as the copy holds it
        QVERIFY(storeMemo(u"four"_s) > 0);
        QCOMPARE(describe().size(), 2);

        m_now += 60;
        trigger(u"restoreBackupAction"_s); // the newest copy: what the replaced file held
        const QStringList restored = describe();
        QCOMPARE(restored.size(), 2);
        QVERIFY(restored[1].startsWith(u"two|"_s));
    }

    void exportThenImportIntoAnEmptyStoreGivesEverythingBack()
    {
        HostWindow& host = window(u"alice"_s);
        // A day the real calendar lacks, a stamp before 2002, the last moment, the longest texts,
        // text that JSON escapes, the pseudo-categories (a stored 其它 record is not exported).
        storeGroup(305371800, u"工作"_s);
        storeGroup(305371801, u"生活\"引号\""_s);
        storeGroup(7, u"其它"_s);
        QVERIFY(storeMemo(u"会议"_s, 305371800, u"一\n二 \"引\" \\ \t"_s, u"工作"_s, 305371800));
        QVERIFY(storeMemo(u"二月三十日"_s, MakeMemoTime(2023, 2, 30, 23, 59, 59), u"b"_s, u"生活\"引号\""_s,
                          305371801));
        QVERIFY(storeMemo(u"很久以前"_s, -1));
        QVERIFY(storeMemo(QString(20, u'标'), INT32_MAX, QString(500, u'文'), u"其它"_s, OTHER_GROUP_ID));
        // Moved to 其它 when its category was deleted: the id names no category any more.
        QVERIFY(storeMemo(u"分类已删"_s, 9, u"b"_s, u"其它"_s, 305371700));
        const QStringList alice = describe();
        trigger(u"exportJsonAction"_s);
        QFile exported(file());
        QVERIFY(exported.open(QIODevice::ReadOnly));
        // The time text is for people: it names the day the panel shows.
        QCOMPARE(QJsonDocument::fromJson(exported.readAll())[u"memos"_s][1][u"time"_s].toString(),
                 u"2023-02-30T23:59:59"_s);

        QVERIFY(host.switchUser(u"bob"_s));
        for (int twice = 0; twice < 2; ++twice) { // the second time all of it is there already
            trigger(u"importJsonAction"_s);
            QCOMPARE(describe(), alice);
        }
    }

    // The dialog starts from a dated name in the documents folder; a name typed without the type
    // gets it, and a file of that name is replaced only after a question.
    void anExportIsNamedAndTyped_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("written"); // empty: nothing
        const QString json = u"备忘录-al_ce-20240506.json"_s;
        const QString md = u"备忘录-al_ce-20240506.md"_s;
        QTest::newRow("json, no type")
            << u"exportJsonAction"_s << u"memos"_s << false << true << json << u"memos.json"_s;
        QTest::newRow("json, typed") << u"exportJsonAction"_s << u"memos.JSON"_s << false << true << json
                                     << u"memos.JSON"_s;
        QTest::newRow("markdown, no type")
            << u"exportMarkdownAction"_s << u"notes"_s << false << true << md << u"notes.md"_s;
        QTest::newRow("existing, kept")
            << u"exportJsonAction"_s << u"memos"_s << true << false << json << QString();
        QTest::newRow("existing, replaced")
            << u"exportJsonAction"_s << u"memos"_s << true << true << json << u"memos.json"_s;
    }
    void anExportIsNamedAndTyped()
    {
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(bool, existing);
        QFETCH(bool, answer);
        QFETCH(QString, proposed);
        QFETCH(QString, written);
        window(u"al/ce"_s);
        QVERIFY(storeMemo(u"one"_s) > 0);
        const QString target =
            m_dir->filePath(typed.contains(u'.') ? typed : typed + proposed.mid(proposed.lastIndexOf(u'.')));
        if (existing) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        }
        m_typed = typed;
        trigger(action, answer);
        QCOMPARE(QFileInfo(m_proposed).fileName(), proposed);
        QVERIFY(QFileInfo(m_proposed).dir().exists());
        QVERIFY(!QFileInfo::exists(m_dir->filePath(typed)) || typed.contains(u'.'));
        QCOMPARE(m_questions.size(), existing ? 1 : 0);
        QFile out(target);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QCOMPARE(bytes == "old", written.isEmpty());
        if (!written.isEmpty())
            QVERIFY(bytes.contains("one"));
    }

    // Each copy is listed with its date and memo count; the copy taken just before a restore is
    // marked and is not what Enter takes; a restore says how many memos the store now holds.
    void theBackupListCountsAndMarksTheCopyBeforeARestore()
    {
        HostWindow& host = window(u"alice"_s);
        QVERIFY(storeMemo(u"one"_s) > 0);
        QVERIFY(storeMemo(u"two"_s) > 0);
        QVERIFY(host.switchUser(u"bob"_s)); // alice's copy with two memos
        QVERIFY(host.switchUser(u"alice"_s));
        QVERIFY(storeMemo(u"three"_s) > 0);
        m_now += 3600;
        trigger(u"restoreBackupAction"_s);
        QCOMPARE(m_items, QStringList{u"2024-05-06 09:00:00  2 条备忘录"_s});
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
        QCOMPARE(m_notices.size(), 1);
        QVERIFY2(m_notices.first().contains(u"现在共有 2 条备忘录"_s), qPrintable(m_notices.first()));

        m_window.reset(); // the mark is kept across runs
        MemoStore_Close();
        window(u"alice"_s);
        trigger(u"restoreBackupAction"_s, false);
        QCOMPARE(m_items, (QStringList{u"2024-05-06 10:00:00  3 条备忘录  （恢复前自动保存）"_s,
                                       u"2024-05-06 09:00:00  2 条备忘录"_s}));
        QCOMPARE(m_current, 1);
        QCOMPARE(DBI_MemGetValidRecordCount(), 2);
    }

    void theBackupListShowsItsLongestEntryWhole()
    {
        const QString longest = u"2024-05-06 10:00:00  100 条备忘录  （恢复前自动保存）"_s;
        bool whole = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            if (auto* list = dialog->findChild<QListView*>())
                whole = !list->horizontalScrollBar()->isVisible() &&
                        list->fontMetrics().horizontalAdvance(longest) < list->viewport()->width();
            dialog->close();
        });
        HostPrompts(nullptr).item(u"从备份恢复"_s, u"选择一个备份（最新的在最前）："_s,
                                  {u"2024-05-06 11:00:00  2 条备忘录"_s, longest}, 0);
        QVERIFY(whole);
    }

    // A name without a store asks first: No goes back to the field with the name, Yes creates it;
    // a known name switches at once.
    void aNewUserNameIsCreatedOnlyAfterAsking_data()
    {
        QTest::addColumn<QStringList>("typed"); // what is typed each time the field opens
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("user");      // the user afterwards
        QTest::addColumn<QStringList>("shown"); // what the field held each time it opened
        QTest::newRow("known name") << QStringList{u"bob"_s} << QList<bool>{} << u"bob"_s
                                    << QStringList{u"alice"_s};
        QTest::newRow("mistyped, corrected") << QStringList{u"bbo"_s, u"bob"_s} << QList<bool>{false}
                                             << u"bob"_s << QStringList{u"alice"_s, u"bbo"_s};
        QTest::newRow("new, created")
            << QStringList{u"carol"_s} << QList<bool>{true} << u"carol"_s << QStringList{u"alice"_s};
        QTest::newRow("mistyped, cancelled")
            << QStringList{u"bbo"_s} << QList<bool>{false} << u"alice"_s << QStringList{u"alice"_s, u"bbo"_s};
    }
    void aNewUserNameIsCreatedOnlyAfterAsking()
    {
        QFETCH(QStringList, typed);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, user);
        QFETCH(QStringList, shown);
        HostWindow& host = window(u"alice"_s);
        QVERIFY(host.switchUser(u"bob"_s));
        QVERIFY(host.switchUser(u"alice"_s));
        QStringList opened;
        host.prompts().text = [&](const QString&, const QString&,
                                  const QString& text) -> std::optional<QString> {
            opened << text;
            if (typed.isEmpty())
                return std::nullopt;
            return typed.takeFirst();
        };
        int asked = 0;
        host.prompts().question = [&](const QString&, const QString&) { return answers.value(asked++); };
        trigger(u"switchUserAction"_s);
        QCOMPARE(host.userName(), user);
        QCOMPARE(opened, shown);
        QCOMPARE(asked, int(answers.size()));
        const QByteArray dir = m_dir->path().toUtf8();
        QCOMPARE(MemoStore_Exists("bbo", dir.constData()), 0);
        QCOMPARE(MemoStore_Exists("carol", dir.constData()), user == u"carol"_s ? 1 : 0);
    }

    void badFilesChangeNothingAndSayWhy_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("stored"); // memos in the store before
        QTest::addColumn<QString>("reason");
        QTest::newRow("truncated") << oneMemo().chopped(20) << 1 << u"被截断"_s;
        QTest::newRow("not JSON") << QByteArray("title: x\n") << 1 << u"不是完整有效的 JSON"_s;
        QTest::newRow("10 MB") << QByteArray(10 * 1024 * 1024, ' ') << 1 << u"文件太大"_s;
        QTest::newRow("reserved name")
            << QByteArray(
                   R"({"format":"memo-export","version":1,"memos":[],"categories":[{"id":1,"name":"所有"}]})")
            << 1 << u"保留的名称"_s;
        QTest::newRow("title of 21") << oneMemo(u"title"_s, QString(21, u't')) << 1 << u"超过 20 个字符"_s;
        QTest::newRow("time past 32 bits")
            << oneMemo(u"time"_s, u"9999-01-01T00:00:00"_s) << 1 << u"不是 YYYY-MM-DDThh:mm:ss"_s;
        QTest::newRow("stamp and time disagree") << oneMemo(u"stamp"_s, 8) << 1 << u"不是同一时刻"_s;
        QTest::newRow("no title, no body") << oneMemo(u"title"_s, u""_s) << 1 << u"没有正文"_s;
        QTest::newRow("the store would pass 100") << oneMemo() << MAX_MEMO_COUNT << u"超过上限 100 条"_s;
        const QString halfCharacter = u"第 1 条备忘录不合要求：“%1”含有不成对的代理项"_s;
        QTest::newRow("high surrogate alone")
            << exportOf("", R"({"title":"\uD800x","stamp":7})") << 1 << halfCharacter.arg(u"title"_s);
        QTest::newRow("low surrogate alone") << exportOf("", R"({"title":"x","body":"a\uDC00","stamp":7})")
                                             << 1 << halfCharacter.arg(u"body"_s);
        QTest::newRow("pair the wrong way round")
            << exportOf("", R"({"title":"x","category":"\uDE00\uD83D","stamp":7})") << 1
            << halfCharacter.arg(u"category"_s);
        QTest::newRow("surrogate as UTF-8 bytes")
            << exportOf("", "{\"title\":\"\xED\xA0\x80\",\"stamp\":7}") << 1 << u"不是完整有效的 JSON"_s;
        QTest::newRow("surrogate in a category name")
            << exportOf(R"({"id":5,"name":"\uD83D"})", "") << 1 << u"第 1 个分类不合要求：“name”含有不成对"_s;
        QTest::newRow("version 0") << QByteArray(R"({"format":"memo-export","version":0,"memos":[]})") << 1
                                   << u"格式版本（0）不是本程序能读的版本 1"_s;
        QTest::newRow("version as text") << QByteArray(R"({"format":"memo-export","version":"1","memos":[]})")
                                         << 1 << u"格式版本（\"1\"）"_s;
        QTest::newRow("no version") << QByteArray(R"({"format":"memo-export","memos":[]})") << 1
                                    << u"格式版本（缺失）"_s;
        QTest::newRow("categories an object")
            << QByteArray(
                   R"({"format":"memo-export","version":1,"categories":{"id":5,"name":"x"},"memos":[]})")
            << 1 << u"“categories”不是数组"_s;
        QTest::newRow("memos an object") << QByteArray(R"({"format":"memo-export","version":1,"memos":{}})")
                                         << 1 << u"“memos”缺失或不是数组"_s;
        QTest::newRow("全部 padded") << exportOf(R"({"id":5,"name":"x"},{"id":6,"name":"全部 "})", "") << 1
                                     << u"第 2 个分类不合要求：“全部 ”去掉首尾的空白后是保留的名称"_s;
        QTest::newRow("其它 after an ideographic space")
            << exportOf(R"({"id":5,"name":"\u3000其它"})", "") << 1 << u"去掉首尾的空白后是保留的名称"_s;
        QTest::newRow("memo under 所有") << exportOf("", R"({"title":"x","stamp":7,"category":"所有"})") << 1
                                         << u"第 1 条备忘录不合要求：分类“所有”是保留的名称"_s;
        QTest::newRow("memo under padded 全部")
            << exportOf("", R"({"title":"x","stamp":7},{"title":"y","stamp":7,"category":"全部\t"})") << 1
            << u"第 2 条备忘录不合要求：分类“全部\t”是保留的名称"_s;
        QTest::newRow("two categories, one id")
            << exportOf(R"({"id":5,"name":"工作"},{"id":5,"name":"生活"})", "") << 1
            << u"第 2 个分类不合要求：id 5 与第 1 个分类的 id 相同"_s;
        QTest::newRow("categoryId of no category")
            << exportOf(R"({"id":5,"name":"工作"})",
                        R"({"title":"x","stamp":7,"category":"工作","categoryId":6})")
            << 1 << u"第 1 条备忘录不合要求：categoryId 6 不是文件中任何分类的 id"_s;
    }

    void badFilesChangeNothingAndSayWhy()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, stored);
        QFETCH(QString, reason);
        window(u"carol"_s);
        for (int i = 0; i < stored; ++i)
            QVERIFY(storeMemo(u"s%1"_s.arg(i), i) > 0);
        const QStringList before = describe();
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();

        trigger(u"importJsonAction"_s);
        QCOMPARE(describe(), before);
        QCOMPARE(m_errors.size(), 1);
        const QString error = m_errors.takeFirst();
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    // Into a store holding 工作 (305371800): each imported memo's categoryId names its category.
    void importedMemosPointToTheirCategory_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("memos");  // as described after the import
        QTest::addColumn<QStringList>("groups"); // added after 工作
        QTest::newRow("new category with a stored category's id")
            << exportOf(R"({"id":305371800,"name":"生活"})",
                        R"({"title":"m","stamp":7,"category":"生活","categoryId":305371800})")
            << QStringList{u"m||生活|305371801|7"_s} << QStringList{u"group 305371801|生活"_s};
        QTest::newRow("the next second is taken too")
            << exportOf(R"({"id":305371800,"name":"生活"},{"id":305371801,"name":"学习"})",
                        R"({"title":"m","stamp":7,"category":"学习","categoryId":305371801},)"
                        R"({"title":"n","stamp":8,"category":"生活","categoryId":305371800})")
            << QStringList{u"m||学习|305371801|7"_s, u"n||生活|305371802|8"_s}
            << QStringList{u"group 305371802|生活"_s, u"group 305371801|学习"_s};
        QTest::newRow("a name twice in the file")
            << exportOf(R"({"id":10,"name":"生活"},{"id":11,"name":"生活"})",
                        R"({"title":"m","stamp":7,"category":"生活","categoryId":11})")
            << QStringList{u"m||生活|10|7"_s} << QStringList{u"group 10|生活"_s};
        // Ids that mean "no category" and 其它 are given to neither: the categories get their own,
        // and the memos filed under them follow by name, while those without one and 其它's stay.
        QTest::newRow("categories with the ids of no category and of 其它")
            << exportOf(R"({"id":0,"name":"生活"},{"id":1,"name":"学习"})",
                        R"({"title":"a","stamp":7,"category":"生活","categoryId":0},)"
                        R"({"title":"b","stamp":8,"category":"学习","categoryId":1},)"
                        R"({"title":"c","stamp":9,"category":"全部","categoryId":0},)"
                        R"({"title":"d","stamp":10,"category":"其它","categoryId":1})")
            << QStringList{u"a||生活|2|7"_s, u"b||学习|3|8"_s, u"c||全部|0|9"_s, u"d||其它|1|10"_s}
            << QStringList{u"group 2|生活"_s, u"group 3|学习"_s};
        // A file written by hand may name a memo's category without its id.
        QTest::newRow("a stored category by name")
            << exportOf("", R"({"title":"m","stamp":7,"category":"工作"})")
            << QStringList{u"m||工作|305371800|7"_s} << QStringList();
        QTest::newRow("a category the file lists, by name")
            << exportOf(R"({"id":10,"name":"生活"})", R"({"title":"m","stamp":7,"category":"生活"})")
            << QStringList{u"m||生活|10|7"_s} << QStringList{u"group 10|生活"_s};
        QTest::newRow("a category nobody has")
            << exportOf(
                   "",
                   R"({"title":"m","stamp":7,"category":"旅行"},{"title":"n","stamp":7,"category":"旅行"})")
            << QStringList{u"m||旅行|7|7"_s, u"n||旅行|7|7"_s} << QStringList{u"group 7|旅行"_s};
    }

    void importedMemosPointToTheirCategory()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, memos);
        QFETCH(QStringList, groups);
        window(u"dave"_s);
        storeGroup(305371800, u"工作"_s);
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();

        trigger(u"importJsonAction"_s);
        QCOMPARE(describe(), memos + QStringList{u"group 305371800|工作"_s} + groups);
    }
};

QTEST_MAIN(TestStoreActions)
#include "tst_storeactions.moc"
