#include "platform/NativeCodePage.h"

namespace zelk::platform {

// A web page's C library has no code page tables: the page speaks UTF-8 and
// UTF-16 only.

std::u16string CodePageToUtf16(std::string_view, CodePage codePage) {
    throw CodePageUnavailable("Code page " + std::to_string(codePage) +
                              " is not available in a web page");
}

std::string Utf16ToCodePage(std::u16string_view, CodePage codePage) {
    throw CodePageUnavailable("Code page " + std::to_string(codePage) +
                              " is not available in a web page");
}

}  // namespace zelk::platform
