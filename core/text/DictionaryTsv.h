#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "DictionaryEntry.h"

namespace zelk {

// A dictionary as UTF-8 text, one entry a line: key, a tab, replacement.
// Lines that start with "#" and blank lines are skipped. In a field, "\\",
// "\t", "\n", "\r" and "\#" stand for a backslash, tab, line feed, carriage
// return and "#"; a replacement that is just "\N" is null.
class DictionaryTsvError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raises DictionaryTsvError naming the source and line of the first fault.
std::vector<DictionaryEntry> ParseDictionaryTsv(std::string_view text, std::string_view sourceName);
std::string FormatDictionaryTsv(const std::vector<DictionaryEntry>& entries);

}  // namespace zelk
