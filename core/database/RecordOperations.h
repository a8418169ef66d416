#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "database/AdoQuery.h"

namespace zelk::db {

// The dictionary statement: the rows of chr12 whose chr1 equals the key. The
// key is bound as a parameter, so that every character of it, the single
// quote included, matches literally.
inline constexpr std::string_view kDictionaryStatement = "select * from chr12 where chr1 = ?";
inline constexpr std::string_view kSavedSentenceStatement = "select * from sv where oid = 1";

// The record operations. Each begins by reopening its own cursor on its
// statement (close, statement text, open) and leaves the cursor open on its
// result; each acts on the first row only. They show nothing and raise
// EDatabaseError or EEngineError on failure.

// The replacement of the key's first entry (empty for an empty or null chr2),
// or nothing when the key has no entry.
std::optional<std::string> FindEntry(TADOQuery& cursor, std::string_view key);
// Changes the key's first entry, or adds one when there is none.
void SaveEntry(TADOQuery& maintenanceCursor, std::string_view key, std::string_view replacement);
// Deletes the key's first entry; fails on a key without one.
void DeleteEntry(TADOQuery& maintenanceCursor, std::string_view key);
// The saved sentence; empty when there is no row or its value is null.
std::string LoadSavedSentence(TADOQuery& settingsCursor);
// Replaces the saved sentence, adding the row when there is none.
void StoreSavedSentence(TADOQuery& settingsCursor, std::string_view text);

}  // namespace zelk::db
