#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/DictionaryEntry.h"

namespace zelk::text {

// A dictionary as UTF-8 text, one entry a line: key, a tab, replacement.
// Lines that start with "#" and blank lines are skipped. In a field, "\\",
// "\t", "\n", "\r", "\0" and "\#" stand for a backslash, tab, line feed,
// carriage return, NUL and "#"; a replacement that is just "\N" is null. A
// NUL byte as it is makes the file no text file.

// Raises EngineError with the source, line and text of the first fault.
std::vector<base::DictionaryEntry> ParseDictionaryTsv(std::string_view text,
                                                      std::string_view sourceName);
std::string FormatDictionaryTsv(const std::vector<base::DictionaryEntry>& entries);

}  // namespace zelk::text
