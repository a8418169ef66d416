#include "text/EngineError.h"

namespace zelk::text {

namespace {

const char* Description(ErrorCode code) {
    switch (code) {
        case ErrorCode::CarriageReturnLineEnds:
            return "the line ends are carriage returns alone; save the file with line feeds (LF "
                   "or CR LF)";
        case ErrorCode::LineNotUtf8:
            return "the line is not valid UTF-8";
        case ErrorCode::LineWithNul:
            return "the line holds a NUL byte, which no text file does (save the file as UTF-8)";
        case ErrorCode::NoTab:
            return "no tab between key and replacement";
        case ErrorCode::MoreThanTwoFields:
            return "more than two fields (write a tab in a field as \\t)";
        case ErrorCode::UnknownEscapeInKey:
            return "unknown escape in the key";
        case ErrorCode::UnknownEscapeInReplacement:
            return "unknown escape in the replacement";
        case ErrorCode::EmptyKey:
            return "empty key";
        case ErrorCode::MarkWithoutPlaceholder:
            return "--mark needs {c} or {p} in its format";
        case ErrorCode::SeparatorEmpty:
            return "--join needs a separator that is not empty";
        case ErrorCode::SeparatorWithChinese:
            return "--join needs a separator without Chinese characters in it";
        case ErrorCode::SeparatorWithLineBreak:
            return "--join needs a separator without a line break in it";
        case ErrorCode::OnlyEmpty:
            return "--only: no word to split";
        case ErrorCode::OnlyNotUtf8:
            return "--only: the word is not valid UTF-8";
        case ErrorCode::OnlyWithoutChinese:
            return "--only: the word '%s' has no Chinese character";
    }
    return "unknown fault";
}

}  // namespace

const char* CodeName(ErrorCode code) {
    switch (code) {
        case ErrorCode::CarriageReturnLineEnds:
            return "CarriageReturnLineEnds";
        case ErrorCode::LineNotUtf8:
            return "LineNotUtf8";
        case ErrorCode::LineWithNul:
            return "LineWithNul";
        case ErrorCode::NoTab:
            return "NoTab";
        case ErrorCode::MoreThanTwoFields:
            return "MoreThanTwoFields";
        case ErrorCode::UnknownEscapeInKey:
            return "UnknownEscapeInKey";
        case ErrorCode::UnknownEscapeInReplacement:
            return "UnknownEscapeInReplacement";
        case ErrorCode::EmptyKey:
            return "EmptyKey";
        case ErrorCode::MarkWithoutPlaceholder:
            return "MarkWithoutPlaceholder";
        case ErrorCode::SeparatorEmpty:
            return "SeparatorEmpty";
        case ErrorCode::SeparatorWithChinese:
            return "SeparatorWithChinese";
        case ErrorCode::SeparatorWithLineBreak:
            return "SeparatorWithLineBreak";
        case ErrorCode::OnlyEmpty:
            return "OnlyEmpty";
        case ErrorCode::OnlyNotUtf8:
            return "OnlyNotUtf8";
        case ErrorCode::OnlyWithoutChinese:
            return "OnlyWithoutChinese";
    }
    return "Unknown";
}

std::string EnglishText(ErrorCode code, const std::string& source, std::size_t line,
                        const std::string& text) {
    std::string description = Description(code);
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
