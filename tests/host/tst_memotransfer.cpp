// Export and import through the host's 数据 menu on real stores: an export read back into an empty
// store gives every memo and category again; files that are bad, hostile or over the limits are
// refused with a reason and change nothing. Also the ISO 8601 text of the memo calendar.
#include <HostWindow.h>
#include <MemoTimeText.h>
#include <StoreContents.h>

#include <DbiMemo.h>
#include <GroupRules.h>
#include <MemoRules.h>
#include <MemoStore.h>

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString text(std::u16string_view view)
{
    return QString::fromStdU16String(std::u16string(view));
}

std::int32_t storeMemo(const QString& title, const QString& body, const QString& group, std::int32_t groupId,
                       MemoTime stamp)
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

// What a person can tell about a store's memos and categories, in order.
QStringList describe(const StoreContents& contents)
{
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

QJsonObject memoJson(const QString& title, MemoTime stamp = 305371800)
{
    return {{u"title"_s, title},  {u"body"_s, u"b"_s}, {u"category"_s, u"工作"_s},
            {u"categoryId"_s, 5}, {u"stamp"_s, stamp}, {u"time"_s, MemoTimeToIso(stamp)}};
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

class TestMemoTransfer : public QObject
{
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    QStringList m_errors;
    QStringList m_notices;
    QString m_file; // the answer to every file prompt
    std::unique_ptr<HostWindow> m_window;

    HostWindow& window(const QString& user)
    {
        m_window = std::make_unique<HostWindow>(m_dir.filePath(u"data"_s));
        HostPrompts& prompts = m_window->prompts();
        prompts.error = [this](const QString&, const QString& text) { m_errors << text; };
        prompts.notice = [this](const QString&, const QString& text) { m_notices << text; };
        prompts.file = [this](const QString&, const QString&, bool) { return m_file; };
        [&] { QVERIFY(m_window->openUser(user)); }();
        return *m_window;
    }

    void trigger(const QString& action)
    {
        QAction* found = m_window->findChild<QAction*>(action);
        QVERIFY(found);
        found->trigger();
    }

    // Memos and categories the export and import must carry exactly: a day of the 31-day calendar
    // the real one lacks, a stamp before 2002, the last moment, the longest texts, the pseudo-categories.
    void fillAlice()
    {
        storeGroup(305371800, u"工作"_s);
        storeGroup(305371801, u"生活与\"引号\""_s);
        storeGroup(7, u"其它"_s);
        QVERIFY(storeMemo(u"会议"_s, u"第一行\n第二行 \"引号\" \\ 反斜杠\t制表"_s, u"工作"_s, 305371800,
                          MakeMemoTime(2011, 7, 1, 9, 30, 0)) > 0);
        QVERIFY(storeMemo(u"二月三十日"_s, u"b"_s, u"生活与\"引号\""_s, 305371801,
                          MakeMemoTime(2023, 2, 30, 23, 59, 59)) > 0);
        QVERIFY(storeMemo(u"很久以前"_s, u"old"_s, u"全部"_s, 0, -1) > 0);
        QVERIFY(storeMemo(QString(20, u'标'), QString(500, u'文'), u"其它"_s, OTHER_GROUP_ID, INT32_MAX) > 0);
    }

  private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        m_errors.clear();
        m_notices.clear();
        m_file = m_dir.filePath(u"memos.json"_s);
        QFile::remove(m_file);
    }

    void cleanup()
    {
        m_window.reset();
        MemoStore_Close();
        QDir(m_dir.filePath(u"data"_s)).removeRecursively();
    }

    void exportThenImportIntoAnEmptyStoreGivesEverythingBack()
    {
        window(u"alice"_s);
        fillAlice();
        const QStringList alice = describe(ReadStoreContents());
        trigger(u"exportJsonAction"_s);
        QCOMPARE(m_errors, QStringList());
        QCOMPARE(m_notices.size(), 1);
        QVERIFY(m_notices[0].contains(u"4 条备忘录和 2 个分类"_s));
        QCOMPARE(QFile(m_file).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        const QJsonObject first = QJsonDocument::fromJson([&] {
                                      QFile f(m_file);
                                      f.open(QIODevice::ReadOnly);
                                      return f.readAll();
                                  }())
                                      .object()[u"memos"_s]
                                      .toArray()[0]
                                      .toObject();
        QCOMPARE(first[u"time"_s].toString(), u"2011-07-01T09:30:00"_s);

        QVERIFY(m_window->switchUser(u"bob"_s));
        QVERIFY(ReadStoreContents().memos.empty());
        trigger(u"importJsonAction"_s);
        QCOMPARE(m_errors, QStringList());
        QCOMPARE(m_notices.last(), u"已导入 4 条备忘录、2 个分类。"_s);
        QCOMPARE(describe(ReadStoreContents()), alice);

        // Again: everything is there already, so nothing is added and each is named.
        trigger(u"importJsonAction"_s);
        QCOMPARE(describe(ReadStoreContents()), alice);
        QVERIFY2(m_notices.last().startsWith(u"已导入 0 条备忘录、0 个分类。\n\n跳过 6 项"_s),
                 qPrintable(m_notices.last()));
        QVERIFY(m_notices.last().contains(u"备忘录“会议”：已有相同的备忘录"_s));
        QVERIFY(m_notices.last().contains(u"分类“工作”：已有同名分类"_s));
    }

    void markdownHasOneSectionPerMemo()
    {
        window(u"alice"_s);
        fillAlice();
        m_file = m_dir.filePath(u"memos.md"_s);
        trigger(u"exportMarkdownAction"_s);
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString markdown = QString::fromUtf8(file.readAll());
        QCOMPARE(markdown.count(u"\n## "_s), 4);
        QVERIFY(
            markdown.contains(u"## 会议\n\n*分类：工作 · 时间：2011-07-01 09:30:00*\n\n第一行\n第二行"_s));
        QVERIFY(markdown.contains(u"*分类：其它 · "_s));
    }

    void badFilesChangeNothingAndSayWhy_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("stored"); // memos in the store before
        QTest::addColumn<QString>("reason");
        const QByteArray valid =
            exportJson({memoJson(u"x"_s)}, {QJsonObject{{u"id"_s, 5}, {u"name"_s, u"新"_s}}});
        QJsonArray many;
        for (int i = 0; i <= 100; ++i)
            many.append(memoJson(u"m%1"_s.arg(i)));
        QJsonArray groups;
        for (int i = 0; i <= 10; ++i)
            groups.append(QJsonObject{{u"id"_s, i}, {u"name"_s, u"g%1"_s.arg(i)}});
        QJsonObject disagree = memoJson(u"x"_s);
        disagree[u"stamp"_s] = 1;

        QTest::newRow("truncated") << valid.left(valid.size() / 2) << 1 << u"被截断"_s;
        QTest::newRow("not JSON") << QByteArray("title: x\nbody: y\n") << 1 << u"不是完整有效的 JSON"_s;
        QTest::newRow("10 MB") << QByteArray(10 * 1024 * 1024, ' ') << 1 << u"文件太大"_s;
        QTest::newRow("other JSON") << QByteArray(R"({"memos": []})") << 1 << u"不是备忘录的导出文件"_s;
        QTest::newRow("101 memos") << exportJson(many) << 0 << u"最多 100 条备忘录"_s;
        QTest::newRow("11 categories") << exportJson({}, groups) << 0 << u"10 个分类"_s;
        QTest::newRow("title of 21") << exportJson({memoJson(QString(21, u't'))}) << 1 << u"超过 20 个字符"_s;
        QTest::newRow("reserved category")
            << exportJson({}, {QJsonObject{{u"id"_s, 1}, {u"name"_s, u"所有"_s}}}) << 1 << u"保留的名称"_s;
        QTest::newRow("stamp and time disagree") << exportJson({disagree}) << 1 << u"不是同一时刻"_s;
        QTest::newRow("no title, no body")
            << exportJson({QJsonObject{{u"stamp"_s, 1}}}) << 1 << u"既没有标题也没有正文"_s;
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
            QVERIFY(storeMemo(u"s%1"_s.arg(i), u"b"_s, u"旧"_s, 305371800, i) > 0);
        const QStringList before = describe(ReadStoreContents());
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        trigger(u"importJsonAction"_s);
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors[0].startsWith(u"没有导入任何内容。"_s) && m_errors[0].contains(reason),
                 qPrintable(m_errors[0]));
        QCOMPARE(m_notices, QStringList());
        QCOMPARE(describe(ReadStoreContents()), before);
    }

    void calendarTextRoundTrips_data()
    {
        QTest::addColumn<int>("stamp");
        QTest::addColumn<QString>("iso");
        QTest::newRow("start") << 0 << u"2002-01-01T00:00:00"_s;
        QTest::newRow("example") << 305371800 << u"2011-07-01T09:30:00"_s;
        QTest::newRow("31st of February") << MakeMemoTime(2023, 2, 31, 1, 2, 3) << u"2023-02-31T01:02:03"_s;
        QTest::newRow("a second before 2002") << -1 << u"2001-12-31T23:59:59"_s;
        QTest::newRow("last") << INT32_MAX << u"2068-10-25T03:14:07"_s;
        QTest::newRow("first") << INT32_MIN << MemoTimeToIso(INT32_MIN);
    }

    void calendarTextRoundTrips()
    {
        QFETCH(int, stamp);
        QFETCH(QString, iso);
        QCOMPARE(MemoTimeToIso(stamp), iso);
        QCOMPARE(MemoTimeFromIso(iso), std::optional<MemoTime>(stamp));
        QVERIFY(iso.startsWith(u"1935-"_s) || stamp != INT32_MIN);
    }

    void calendarTextOutOfRangeIsRefused()
    {
        for (const QString& bad :
             {u"2011-13-01T00:00:00"_s, u"2011-07-32T00:00:00"_s, u"2011-07-01T24:00:00"_s,
              u"2011-07-01 09:30:00"_s, u"2068-10-25T03:14:08"_s, u"2011-7-1T09:30:00"_s})
            QVERIFY2(!MemoTimeFromIso(bad), qPrintable(bad));
    }
};

QTEST_MAIN(TestMemoTransfer)
#include "tst_memotransfer.moc"
