#include "database/ConnectionSettings.h"

#include <algorithm>
#include <cctype>

namespace zelk::db {

namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// A value that holds a semicolon or a double quote, or starts or ends with a
// blank, goes between double quotes with its own quotes doubled.
std::string QuoteValue(std::string_view value) {
    const bool plain = value.find_first_of(";\"") == std::string_view::npos &&
                       (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return std::string(value);
    std::string quoted = "\"";
    for (char c : value) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    quoted += '"';
    return quoted;
}

}  // namespace

std::string BuildConnectionString(std::string_view dataSource) {
    std::string text = "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=";
    text += QuoteValue(dataSource);
    text += ";Persist Security Info=True;Jet OLEDB:Database Password=";
    text += QuoteValue(kDatabasePassword);
    return text;
}

std::optional<std::string> ConnectionAttribute(std::string_view connectionString,
                                               std::string_view name) {
    std::size_t i = 0;
    while (i < connectionString.size()) {
        const std::size_t equals = connectionString.find('=', i);
        if (equals == std::string_view::npos) break;
        const std::string_view attribute = Trim(connectionString.substr(i, equals - i));
        std::size_t j = equals + 1;
        while (j < connectionString.size() && connectionString[j] == ' ') ++j;
        std::string value;
        if (j < connectionString.size() && connectionString[j] == '"') {
            // Quoted: runs to the next lone quote; a doubled quote stands for one.
            for (++j; j < connectionString.size(); ++j) {
                if (connectionString[j] == '"') {
                    if (j + 1 < connectionString.size() && connectionString[j + 1] == '"') {
                        value += '"';
                        ++j;
                    } else {
                        ++j;
                        break;
                    }
                } else {
                    value += connectionString[j];
                }
            }
            j = std::min(connectionString.find(';', j), connectionString.size());
        } else {
            const std::size_t end =
                std::min(connectionString.find(';', j), connectionString.size());
            value = std::string(Trim(connectionString.substr(j, end - j)));
            j = end;
        }
        if (EqualsIgnoringAsciiCase(attribute, name)) return value;
        i = j + 1;
    }
    return std::nullopt;
}

}  // namespace zelk::db
