// What CalDAV sync keeps in a store: links written with the memo changes they describe, all or
// nothing, within the store's limits; a new collection starts without links.
#include "StoreTestUtil.h"

#include <MemoSync.h>
#include <MemoTrash.h>

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

MemoSyncLink Link(const char* uid)
{
    MemoSyncLink link{};
    std::strcpy(link.uid, uid);
    std::strcpy(link.href, (std::string("/c/") + uid + ".ics").c_str());
    std::strcpy(link.etag, "\"1\"");
    return link;
}

std::vector<MemoSyncLink> Links()
{
    std::vector<MemoSyncLink> links(std::size_t(std::max(MemoStore_SyncLinks(nullptr, 0), 0)));
    MemoStore_SyncLinks(links.data(), std::int32_t(links.size()));
    return links;
}

} // namespace

class TestSyncState : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_temp;

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY2(MemoStore_Open("sync", m_temp->path().toUtf8().constData()), MemoStore_LastError());
    }
    void cleanup() { MemoStore_Close(); }

    void notesComeInWithTheirLinksWithinTheLimits()
    {
        MemoSyncLink link = Link("a");
        const MemoGroupRecord group = NewGroupRecord(42, u"家");
        const MemoRecord note = NewMemoRecord(7, u"家", 42, u"来自服务器", u"正文");
        QCOMPARE(MemoStore_SyncBringIn(0, &note, &group, &link), int(MEMO_SYNC_DONE));
        QVERIFY(link.key > 0);
        MemoRecord stored{};
        QCOMPARE(DBI_MemReadRecord(link.key, &stored), 1);
        QCOMPARE(Q(MemoTitle(stored)), u"来自服务器"_s);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), 1);
        std::vector<MemoSyncLink> links = Links();
        QCOMPARE(links.size(), std::size_t(1));
        QVERIFY(std::memcmp(&links[0].synced, &stored, sizeof stored) == 0 && links[0].hasSynced);
        QCOMPARE(QByteArray(links[0].etag), QByteArray("\"1\""));

        // The eleventh category and the 101st memo are refused, and nothing of them is written.
        for (int i = 1; i < MAX_GROUP_COUNT; ++i) {
            const MemoGroupRecord more = NewGroupRecord(i, U(u"组%1"_s.arg(i)));
            QVERIFY(DBI_MemGroupRecycleWriteRecord(&more) > 0);
        }
        MemoSyncLink second = Link("b");
        const MemoGroupRecord eleventh = NewGroupRecord(99, u"多一个");
        QCOMPARE(MemoStore_SyncBringIn(0, &note, &eleventh, &second), int(MEMO_SYNC_GROUPS_FULL));
        for (int i = 1; i < MAX_MEMO_COUNT; ++i) {
            const MemoRecord memo = TestMemo(u"m%1"_s.arg(i));
            QVERIFY(DBI_MemRecycleWriteRecord(&memo) > 0);
        }
        QCOMPARE(MemoStore_SyncBringIn(0, &note, nullptr, &second), int(MEMO_SYNC_MEMOS_FULL));
        QCOMPARE(DBI_MemGetValidRecordCount(), MAX_MEMO_COUNT);
        QCOMPARE(DBI_MemGroupGetValidRecordCount(), MAX_GROUP_COUNT);
        QCOMPARE(Links().size(), std::size_t(1));

        // A note changed on the server replaces its memo; one deleted there sends it to the trash.
        const MemoRecord changed = NewMemoRecord(8, u"家", 42, u"改过", u"正文");
        QCOMPARE(MemoStore_SyncBringIn(link.key, &changed, nullptr, &link), int(MEMO_SYNC_DONE));
        QCOMPARE(DBI_MemReadRecord(link.key, &stored), 1);
        QCOMPARE(Q(MemoTitle(stored)), u"改过"_s);
        QCOMPARE(MemoStore_SyncTrashMemo(link.key), int(MEMO_SYNC_DONE));
        QCOMPARE(MemoStore_TrashCount(), 1);
        QVERIFY(Links().empty());
        QCOMPARE(MemoStore_SyncTrashMemo(link.key), int(MEMO_SYNC_NOT_FOUND));
    }

    void anotherCollectionStartsWithoutLinks()
    {
        const MemoRecord memo = TestMemo(u"m"_s);
        MemoSyncLink link = Link("u");
        link.key = DBI_MemRecycleWriteRecord(&memo);
        QCOMPARE(MemoStore_SyncSetState("https://a/c/", "t1"), int(MEMO_SYNC_DONE));
        QCOMPARE(MemoStore_SyncWriteLinks(&link, 1), int(MEMO_SYNC_DONE));
        QCOMPARE(MemoStore_SyncSetState("https://a/c/", "t2"), int(MEMO_SYNC_DONE));
        QCOMPARE(Links().size(), std::size_t(1));
        char collection[64];
        char token[8];
        QCOMPARE(MemoStore_SyncGetState(collection, sizeof collection, token, sizeof token),
                 int(MEMO_SYNC_DONE));
        QCOMPARE(QByteArray(token), QByteArray("t2"));
        QCOMPARE(MemoStore_SyncGetState(collection, 4, token, sizeof token),
                 int(MEMO_SYNC_FAILED)); // no room
        QCOMPARE(MemoStore_SyncSetState("https://b/c/", ""), int(MEMO_SYNC_DONE));
        QVERIFY(Links().empty());
    }
};

QTEST_GUILESS_MAIN(TestSyncState)
#include "tst_syncstate.moc"
