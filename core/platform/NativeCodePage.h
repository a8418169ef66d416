#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk::platform {

// A Windows-style code page number: 936 is GBK.
using CodePage = unsigned;

// A conversion this system does not have (a web page's C library has no
// GBK); other faults of a conversion raise std::runtime_error.
class CodePageUnavailable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Conversions between UTF-16 and a code page other than UTF-8, by the
// system's own tables, with the program's rules on both systems.

// A byte that starts no character of the code page becomes U+FFFD.
std::u16string CodePageToUtf16(std::string_view text, CodePage codePage);
// A character the code page cannot represent becomes "?": a surrogate pair
// is one character, a lone surrogate one too.
std::string Utf16ToCodePage(std::u16string_view text, CodePage codePage);

}  // namespace zelk::platform
