#include "platform/NativeCodePage.h"

#include <windows.h>

namespace zelk::platform {

// The system's conversions, with the program's rules where they differ from
// them: a byte that starts no character becomes U+FFFD (the system gives a
// private-use character for 0xFF, "?" for a lead byte with nothing after),
// and a character the code page lacks becomes one "?" (the system writes two
// for a surrogate pair).

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

void RequireCodePage(CodePage codePage) {
    CPINFO info;
    if (!GetCPInfo(codePage, &info)) {
        throw CodePageUnavailable("Code page " + std::to_string(codePage) +
                                  " is not available on this system");
    }
}

}  // namespace

std::u16string CodePageToUtf16(std::string_view text, CodePage codePage) {
    RequireCodePage(codePage);
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        const int length = IsDBCSLeadByteEx(codePage, byte) && i + 1 < text.size() ? 2 : 1;
        wchar_t unit;
        const int converted =
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data() + i, length, &unit, 1);
        if (converted == 1 && !(unit >= 0xE000 && unit <= 0xF8FF && length == 1)) {
            out += static_cast<char16_t>(unit);
            i += length;
        } else {
            out += kReplacementCharacter;  // skip one byte that starts no character
            ++i;
        }
    }
    return out;
}

std::string Utf16ToCodePage(std::u16string_view text, CodePage codePage) {
    RequireCodePage(codePage);
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // No such code page holds a character outside the BMP: a pair is
            // one character, a lone surrogate one too.
            if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                ++i;
            out += '?';
            continue;
        }
        char bytes[4];
        BOOL usedDefault = FALSE;
        const wchar_t wide = static_cast<wchar_t>(unit);
        const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                               sizeof bytes, nullptr, &usedDefault);
        if (length <= 0 || usedDefault) {
            out += '?';
        } else {
            out.append(bytes, static_cast<std::size_t>(length));
        }
    }
    return out;
}

}  // namespace zelk::platform
