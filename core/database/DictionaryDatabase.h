#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "database/AdoConnection.h"
#include "base/DictionaryEntry.h"

namespace zelk::db {

// The sentence a new database holds as its saved sentence.
inline constexpr std::string_view kInitialSentence = "拆功，阴阳，请让精神好，骆驼，难捉狗";

// Makes a new encrypted database at path: the two tables, the index on
// chr12.chr1, the saved sentence (oid 1) and the entries, merged in order
// (a later entry for a key replaces an earlier one). The file appears whole
// or not at all. An existing file is replaced only when overwrite is set
// (otherwise std::runtime_error), and only while no other process writes
// it. Gives the number of entries the new file holds.
std::size_t CreateDictionaryDatabase(const std::filesystem::path& path,
                                     const std::vector<base::DictionaryEntry>& entries,
                                     std::string_view savedSentence, bool overwrite);

// Every entry of chr12, in the engine's row order.
std::vector<base::DictionaryEntry> ExportDictionary(TADOConnection& connection);

// Writes the entries in one transaction, all or nothing: an entry whose key
// has none yet is added; one whose key has an entry acts as the policy says.
// Within the import itself, a later entry for a key replaces an earlier one.
// The counts are those the file holds when the transaction commits.
base::ImportSummary ImportDictionary(TADOConnection& connection,
                               const std::vector<base::DictionaryEntry>& entries,
                               base::MergePolicy policy);

}  // namespace zelk::db
