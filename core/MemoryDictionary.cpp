#include "MemoryDictionary.h"

#include <strings.h>

#include <stdexcept>

#include "CodePage.h"
#include "ReadTransaction.h"

namespace zelk {

std::string MemoryDictionary::NormalizedKey(std::string key) const {
    if (foldAsciiCase_) {
        for (char& c : key) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

MemoryDictionary MemoryDictionary::Load(TADOConnection& connection) {
    sqlite3* db = connection.Handle();
    const char* collation = nullptr;
    const int rc = sqlite3_table_column_metadata(db, "main", "chr12", "chr1", nullptr, &collation,
                                                 nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc);

    MemoryDictionary dictionary;
    dictionary.codePage_ = connection.WindowCodePage();
    if (collation && strcasecmp(collation, "NOCASE") == 0) {
        dictionary.foldAsciiCase_ = true;
    } else if (collation && strcasecmp(collation, "BINARY") != 0) {
        throw std::runtime_error(std::string("chr12.chr1 compares by collation ") + collation +
                                 ", which the in-memory dictionary cannot repeat");
    }

    // Rowid order is the order in which the dictionary statement returns the
    // rows of one key, so the first row read for a key is the one FindEntry gives.
    ReadTransaction transaction(connection);
    transaction.Begin();
    SqliteStatement& statement =
        connection.Prepare("select chr1, chr2 from chr12 order by _rowid_");
    StatementResetter resetter(statement);
    while (statement.Step()) {
        if (statement.ColumnIsNull(0)) continue;  // a null key equals no key
        std::string key = dictionary.NormalizedKey(statement.ColumnText(0));
        if (dictionary.pieces_.contains(key)) continue;
        // The replacement crosses the data layer in the window code page, as in FindEntry.
        std::string replacement = statement.ColumnText(1);
        if (dictionary.codePage_ != kCodePageUtf8) {
            replacement =
                Utf16ToAnsi(AnsiToUtf16(replacement, kCodePageUtf8), dictionary.codePage_);
        }
        dictionary.pieces_.emplace(std::move(key), AnsiToUtf16(replacement, dictionary.codePage_));
    }
    return dictionary;
}

std::u16string MemoryDictionary::LookupChar(std::u16string_view character) const {
    // The key as the engine sees it: through the window code page, then UTF-8.
    std::string key = Utf16ToAnsi(character, codePage_);
    if (codePage_ != kCodePageUtf8) key = Utf16ToAnsi(AnsiToUtf16(key, codePage_), kCodePageUtf8);
    const auto it = pieces_.find(NormalizedKey(std::move(key)));
    if (it == pieces_.end()) return std::u16string(character);
    return it->second;
}

}  // namespace zelk
