#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace zelk::join {

// The arrays of a character model, as counted text gives them and as a
// model file holds them (ModelFile). Ids number the characters the model
// knows from 1, in code point order; 0 is the unknown character.
struct CharacterModelArrays {
    std::vector<std::uint32_t> bmpIds;           // the id of each BMP code point (65536)
    std::vector<std::uint32_t> otherCharacters;  // the code points above the BMP, ascending
    std::vector<std::uint32_t> otherIds;         // and their ids
    std::vector<std::uint32_t> counts;           // by id: how often the character occurs
    // The characters that follow each one: followers[firstFollower[id] ..
    // firstFollower[id + 1]), ascending by id.
    std::vector<std::uint32_t> firstFollower;
    std::vector<std::uint32_t> followers;  // a follower's id << 8 | the level of its count
    // The pairs that begin triples, grouped by their first character:
    // historyPrevious[firstHistory[before] .. firstHistory[before + 1]) are
    // the second characters, ascending, and triples[firstTriple[h] ..
    // firstTriple[h + 1]) what follows pair h.
    std::vector<std::uint32_t> firstHistory;
    std::vector<std::uint32_t> historyPrevious;
    std::vector<std::uint32_t> firstTriple;
    std::vector<std::uint32_t> triples;  // as followers
};

// How likely a character is after the two before it: counts of characters,
// of pairs and of triples of characters in running text, smoothed by
// interpolation, so that a triple never seen still has the chance of its
// last pair, and a pair never seen that of its second character alone.
//
// Text form of the pairs, one line per character (data/character-bigrams.txt):
//     character TAB count [TAB (next-character level)...]
// and of the triples, one line per pair (data/character-trigrams.txt):
//     two characters TAB (next-character level)...
// where a level is one ASCII character from '!': the pair or triple occurs
// about exp((level - '!') / 4) times; next characters in code point order
// load fastest. Lines starting with '#' and lines that do not parse are
// skipped; of two lines for one character or pair the first counts.
//
// The model reads its arrays where they are (a mapped model file, or arrays
// it owns), and never trusts them: an index out of range reads as nothing
// seen, so that a damaged file gives poor readings, never a crash.
class CharacterModel {
  public:
    using Id = std::uint32_t;
    static constexpr Id kUnknown = 0;  // a character the model has not seen

    // Parses counted text.
    explicit CharacterModel(std::string_view pairs, std::string_view triples = {});
    // Arrays whose storage owner keeps alive (a mapped file, a buffer).
    CharacterModel(const CharacterModelArrays& arrays, std::shared_ptr<const void> owner);
    // Views of arrays held elsewhere, checked as a model file's are.
    struct Views {
        std::span<const std::uint32_t> bmpIds, otherCharacters, otherIds, counts, firstFollower,
            followers, firstHistory, historyPrevious, firstTriple, triples;
    };
    CharacterModel(const Views& views, std::shared_ptr<const void> owner);

    // The arrays of counted text, to write a model file.
    static CharacterModelArrays ParseArrays(std::string_view pairs, std::string_view triples);

    Id IdOf(char32_t character) const;
    // How often the character occurs; 0 when unknown.
    double Count(Id id) const { return id < views_.counts.size() ? views_.counts[id] : 0.0; }
    // log P(next | previous). floor: a count given to characters the text
    // never showed (an unknown previous character gives no context).
    float LogProbability(Id previous, Id next, double floor) const;
    // What the model knows of the two characters before a next one: made
    // once for a place in the text, asked for every character that may
    // follow there.
    struct Context {
        Id previous = kUnknown;
        std::uint32_t firstTriple = 0, lastTriple = 0;  // into triples; empty: none begin so
        double history = 0;                             // how often before and previous meet
    };
    Context ContextOf(Id before, Id previous) const;
    // log P(next | before, previous); as above where no triple begins with
    // the two.
    float LogProbability(const Context& context, Id next, double floor) const;

  private:
    void Adopt(const Views& views);
    // The level of next's count among followers[first, last), or nothing.
    static float CountOf(std::span<const std::uint32_t> followers, std::uint32_t first,
                         std::uint32_t last, Id next);
    float FollowerCount(Id previous, Id next) const;

    std::shared_ptr<const void> owner_;
    Views views_;
    double total_ = 1;
};

}  // namespace zelk::join
