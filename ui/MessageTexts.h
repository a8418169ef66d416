#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace zelk::ui {

// The texts of the program's message boxes, the same in every toolkit.

inline constexpr std::u16string_view kConfirmCaption = u"确认";
inline constexpr std::u16string_view kOkCaption = u"确定";
inline constexpr std::u16string_view kYesCaption = u"是";
inline constexpr std::u16string_view kNoCaption = u"否";
inline constexpr std::u16string_view kFatalErrorCaption = u"Application Error";

// The error box's text: the message, with a final "." when its last
// character comes after "." in character order (a letter, a digit, any
// Chinese character).
std::u16string ErrorBoxText(std::u16string_view message);

// An error's kind for the fatal error box: its class name.
std::u16string ErrorKindName(const std::exception& error);

// The fatal error box's text: "Exception KIND in module MODULE at ADDRESS."
// and, on the next line, the message ending in ".".
std::u16string FatalErrorText(std::u16string_view errorKind, std::u16string_view module,
                              std::uintptr_t address, std::u16string_view message);

// What Ctrl+C in a box puts on the clipboard: the caption, the text and the
// button captions between lines of dashes, every line ended by CR LF.
std::u16string MessageBoxClipboardText(std::u16string_view caption, std::u16string_view text,
                                       const std::vector<std::u16string>& buttonCaptions);

}  // namespace zelk::ui
