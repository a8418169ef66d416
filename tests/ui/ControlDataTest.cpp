#include "ui/ControlData.h"

#include <gtest/gtest.h>

namespace zelk::ui::control_data {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

TEST(ControlDataTest, HoldsTheDesignedSizeAndNoPage) {
    const std::vector<std::uint8_t> block = MakeBlock({24236, 6800});
    ASSERT_EQ(block.size(), 156u);
    EXPECT_EQ(ReadExtent(block), (Extent{24236, 6800}));
    EXPECT_EQ(ExtentToPixels({24236, 6800}, 96), (Pixels{916, 257}));
    EXPECT_EQ(std::vector(block.begin() + 76, block.begin() + 80), Bytes({0x4C, 0, 0, 0}));
    // The Shell Link class and the control's own class identifier.
    EXPECT_EQ(std::vector(block.begin() + 80, block.begin() + 96),
              Bytes({0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46}));
    EXPECT_EQ(std::vector(block.begin() + 52, block.begin() + 68),
              Bytes({0xE0, 0xD0, 0x57, 0x00, 0x73, 0x35, 0xCF, 0x11, 0xAE, 0x69, 0x08, 0x00,
                     0x2B, 0x2E, 0x12, 0x62}));
}

TEST(ControlDataTest, AnUnreadableBlockGivesNothing) {
    const std::vector<std::uint8_t> good = MakeBlock({24236, 6800});
    std::vector<std::vector<std::uint8_t>> bad(7, good);
    bad[0].clear();
    bad[1].pop_back();      // short
    bad[2].push_back(0);    // long
    bad[3][0] = 75;         // the first block's length
    bad[4][80] = 0;         // the link's class
    bad[5][155] = 1;        // the terminal block
    bad[6][4] = bad[6][5] = 0;  // zero width
    for (const auto& block : bad) EXPECT_EQ(ReadExtent(block), std::nullopt);
}

}  // namespace
}  // namespace zelk::ui::control_data
