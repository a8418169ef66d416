#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

// How likely a character is after another: counts of characters and of
// pairs of characters in running text, smoothed by interpolation, so that a
// pair never seen still has the chance of its second character alone.
//
// Text form, one line per character (what data/character-bigrams.txt holds):
//     character TAB count [TAB (next-character level)...]
// where a level is one ASCII character from '!': the pair occurs about
// exp((level - '!') / 4) times; next characters in code point order load
// fastest. Lines starting with '#' and lines that do not parse are skipped;
// of two lines for one character the first counts.
class CharacterModel {
  public:
    using Id = std::uint32_t;
    static constexpr Id kUnknown = 0;  // a character the model has not seen

    explicit CharacterModel(std::string_view text);

    Id IdOf(char32_t character) const;
    // How often the character occurs; 0 when unknown.
    double Count(Id id) const { return counts_[id]; }
    // log P(next | previous). floor: a count given to characters the text
    // never showed (an unknown previous character gives no context).
    float LogProbability(Id previous, Id next, double floor) const;

  private:
    struct Follower {
        Id next;
        float count;
    };
    std::vector<double> counts_;                // by id; id 0 is the unknown character
    std::vector<std::uint32_t> firstFollower_;  // by id, into followers_ (one past the last id too)
    std::vector<Follower> followers_;           // each character's, ordered by id
    std::vector<Id> bmpIds_;                    // the id of each BMP code point
    std::unordered_map<char32_t, Id> otherIds_;
    double total_ = 1;
};

}  // namespace zelk
