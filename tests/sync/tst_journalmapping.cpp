// Memos to VJOURNAL notes and back through libical: our own memos come back as the same record, texts
// that iCalendar escapes survive, and notes written by other programs are read as a person would
// expect (or named as not fitting).
#include "JournalMapping.h"
#include "MemoRules.h"
#include "TestText.h"

#include <QTest>

#include <cstring>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::u16string)

namespace {

} // namespace

class TestJournalMapping : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void ourMemosComeBackAsTheSameRecord_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("groupId");
        QTest::newRow("plain") << u"会议"_s << u"下午三点"_s << u"工作"_s << 305371800;
        QTest::newRow("escaped characters")
            << u"a,b;c\\d\r"_s << u"行一\n行二\r\n,;\\ \"引号\"\r\t\f\x7f"_s << u"甲,乙;丙\\"_s << 7;
        QTest::newRow("emoji and the longest texts")
            << QString(18, u'长') + u"😀"_s << QString(498, u'文') + u"🎉"_s << u"十个字的分类名称啊"_s << 9;
        QTest::newRow("no category") << u"t"_s << u""_s << u"全部"_s << 0;
        QTest::newRow("a title of nothing but controls and blanks")
            << u"  \x17\x17\r"_s << u"\x01"_s << u"工作"_s << 3;
        QTest::newRow("其它") << u"t"_s << u"b"_s << u"旧的"_s << int(OTHER_GROUP_ID);
    }

    void ourMemosComeBackAsTheSameRecord()
    {
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(QString, category);
        QFETCH(int, groupId);
        MemoRecord memo = NewMemoRecord(305371800, U(category), groupId, U(title), U(body));
        memo.flags = RECORD_CHANGED | 0x5;
        memo.reserved1 = -3;
        memo.reserved2 = 77;
        const std::string text = MemoToICalendar(memo, "uid-1@zorva", 1700000000);
        QVERIFY(text.find("BEGIN:VJOURNAL") != std::string::npos);
        QVERIFY(text.find("DTSTAMP:20231114T221320Z") != std::string::npos);

        std::string why;
        const std::optional<JournalNote> note = NoteFromICalendar(text, why);
        QVERIFY2(note, why.c_str());
        QCOMPARE(note->uid, std::string("uid-1@zorva"));
        QCOMPARE(Q(note->title), title);
        QCOMPARE(Q(note->body), body);
        const QString shown = groupId == OTHER_GROUP_ID ? u"其它"_s : category;
        QCOMPARE(note->category.has_value(), shown != u"全部"_s);
        if (note->category)
            QCOMPARE(Q(*note->category), shown);
        QCOMPARE(note->stamp, std::optional<std::int32_t>(memo.stamp));
        QCOMPARE(note->groupId, std::optional<std::int32_t>(groupId));
        QCOMPARE(note->flags, std::optional<std::uint32_t>(memo.flags));
        QCOMPARE(note->reserved1, std::optional<std::int32_t>(-3));
        QCOMPARE(note->reserved2, std::optional<std::int32_t>(77));
        QCOMPARE(WhyNoteDoesNotFit(*note), std::string());
    }

    void notesOfOtherProgramsAreReadOrNamedAsNotFitting_data()
    {
        QTest::addColumn<QByteArray>("ics");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("category"); // "-" for none
        QTest::addColumn<QString>("misfit");   // part of WhyNoteDoesNotFit, or of the refusal
        const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\n";
        const QByteArray tail = "END:VCALENDAR\r\n";
        QTest::newRow("no SUMMARY, escaped commas, two categories")
            << head +
                   "BEGIN:VJOURNAL\r\nUID:x1\r\nDTSTAMP:20240101T000000Z\r\nCATEGORIES:家,里\\,外\r\n"
                   "DESCRIPTION:买菜\\, 做饭\\nsecond line\r\nEND:VJOURNAL\r\n" +
                   tail
            << u"买菜, 做饭\nsecond line"_s.left(20) << u"买菜, 做饭\nsecond line"_s << u"家"_s << QString();
        QTest::newRow("folded long line") << head +
                                                 "BEGIN:VJOURNAL\r\nUID:x2\r\nSUMMARY:abc\r\n de\r\n"
                                                 "END:VJOURNAL\r\n" +
                                                 tail
                                          << u"abcde"_s << QString() << u"-"_s << QString();
        QTest::newRow("title too long")
            << head + "BEGIN:VJOURNAL\r\nUID:x3\r\nSUMMARY:" + QByteArray(21, 'a') + "\r\nEND:VJOURNAL\r\n" +
                   tail
            << QString(21, u'a') << QString() << u"-"_s << u"title"_s;
        QTest::newRow("body too long")
            << head + "BEGIN:VJOURNAL\r\nUID:x4\r\nSUMMARY:t\r\nDESCRIPTION:" + QByteArray(501, 'b') +
                   "\r\nEND:VJOURNAL\r\n" + tail
            << u"t"_s << QString(501, u'b') << u"-"_s << u"text"_s;
        QTest::newRow("an event, not a note") << head + "BEGIN:VEVENT\r\nUID:e\r\nEND:VEVENT\r\n" + tail
                                              << QString() << QString() << u"-"_s << u"VJOURNAL"_s;
        QTest::newRow("a UID that would not come back")
            << head + "BEGIN:VJOURNAL\r\nUID:\\1\r\nSUMMARY:t\r\nEND:VJOURNAL\r\n" + tail << QString()
            << QString() << u"-"_s << u"UID"_s;
        QTest::newRow("no UID") << head + "BEGIN:VJOURNAL\r\nSUMMARY:t\r\nEND:VJOURNAL\r\n" + tail
                                << QString() << QString() << u"-"_s << u"UID"_s;
        QTest::newRow("not UTF-8") << head +
                                          "BEGIN:VJOURNAL\r\nUID:x5\r\nSUMMARY:\xff\xfe\r\nEND:VJOURNAL\r\n" +
                                          tail
                                   << QString() << QString() << u"-"_s << u"UTF-8"_s;
        QTest::newRow("not iCalendar")
            << QByteArray("<html>hello</html>") << QString() << QString() << u"-"_s << u"iCalendar"_s;
    }

    void notesOfOtherProgramsAreReadOrNamedAsNotFitting()
    {
        QFETCH(QByteArray, ics);
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(QString, category);
        QFETCH(QString, misfit);
        std::string why;
        const std::optional<JournalNote> note = NoteFromICalendar(ics.toStdString(), why);
        if (!note) {
            QVERIFY2(!misfit.isEmpty() && QString::fromStdString(why).contains(misfit), why.c_str());
            return;
        }
        QCOMPARE(Q(note->title), title);
        QCOMPARE(Q(note->body), body);
        QCOMPARE(note->category ? Q(*note->category) : u"-"_s, category);
        QVERIFY(!note->stamp);
        const QString fits = QString::fromStdString(WhyNoteDoesNotFit(*note));
        QVERIFY2(misfit.isEmpty() ? fits.isEmpty() : fits.contains(misfit), qPrintable(fits));
    }
};

QTEST_GUILESS_MAIN(TestJournalMapping)
#include "tst_journalmapping.moc"
