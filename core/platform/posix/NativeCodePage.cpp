#include "platform/NativeCodePage.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelk::platform {

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

bool StartsPair(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
}

std::string IconvName(CodePage codePage) {
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

}  // namespace

std::u16string CodePageToUtf16(std::string_view text, CodePage codePage) {
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

std::string Utf16ToCodePage(std::u16string_view text, CodePage codePage) {
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
            const std::size_t units = StartsPair(text, position) ? 2 : 1;
            out += '?';
            in += 2 * units;
            inLeft -= 2 * units;
        } else if (error != 0 && error != E2BIG) {
            throw std::runtime_error("Code page conversion failed");
        }
    }
    return out;
}

}  // namespace zelk::platform
