#include "text/EngineError.h"

#include <iterator>

namespace zelk::text {

namespace {

// Each code once: its name, by which other languages word it, and the
// tools' English.
struct CodeText {
    ErrorCode code;
    const char* name;
    const char* description;
};

constexpr CodeText kCodeTexts[] = {
    {ErrorCode::CarriageReturnLineEnds, "CarriageReturnLineEnds",
     "the line ends are carriage returns alone; save the file with line feeds (LF or CR LF)"},
    {ErrorCode::LineNotUtf8, "LineNotUtf8", "the line is not valid UTF-8"},
    {ErrorCode::LineWithNul, "LineWithNul",
     "the line holds a NUL byte, which no text file does (save the file as UTF-8)"},
    {ErrorCode::NoTab, "NoTab", "no tab between key and replacement"},
    {ErrorCode::MoreThanTwoFields, "MoreThanTwoFields",
     "more than two fields (write a tab in a field as \\t)"},
    {ErrorCode::UnknownEscapeInKey, "UnknownEscapeInKey", "unknown escape in the key"},
    {ErrorCode::UnknownEscapeInReplacement, "UnknownEscapeInReplacement",
     "unknown escape in the replacement"},
    {ErrorCode::EmptyKey, "EmptyKey", "empty key"},
    {ErrorCode::MarkWithoutPlaceholder, "MarkWithoutPlaceholder",
     "--mark needs {c} or {p} in its format"},
    {ErrorCode::SeparatorEmpty, "SeparatorEmpty", "--join needs a separator that is not empty"},
    {ErrorCode::SeparatorWithChinese, "SeparatorWithChinese",
     "--join needs a separator without Chinese characters in it"},
    {ErrorCode::SeparatorWithLineBreak, "SeparatorWithLineBreak",
     "--join needs a separator without a line break in it"},
    {ErrorCode::OnlyEmpty, "OnlyEmpty", "--only: no word to split"},
    {ErrorCode::OnlyNotUtf8, "OnlyNotUtf8", "--only: the word is not valid UTF-8"},
    {ErrorCode::OnlyWithoutChinese, "OnlyWithoutChinese",
     "--only: the word '%s' has no Chinese character"},
};

constexpr bool InCodeOrder() {
    for (std::size_t i = 0; i < std::size(kCodeTexts); ++i)
        if (static_cast<std::size_t>(kCodeTexts[i].code) != i) return false;
    return std::size(kCodeTexts) == kErrorCodeCount;
}
static_assert(InCodeOrder(), "one entry for each code, in the order of the codes");

const CodeText* TextOf(ErrorCode code) {
    const auto index = static_cast<std::size_t>(code);
    return index < std::size(kCodeTexts) ? &kCodeTexts[index] : nullptr;
}

}  // namespace

const char* CodeName(ErrorCode code) {
    const CodeText* text = TextOf(code);
    return text ? text->name : "Unknown";
}

std::string EnglishText(ErrorCode code, const std::string& source, std::size_t line,
                        const std::string& text) {
    const CodeText* codeText = TextOf(code);
    std::string description = codeText ? codeText->description : "unknown fault";
    if (const std::size_t at = description.find("%s"); at != std::string::npos)
        description.replace(at, 2, text);
    if (line > 0) return source + ":" + std::to_string(line) + ": " + description;
    if (!source.empty()) return source + ": " + description;
    return description;
}

EngineError::EngineError(ErrorCode code, std::string source, std::size_t line, std::string text)
    : std::runtime_error(EnglishText(code, source, line, text)),
      code_(code),
      source_(std::move(source)),
      line_(line),
      text_(std::move(text)) {}

}  // namespace zelk::text
