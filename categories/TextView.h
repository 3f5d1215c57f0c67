#pragma once
// The module's texts cross between Qt's strings and the records' UTF-16 views here.
#include <QString>
#include <string_view>

// A view of the string's UTF-16 code units; valid while the string lives unchanged.
inline std::u16string_view TextView(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline QString FromTextView(std::u16string_view text)
{
    return QStringView(text).toString();
}
