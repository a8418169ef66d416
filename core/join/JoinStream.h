#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "join/Joiner.h"
#include "join/ReadingPath.h"

namespace zelk::join {

// Reads split text back as it arrives in parts (a file read in chunks, a page
// that joins a long text bit by bit). Each part is read as far as the
// reading is decided, and the rest waits for the next; memory stays bounded
// however long the text. The result is the same wherever the text is cut,
// and the same as Joiner::Join of the whole text.
class JoinStream {
  public:
    // separator: the one the split was written with; empty for none.
    JoinStream(const Joiner& joiner, std::u16string separator);

    // Takes the next part of the text; gives what is read back already.
    std::u16string Push(std::u16string_view text);
    // The end of the text: gives the rest, read back.
    std::u16string Finish();

  private:
    // Reads the places of pending_ that have enough text after them; at the
    // end of the text, all of them.
    void ReadPlaces(bool atEnd, std::u16string& out);
    void ReadSeparated(bool atEnd, std::u16string& out);
    // A character, or each character of text, that stands as it is.
    void Stand(char32_t character, std::u16string& out);
    void StandAll(std::u16string_view text, std::u16string& out);
    // The run of Chinese writing of separated text read so far ends.
    void EndRun(std::u16string& out);

    const Joiner& joiner_;
    std::u16string separator_;
    ReadingPath path_;
    std::u16string pending_;  // text not read yet
    std::size_t next_ = 0;    // the first place of pending_ not read yet
    // Separated text: the run of Chinese writing met so far (short enough to
    // be a piece; longer ones stand as they are), and whether the stretch
    // since the last written separator or line break ends in Chinese.
    std::u16string run_;
    bool runTooLong_ = false;
    bool stretchEndsChinese_ = false;
};

}  // namespace zelk::join
