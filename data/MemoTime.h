#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// Seconds in a calendar of twelve 31-day months from 2002-01-01 00:00:00 local time, as the local
// clock shows it (no time zone, no daylight-saving correction).
using MemoTime = std::int32_t;

inline constexpr std::int32_t MEMO_SECONDS_PER_DAY = 86400;
inline constexpr std::int32_t MEMO_SECONDS_PER_MONTH = 31 * MEMO_SECONDS_PER_DAY;
inline constexpr std::int32_t MEMO_SECONDS_PER_YEAR = 12 * MEMO_SECONDS_PER_MONTH;

// A stamp's calendar fields. Negative stamps count back from 2002-01-01 (years before 2002).
struct MemoTimeFields
{
    int year, month, day, hour, minute, second;
};
inline MemoTimeFields SplitMemoTime(MemoTime stamp)
{
    // Rounds towards minus infinity, so that a negative stamp falls into the days before 2002.
    std::int64_t years = stamp / MEMO_SECONDS_PER_YEAR;
    std::int64_t rest = stamp % MEMO_SECONDS_PER_YEAR;
    if (rest < 0) {
        rest += MEMO_SECONDS_PER_YEAR;
        --years;
    }
    const int inYear = static_cast<int>(rest);
    return {static_cast<int>(years) + 2002,
            inYear / MEMO_SECONDS_PER_MONTH + 1,
            inYear % MEMO_SECONDS_PER_MONTH / MEMO_SECONDS_PER_DAY + 1,
            inYear % MEMO_SECONDS_PER_DAY / 3600,
            inYear % 3600 / 60,
            inYear % 60};
}

// Wraps silently in 32 bits like the stored stamps always did; years before 2002 give negative stamps.
MemoTime MakeMemoTime(int year, int month, int day, int hour, int minute, int second);
MemoTime MakeMemoTime(const std::tm& local);
// The local time now, from the C library's clock.
MemoTime CurrentMemoTime();

// "YYYY-MM-DD hh:mm"; a negative stamp gives negativeText (a string-table text the caller loads).
std::u16string FormatMemoTime(MemoTime stamp, std::u16string_view negativeText);
