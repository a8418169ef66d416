#include "join/ReadingPath.h"

#include <algorithm>

#include "base/Unicode.h"

namespace zelk::join {

namespace {

// How often to look whether the open paths agree: often while they do, less
// often (twice the stride each time) while they do not, so that looking back
// costs no more than the places themselves.
constexpr std::size_t kFirstStride = 64;

}  // namespace

ReadingPath::ReadingPath(const CharacterModel& model, std::size_t longestStep)
    : model_(model), waiting_(std::max<std::size_t>(longestStep, 1) + 1) {
    StartAfresh();
}

void ReadingPath::StartAfresh() {
    states_.assign(1, {0, CharacterModel::kUnknown, CharacterModel::kUnknown, 0.0, kNoParent});
    currentFirst_ = 0;
    contexts_.clear();
    for (std::vector<State>& slot : waiting_) slot.clear();
    ring_ = 0;
    undecided_ = 0;
    checkStride_ = kFirstStride;
    nextCheck_ = kFirstStride;
}

void ReadingPath::Offer(std::size_t steps, char32_t character, CharacterModel::Id id, double floor,
                        float penalty) {
    const auto first = static_cast<std::uint32_t>(currentFirst_);
    const auto last = static_cast<std::uint32_t>(states_.size());
    if (contexts_.empty()) {
        for (std::uint32_t s = first; s < last; ++s)
            contexts_.push_back(model_.ContextOf(states_[s].before, states_[s].id));
    }
    std::vector<State>& target = waiting_[(ring_ + steps - 1) % waiting_.size()];
    for (std::uint32_t s = first; s < last; ++s) {
        const double score =
            states_[s].score + model_.LogProbability(contexts_[s - first], id, floor) + penalty;
        // The model looks two characters back: of the ways to one pair of
        // last characters, only the best matters.
        const auto same = std::find_if(target.begin(), target.end(), [&](const State& other) {
            return other.character == character && other.before == states_[s].id;
        });
        const State state{character, id, states_[s].id, score, s};
        if (same == target.end()) {
            target.push_back(state);
        } else if (score > same->score) {
            *same = state;
        }
    }
}

void ReadingPath::Advance(std::u16string& out) {
    std::vector<State>& arrived = waiting_[ring_];
    currentFirst_ = states_.size();
    states_.insert(states_.end(), arrived.begin(), arrived.end());
    arrived.clear();
    ring_ = (ring_ + 1) % waiting_.size();
    contexts_.clear();
    ++undecided_;
    if (undecided_ >= kLongestUndecided && Reached()) {
        // Too long without agreement: the best path to here decides.
        const State chosen = states_[BestCurrent()];
        for (std::vector<State>& slot : waiting_) slot.clear();
        states_.resize(currentFirst_);
        states_.push_back(chosen);  // the only state of the place
        Decide(static_cast<std::uint32_t>(currentFirst_), out);
        return;
    }
    if (undecided_ < nextCheck_) return;
    if (const std::uint32_t agreed = CommonAncestor(); agreed != 0) {
        Decide(agreed, out);  // looks again soon
        return;
    }
    checkStride_ *= 2;
    nextCheck_ = undecided_ + checkStride_;
}

std::uint32_t ReadingPath::BestCurrent() const {
    auto best = static_cast<std::uint32_t>(currentFirst_);
    for (auto s = best; s < states_.size(); ++s)
        if (states_[s].score > states_[best].score) best = s;
    return best;
}

std::uint32_t ReadingPath::CommonAncestor() {
    // The open paths end in the current states and in the waiting ones;
    // walk them back, the latest first, until one state is left.
    std::vector<std::uint32_t> open;
    for (std::size_t s = currentFirst_; s < states_.size(); ++s)
        open.push_back(static_cast<std::uint32_t>(s));
    for (const std::vector<State>& slot : waiting_)
        for (const State& state : slot) open.push_back(state.parent);
    if (open.empty()) return 0;
    std::make_heap(open.begin(), open.end());
    for (;;) {
        std::pop_heap(open.begin(), open.end());
        const std::uint32_t latest = open.back();
        open.pop_back();
        while (!open.empty() && open.front() == latest) {
            std::pop_heap(open.begin(), open.end());
            open.pop_back();
        }
        if (open.empty()) return latest;
        if (latest == 0) return 0;  // the root: nothing agreed since
        open.push_back(states_[latest].parent);
        std::push_heap(open.begin(), open.end());
    }
}

void ReadingPath::AppendPath(std::uint32_t to, std::u16string& out) const {
    std::vector<char32_t> characters;
    for (std::uint32_t s = to; s != 0 && s != kNoParent; s = states_[s].parent)
        characters.push_back(states_[s].character);
    for (auto it = characters.rbegin(); it != characters.rend(); ++it) base::AppendUtf16(out, *it);
}

void ReadingPath::Decide(std::uint32_t state, std::u16string& out) {
    AppendPath(state, out);
    // The state is the new root; what lay before it is no path's any more.
    states_.erase(states_.begin(), states_.begin() + state);
    states_[0].parent = kNoParent;
    const auto rebase = [state](std::uint32_t& parent) {
        parent = parent == kNoParent || parent < state ? kNoParent : parent - state;
    };
    for (std::size_t s = 1; s < states_.size(); ++s) rebase(states_[s].parent);
    for (std::vector<State>& slot : waiting_)
        for (State& waiting : slot) rebase(waiting.parent);
    currentFirst_ -= state;
    undecided_ = 0;
    nextCheck_ = checkStride_ = kFirstStride;
}

void ReadingPath::Finish(std::u16string& out) {
    if (Reached()) AppendPath(BestCurrent(), out);
    StartAfresh();
}

}  // namespace zelk::join
