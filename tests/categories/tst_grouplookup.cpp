#include "CategoryTestSupport.h"

#include <GroupLookup.h>

// The category lookups over records as the store returns them.
class TestGroupLookup : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;

  private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        QVERIFY(m_store->ok());
    }
    void cleanup() { m_store.reset(); }

    void aNewMemoCarriesTheChosenCategorysId()
    {
        StoreGroup(QStringLiteral(u"工作"), 1000);
        StoreGroup(QStringLiteral(u"其它"), 2000); // a stored pseudo-category changes nothing
        StoreGroup(QStringLiteral(u"全部"), 3000);
        StoreGroup(QStringLiteral("ABCDEFGHIJ"), 4000);
        StoreGroup(QStringLiteral(u"工作"), 5000); // the same name again: the first one counts
        const std::vector<MemoGroupRecord> stored = ReadStoredGroups();
        QCOMPARE(stored.size(), std::size_t(5));

        QCOMPARE(GroupIdForNewMemo(stored, u""), 0);
        QCOMPARE(GroupIdForNewMemo(stored, u"全部"), 0);
        QCOMPARE(GroupIdForNewMemo(stored, u"其它"), OTHER_GROUP_ID);
        QCOMPARE(GroupIdForNewMemo(stored, u"工作"), 1000);
        QCOMPARE(GroupIdForNewMemo(stored, u"ABCDEFGHIJ"), 4000);
        // The memo's groupName keeps ten characters, and so does the lookup.
        QCOMPARE(GroupIdForNewMemo(stored, u"ABCDEFGHIJKL"), 4000);
        QCOMPARE(GroupIdForNewMemo(stored, u"工作 "), 0); // names compare exactly
        QCOMPARE(GroupIdForNewMemo(stored, u"gone"), 0);
        QCOMPARE(GroupIdForNewMemo({}, u"工作"), 0);
    }

    void namesAreTakenAsTheyWouldBeStored()
    {
        StoreGroup(QStringLiteral("ABCDEFGHIJ"), 1);
        StoreGroup(QStringLiteral("Work"), 2);
        // A record that some other writer filled to its capacity: compared as it stands.
        MemoGroupRecord wide{};
        wide.id = 3;
        SetFieldText(wide.name, u"abcdefghijklmno");
        DBI_MemGroupRecycleWriteRecord(&wide);
        const std::vector<MemoGroupRecord> stored = ReadStoredGroups();

        QVERIFY(GroupNameTaken(stored, u"ABCDEFGHIJ"));
        QVERIFY(GroupNameTaken(stored, u"ABCDEFGHIJK"));
        QVERIFY(GroupNameTaken(stored, u"ABCDEFGHIJKLMNOPQRST"));
        QVERIFY(!GroupNameTaken(stored, u"ABCDEFGHI"));
        QVERIFY(!GroupNameTaken(stored, u"work"));
        QVERIFY(GroupNameTaken(stored, u"Work"));
        QVERIFY(!GroupNameTaken(stored, u"abcdefghijklmno")); // it would be stored as "abcdefghij"
        QVERIFY(!GroupNameTaken(stored, u"abcdefghij"));
    }

    void theCutNeverSplitsASurrogatePair()
    {
        // Nine units and a character outside the basic plane: the stored name keeps nine units.
        const std::u16string nine = u"123456789";
        const std::u16string typed = nine + u"\U0001F600";
        QCOMPARE(Q(StoredGroupName(typed)), Q(nine));
        StoreGroup(Q(nine), 1);
        QVERIFY(GroupNameTaken(ReadStoredGroups(), typed));
        QCOMPARE(Q(GroupName(Groups().front())), Q(nine));
    }
};

QTEST_GUILESS_MAIN(TestGroupLookup)
#include "tst_grouplookup.moc"
