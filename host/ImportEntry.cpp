#include "ImportEntry.h"

#include <cmath>

using namespace Qt::StringLiterals;

std::optional<std::int32_t> JsonInt32(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || number < INT32_MIN || number > INT32_MAX)
        return std::nullopt;
    return std::int32_t(number);
}

ImportEntry::ImportEntry(const QJsonValue& value) : m_object(value.toObject())
{
    if (!value.isObject())
        m_fault = u"不是一个对象"_s;
}

QString ImportEntry::text(const QString& name, qsizetype limit, bool required)
{
    const QJsonValue value = m_object.value(name);
    if (!ok() || (value.isUndefined() && !required))
        return {};
    const QString text = value.toString();
    if (!value.isString())
        m_fault = u"字段“%1”缺失或不是文字"_s.arg(name);
    else if (text.size() > limit)
        m_fault = u"“%1”超过 %2 个字符"_s.arg(name).arg(limit);
    else if (text.contains(QChar(0)))
        m_fault = u"“%1”含有空字符"_s.arg(name);
    // Half of a surrogate pair ("\uD800" in the file) is no character: no font shows it, and no
    // other program would read it back as the same text.
    else if (!text.isValidUtf16())
        m_fault = u"“%1”含有不成对的代理项（残缺的字符）"_s.arg(name);
    return ok() ? text : QString();
}

std::optional<std::int32_t> ImportEntry::number(const QString& name, bool required)
{
    const QJsonValue value = m_object.value(name);
    if (!ok() || (value.isUndefined() && !required))
        return std::nullopt;
    const std::optional<std::int32_t> number = JsonInt32(value);
    if (!number)
        m_fault = u"字段“%1”缺失或不是 32 位整数"_s.arg(name);
    return number;
}

void ImportEntry::fail(const QString& fault)
{
    if (ok())
        m_fault = fault;
}
