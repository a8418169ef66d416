#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "join/CharacterModel.h"

namespace zelk::join {

// The likeliest reading of a text as the text arrives: a best path over its
// places (the code units of split text, or the pieces of separated text),
// each character weighed by the model after the two before it. Places are
// taken one at a time, in order. What every path still open agrees on is
// given out as soon as it is decided, so that memory stays bounded and the
// reading never depends on how the text was cut into parts: where and when
// the path is decided follows from the places alone.
class ReadingPath {
  public:
    // longestStep: the most places one character may span.
    ReadingPath(const CharacterModel& model, std::size_t longestStep);

    // Whether some path ends at the current place (none inside a surrogate
    // pair, which no character ends in).
    bool Reached() const { return currentFirst_ < states_.size(); }
    // Offers, after every path that ends at the current place, a character
    // that spans the next `steps` places (1 to longestStep). floor: the
    // count the model gives a character it has never seen; penalty: a
    // log-probability added for this reading.
    void Offer(std::size_t steps, char32_t character, CharacterModel::Id id, double floor,
               float penalty = 0.0f);
    // The current place is done: the path moves on to the next. The
    // characters that every open path agrees on are appended to out.
    void Advance(std::u16string& out);
    // The text ends at the current place: the best path's characters not
    // given out yet are appended to out, and reading starts afresh, with no
    // character before the next.
    void Finish(std::u16string& out);

    // A run of places this long with no decision is decided anyway, by the
    // best path to a place where one ends, so that memory stays bounded.
    static constexpr std::size_t kLongestUndecided = 1 << 16;

  private:
    struct State {
        char32_t character;  // the last character read
        CharacterModel::Id id;
        CharacterModel::Id before;  // the model's id of the character before it
        double score;
        std::uint32_t parent;  // into states_; kNoParent for the root
    };
    static constexpr std::uint32_t kNoParent = UINT32_MAX;

    void StartAfresh();
    // The state every open path goes through, latest first found: the root
    // when they agree on nothing since.
    std::uint32_t CommonAncestor();
    // Gives out the path up to state, which becomes the root; the states
    // before it are dropped.
    void Decide(std::uint32_t state, std::u16string& out);
    // Appends the characters of the path from the root to state.
    void AppendPath(std::uint32_t state, std::u16string& out) const;
    // The best of the states that end at the current place (one must).
    std::uint32_t BestCurrent() const;

    const CharacterModel& model_;
    std::vector<State> states_;  // [0] is the root; the current place's last
    std::size_t currentFirst_ = 0;
    // What the model knows of each current state's last two characters,
    // made at the first offer of the place.
    std::vector<CharacterModel::Context> contexts_;
    // States that end further on, by how many places further (a ring).
    std::vector<std::vector<State>> waiting_;
    std::size_t ring_ = 0;       // waiting_[ring_] ends at the next place
    std::size_t undecided_ = 0;  // places since the root
    std::size_t nextCheck_ = 0;  // places since the root at which to look for a decision
    std::size_t checkStride_ = 0;
};

}  // namespace zelk::join
