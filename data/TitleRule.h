#pragma once

#include <optional>
#include <string>
#include <string_view>

// The title a memo is stored with. A title that is empty or equals the title hint (the placeholder
// the editors show) counts as no title; the memo then takes the start of its body as its title:
// the body without trailing white space, cut to MAX_TITLE_LEN, without trailing white space again.
// Returns nothing when the memo has no title and no body: nothing may be written then. A body of
// white space alone counts as no body, since the derived title and the visible body would be empty.
std::optional<std::u16string> TitleToStore(std::u16string_view title, std::u16string_view content,
                                           std::u16string_view titleHint);
