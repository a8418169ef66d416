#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelk::base {

// A fast 64-bit checksum of bytes (the XXH64 algorithm, seed 0), to tell a
// damaged file from a whole one: any change of a byte changes it. Not for
// security; about a millisecond for five megabytes.
std::uint64_t Checksum64(std::span<const std::byte> bytes);

}  // namespace zelk::base
