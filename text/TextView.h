#pragma once
// Texts cross between Qt's strings and the records' UTF-16 views here, code unit for code unit.
#include <QString>
#include <QStringView>
#include <string_view>

// A view of the string's UTF-16 code units; valid while the string lives unchanged.
inline std::u16string_view TextView(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// A string holding a copy of the view's code units.
inline QString FromTextView(std::u16string_view text)
{
    return QStringView(text).toString();
}
