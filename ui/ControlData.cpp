#include "ui/ControlData.h"

#include <array>
#include <cmath>

namespace zelk::ui::control_data {

namespace {

using Guid = std::array<std::uint8_t, 16>;

// A class identifier in the standard 16-byte layout: the first three fields
// little-endian, the last eight bytes as written.
constexpr Guid MakeGuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3,
                        std::array<std::uint8_t, 8> d4) {
    return {std::uint8_t(d1),
            std::uint8_t(d1 >> 8),
            std::uint8_t(d1 >> 16),
            std::uint8_t(d1 >> 24),
            std::uint8_t(d2),
            std::uint8_t(d2 >> 8),
            std::uint8_t(d3),
            std::uint8_t(d3 >> 8),
            d4[0],
            d4[1],
            d4[2],
            d4[3],
            d4[4],
            d4[5],
            d4[6],
            d4[7]};
}

// {0057D0E0-3573-11CF-AE69-08002B2E1262}
constexpr Guid kControlField =
    MakeGuid(0x0057D0E0, 0x3573, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62});
// {00021401-0000-0000-C000-000000000046}, the Shell Link class
constexpr Guid kShellLink =
    MakeGuid(0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46});

constexpr std::uint32_t kFirstBlockSize = 76;
constexpr std::size_t kLinkOffset = 76;
constexpr std::uint32_t kLinkFlagsUnicode = 0x80;

// Integers of the block are 32-bit little-endian.
std::uint32_t Dword(std::span<const std::uint8_t> block, std::size_t offset) {
    return std::uint32_t(block[offset]) | std::uint32_t(block[offset + 1]) << 8 |
           std::uint32_t(block[offset + 2]) << 16 | std::uint32_t(block[offset + 3]) << 24;
}

void PutDword(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) block[offset + i] = std::uint8_t(value >> (8 * i));
}

bool HasGuid(std::span<const std::uint8_t> block, std::size_t offset, const Guid& guid) {
    for (std::size_t i = 0; i < guid.size(); ++i) {
        if (block[offset + i] != guid[i]) return false;
    }
    return true;
}

void PutGuid(std::vector<std::uint8_t>& block, std::size_t offset, const Guid& guid) {
    for (std::size_t i = 0; i < guid.size(); ++i) block[offset + i] = guid[i];
}

}  // namespace

std::optional<Extent> ReadExtent(std::span<const std::uint8_t> block) {
    if (block.size() != kBlockSize) return std::nullopt;
    const bool wellFormed =
        Dword(block, 0) == kFirstBlockSize && Dword(block, 36) == 76 && Dword(block, 48) == 1 &&
        HasGuid(block, 52, kControlField) && Dword(block, 68) == 8 &&
        Dword(block, kLinkOffset) == 76 && HasGuid(block, kLinkOffset + 4, kShellLink) &&
        Dword(block, kLinkOffset + 20) == kLinkFlagsUnicode && Dword(block, 152) == 0;
    const std::uint32_t width = Dword(block, 4);
    const std::uint32_t height = Dword(block, 8);
    if (!wellFormed || width == 0 || height == 0 || width > 1000000 || height > 1000000) {
        return std::nullopt;
    }
    return Extent{width, height};
}

Pixels ExtentToPixels(Extent extent, double dotsPerInch) {
    return {int(std::lround(extent.width * dotsPerInch / 2540.0)),
            int(std::lround(extent.height * dotsPerInch / 2540.0))};
}

std::vector<std::uint8_t> MakeBlock(Extent extent) {
    std::vector<std::uint8_t> block(kBlockSize, 0);
    PutDword(block, 0, kFirstBlockSize);
    PutDword(block, 4, extent.width);
    PutDword(block, 8, extent.height);
    PutDword(block, 36, 76);
    PutDword(block, 48, 1);
    PutGuid(block, 52, kControlField);
    PutDword(block, 68, 8);
    // The empty Shell Link: header only, no target, no strings; show normal.
    PutDword(block, kLinkOffset, 76);
    PutGuid(block, kLinkOffset + 4, kShellLink);
    PutDword(block, kLinkOffset + 20, kLinkFlagsUnicode);
    PutDword(block, kLinkOffset + 60, 1);  // show command
    return block;
}

}  // namespace zelk::ui::control_data
