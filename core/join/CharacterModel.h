#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

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
class CharacterModel {
  public:
    using Id = std::uint32_t;
    static constexpr Id kUnknown = 0;  // a character the model has not seen

    explicit CharacterModel(std::string_view pairs, std::string_view triples = {});

    Id IdOf(char32_t character) const;
    // How often the character occurs; 0 when unknown.
    double Count(Id id) const { return counts_[id]; }
    // log P(next | previous). floor: a count given to characters the text
    // never showed (an unknown previous character gives no context).
    float LogProbability(Id previous, Id next, double floor) const;
    // What the model knows of the two characters before a next one: made
    // once for a place in the text, asked for every character that may
    // follow there.
    struct Context {
        Id previous = kUnknown;
        std::uint32_t firstTriple = 0, lastTriple = 0;  // into triples_; empty: none begin so
        double history = 0;                             // how often before and previous meet
    };
    Context ContextOf(Id before, Id previous) const;
    // log P(next | before, previous); as above where no triple begins with
    // the two.
    float LogProbability(const Context& context, Id next, double floor) const;

  private:
    // A next character and the level of its count, in four bytes (a model
    // holds millions): the id (one per code point at most, so under 2^24) in
    // the high 24 bits, so that followers sort by id as plain numbers.
    struct Follower {
        std::uint32_t packed;
        Id Next() const { return packed >> 8; }
        unsigned Level() const { return packed & 0xFF; }
    };
    // Appends the followers of one line; the ids in order.
    void ReadFollowers(std::string_view list, std::vector<Follower>& into) const;
    void ReadTriples(std::string_view text);
    void OrderTriples();
    static float CountOf(const std::vector<Follower>& followers, std::uint32_t first,
                         std::uint32_t last, Id next);
    std::vector<double> counts_;                // by id; id 0 is the unknown character
    std::vector<std::uint32_t> firstFollower_;  // by id, into followers_ (one past the last id too)
    std::vector<Follower> followers_;           // each character's, ordered by id
    // The pairs that begin triples (before << 32 | previous, ascending) and
    // where each pair's next characters start in triples_.
    std::vector<std::uint64_t> tripleHistories_;
    std::vector<std::uint32_t> firstTriple_;  // one past the last pair too
    std::vector<Follower> triples_;
    std::vector<Id> bmpIds_;  // the id of each BMP code point
    std::unordered_map<char32_t, Id> otherIds_;
    double total_ = 1;
};

}  // namespace zelk
