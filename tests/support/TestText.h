#pragma once
// The tests' short names for moving text between Qt and the records: Q shows a record's text as a
// QString (which Qt Test prints readably), U gives a QString as the records' UTF-16.
#include <TextView.h>

#include <string>

inline QString Q(std::u16string_view text)
{
    return FromTextView(text);
}

inline std::u16string U(const QString& text)
{
    return text.toStdU16String();
}
