#include "RecordText.h"

namespace {

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::u16string_view CutText(std::u16string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    if (limit > 0 && IsHighSurrogate(text[limit - 1]) && IsLowSurrogate(text[limit]))
        --limit;
    return text.substr(0, limit);
}

std::u16string_view ShownText(std::u16string_view field)
{
    if (!field.empty() && IsHighSurrogate(field.back()))
        field.remove_suffix(1);
    return field;
}

bool IsWhiteSpace(char16_t unit)
{
    switch (unit) {
    case 0x0009:
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return unit >= 0x2000 && unit <= 0x200A;
    }
}

std::u16string_view TrimTrailingWhiteSpace(std::u16string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsWhiteSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}
