#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace zelk::text {

// The faults the engine finds in what it is given. Each way into the
// program words them in its own language from the code; what() is the
// tools' English.
enum class ErrorCode {
    // A dictionary file, at a line:
    CarriageReturnLineEnds,  // line ends of carriage returns alone
    LineNotUtf8,
    LineWithNul,             // a NUL byte: no text file (one in UTF-16, say)
    NoTab,                   // no tab between key and replacement
    MoreThanTwoFields,
    UnknownEscapeInKey,
    UnknownEscapeInReplacement,
    EmptyKey,
    // The output forms:
    MarkWithoutPlaceholder,  // a mark format with neither {c} nor {p}
    SeparatorEmpty,          // reading back needs a separator that is not empty
    SeparatorWithChinese,    // nor one with Chinese writing in it
    SeparatorWithLineBreak,  // nor one with a line break, which ends every line's reading
    // The words a split is limited to (--only):
    OnlyEmpty,           // no word at all
    OnlyNotUtf8,         // a line of a word list that is no UTF-8
    OnlyWithoutChinese,  // a word with no Chinese character in it
};
inline constexpr int kErrorCodeCount = static_cast<int>(ErrorCode::OnlyWithoutChinese) + 1;

class EngineError : public std::runtime_error {
  public:
    // source: what the caller named the input (a file); line: its line,
    // from 1, or 0 when the fault is in no file; text: what is at fault.
    EngineError(ErrorCode code, std::string source = {}, std::size_t line = 0,
                std::string text = {});

    ErrorCode code() const { return code_; }
    const std::string& source() const { return source_; }
    std::size_t line() const { return line_; }
    const std::string& text() const { return text_; }

  private:
    ErrorCode code_;
    std::string source_;
    std::size_t line_;
    std::string text_;
};

// The fault in English, "SOURCE:LINE: " in front when it has a line, and
// the text at fault where it names it.
std::string EnglishText(ErrorCode code, const std::string& source, std::size_t line,
                        const std::string& text = {});
// The code's name ("NoTab"), by which other languages word it.
const char* CodeName(ErrorCode code);

}  // namespace zelk::text
