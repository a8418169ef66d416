#include "ui/MessageTexts.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "base/Unicode.h"

namespace zelk::ui {

std::u16string ErrorKindName(const std::exception& error) {
    int status = 0;
    const char* mangled = typeid(error).name();
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return base::Utf8ToUtf16(status == 0 && name ? name.get() : mangled);
}

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text += u'.';
    return text;
}

std::u16string FatalErrorText(std::u16string_view errorKind, std::u16string_view module,
                              std::uintptr_t address, std::u16string_view message) {
    std::u16string hex(sizeof(void*) * 2, u'0');
    for (std::size_t i = hex.size(); i-- > 0; address >>= 4)
        hex[i] = u"0123456789ABCDEF"[address & 15];
    std::u16string detail(message);
    if (detail.empty() || detail.back() != u'.') detail += u'.';
    return u"Exception " + std::u16string(errorKind) + u" in module " + std::u16string(module) +
           u" at " + hex + u".\n" + detail;
}

std::u16string MessageBoxClipboardText(std::u16string_view caption, std::u16string_view text,
                                       const std::vector<std::u16string>& buttonCaptions) {
    const std::u16string dashes(27, u'-');
    const std::u16string_view crlf = u"\r\n";
    std::u16string buttons;
    for (const std::u16string& button : buttonCaptions) buttons += button + u"   ";
    std::u16string out;
    for (const std::u16string_view line :
         {std::u16string_view(dashes), caption, std::u16string_view(dashes), text,
          std::u16string_view(dashes), std::u16string_view(buttons), std::u16string_view(dashes)}) {
        out += line;
        out += crlf;
    }
    return out;
}

}  // namespace zelk::ui
