#include "TitleRule.h"

#include "MemoConstants.h"
#include "RecordText.h"

std::optional<std::u16string> TitleToStore(std::u16string_view title, std::u16string_view content,
                                           std::u16string_view titleHint)
{
    if (!title.empty() && title != titleHint)
        return std::u16string(title);
    const std::u16string_view body = TrimTrailingWhiteSpace(content);
    if (body.empty())
        return std::nullopt;
    return std::u16string(TrimTrailingWhiteSpace(CutText(body, MAX_TITLE_LEN)));
}
