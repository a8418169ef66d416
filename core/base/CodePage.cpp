#include "CodePage.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace zelk {

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp;
        const std::size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) {
            out += kReplacementCharacter;
            ++i;
        } else {
            AppendUtf16(out, cp);
            i += length;
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (StartsSurrogatePair(text, i)) {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += '?';  // a lone surrogate is no character
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string IconvName(CodePage codePage) {
    if (codePage == kCodePageGbk) return "CP936";
    return "CP" + std::to_string(codePage);
}

// One iconv conversion descriptor, closed when it goes out of scope.
class Iconv {
  public:
    Iconv(const std::string& to, const std::string& from)
        : cd_(iconv_open(to.c_str(), from.c_str())) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            // EINVAL: the system has no such conversion, or could not load
            // it; glibc says EINVAL also when no file descriptor was left to
            // read the conversion's module, so ask for one to tell them apart.
            int error = errno;
            if (error == EINVAL) {
                const int probe = ::fcntl(0, F_DUPFD_CLOEXEC, 0);
                if (probe == -1 && (errno == EMFILE || errno == ENFILE)) error = errno;
                if (probe != -1) ::close(probe);
            }
            if (error == EINVAL) {
                throw CodePageUnavailable("Code page conversion from " + from + " to " + to +
                                          " is not available on this system");
            }
            throw std::runtime_error("Code page conversion from " + from + " to " + to +
                                     " could not start: " + std::strerror(error));
        }
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts as much of [in, in + inLeft) as fits into out; returns errno or 0.
    int Convert(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[4096];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return error;
    }

  private:
    iconv_t cd_;
};

std::u16string IconvToUtf16(std::string_view text, CodePage codePage) {
    Iconv converter("UTF-16LE", IconvName(codePage));
    std::string bytes;
    const char* in = text.data();
    std::size_t inLeft = text.size();
    std::u16string out;
    const auto flush = [&] {
        for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
            out += static_cast<char16_t>(static_cast<unsigned char>(bytes[k]) |
                                         (static_cast<unsigned char>(bytes[k + 1]) << 8));
        }
        bytes.clear();
    };
    while (inLeft > 0) {
        const int error = converter.Convert(in, inLeft, bytes);
        flush();
        if (error == EILSEQ || error == EINVAL) {
            out += kReplacementCharacter;  // skip one byte that starts no character
            ++in;
            --inLeft;
        } else if (error != 0 && error != E2BIG) {
            throw std::runtime_error("Code page conversion failed");
        }
    }
    return out;
}

std::string IconvFromUtf16(std::u16string_view text, CodePage codePage) {
    Iconv converter(IconvName(codePage), "UTF-16LE");
    std::string out;
    std::string input;
    input.reserve(text.size() * 2);
    for (char16_t unit : text) {
        input += static_cast<char>(unit & 0xFF);
        input += static_cast<char>(unit >> 8);
    }
    const char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        const int error = converter.Convert(in, inLeft, out);
        if (error == EILSEQ || error == EINVAL) {
            // One character the code page lacks: a surrogate pair is one
            // character, anything else one code unit.
            const std::size_t position = (input.size() - inLeft) / 2;
            const std::size_t units = StartsSurrogatePair(text, position) ? 2 : 1;
            out += '?';
            in += 2 * units;
            inLeft -= 2 * units;
        } else if (error != 0 && error != E2BIG) {
            throw std::runtime_error("Code page conversion failed");
        }
    }
    return out;
}

}  // namespace

std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t length;
    char32_t min;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

std::u16string CodePointToUtf16(char32_t cp) {
    std::u16string out;
    AppendUtf16(out, cp);
    return out;
}

char32_t CodePointOf(std::u16string_view character) {
    if (StartsSurrogatePair(character, 0)) {
        return 0x10000 + ((character[0] - 0xD800u) << 10) + (character[1] - 0xDC00u);
    }
    return character.empty() ? 0 : character[0];
}

char32_t LastCodePoint(std::u16string_view text) {
    if (text.empty()) return 0;
    if (text.size() >= 2 && StartsSurrogatePair(text, text.size() - 2))
        return CodePointOf(text.substr(text.size() - 2));
    return text.back();
}

bool IsValidUtf8(std::string_view text) {
    return FirstInvalidUtf8(text) == std::string_view::npos;
}

std::size_t FirstInvalidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Plain ASCII runs need no decoding.
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        const std::size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) return i;
        i += length;
    }
    return std::string_view::npos;
}

CodePage AnsiCodePage() {
    return kCodePageUtf8;
}

std::u16string AnsiToUtf16(std::string_view text, CodePage codePage) {
    if (codePage == kCodePageUtf8) return Utf8ToUtf16(text);
    return IconvToUtf16(text, codePage);
}

std::string Utf16ToAnsi(std::u16string_view text, CodePage codePage) {
    if (codePage == kCodePageUtf8) return Utf16ToUtf8(text);
    return IconvFromUtf16(text, codePage);
}

}  // namespace zelk
