#include "base/Checksum.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace zelk::base {
namespace {

std::uint64_t Of(std::string_view text) {
    return Checksum64(std::as_bytes(std::span(text.data(), text.size())));
}

// The published values of XXH64 with seed 0 (as xxhsum -H1 prints them).
TEST(ChecksumTest, GivesXxh64) {
    EXPECT_EQ(Of(""), 0xEF46DB3751D8E999ULL);
    EXPECT_EQ(Of("abc"), 0x44BC2CF5AD770999ULL);
    EXPECT_EQ(Of("Nobody inspects the spammish repetition"), 0xFBCEA83C8A378BF1ULL);
}

TEST(ChecksumTest, EveryByteAndEveryLengthCounts) {
    std::vector<std::byte> bytes(1000, std::byte{7});
    const std::uint64_t whole = Checksum64(bytes);
    for (std::size_t at : {0u, 31u, 32u, 500u, 999u}) {
        bytes[at] ^= std::byte{1};
        EXPECT_NE(Checksum64(bytes), whole) << at;
        bytes[at] ^= std::byte{1};
    }
    EXPECT_NE(Checksum64(std::span(bytes).first(999)), whole);
}

}  // namespace
}  // namespace zelk::base
