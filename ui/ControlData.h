#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The browser's stored state in the layout data: the 156-byte "ControlData"
// block as the WebBrowser control's stream persistence writes it. Of its
// contents only the control's size (in 0.01 mm) means anything here; the
// stored location is an empty Shell Link, that is, no page.
namespace zelk::ui::control_data {

inline constexpr std::size_t kBlockSize = 156;

// A size in units of 0.01 mm (2540 to the inch).
struct Extent {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const Extent&) const = default;
};

struct Pixels {
    int width = 0;
    int height = 0;
    bool operator==(const Pixels&) const = default;
};

// The control's extent, when the block is well-formed; nothing when it
// cannot be read.
std::optional<Extent> ReadExtent(std::span<const std::uint8_t> block);
// The extent in pixels at the given density.
Pixels ExtentToPixels(Extent extent, double dotsPerInch);
// The block for a control of this extent, with the control's own defaults.
std::vector<std::uint8_t> MakeBlock(Extent extent);

}  // namespace zelk::ui::control_data
