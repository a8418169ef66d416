#include "join/JoinStream.h"

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"

namespace zelk::join {

using base::IsHighSurrogate;

JoinStream::JoinStream(const Joiner& joiner, std::u16string separator)
    : joiner_(joiner), separator_(std::move(separator)) {}

std::u16string JoinStream::Read(std::u16string_view text) const {
    if (text.empty()) return {};
    return separator_.empty() ? joiner_.Join(text) : joiner_.JoinSeparated(text, separator_);
}

std::size_t JoinStream::LastSafeCut(std::u16string_view text) const {
    const std::size_t lineBreak = text.find_last_of(u"\r\n");
    if (lineBreak != std::u16string_view::npos) return lineBreak + 1;
    for (std::size_t p = text.size(); p-- > 1;) {
        // Never between the two halves of a surrogate pair.
        if (IsHighSurrogate(text[p - 1])) continue;
        if (separator_.empty()) {
            // Before a unit no piece holds: no piece can span the cut.
            if (!joiner_.InSomePiece(text[p])) return p;
            continue;
        }
        // Between units that are neither Chinese nor of the separator: no
        // run of Chinese is cut, and no separator loses what stands beside it.
        if (separator_.find(text[p - 1]) == std::u16string::npos &&
            separator_.find(text[p]) == std::u16string::npos &&
            !base::IsChineseWriting(base::LastCodePoint(text.substr(0, p))))
            return p;
    }
    return 0;
}

std::u16string JoinStream::Push(std::u16string_view text) {
    pending_ += text;
    std::size_t cut = LastSafeCut(pending_);
    if (cut == 0 && pending_.size() > kLongestWait) {
        cut = pending_.size();
        if (IsHighSurrogate(pending_[cut - 1])) --cut;
    }
    std::u16string joined = Read(std::u16string_view(pending_).substr(0, cut));
    pending_.erase(0, cut);
    return joined;
}

std::u16string JoinStream::Finish() {
    std::u16string joined = Read(pending_);
    pending_.clear();
    return joined;
}

}  // namespace zelk::join
