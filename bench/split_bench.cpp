// Splitting throughput against the default dictionary: one FindEntry per
// character through the lookup cursor, with and without one read transaction
// around the split, and the remembered pieces of zelk-split as the floor.
//
//   ./bench/split_bench [characters]      (default 400000, over 1 MB of UTF-8)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "AdoQuery.h"
#include "CachedDictionary.h"
#include "CodePage.h"
#include "DefaultDictionary.h"
#include "DictionaryDatabase.h"
#include "Splitter.h"

namespace {

using Clock = std::chrono::steady_clock;

// Common text: mostly characters with an entry, some without, some punctuation.
std::u16string MakeText(std::size_t length, const std::vector<zelk::DictionaryEntry>& entries) {
    std::mt19937 random(7305);
    std::u16string text;
    text.reserve(length);
    while (text.size() < length) {
        const unsigned pick = random() % 10;
        if (pick < 6) {
            text += zelk::AnsiToUtf16(entries[random() % entries.size()].key);
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
    const auto entries = zelk::DefaultDictionaryEntries();
    zelk::CreateDictionaryDatabase(database, entries, zelk::kInitialSentence, false);
    const std::u16string text = MakeText(length, entries);

    zelk::TADOConnection connection(zelk::BuildConnectionString(database.string()));
    zelk::TADOQuery lookup("ADOQuery1", connection);
    connection.Open();

    std::size_t transactionOut = 0, autocommitOut = 0, memoryOut = 0;
    const double inTransaction = CharactersPerSecond(
        text,
        [&](const std::u16string& s, const zelk::PieceReceiver& receive) {
            zelk::SplitWithDictionary(lookup, s, receive);
        },
        transactionOut);

    // Without the read transaction every statement locks the file on its own:
    // measured on a slice, since it is an order of magnitude slower.
    const std::u16string slice = text.substr(0, std::min<std::size_t>(text.size(), 50000));
    const double autocommit = CharactersPerSecond(
        slice,
        [&](const std::u16string& s, const zelk::PieceReceiver& receive) {
            zelk::SplitSentence(
                s, [&](std::u16string_view c) { return zelk::LookupChar(lookup, c); }, receive);
        },
        autocommitOut);

    zelk::CachedDictionary cache(lookup);
    cache.Split(text, [](std::u16string_view) {});  // every distinct character looked up once
    const double inMemory = CharactersPerSecond(
        text,
        [&](const std::u16string& s, const zelk::PieceReceiver& receive) {
            cache.Split(s, receive);
        },
        memoryOut);

    std::printf("text: %zu characters, %zu bytes of UTF-8; dictionary: %zu entries\n", text.size(),
                zelk::Utf16ToAnsi(text).size(), entries.size());
    std::printf("FindEntry per character, one read transaction: %12.0f characters/s\n",
                inTransaction);
    std::printf("FindEntry per character, autocommit (%zu chars): %10.0f characters/s\n",
                slice.size(), autocommit);
    std::printf("remembered pieces (floor):                      %12.0f characters/s\n", inMemory);
    std::printf("ratio memory / FindEntry in transaction: %.1f; transaction / autocommit: %.1f\n",
                inMemory / inTransaction, inTransaction / autocommit);
    if (transactionOut != memoryOut) {
        std::printf("MISMATCH: %zu vs %zu output units\n", transactionOut, memoryOut);
        return 1;
    }
    connection.Close();
    std::filesystem::remove_all(dir);
    return 0;
}
