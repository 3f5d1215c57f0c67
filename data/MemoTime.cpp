#include "MemoTime.h"

namespace {

void AppendNumber(std::u16string& out, int value, int width)
{
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int pad = count; pad < width; ++pad)
        out.push_back(u'0');
    while (count > 0)
        out.push_back(digits[--count]);
}

} // namespace

MemoTime MakeMemoTime(int year, int month, int day, int hour, int minute, int second)
{
    // Unsigned arithmetic wraps exactly like 32-bit two's complement, without undefined behaviour.
    std::uint32_t value = static_cast<std::uint32_t>(year) - 2002u;
    value = value * 12u + (static_cast<std::uint32_t>(month) - 1u);
    value = value * 31u + (static_cast<std::uint32_t>(day) - 1u);
    value = value * 24u + static_cast<std::uint32_t>(hour);
    value = value * 60u + static_cast<std::uint32_t>(minute);
    value = value * 60u + static_cast<std::uint32_t>(second);
    return static_cast<MemoTime>(value);
}

MemoTime MakeMemoTime(const std::tm& local)
{
    return MakeMemoTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                        local.tm_sec);
}

MemoTime CurrentMemoTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return MakeMemoTime(local);
}

std::u16string FormatMemoTime(MemoTime stamp, std::u16string_view negativeText)
{
    if (stamp < 0)
        return std::u16string(negativeText);
    const MemoTimeFields at = SplitMemoTime(stamp);
    std::u16string text;
    text.reserve(16);
    AppendNumber(text, at.year, 4);
    text.push_back(u'-');
    AppendNumber(text, at.month, 2);
    text.push_back(u'-');
    AppendNumber(text, at.day, 2);
    text.push_back(u' ');
    AppendNumber(text, at.hour, 2);
    text.push_back(u':');
    AppendNumber(text, at.minute, 2);
    return text;
}
