#include "MemoTimeText.h"

#include <QRegularExpression>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

// Division that rounds towards minus infinity, so negative stamps fall into the days before 2002.
std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor, std::int64_t& rest)
{
    std::int64_t quotient = value / divisor;
    rest = value % divisor;
    if (rest < 0) {
        rest += divisor;
        --quotient;
    }
    return quotient;
}

} // namespace

QString MemoTimeToIso(MemoTime stamp)
{
    std::int64_t rest = 0;
    const std::int64_t year = FloorDiv(stamp, MEMO_SECONDS_PER_YEAR, rest) + 2002;
    const std::int64_t month = rest / MEMO_SECONDS_PER_MONTH + 1;
    rest %= MEMO_SECONDS_PER_MONTH;
    const std::int64_t day = rest / MEMO_SECONDS_PER_DAY + 1;
    rest %= MEMO_SECONDS_PER_DAY;
    return u"%1-%2-%3T%4:%5:%6"_s.arg(year, 4, 10, QChar(u'0'))
        .arg(month, 2, 10, QChar(u'0'))
        .arg(day, 2, 10, QChar(u'0'))
        .arg(rest / 3600, 2, 10, QChar(u'0'))
        .arg(rest % 3600 / 60, 2, 10, QChar(u'0'))
        .arg(rest % 60, 2, 10, QChar(u'0'));
}

std::optional<MemoTime> MemoTimeFromIso(const QString& text)
{
    static const QRegularExpression form(u"^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})$"_s);
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto field = [&](int n) { return std::int64_t(match.capturedView(n).toInt()); };
    const std::int64_t month = field(2), day = field(3), hour = field(4), minute = field(5),
                       second = field(6);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const std::int64_t stamp = (field(1) - 2002) * MEMO_SECONDS_PER_YEAR +
                               (month - 1) * MEMO_SECONDS_PER_MONTH + (day - 1) * MEMO_SECONDS_PER_DAY +
                               hour * 3600 + minute * 60 + second;
    if (stamp < INT32_MIN || stamp > INT32_MAX)
        return std::nullopt;
    return MemoTime(stamp);
}
