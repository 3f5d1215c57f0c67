#include "LeadingInteger.h"

#include <algorithm>
#include <cstdint>
#include <limits>

int ReadLeadingInteger(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || (text[at] >= u'\t' && text[at] <= u'\r')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        negative = text[at++] == u'-';
    constexpr std::int64_t most = std::int64_t(std::numeric_limits<int>::max()) + 1;
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at)
        value = std::min<std::int64_t>(value * 10 + (text[at] - u'0'), most);
    if (negative)
        return int(std::max<std::int64_t>(-value, std::numeric_limits<int>::min()));
    return int(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}
