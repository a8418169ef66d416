#include "text/DictionaryTsv.h"

#include "base/Unicode.h"
#include "text/EngineError.h"

namespace zelk::text {

using base::DictionaryEntry;

namespace {

// Undoes the escapes of one field; false on an unknown or cut-off escape.
bool Unescape(std::string_view field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) return false;
        switch (field[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
                out += '\0';
                break;
            case '#':
                out += '#';
                break;
            default:
                return false;
        }
    }
    return true;
}

std::string Escape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::vector<DictionaryEntry> ParseDictionaryTsv(std::string_view text,
                                                std::string_view sourceName) {
    std::vector<DictionaryEntry> entries;
    std::size_t lineNumber = 0;
    std::string_view line;
    const auto fail = [&](ErrorCode code) {
        throw EngineError(code, std::string(sourceName), lineNumber,
                          base::IsValidUtf8(line) ? std::string(line) : std::string());
    };
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // byte order mark
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find('\r') != std::string_view::npos) {
            // Export writes a carriage return in a field as \r: a bare one
            // is a line end of a file saved with carriage returns alone.
            fail(ErrorCode::CarriageReturnLineEnds);
        }
        if (line.empty() || line.front() == '#') continue;
        if (!base::IsValidUtf8(line)) fail(ErrorCode::LineNotUtf8);
        if (line.find('\0') != std::string_view::npos) fail(ErrorCode::LineWithNul);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) fail(ErrorCode::NoTab);
        const std::string_view rawKey = line.substr(0, tab);
        const std::string_view rawReplacement = line.substr(tab + 1);
        if (rawReplacement.find('\t') != std::string_view::npos) {
            fail(ErrorCode::MoreThanTwoFields);
        }
        DictionaryEntry entry;
        if (!Unescape(rawKey, entry.key)) fail(ErrorCode::UnknownEscapeInKey);
        if (entry.key.empty()) fail(ErrorCode::EmptyKey);
        if (rawReplacement != "\\N") {
            std::string replacement;
            if (!Unescape(rawReplacement, replacement)) fail(ErrorCode::UnknownEscapeInReplacement);
            entry.replacement = std::move(replacement);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string FormatDictionaryTsv(const std::vector<DictionaryEntry>& entries) {
    std::string out;
    for (const DictionaryEntry& entry : entries) {
        // A key starting with "#" would read as a comment.
        if (entry.key.starts_with('#')) out += '\\';
        out += Escape(entry.key);
        out += '\t';
        out += entry.replacement ? Escape(*entry.replacement) : std::string("\\N");
        out += '\n';
    }
    return out;
}

}  // namespace zelk::text
