#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "join/CharacterModel.h"

namespace zelk::join {

// The character model as a file whose arrays are used where they lie:
// mapped into memory on Linux, or the same bytes in a web page's memory.
//
//   header (64 bytes):
//     0   "ZELKJOIN"                magic
//     8   u32 format version       kModelFormatVersion
//     12  u32 0x01020304            in the writer's byte order (little-endian)
//     16  32 bytes                  the SHA-256 of the counts it was made from
//     48  u32 number of arrays      kModelArrayCount
//     52  12 bytes zero
//   the array table: per array, u64 offset and u64 length in u32 elements
//   the arrays, each at an offset that is a multiple of 8, in the order of
//   CharacterModelArrays
//   u64 checksum: base::Checksum64 of everything before it
// A file is checked whole when it is read: a changed byte anywhere, or a
// file cut short, is refused, never used.
inline constexpr std::uint32_t kModelFormatVersion = 2;
inline constexpr std::size_t kModelArrayCount = 10;
using SourceChecksum = std::array<std::uint8_t, 32>;

// What is wrong with a model file.
enum class ModelFault {
    Unreadable,    // the system could not read it
    NotAModel,     // no model file of this program
    CutShort,      // shorter than its header says
    ByteOrder,     // written on a machine of the other byte order
    OtherVersion,  // another format version
    Damaged,       // its checksum or its arrays do not hold
    OtherBuild,    // made from other counts than the program expects
};
inline constexpr int kModelFaultCount = static_cast<int>(ModelFault::OtherBuild) + 1;

// A model file that cannot be used; the message names the file and the fault.
class ModelFileError : public std::runtime_error {
  public:
    ModelFileError(ModelFault fault, const std::string& message)
        : std::runtime_error(message), fault_(fault) {}
    ModelFault fault() const { return fault_; }

  private:
    ModelFault fault_;
};

// The fault's name ("ModelDamaged"), by which other languages word it.
const char* ModelFaultName(ModelFault fault);

// The file's bytes for arrays made from counts whose checksum is source.
std::string WriteModelFile(const CharacterModelArrays& arrays, const SourceChecksum& source);

// A model over bytes that owner keeps alive (and aligned to 8), after the
// header and the array table are checked. name is the file, for messages.
// expected: the checksum the caller's build was made with, to refuse a file
// of another build; none to take any.
CharacterModel ReadModelFile(std::span<const std::byte> bytes, std::shared_ptr<const void> owner,
                             std::string_view name, const SourceChecksum* expected);

// The checksum written as 64 hexadecimal digits; raises std::invalid_argument.
SourceChecksum ParseChecksum(std::string_view hex);

}  // namespace zelk::join
