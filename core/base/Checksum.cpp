#include "base/Checksum.h"

#include <bit>
#include <cstring>

namespace zelk::base {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

static_assert(std::endian::native == std::endian::little, "words are read little-endian");

std::uint64_t Read64(const std::byte* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint32_t Read32(const std::byte* p) {
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint64_t Round(std::uint64_t accumulator, std::uint64_t input) {
    accumulator += input * kPrime2;
    accumulator = std::rotl(accumulator, 31);
    return accumulator * kPrime1;
}

std::uint64_t Merge(std::uint64_t accumulator, std::uint64_t value) {
    accumulator ^= Round(0, value);
    return accumulator * kPrime1 + kPrime4;
}

}  // namespace

std::uint64_t Checksum64(std::span<const std::byte> bytes) {
    const std::byte* p = bytes.data();
    const std::byte* const end = p + bytes.size();
    std::uint64_t hash;
    if (bytes.size() >= 32) {
        std::uint64_t v1 = kPrime1 + kPrime2, v2 = kPrime2, v3 = 0, v4 = 0 - kPrime1;
        for (const std::byte* limit = end - 32; p <= limit; p += 32) {
            v1 = Round(v1, Read64(p));
            v2 = Round(v2, Read64(p + 8));
            v3 = Round(v3, Read64(p + 16));
            v4 = Round(v4, Read64(p + 24));
        }
        hash = std::rotl(v1, 1) + std::rotl(v2, 7) + std::rotl(v3, 12) + std::rotl(v4, 18);
        hash = Merge(Merge(Merge(Merge(hash, v1), v2), v3), v4);
    } else {
        hash = kPrime5;
    }
    hash += bytes.size();
    for (; p + 8 <= end; p += 8) hash = std::rotl(hash ^ Round(0, Read64(p)), 27) * kPrime1 + kPrime4;
    if (p + 4 <= end) {
        hash = std::rotl(hash ^ (std::uint64_t{Read32(p)} * kPrime1), 23) * kPrime2 + kPrime3;
        p += 4;
    }
    for (; p < end; ++p) {
        hash = std::rotl(hash ^ (std::to_integer<std::uint64_t>(*p) * kPrime5), 11) * kPrime1;
    }
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}

}  // namespace zelk::base
