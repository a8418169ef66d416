#include "join/JoinStream.h"

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"

namespace zelk::join {

namespace {

bool IsLineBreak(char16_t unit) {
    return unit == u'\n' || unit == u'\r';
}

// Read text is dropped from the front once there is this much of it.
constexpr std::size_t kDropAfter = 1 << 16;

}  // namespace

JoinStream::JoinStream(const Joiner& joiner, std::u16string separator)
    : joiner_(joiner),
      separator_(std::move(separator)),
      path_(joiner.Model(), separator_.empty() ? joiner.LongestPiece() : 1) {}

std::u16string JoinStream::Push(std::u16string_view text) {
    pending_ += text;
    std::u16string out;
    if (separator_.empty()) {
        ReadPlaces(false, out);
    } else {
        ReadSeparated(false, out);
    }
    if (next_ >= kDropAfter) {
        pending_.erase(0, next_);
        next_ = 0;
    }
    return out;
}

std::u16string JoinStream::Finish() {
    std::u16string out;
    if (separator_.empty()) {
        ReadPlaces(true, out);
    } else {
        ReadSeparated(true, out);
        EndRun(out);
        stretchEndsChinese_ = false;
    }
    path_.Finish(out);
    pending_.clear();
    next_ = 0;
    return out;
}

void JoinStream::ReadPlaces(bool atEnd, std::u16string& out) {
    // A place can be read once every piece that may start there, and the
    // unit after it, has arrived.
    const std::size_t lookahead = joiner_.LongestPiece() + 2;
    for (; next_ < pending_.size() && (atEnd || pending_.size() - next_ >= lookahead); ++next_) {
        if (path_.Reached()) joiner_.OfferPlace(pending_, next_, path_);
        path_.Advance(out);
    }
}

void JoinStream::Stand(char32_t character, std::u16string& out) {
    joiner_.OfferStanding(character, path_);
    path_.Advance(out);
}

void JoinStream::StandAll(std::u16string_view text, std::u16string& out) {
    for (std::size_t i = 0; i < text.size(); i += base::CharacterLength(text, i))
        Stand(base::CodePointOf(text.substr(i, 2)), out);
}

void JoinStream::EndRun(std::u16string& out) {
    if (!run_.empty() && !runTooLong_ && joiner_.OfferPiece(run_, path_)) {
        path_.Advance(out);
    } else {
        StandAll(run_, out);
    }
    run_.clear();
    runTooLong_ = false;
}

void JoinStream::ReadSeparated(bool atEnd, std::u16string& out) {
    // What a unit is needs the separator's length and one character more
    // after it.
    const std::size_t lookahead = separator_.size() + 2;
    const std::u16string_view text = pending_;
    while (next_ < text.size() && (atEnd || text.size() - next_ >= lookahead)) {
        const std::size_t i = next_;
        if (IsLineBreak(text[i])) {
            // Each line is read on its own.
            EndRun(out);
            path_.Finish(out);
            out += text[i];
            stretchEndsChinese_ = false;
            ++next_;
            continue;
        }
        if (text.compare(i, separator_.size(), separator_) == 0) {
            const std::size_t after = i + separator_.size();
            const bool written = stretchEndsChinese_ && after < text.size() &&
                                 base::IsChineseWriting(base::CodePointOf(text.substr(after, 2)));
            EndRun(out);
            if (!written) StandAll(separator_, out);  // the text's own
            stretchEndsChinese_ = false;
            next_ = after;
            continue;
        }
        const std::size_t length = base::CharacterLength(text, i);
        const char32_t character = base::CodePointOf(text.substr(i, length));
        next_ += length;
        if (base::IsChineseWriting(character)) {
            stretchEndsChinese_ = true;
            if (runTooLong_) {
                Stand(character, out);
                continue;
            }
            run_ += text.substr(i, length);
            if (run_.size() > joiner_.LongestPiece()) {
                // Too long for any piece: all of it stands as it is, and
                // so does the rest of the run.
                StandAll(run_, out);
                run_.clear();
                runTooLong_ = true;
            }
            continue;
        }
        EndRun(out);
        Stand(character, out);
        stretchEndsChinese_ = false;
    }
}

}  // namespace zelk::join
