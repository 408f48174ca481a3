#pragma once
// What the sources of the HTML text unit share.
#include <string_view>

#include "platform/rtl/String.h"

namespace html_impl {

// a-z folded to A-Z, nothing else.
inline char16_t FoldUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }
inline char16_t FoldLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
String UpperAscii(std::u16string_view s);
String LowerAscii(std::u16string_view s);

// Every occurrence of what replaced by with, from the left, as found (with case).
String ReplaceAll(std::u16string_view text, std::u16string_view what, std::u16string_view with);
// The same, matching what without regard to case (a-z).
String ReplaceAllIgnoringCase(std::u16string_view text, std::u16string_view what, std::u16string_view with);

// The integer the leading characters form after blanks and an optional sign; 0 when none. Held
// to the 32-bit range.
int LeadingInt(std::u16string_view s);

}  // namespace html_impl
