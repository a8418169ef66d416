#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "AdoConnection.h"

namespace zelk {

// The whole dictionary read once into memory, for batch splitting of large
// texts. It answers exactly as LookupChar on the database does: keys compare
// as the chr1 column's collation says (NOCASE folds ASCII letters only, BINARY
// compares exactly), and a key with several entries gives the first row's.
class MemoryDictionary {
  public:
    // Raises EEngineError when the database cannot be read, and
    // std::runtime_error when chr1 compares in a way this class cannot repeat.
    static MemoryDictionary Load(TADOConnection& connection);

    std::size_t size() const { return pieces_.size(); }
    // The piece for one character: its first entry's replacement, or itself.
    std::u16string LookupChar(std::u16string_view character) const;

  private:
    std::string NormalizedKey(std::string key) const;

    bool foldAsciiCase_ = false;
    CodePage codePage_ = kCodePageUtf8;
    std::unordered_map<std::string, std::u16string> pieces_;
};

}  // namespace zelk
