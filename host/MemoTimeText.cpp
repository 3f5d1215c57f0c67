#include "MemoTimeText.h"

#include <QRegularExpression>
#include <cstdint>

using namespace Qt::StringLiterals;

QString MemoTimeToIso(MemoTime stamp)
{
    const MemoTimeFields at = SplitMemoTime(stamp);
    return u"%1-%2-%3T%4:%5:%6"_s.arg(at.year, 4, 10, QChar(u'0'))
        .arg(at.month, 2, 10, QChar(u'0'))
        .arg(at.day, 2, 10, QChar(u'0'))
        .arg(at.hour, 2, 10, QChar(u'0'))
        .arg(at.minute, 2, 10, QChar(u'0'))
        .arg(at.second, 2, 10, QChar(u'0'));
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
