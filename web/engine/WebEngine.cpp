// The engine of the browser edition: the same splitter, output forms,
// joiner, part finder and coverage as zelk-split and zelk-dict, over a
// dictionary held in memory with the database's rules, and the join model
// file held in memory as the page fetched it.
//
// The page talks to it through plain C functions and two buffers: text goes
// in and out as UTF-16 code units (so that lone surrogates pass through
// untouched), the model's bytes go in as bytes. zelk-engine.js (web/page)
// wraps them for the page.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "join/CharacterModel.h"
#include "text/CharacterRanks.h"
#include "base/CodePage.h"
#include "text/Coverage.h"
#include "text/DictionaryTsv.h"
#include "join/JoinStream.h"
#include "join/Joiner.h"
#include "text/MemoryDictionary.h"
#include "join/ModelFile.h"
#include "text/PartFinder.h"
#include "text/PieceFormat.h"

namespace {

using zelk::DictionaryEntry;
using zelk::MemoryDictionary;

// The dictionary sets the page holds, in the order a database made by
// zelk-dict create gets them.
enum Set { kGenerated, kSupplement, kTopBottom, kSetCount };

std::string Utf8(std::u16string_view text) {
    return zelk::Utf16ToAnsi(text, zelk::kCodePageUtf8);
}

std::u16string Utf16(std::string_view text) {
    return zelk::AnsiToUtf16(text, zelk::kCodePageUtf8);
}

struct Engine {
    std::u16string input;          // what the page wrote
    std::vector<std::byte> bytes;  // the model file's bytes
    std::u16string result;         // what the page reads
    int flags = 0;

    std::vector<DictionaryEntry> sets[kSetCount];
    std::vector<DictionaryEntry> user;  // the user's own entries, in the order made
    bool topBottom = false;
    MemoryDictionary dictionary;
    bool dictionaryStale = true;
    zelk::CharacterRanks ranks;

    std::optional<zelk::CharacterModel> model;
    std::unique_ptr<zelk::Joiner> joiner;  // made for the dictionary and the model
    std::optional<zelk::JoinStream> joinStream;
    std::optional<zelk::PieceFormat> format;  // of the split under way

    const MemoryDictionary& Dictionary() {
        if (dictionaryStale) {
            // As zelk-dict create [--with top-bottom] and then zelk-dict
            // import --replace-keys of the user's entries make it.
            dictionary = MemoryDictionary();
            dictionary.Merge(sets[kGenerated], MemoryDictionary::Merge::ReplaceKeys);
            dictionary.Merge(sets[kSupplement], MemoryDictionary::Merge::ReplaceKeys);
            if (topBottom)
                dictionary.Merge(sets[kTopBottom], MemoryDictionary::Merge::KeepExisting);
            dictionary.Merge(user, MemoryDictionary::Merge::ReplaceKeys);
            dictionaryStale = false;
            joiner.reset();
        }
        return dictionary;
    }

    // The dictionary is made anew when next asked for, and the joiner with it.
    void Changed() { dictionaryStale = true; }

    std::u16string_view Input(std::size_t from, std::size_t units) const {
        return std::u16string_view(input).substr(from, units);
    }
};

Engine& engine() {
    static Engine instance;
    return instance;
}

// The user's entry whose key equals key as the key column compares.
std::vector<DictionaryEntry>::iterator UserEntry(const std::string& key) {
    auto& user = engine().user;
    return std::find_if(user.begin(), user.end(), [&](const DictionaryEntry& entry) {
        return MemoryDictionary::SameKey(entry.key, key);
    });
}

int Fail(const std::string& message) {
    engine().result = Utf16(message);
    return 1;
}

}  // namespace

