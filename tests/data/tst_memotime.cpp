#include "MemoTime.h"
#include "TestText.h"

#include <QTest>

#include <array>
#include <climits>
#include <ctime>

namespace {

const std::u16string_view kNegative = u"（无效时间）";

QString Format(MemoTime stamp)
{
    return Q(FormatMemoTime(stamp, kNegative));
}

} // namespace

class TestMemoTime : public QObject
{
    Q_OBJECT

  private Q_SLOTS:
    void formatsTheCalendarsLandmarks()
    {
        QCOMPARE(Format(0), QStringLiteral("2002-01-01 00:00"));
        QCOMPARE(Format(32140799), QStringLiteral("2002-12-31 23:59"));
        QCOMPARE(Format(32140800), QStringLiteral("2003-01-01 00:00"));
        QCOMPARE(Format(INT32_MAX), QStringLiteral("2068-10-25 03:14"));
        QCOMPARE(Format(305371800), QStringLiteral("2011-07-01 09:30"));
        QCOMPARE(Format(59), QStringLiteral("2002-01-01 00:00")); // seconds are not shown
    }

    void negativeStampsShowTheGivenText()
    {
        QCOMPARE(Format(-1), Q(kNegative));
        QCOMPARE(Format(INT32_MIN), Q(kNegative));
        QCOMPARE(Q(FormatMemoTime(-5, u"")), QString());
    }

    void encodesMoments()
    {
        QCOMPARE(MakeMemoTime(2002, 1, 1, 0, 0, 0), 0);
        QCOMPARE(MakeMemoTime(2011, 7, 1, 9, 30, 0), 305371800);
        QCOMPARE(MakeMemoTime(2002, 12, 31, 23, 59, 59), 32140799);
        QCOMPARE(MakeMemoTime(2068, 10, 25, 3, 14, 7), INT32_MAX);
        // One second later wraps in 32 bits, as stored stamps always did.
        QCOMPARE(MakeMemoTime(2068, 10, 25, 3, 14, 8), INT32_MIN);
    }

    void momentsBefore2002AreNegative()
    {
        const MemoTime stamp = MakeMemoTime(2001, 12, 31, 23, 59, 59);
        QCOMPARE(stamp, -1);
        QCOMPARE(Format(stamp), Q(kNegative));
        QVERIFY(MakeMemoTime(2001, 6, 15, 12, 0, 0) < 0);
    }

    // Splitting undoes MakeMemoTime, before 2002 as well (export writes those stamps out).
    void splitsStampsBackIntoFields()
    {
        for (const MemoTimeFields f :
             {MemoTimeFields{2002, 1, 1, 0, 0, 0}, MemoTimeFields{2001, 12, 31, 23, 59, 59},
              MemoTimeFields{2068, 10, 25, 3, 14, 7}, MemoTimeFields{1936, 3, 9, 20, 45, 52},
              MemoTimeFields{2011, 2, 31, 9, 30, 1}}) {
            const MemoTimeFields back =
                SplitMemoTime(MakeMemoTime(f.year, f.month, f.day, f.hour, f.minute, f.second));
            QCOMPARE((std::array{back.year, back.month, back.day, back.hour, back.minute, back.second}),
                     (std::array{f.year, f.month, f.day, f.hour, f.minute, f.second}));
        }
    }

    void daysTheRealCalendarLacksStillDecode()
    {
        QCOMPARE(Format(MakeMemoTime(2010, 2, 31, 8, 5, 0)), QStringLiteral("2010-02-31 08:05"));
    }

    void roundTripsManyMoments()
    {
        // Walks the whole calendar with a stride that visits every month, day, hour and minute value.
        int checked = 0;
        for (std::int64_t n = 0; n < 200000; ++n) {
            const int year = 2002 + static_cast<int>(n % 67);
            const int month = 1 + static_cast<int>(n % 12);
            const int day = 1 + static_cast<int>(n % 31);
            const int hour = static_cast<int>(n % 24);
            const int minute = static_cast<int>(n * 7 % 60);
            const int second = static_cast<int>(n * 13 % 60);
            const std::int64_t exact =
                ((((static_cast<std::int64_t>(year - 2002) * 12 + month - 1) * 31 + day - 1) * 24 + hour) *
                     60 +
                 minute) *
                    60 +
                second;
            if (exact > INT32_MAX)
                continue;
            const MemoTime stamp = MakeMemoTime(year, month, day, hour, minute, second);
            QCOMPARE(static_cast<std::int64_t>(stamp), exact);
            const QString expected =
                QString::asprintf("%04d-%02d-%02d %02d:%02d", year, month, day, hour, minute);
            QCOMPARE(Format(stamp), expected);
            ++checked;
        }
        QVERIFY(checked > 190000);
    }

    void localTimeSourcesAgree()
    {
        std::tm moment{};
        moment.tm_year = 2011 - 1900;
        moment.tm_mon = 6;
        moment.tm_mday = 1;
        moment.tm_hour = 9;
        moment.tm_min = 30;
        QCOMPARE(MakeMemoTime(moment), 305371800);

        const auto local = [] {
            const std::time_t now = std::time(nullptr);
            std::tm parts{};
            localtime_r(&now, &parts);
            return MakeMemoTime(parts);
        };
        const MemoTime before = local();
        const MemoTime now = CurrentMemoTime();
        const MemoTime after = local();
        QVERIFY(before <= now && now <= after);
    }
};

QTEST_APPLESS_MAIN(TestMemoTime)
#include "tst_memotime.moc"
