#pragma once

#include <string>
#include <string_view>

#include "platform/NativeCodePage.h"

namespace zelk::base {

// The code pages of window text: 936 is GBK, 65001 is UTF-8.
using platform::CodePage;
using platform::CodePageUnavailable;

inline constexpr CodePage kCodePageUtf8 = 65001;
inline constexpr CodePage kCodePageGbk = 936;

// The code page of the window text: UTF-8, as Qt 6 treats local 8-bit text
// and as a program that declares UTF-8 its code page gets on Windows.
constexpr CodePage AnsiCodePage() {
    return kCodePageUtf8;
}

// Text in the code page to UTF-16. A byte sequence that is not valid in the
// code page becomes U+FFFD, one for each byte that cannot start a character.
std::u16string AnsiToUtf16(std::string_view text, CodePage codePage = AnsiCodePage());

// UTF-16 to text in the code page. A character the code page cannot represent
// (a surrogate pair counts as one character, a lone surrogate as one) becomes
// the default character "?". Nothing is truncated.
std::string Utf16ToAnsi(std::u16string_view text, CodePage codePage = AnsiCodePage());

// Text as it comes back from a trip through the code page: each character
// the code page cannot represent is "?". What a box of window text holds.
std::u16string ThroughCodePage(std::u16string_view text, CodePage codePage = AnsiCodePage());

}  // namespace zelk::base
