#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelk::text {

// How the pieces of a split are written out for batch use.
//
// Plain: one after the other.
//
// With a separator: the separator stands between two neighbouring Chinese
// pieces of one line, where a Chinese piece is that of a split character
// (one whose piece is not itself) or a Chinese character left whole (as
// data/chinese-characters.txt defines it, parts included): 好的 → 女子 白勺,
// while "第 1 章 Debian" keeps its own spaces and letters as they stand. A
// character whose piece is empty leaves no trace, not even a separator.
// Reading back takes a separator between two Chinese characters or parts for
// one the split wrote; where the text itself held one there, the reading
// would drop it, and the format says so (SawAmbiguousSeparator).
//
// With a mark format: each split character written as the format with {c}
// replaced by the character and {p} by its piece (请(讠青)); characters left
// whole are written plain.
class PieceFormat {
  public:
    // Raises EngineError for a mark format that CheckMark refuses.
    PieceFormat(std::optional<std::u16string> separator, std::optional<std::u16string> mark);

    // Raises EngineError (MarkWithoutPlaceholder) for a mark format with
    // neither {c} nor {p} in it.
    static void CheckMark(std::u16string_view mark);
    // Raises EngineError (SeparatorEmpty, SeparatorWithChinese,
    // SeparatorWithLineBreak) unless split text can be read back with this
    // separator: it must not be empty, may hold no Chinese character or
    // part, which would stand in the pieces themselves, and no line break,
    // which ends the reading of a line.
    static void CheckReadBackSeparator(std::u16string_view separator);

    // Appends one character's piece to out.
    void Append(std::u16string_view character, std::u16string_view piece, std::u16string& out);
    // Forgets the previous piece, as at the start of a new text.
    void Restart();

    // True once the text held the separator between two Chinese pieces.
    bool SawAmbiguousSeparator() const { return ambiguous_; }

  private:
    void Write(std::u16string_view text, std::u16string& out);
    void WriteMarked(std::u16string_view character, std::u16string_view piece, std::u16string& out);

    std::optional<std::u16string> separator_;
    std::optional<std::u16string> mark_;
    bool previousChinese_ = false;  // the last piece on this line was a Chinese piece
    // The end of what was written, to find a separator the text held itself.
    std::u16string tail_;
    std::size_t writtenSinceSeparator_ = 0;  // code units since the last separator written
    bool separatorOfTheText_ = false;  // the tail ends in the text's own separator after Chinese
    bool ambiguous_ = false;
};

}  // namespace zelk::text
