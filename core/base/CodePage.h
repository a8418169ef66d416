#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk {

// A Windows-style code page number: 936 is GBK, 65001 is UTF-8.
using CodePage = unsigned;

inline constexpr CodePage kCodePageUtf8 = 65001;
inline constexpr CodePage kCodePageGbk = 936;

// A conversion this system does not have (a web page's C library has no
// GBK); other faults of a conversion raise std::runtime_error.
class CodePageUnavailable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The code page of the window text: UTF-8 on Linux, as Qt 6 treats local
// 8-bit text.
CodePage AnsiCodePage();

// Text in the code page to UTF-16. A byte sequence that is not valid in the
// code page becomes U+FFFD, one for each byte that cannot start a character.
std::u16string AnsiToUtf16(std::string_view text, CodePage codePage = AnsiCodePage());

// UTF-16 to text in the code page. A character the code page cannot represent
// (a surrogate pair counts as one character, a lone surrogate as one) becomes
// the default character "?". Nothing is truncated.
std::string Utf16ToAnsi(std::u16string_view text, CodePage codePage = AnsiCodePage());

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);
// The offset of the first byte that is not part of well-formed UTF-8, or
// npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view text);

// Decodes one UTF-8 sequence at text[i] into cp; returns its length, or 0
// when the bytes there do not form a valid, shortest-form sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp);

// One code point as UTF-16 (a surrogate pair above the BMP).
std::u16string CodePointToUtf16(char32_t cp);
// The same, appended to out.
void AppendUtf16(std::u16string& out, char32_t cp);

// The code point of a character of one code unit or one surrogate pair.
char32_t CodePointOf(std::u16string_view character);
// The code point of the character that ends text (a surrogate pair counts
// as one), or 0 for the empty text.
char32_t LastCodePoint(std::u16string_view text);

// True when the code unit at position i starts a well-formed surrogate pair.
inline bool StartsSurrogatePair(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
}

// True when text is exactly one character: one code unit, or one surrogate pair.
inline bool IsOneCharacter(std::u16string_view text) {
    return text.size() == 1 || (text.size() == 2 && StartsSurrogatePair(text, 0));
}

}  // namespace zelk
