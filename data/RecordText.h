#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// Text fields of the records are fixed UTF-16 arrays, NUL-terminated inside their capacity. A field
// that lacks the terminator is read up to its end and never beyond.
template <std::size_t N> constexpr std::u16string_view FieldText(const char16_t (&field)[N])
{
    const char16_t* end = std::find(field, field + N, u'\0');
    return {field, static_cast<std::size_t>(end - field)};
}

// The first `limit` code units of text, one fewer when the cut would separate the two halves of a
// surrogate pair: half a character must never land in a record.
std::u16string_view CutText(std::u16string_view text, std::size_t limit);

// Copies text into a field, cut to `limit` units (at most the capacity less the terminator), and
// zero-fills the rest of the field, so the copy is always terminated inside it.
template <std::size_t N>
void SetFieldText(char16_t (&field)[N], std::u16string_view text, std::size_t limit = N - 1)
{
    static_assert(N > 0);
    const std::u16string_view cut = CutText(text, std::min(limit, N - 1));
    std::fill(std::copy(cut.begin(), cut.end(), field), field + N, u'\0');
}

// A record's text as it is shown: a field filled to its end may end in the first half of a
// surrogate pair whose second half did not fit; half a character is never shown.
std::u16string_view ShownText(std::u16string_view field);

// White space as the Unicode White_Space property has it (tabs, line breaks, the ideographic space...).
bool IsWhiteSpace(char16_t unit);
std::u16string_view TrimTrailingWhiteSpace(std::u16string_view text);
