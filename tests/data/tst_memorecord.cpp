#include "MemoGroupRecord.h"
#include "MemoRecord.h"
#include "TestText.h"

#include <QTest>

#include <cstring>
#include <string>

namespace {

template <class Record> std::string Bytes(const Record& record)
{
    std::string bytes(sizeof(Record), '\0');
    std::memcpy(bytes.data(), &record, sizeof(Record));
    return bytes;
}

std::uint32_t U32At(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

char16_t U16At(const std::string& bytes, std::size_t offset)
{
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[offset]) |
                                 static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

} // namespace

class TestMemoRecord : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void memoBytesSitAtTheirOffsets()
    {
        MemoRecord memo{};
        memo.stamp = 0x11223344;
        memo.reserved1 = 0x55667788;
        memo.flags = 0x80000001u;
        memo.reserved2 = -2;
        SetMemoGroupName(memo, u"分类");
        memo.groupId = 305371800;
        SetMemoContent(memo, u"body");
        SetMemoTitle(memo, u"title");
        memo.key = 4242;

        const std::string bytes = Bytes(memo);
        QCOMPARE(bytes.size(), std::size_t(1092));
        QCOMPARE(static_cast<unsigned char>(bytes[0]), 0x44); // little-endian
        QCOMPARE(U32At(bytes, 0), 0x11223344u);
        QCOMPARE(U32At(bytes, 4), 0x55667788u);
        QCOMPARE(U32At(bytes, 8), 0x80000001u);
        QCOMPARE(U32At(bytes, 12), 0xFFFFFFFEu);
        QCOMPARE(U16At(bytes, 16), u'分');
        QCOMPARE(U16At(bytes, 18), u'类');
        QCOMPARE(U16At(bytes, 20), u'\0');
        QCOMPARE(U32At(bytes, 40), 305371800u);
        QCOMPARE(U16At(bytes, 44), u'b');
        QCOMPARE(U16At(bytes, 50), u'y');
        QCOMPARE(U16At(bytes, 1046), u't');
        QCOMPARE(U16At(bytes, 1054), u'e');
        QCOMPARE(U32At(bytes, 1088), 4242u);
    }

    void groupBytesSitAtTheirOffsets()
    {
        MemoGroupRecord group{};
        group.key = 7;
        group.flags = RECORD_CHANGED;
        group.id = 305371800;
        SetGroupName(group, u"工作");

        const std::string bytes = Bytes(group);
        QCOMPARE(bytes.size(), std::size_t(44));
        QCOMPARE(U32At(bytes, 0), 7u);
        QCOMPARE(U32At(bytes, 4), 0x80000000u);
        QCOMPARE(U32At(bytes, 8), 305371800u);
        QCOMPARE(U16At(bytes, 12), u'工');
        QCOMPARE(U16At(bytes, 14), u'作');
        QCOMPARE(U16At(bytes, 16), u'\0');
    }

    void unterminatedFieldsAreReadOnlyToTheirEnd()
    {
        MemoRecord memo{};
        std::fill(std::begin(memo.groupName), std::end(memo.groupName), u'g');
        std::fill(std::begin(memo.title), std::end(memo.title), u't');
        std::fill(std::begin(memo.content), std::end(memo.content), u'c');
        memo.groupId = 0x00410041; // would read as "AA" if the reader ran on
        memo.key = 0x00420042;
        QCOMPARE(Q(MemoGroupName(memo)), QString(12, u'g'));
        QCOMPARE(Q(MemoTitle(memo)), QString(21, u't'));
        QCOMPARE(Q(MemoContent(memo)), QString(501, u'c'));

        MemoGroupRecord group{};
        std::fill(std::begin(group.name), std::end(group.name), u'n');
        QCOMPARE(Q(GroupName(group)), QString(16, u'n'));

        // Units after the terminator carry no meaning.
        memo.title[3] = u'\0';
        QCOMPARE(Q(MemoTitle(memo)), QStringLiteral("ttt"));
    }

    void copiesAreCutToTheLimitAndTerminated()
    {
        MemoRecord memo{};
        std::fill(std::begin(memo.groupName), std::end(memo.groupName), u'x');
        SetMemoGroupName(memo, u"abcdefghijklmno"); // 15 characters
        QCOMPARE(Q(MemoGroupName(memo)), QStringLiteral("abcdefghij"));
        QCOMPARE(memo.groupName[10], u'\0');
        QCOMPARE(memo.groupName[11], u'\0'); // old contents do not survive behind the terminator

        SetMemoGroupName(memo, u"0123456789");
        QCOMPARE(Q(MemoGroupName(memo)), QStringLiteral("0123456789"));
        QCOMPARE(memo.groupName[10], u'\0');

        SetMemoTitle(memo, std::u16string(25, u'T'));
        QCOMPARE(Q(MemoTitle(memo)), QString(20, u'T'));
        QCOMPARE(memo.title[20], u'\0');

        SetMemoContent(memo, std::u16string(600, u'C'));
        QCOMPARE(MemoContent(memo).size(), std::size_t(500));
        QCOMPARE(memo.content[500], u'\0');

        MemoGroupRecord group{};
        SetGroupName(group, u"一二三四五六七八九十十一");
        QCOMPARE(Q(GroupName(group)), QStringLiteral("一二三四五六七八九十"));
        for (std::size_t i = 10; i < 16; ++i)
            QCOMPARE(group.name[i], u'\0');
    }

    void cutsNeverSplitASurrogatePair()
    {
        const std::u16string smile = u"\U0001F600"; // two code units
        QCOMPARE(smile.size(), std::size_t(2));

        MemoRecord memo{};
        SetMemoGroupName(memo, std::u16string(9, u'a') + smile);
        QCOMPARE(Q(MemoGroupName(memo)), QString(9, u'a')); // not nine letters and half an emoji
        QCOMPARE(memo.groupName[9], u'\0');

        SetMemoGroupName(memo, std::u16string(8, u'a') + smile + u"b");
        QCOMPARE(Q(MemoGroupName(memo)), QString(8, u'a') + Q(smile)); // a whole pair fits

        SetMemoTitle(memo, std::u16string(19, u't') + smile);
        QCOMPARE(Q(MemoTitle(memo)), QString(19, u't'));
        SetMemoContent(memo, std::u16string(499, u'c') + smile + smile);
        QCOMPARE(MemoContent(memo).size(), std::size_t(499));

        // A lone high surrogate is not a pair; it is cut like any other unit.
        const std::u16string lone = std::u16string(9, u'a') + u"\xD83D" + u"b";
        QCOMPARE(CutText(lone, 10).size(), std::size_t(10));
        QCOMPARE(CutText(smile, 0).size(), std::size_t(0));
        QCOMPARE(CutText(smile, 1).size(), std::size_t(0));
    }

    void trailingWhiteSpaceIncludesWideSpaces()
    {
        QCOMPARE(Q(TrimTrailingWhiteSpace(u" a b \t\r\n\u3000\u00A0")), QStringLiteral(" a b"));
        QCOMPARE(Q(TrimTrailingWhiteSpace(u" \t ")), QString());
        QVERIFY(!IsWhiteSpace(u'x'));
        QVERIFY(!IsWhiteSpace(u'\0'));
        QVERIFY(!IsWhiteSpace(u'\u200B')); // zero width space is not white space
    }
};

QTEST_APPLESS_MAIN(TestMemoRecord)
#include "tst_memorecord.moc"
