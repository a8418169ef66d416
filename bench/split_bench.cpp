// Splitting throughput against the default dictionary: one FindEntry per
// character through the lookup cursor, with and without one read transaction
// around the split; the engine's floor for the same lookups (one compiled
// statement reset and re-bound per character, in one transaction); and the
// remembered pieces of zelk-split.
//
//   ./bench/split_bench [characters]      (default 400000, over 1 MB of UTF-8)
//   ./bench/split_bench N --findentry-only  (only the FindEntry path, for a profiler:
//       perf record -g ./bench/split_bench 2000000 --findentry-only)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "base/CodePage.h"
#include "base/Unicode.h"
#include "builtin/DefaultDictionary.h"
#include "database/AdoQuery.h"
#include "database/DictionaryDatabase.h"
#include "database/SqliteStatement.h"
#include "lookup/CachedPieces.h"
#include "lookup/DatabasePieces.h"

namespace {

namespace base = zelk::base;
namespace db = zelk::db;
namespace lookup = zelk::lookup;
namespace text = zelk::text;
using Clock = std::chrono::steady_clock;
using Receiver = std::function<void(std::u16string_view piece)>;

// LookupChar for every character, each statement on its own (no read
// transaction around them).
class AutocommitPieces : public text::PieceSource {
  public:
    explicit AutocommitPieces(db::TADOQuery& cursor) : cursor_(cursor) {}
    std::u16string_view PieceOf(std::u16string_view character) override {
        return piece_ = lookup::LookupChar(cursor_, character);
    }

  private:
    db::TADOQuery& cursor_;
    std::u16string piece_;
};

void Walk(text::PieceSource& source, const std::u16string& s, const Receiver& receive) {
    text::SplitSentence(s, source,
                        [&](std::u16string_view, std::u16string_view piece) { receive(piece); });
}

// Common text: mostly characters with an entry, some without, some punctuation.
std::u16string MakeText(std::size_t length, const std::vector<zelk::base::DictionaryEntry>& entries) {
    std::mt19937 random(7305);
    std::u16string text;
    text.reserve(length);
    while (text.size() < length) {
        const unsigned pick = random() % 10;
        if (pick < 6) {
            text += base::AnsiToUtf16(entries[random() % entries.size()].key);
        } else if (pick < 9) {
            text += static_cast<char16_t>(0x4E00 + random() % 0x5000);
        } else {
            text += u"，。！？ a1"[random() % 7];
        }
    }
    return text;
}

template <typename Split>
double CharactersPerSecond(const std::u16string& text, Split split, std::size_t& outputSize) {
    const auto start = Clock::now();
    std::u16string result;
    result.reserve(text.size() * 2);
    split(text, [&](std::u16string_view piece) { result += piece; });
    const std::chrono::duration<double> seconds = Clock::now() - start;
    outputSize = result.size();
    return static_cast<double>(text.size()) / seconds.count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t length = argc > 1 ? std::stoul(argv[1]) : 400000;
    std::string dir = (std::filesystem::temp_directory_path() / "zelk-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return 1;
    const std::filesystem::path database = std::filesystem::path(dir) / "Zelk.dll";
    const auto entries = zelk::builtin::DefaultDictionaryEntries();
    db::CreateDictionaryDatabase(database, entries, db::kInitialSentence, false);
    const std::u16string text = MakeText(length, entries);

    db::TADOConnection connection(db::BuildConnectionString(database.string()));
    db::TADOQuery cursor("ADOQuery1", connection);
    connection.Open();

    std::size_t transactionOut = 0, autocommitOut = 0, memoryOut = 0;
    const double inTransaction = CharactersPerSecond(
        text,
        [&](const std::u16string& s, const Receiver& receive) {
            lookup::DatabasePieces pieces(cursor);
            Walk(pieces, s, receive);
        },
        transactionOut);
    if (argc > 2 && std::string_view(argv[2]) == "--findentry-only") {
        std::printf("FindEntry per character, one read transaction: %12.0f characters/s\n",
                    inTransaction);
        return 0;
    }

    // Without the read transaction every statement locks the file on its own:
    // measured on a slice, since it is an order of magnitude slower.
    const std::u16string slice = text.substr(0, std::min<std::size_t>(text.size(), 50000));
    const double autocommit = CharactersPerSecond(
        slice,
        [&](const std::u16string& s, const Receiver& receive) {
            AutocommitPieces pieces(cursor);
            Walk(pieces, s, receive);
        },
        autocommitOut);

    // The engine alone: the same statement, compiled once, per character.
    std::size_t engineOut = 0;
    const double engine = CharactersPerSecond(
        text,
        [&](const std::u16string& s, const Receiver& receive) {
            sqlite3* handle = connection.Handle();
            db::ExecuteSql(handle, "begin");
            db::SqliteStatement statement(handle, "select * from chr12 where chr1 = ?");
            std::u16string piece;
            for (std::size_t i = 0; i < s.size(); ++i) {
                const std::size_t length = base::CharacterLength(s, i);
                const std::u16string_view character(s.data() + i, length);
                statement.BindText(1, base::Utf16ToUtf8(character));
                if (statement.Step()) {
                    const auto* text =
                        reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 1));
                    piece = base::Utf8ToUtf16(std::string_view(
                        text ? text : "",
                        static_cast<std::size_t>(sqlite3_column_bytes(statement.get(), 1))));
                    receive(piece);
                } else {
                    receive(character);
                }
                statement.Reset();
                i += length - 1;
            }
            db::ExecuteSql(handle, "commit");
        },
        engineOut);

    lookup::CachedPieces cache(cursor);
    Walk(cache, text, [](std::u16string_view) {});  // every distinct character looked up once
    const double inMemory = CharactersPerSecond(
        text, [&](const std::u16string& s, const Receiver& receive) { Walk(cache, s, receive); },
        memoryOut);

    std::printf("text: %zu characters, %zu bytes of UTF-8; dictionary: %zu entries\n", text.size(),
                base::Utf16ToAnsi(text).size(), entries.size());
    std::printf("FindEntry per character, one read transaction: %12.0f characters/s\n",
                inTransaction);
    std::printf("FindEntry per character, autocommit (%zu chars): %10.0f characters/s\n",
                slice.size(), autocommit);
    std::printf("engine alone, one statement re-bound (floor):   %12.0f characters/s\n", engine);
    std::printf("remembered pieces, as zelk-split:               %12.0f characters/s\n", inMemory);
    std::printf("ratio engine floor / FindEntry in transaction: %.2f\n", engine / inTransaction);
    std::printf("ratio memory / FindEntry in transaction: %.1f; transaction / autocommit: %.1f\n",
                inMemory / inTransaction, inTransaction / autocommit);
    if (transactionOut != memoryOut || transactionOut != engineOut) {
        std::printf("MISMATCH: %zu vs %zu vs %zu output units\n", transactionOut, memoryOut,
                    engineOut);
        return 1;
    }
    connection.Close();
    std::filesystem::remove_all(dir);
    return 0;
}
