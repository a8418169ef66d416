#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "AdoConnection.h"
#include "DictionaryTsv.h"

namespace zelk {

// The sentence a new database holds as its saved sentence.
inline constexpr std::string_view kInitialSentence = "拆功，阴阳，请让精神好，骆驼，难捉狗";

struct ImportSummary {
    std::size_t added = 0;
    std::size_t changed = 0;
};

// Makes a new encrypted database at path: the two tables, the index on
// chr12.chr1, the saved sentence (oid 1) and the entries, merged in order as
// ImportDictionary does. The file appears whole or not at all. An existing
// file is replaced only when overwrite is set; otherwise std::runtime_error.
void CreateDictionaryDatabase(const std::filesystem::path& path,
                              const std::vector<DictionaryEntry>& entries,
                              std::string_view savedSentence, bool overwrite);

// Every entry of chr12, in the engine's row order.
std::vector<DictionaryEntry> ExportDictionary(TADOConnection& connection);

// Writes the entries in one transaction: each one changes the first entry of
// its key, as the maintenance panel's save does, or is added. With
// replaceAll the dictionary is emptied first. All or nothing.
ImportSummary ImportDictionary(TADOConnection& connection,
                               const std::vector<DictionaryEntry>& entries, bool replaceAll);

}  // namespace zelk
