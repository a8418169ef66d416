#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "CharacterModel.h"
#include "ModelFile.h"

namespace zelk {

// A file mapped read-only into memory for as long as the object lives: its
// pages are read when first touched, and shared with every other process
// that maps the same file.
class MappedFile {
  public:
    // Raises ModelFileError, naming the file and the system's reason.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::byte> bytes() const { return {data_, size_}; }

  private:
    const std::byte* data_ = nullptr;
    std::size_t size_ = 0;
};

// The model in the file at path, mapped; see ReadModelFile.
CharacterModel MapModelFile(const std::string& path, const SourceChecksum* expected);

}  // namespace zelk
