#pragma once

#include <string_view>

// The number a text starts with, read the way the C runtime's _wtoi reads it: white space first,
// then an optional sign, then decimal digits up to the first other character. No digits give 0;
// a number beyond the int range gives the nearest end of the range.
int ReadLeadingInteger(std::u16string_view text);
