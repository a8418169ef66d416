#include "text/PieceFormat.h"

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"
#include "text/EngineError.h"

namespace zelk::text {

using base::CodePointOf;
using base::IsChineseWriting;

namespace {

bool IsLineBreak(std::u16string_view text) {
    return text == u"\n" || text == u"\r";
}

bool StartsChinese(std::u16string_view text) {
    return !text.empty() && IsChineseWriting(CodePointOf(text.substr(0, 2)));
}

}  // namespace

PieceFormat::PieceFormat(std::optional<std::u16string> separator,
                         std::optional<std::u16string> mark)
    : separator_(std::move(separator)), mark_(std::move(mark)) {
    if (separator_ && separator_->empty()) separator_.reset();
    if (mark_) CheckMark(*mark_);
}

void PieceFormat::CheckMark(std::u16string_view mark) {
    if (mark.find(u"{c}") == std::u16string_view::npos &&
        mark.find(u"{p}") == std::u16string_view::npos) {
        throw EngineError(ErrorCode::MarkWithoutPlaceholder, {}, 0, base::Utf16ToUtf8(mark));
    }
}

void PieceFormat::CheckReadBackSeparator(std::u16string_view separator) {
    if (separator.empty()) throw EngineError(ErrorCode::SeparatorEmpty);
    if (separator.find_first_of(u"\r\n") != std::u16string_view::npos) {
        throw EngineError(ErrorCode::SeparatorWithLineBreak, {}, 0, base::Utf16ToUtf8(separator));
    }
    if (base::HasChineseWriting(separator)) {
        throw EngineError(ErrorCode::SeparatorWithChinese, {}, 0, base::Utf16ToUtf8(separator));
    }
}

void PieceFormat::Restart() {
    previousChinese_ = false;
    tail_.clear();
    separatorOfTheText_ = false;
}

void PieceFormat::Write(std::u16string_view text, std::u16string& out) {
    if (text.empty()) return;
    out += text;
    if (!separator_) return;
    // A separator of the text itself, after a Chinese piece, followed by
    // another: a reading back could not tell it from a written one.
    if (separatorOfTheText_ && StartsChinese(text)) ambiguous_ = true;
    writtenSinceSeparator_ += text.size();
    tail_ += text;
    const std::size_t keep = separator_->size() + 2;
    if (tail_.size() > keep) tail_.erase(0, tail_.size() - keep);
    const std::u16string_view tail = tail_;
    separatorOfTheText_ =
        writtenSinceSeparator_ >= separator_->size() && tail.ends_with(*separator_) &&
        IsChineseWriting(base::LastCodePoint(tail.substr(0, tail.size() - separator_->size())));
}

void PieceFormat::WriteMarked(std::u16string_view character, std::u16string_view piece,
                              std::u16string& out) {
    std::u16string marked;
    const std::u16string& format = *mark_;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 3, u"{c}") == 0) {
            marked += character;
            i += 2;
        } else if (format.compare(i, 3, u"{p}") == 0) {
            marked += piece;
            i += 2;
        } else {
            marked += format[i];
        }
    }
    Write(marked, out);
}

void PieceFormat::Append(std::u16string_view character, std::u16string_view piece,
                         std::u16string& out) {
    if (IsLineBreak(character)) {
        out += piece;
        Restart();
        return;
    }
    if (piece.empty()) return;  // the character disappears, and so does its place
    const bool split = piece != character;
    if (separator_) {
        const bool chinese = split || IsChineseWriting(CodePointOf(character));
        if (chinese && previousChinese_) {
            out += *separator_;
            tail_ += *separator_;
            writtenSinceSeparator_ = 0;
            separatorOfTheText_ = false;
        }
        previousChinese_ = chinese;
    }
    if (mark_ && split) {
        WriteMarked(character, piece, out);
    } else {
        Write(piece, out);
    }
}

}  // namespace zelk::text
