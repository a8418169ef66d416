#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk::base {

// Text in the engine is UTF-16; files, the command line and the database
// speak UTF-8. A character is one code unit, or one well-formed surrogate
// pair; a lone surrogate is a character of its own.

constexpr bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// True when the code unit at position i starts a well-formed surrogate pair.
inline bool StartsSurrogatePair(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]);
}

// The number of code units of the character at position i: 2 for a
// surrogate pair, else 1.
inline std::size_t CharacterLength(std::u16string_view text, std::size_t i) {
    return StartsSurrogatePair(text, i) ? 2 : 1;
}

// True when text is exactly one character.
inline bool IsOneCharacter(std::u16string_view text) {
    return text.size() == 1 || (text.size() == 2 && StartsSurrogatePair(text, 0));
}

// The code point of a character of one code unit or one surrogate pair (of
// the first character of a longer text); 0 for the empty text.
char32_t CodePointOf(std::u16string_view character);
// The code point of the character that ends text, or 0 for the empty text.
char32_t LastCodePoint(std::u16string_view text);

// One code point as UTF-16, appended to out.
void AppendUtf16(std::u16string& out, char32_t cp);
std::u16string CodePointToUtf16(char32_t cp);

// Decodes one UTF-8 sequence at text[i] into cp; returns its length, or 0
// when the bytes there do not form a valid, shortest-form sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp);
// The offset of the first byte that is not part of well-formed UTF-8, or
// npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view text);
inline bool IsValidUtf8(std::string_view text) {
    return FirstInvalidUtf8(text) == std::string_view::npos;
}

// UTF-8 to UTF-16: a byte that is no part of well-formed UTF-8 becomes
// U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// UTF-16 to UTF-8: a lone surrogate, which UTF-8 cannot carry, becomes "?".
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace zelk::base