extern "C" {

// Room for units UTF-16 code units of input; the page writes there.
EMSCRIPTEN_KEEPALIVE char16_t* zelk_input(int units) {
    engine().input.resize(static_cast<std::size_t>(units));
    return engine().input.data();
}

// Room for a model file of size bytes.
EMSCRIPTEN_KEEPALIVE std::byte* zelk_bytes(int size) {
    engine().bytes.assign(static_cast<std::size_t>(size), std::byte{0});
    return engine().bytes.data();
}

EMSCRIPTEN_KEEPALIVE const char16_t* zelk_result() {
    return engine().result.data();
}
EMSCRIPTEN_KEEPALIVE int zelk_result_length() {
    return static_cast<int>(engine().result.size());
}
// 1: the split met a separator of the text between Chinese characters.
EMSCRIPTEN_KEEPALIVE int zelk_flags() {
    return engine().flags;
}

// One of the shipped sets, as TSV in the input; 1 and a message in the
// result when it does not parse.
EMSCRIPTEN_KEEPALIVE int zelk_set_dictionary(int set) {
    if (set < 0 || set >= kSetCount) return Fail("no such dictionary set");
    try {
        engine().sets[set] = zelk::ParseDictionaryTsv(Utf8(engine().input), "dictionary");
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    engine().Changed();
    return 0;
}

// The characters by frequency, one a line, in the input.
EMSCRIPTEN_KEEPALIVE void zelk_set_ranks() {
    engine().ranks = zelk::CharacterRanks(Utf8(engine().input));
}

EMSCRIPTEN_KEEPALIVE void zelk_use_top_bottom(int on) {
    if (engine().topBottom == (on != 0)) return;
    engine().topBottom = on != 0;
    engine().Changed();
}

// The user's entries as TSV in the input (nameUnits code units of a name
// for messages first), replacing those held, or (merge) added to them as
// zelk-dict import --replace-keys adds; 1 and a message naming the line
// when the file does not parse, and nothing changes.
EMSCRIPTEN_KEEPALIVE int zelk_set_user_entries(int nameUnits, int merge) {
    const std::string name = Utf8(engine().Input(0, static_cast<std::size_t>(nameUnits)));
    std::vector<DictionaryEntry> entries;
    try {
        entries = zelk::ParseDictionaryTsv(
            Utf8(engine().Input(static_cast<std::size_t>(nameUnits), std::u16string::npos)), name);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    MemoryDictionary user;
    if (merge) user.Merge(engine().user, MemoryDictionary::Merge::ReplaceKeys);
    user.Merge(entries, MemoryDictionary::Merge::ReplaceKeys);
    engine().user = user.Entries();
    engine().result = Utf16(std::to_string(entries.size()));
    engine().Changed();
    return 0;
}

// The user's entries as TSV, as zelk-dict export writes them.
EMSCRIPTEN_KEEPALIVE void zelk_user_entries() {
    engine().result = Utf16(zelk::FormatDictionaryTsv(engine().user));
}

// The entry for the key in the input: 0 none, 1 the user's own, 2 the
// dictionary's; its replacement in the result.
EMSCRIPTEN_KEEPALIVE int zelk_lookup() {
    const std::string key = Utf8(engine().input);
    const DictionaryEntry* found = engine().Dictionary().Find(key);
    engine().result.clear();
    if (!found) return 0;
    engine().result = Utf16(found->replacement.value_or(""));
    return UserEntry(key) != engine().user.end() ? 1 : 2;
}

// Saves the user's entry: keyUnits code units of key, then the replacement.
EMSCRIPTEN_KEEPALIVE void zelk_save(int keyUnits) {
    const auto units = static_cast<std::size_t>(keyUnits);
    const DictionaryEntry entry{Utf8(engine().Input(0, units)),
                                Utf8(engine().Input(units, std::u16string::npos))};
    const auto it = UserEntry(entry.key);
    if (it != engine().user.end()) {
        *it = entry;
    } else {
        engine().user.push_back(entry);
    }
    engine().Changed();
}

// Deletes the user's entry for the key in the input: 1, or 0 when the user
// has none (the dictionary's own entries stay).
EMSCRIPTEN_KEEPALIVE int zelk_delete() {
    const auto it = UserEntry(Utf8(engine().input));
    if (it == engine().user.end()) return 0;
    engine().user.erase(it);
    engine().Changed();
    return 1;
}

// Starts a split: separatorUnits code units of separator (or -1 for none),
// then markUnits of mark format (or -1), in the input.
EMSCRIPTEN_KEEPALIVE void zelk_split_start(int separatorUnits, int markUnits) {
    std::optional<std::u16string> separator, mark;
    std::size_t at = 0;
    if (separatorUnits >= 0) {
        separator = std::u16string(engine().Input(at, static_cast<std::size_t>(separatorUnits)));
        at += static_cast<std::size_t>(separatorUnits);
    }
    if (markUnits >= 0)
        mark = std::u16string(engine().Input(at, static_cast<std::size_t>(markUnits)));
    engine().format.emplace(separator, mark);
    engine().flags = 0;
    engine().Dictionary();
}

// Splits the next part of the text (in the input, whole characters) into
// the result, as zelk-split writes it.
EMSCRIPTEN_KEEPALIVE void zelk_split_push() {
    Engine& e = engine();
    const MemoryDictionary& dictionary = e.Dictionary();
    const std::u16string& text = e.input;
    e.result.clear();
    e.result.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = zelk::StartsSurrogatePair(text, i) ? 2 : 1;
        const std::u16string_view character = std::u16string_view(text).substr(i, length);
        const std::u16string* piece = dictionary.PieceOf(zelk::CodePointOf(character));
        e.format->Append(character, piece ? std::u16string_view(*piece) : character, e.result);
        i += length;
    }
    if (e.format->SawAmbiguousSeparator()) e.flags |= 1;
}

// The model file's bytes; 1 and a message when they are no usable model.
EMSCRIPTEN_KEEPALIVE int zelk_load_model() {
    Engine& e = engine();
    try {
        auto bytes = std::make_shared<std::vector<std::byte>>(std::move(e.bytes));
        e.model.emplace(zelk::ReadModelFile(*bytes, bytes, "join-model.bin", nullptr));
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    e.joiner.reset();
    return 0;
}

EMSCRIPTEN_KEEPALIVE int zelk_model_loaded() {
    return engine().model ? 1 : 0;
}

// Starts reading split text back, with the separator in the input (none
// when empty); 2 when the separator holds Chinese writing, which split text
// cannot be read back with.
EMSCRIPTEN_KEEPALIVE int zelk_join_start() {
    Engine& e = engine();
    if (!e.model) return Fail("the join model is not loaded");
    if (!e.input.empty() && !zelk::Joiner::CanReadBackWith(e.input)) {
        Fail("the separator holds Chinese writing");
        return 2;
    }
    e.Dictionary();
    if (!e.joiner) e.joiner = std::make_unique<zelk::Joiner>(e.dictionary.Entries(), *e.model);
    e.joinStream.emplace(*e.joiner, e.input);
    return 0;
}

// The next part of the text, read back as far as it can be yet, into the result.
EMSCRIPTEN_KEEPALIVE void zelk_join_push() {
    engine().result = engine().joinStream->Push(engine().input);
}
// The end of the text: the rest, read back.
EMSCRIPTEN_KEEPALIVE void zelk_join_finish() {
    engine().result = engine().joinStream->Finish();
}

// The characters written with the parts (one a line in the input), the most
// frequent first: "character TAB replacement" lines in the result.
EMSCRIPTEN_KEEPALIVE void zelk_find(int exact) {
    std::vector<std::string> parts;
    const std::string lines = Utf8(engine().input);
    for (std::size_t start = 0; start < lines.size();) {
        std::size_t end = lines.find('\n', start);
        if (end == std::string::npos) end = lines.size();
        if (end > start) parts.push_back(lines.substr(start, end - start));
        start = end + 1;
    }
    std::string out;
    if (!parts.empty()) {
        for (const DictionaryEntry& entry : zelk::FindByParts(engine().Dictionary().Entries(),
                                                              parts, exact != 0, &engine().ranks)) {
            out += entry.key + "\t" + entry.replacement.value_or("") + "\n";
        }
    }
    engine().result = Utf16(out);
}

// The coverage of the text in the input: "chinese TAB split" on the first
// line, then the most frequent characters left whole, "character TAB count".
EMSCRIPTEN_KEEPALIVE void zelk_coverage(int most) {
    const MemoryDictionary& dictionary = engine().Dictionary();
    zelk::CoverageCounter counter(
        [&](char32_t character) { return dictionary.PieceOf(character) != nullptr; });
    counter.Add(Utf8(engine().input));
    std::string out = std::to_string(counter.chineseCharacters()) + "\t" +
                      std::to_string(counter.splitCharacters()) + "\n";
    for (const auto& [character, count] :
         counter.MostFrequentWhole(static_cast<std::size_t>(most))) {
        out += Utf8(zelk::CodePointToUtf16(character)) + "\t" + std::to_string(count) + "\n";
    }
    engine().result = Utf16(out);
}

}  // extern "C"
