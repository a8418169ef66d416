#include "base/CodePage.h"

#include "base/Unicode.h"

namespace zelk::base {

std::u16string AnsiToUtf16(std::string_view text, CodePage codePage) {
    if (codePage == kCodePageUtf8) return Utf8ToUtf16(text);
    return platform::CodePageToUtf16(text, codePage);
}

std::string Utf16ToAnsi(std::u16string_view text, CodePage codePage) {
    if (codePage == kCodePageUtf8) return Utf16ToUtf8(text);
    return platform::Utf16ToCodePage(text, codePage);
}

std::u16string ThroughCodePage(std::u16string_view text, CodePage codePage) {
    return AnsiToUtf16(Utf16ToAnsi(text, codePage), codePage);
}

}  // namespace zelk::base
