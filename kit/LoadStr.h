#pragma once
// The kit's string table: user-visible texts by numeric id.
#include "KitExport.h"
#include "WinTypes.h"

#include <QByteArray>
#include <QString>
#include <type_traits>

// The text of `id`; an empty string for an id the table does not hold.
KIT_API QString LoadStr(UINT id);

namespace kit_detail {
template <class T> auto heldArg(const T& value)
{
    if constexpr (std::is_convertible_v<const T&, QStringView>)
        return QStringView(value).toUtf8();
    else
        return value;
}
inline const char* passArg(const QByteArray& utf8)
{
    return utf8.constData();
}
template <class T> T passArg(T value)
{
    return value;
}
template <class... Held> QString formatHeld(const QString& format, const Held&... held)
{
    return QString::asprintf(format.toUtf8().constData(), passArg(held)...);
}
} // namespace kit_detail

// Fills the printf conversions of a table text: %d takes an integer, %s a string
// (QString, QStringView or a UTF-16 literal). FormatStr(LoadStr(233), rows).
template <class... Args> QString FormatStr(const QString& format, const Args&... args)
{
    return kit_detail::formatHeld(format, kit_detail::heldArg(args)...);
}
