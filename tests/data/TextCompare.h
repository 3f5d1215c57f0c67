#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

// Qt Test prints QStrings readably; the data layer works in std::u16string_view.
inline QString Q(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}
