// The memo panel's draft (one per store, unseen by the record operations, never waiting for a lock),
// the hook run before a store closes, and memo states.
#include "StoreTestUtil.h"

#include <MemoDraft.h>

#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstring>
#include <future>

using namespace Qt::StringLiterals;

namespace {

bool SameRecord(const MemoRecord& a, const MemoRecord& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What the close hook saw and did.
struct HookLog
{
    QStringList closing; // the open store's path at each call
    MemoRecord draft{};
    bool reenter = false; // try to close and open from inside the hook
    int nestedOpen = -1;
};

void WriteDraftOnClose(void* context)
{
    auto* log = static_cast<HookLog*>(context);
    log->closing << QString::fromUtf8(MemoStore_CurrentPath());
    MemoStore_DraftWrite(&log->draft);
    if (log->reenter) {
        MemoStore_Close();
        log->nestedOpen = MemoStore_Open("other", nullptr);
    }
}

} // namespace

class TestDraft : public QObject
{
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_temp;

    bool Open(const char* user) { return MemoStore_Open(user, m_temp->path().toUtf8().constData()) == 1; }

  private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY2(Open("alice"), MemoStore_LastError());
    }

    void cleanup()
    {
        MemoStore_SetCloseHook(nullptr, nullptr);
        MemoStore_Close();
        m_temp.reset();
    }

    void oneDraftPerStoreUntilCleared()
    {
        MemoRecord read{};
        std::memset(&read, 0xAB, sizeof read);
        const MemoRecord untouched = read;
        QCOMPARE(MemoStore_DraftRead(&read), 0);
        QVERIFY(SameRecord(read, untouched));

        MemoRecord draft = TestMemo(u"half"_s, u"typed"_s, u"工作"_s);
        draft.key = 7; // the memo it edits
        draft.reserved1 = 0x01020304;
        const MemoRecord first = TestMemo(u"first"_s);
        QCOMPARE(MemoStore_DraftWrite(&first), int(MEMO_DRAFT_DONE));
        QCOMPARE(MemoStore_DraftWrite(&draft), int(MEMO_DRAFT_DONE));
        QCOMPARE(DBI_MemGetValidRecordCount(), 0);
        QVERIFY(Open("bob"));
        QCOMPARE(MemoStore_DraftRead(&read), 0);
        QVERIFY(Open("alice"));
        QVERIFY(MemoStore_DraftRead(&read) == 1 && SameRecord(read, draft));
        QCOMPARE(RawDb(QString::fromUtf8(MemoStore_CurrentPath())).Text("SELECT count(*) FROM memo_draft"),
                 u"1"_s);

        QCOMPARE(MemoStore_DraftClear(), int(MEMO_DRAFT_DONE));
        QCOMPARE(MemoStore_DraftClear(), int(MEMO_DRAFT_DONE));
        QCOMPARE(MemoStore_DraftRead(&read), 0);
    }

    void draftWritesNeverWaitForAnotherWriter_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::newRow("write") << false;
        QTest::newRow("clear") << true;
    }

    void draftWritesNeverWaitForAnotherWriter()
    {
        QFETCH(bool, clear);
        const MemoRecord before = TestMemo(u"before"_s);
        const MemoRecord draft = TestMemo(u"draft"_s);
        QCOMPARE(MemoStore_DraftWrite(&before), int(MEMO_DRAFT_DONE));
        RawDb other(QString::fromUtf8(MemoStore_CurrentPath()));
        QVERIFY(other.Exec("BEGIN IMMEDIATE"));
        auto attempt = std::async(std::launch::async, [&] {
            return clear ? MemoStore_DraftClear() : MemoStore_DraftWrite(&draft);
        });
        // A call that waited for the lock would still wait when it is let go, and then write.
        attempt.wait_for(std::chrono::seconds(3));
        // Meanwhile a record operation waits for its turn, as it always does, and gets it.
        auto memo = std::async(std::launch::async, [&] { return DBI_MemRecycleWriteRecord(&before); });
        memo.wait_for(std::chrono::milliseconds(300));
        QVERIFY(other.Exec("ROLLBACK"));
        QCOMPARE(attempt.get(), int(MEMO_DRAFT_BUSY));
        QVERIFY(memo.get() > 0);
        MemoRecord read{};
        QVERIFY(MemoStore_DraftRead(&read) == 1 && SameRecord(read, before));

        QCOMPARE(clear ? MemoStore_DraftClear() : MemoStore_DraftWrite(&draft), int(MEMO_DRAFT_DONE));
        QCOMPARE(MemoStore_DraftRead(&read), clear ? 0 : 1);
    }

    void theCloseHookWritesTheDraftOfTheStoreBeingClosed()
    {
        HookLog log;
        log.draft = TestMemo(u"unsaved"_s);
        const QString alice = QString::fromUtf8(MemoStore_CurrentPath());
        MemoStore_SetCloseHook(&WriteDraftOnClose, &log);
        QVERIFY(Open("bob"));
        QCOMPARE(log.closing, QStringList{alice});

        log.reenter = true;
        MemoStore_Close();
        QCOMPARE(log.closing.size(), 2); // once, though the hook closed too
        QCOMPARE(log.nestedOpen, 0);
        QCOMPARE(MemoStore_IsOpen(), 0);
        MemoStore_Close();
        QVERIFY(!Open("\xff")); // nothing open, nothing to close
        QCOMPARE(log.closing.size(), 2);

        MemoStore_SetCloseHook(nullptr, &log);
        QVERIFY(Open("alice"));
        MemoRecord read{};
        QVERIFY(MemoStore_DraftRead(&read) == 1 && SameRecord(read, log.draft));
        MemoStore_Close();
        QCOMPARE(log.closing.size(), 2);
    }

    void memoStates_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<int>("state");
        QTest::newRow("stored") << u"stored"_s << 1;
        QTest::newRow("deleted") << u"deleted"_s << 0;
        QTest::newRow("never stored") << u"never"_s << 0;
        QTest::newRow("no store open") << u"closed"_s << -1;
        QTest::newRow("unreadable") << u"unreadable"_s << -1;
    }

    void memoStates()
    {
        QFETCH(QString, memo);
        QFETCH(int, state);
        const MemoRecord stored = TestMemo(u"m"_s);
        std::int32_t key = DBI_MemRecycleWriteRecord(&stored);
        if (memo == u"deleted")
            QCOMPARE(DBI_MemDeleteRecord(key), 1);
        if (memo == u"never")
            ++key;
        if (memo == u"closed")
            MemoStore_Close();
        if (memo == u"unreadable")
            QVERIFY(
                RawDb(QString::fromUtf8(MemoStore_CurrentPath())).Exec("ALTER TABLE memo RENAME TO gone"));
        QCOMPARE(MemoStore_MemoState(key), state);
        QCOMPARE(std::strlen(MemoStore_LastError()) > 0, state < 0);
    }
};

QTEST_GUILESS_MAIN(TestDraft)
#include "tst_draft.moc"
