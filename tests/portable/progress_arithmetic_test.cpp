#include "update/progress_arithmetic.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrune {
namespace {

std::vector<std::uint32_t> Shown(std::uint32_t contentLength) {
    const std::uint32_t blocks = BlockCount(contentLength);
    std::vector<std::uint32_t> shown;
    std::uint32_t last = 0;
    for (std::uint32_t done = 1; done <= blocks; ++done) {
        if (auto percent = NextReportedPercent(done, blocks, last)) {
            last = *percent;
            shown.push_back(*percent);
        }
    }
    return shown;
}

TEST(ProgressArithmetic, StatusNumbersPerPackageSize) {
    const std::uint32_t MiB = kBlockSize;
    EXPECT_EQ(Shown(1), (std::vector<std::uint32_t>{100}));
    EXPECT_EQ(Shown(MiB), (std::vector<std::uint32_t>{100}));
    EXPECT_EQ(Shown(2 * MiB), (std::vector<std::uint32_t>{50, 100}));
    EXPECT_EQ(Shown(2 * MiB + 1), (std::vector<std::uint32_t>{30, 65, 100}));
    EXPECT_EQ(Shown(4 * MiB), (std::vector<std::uint32_t>{25, 50, 75, 100}));
    EXPECT_EQ(Shown(0), (std::vector<std::uint32_t>{}));
    // 512 blocks: a line only every 5 percent, never repeated, ending at 100.
    const auto many = Shown(512 * MiB);
    EXPECT_EQ(many.size(), 20u);
    EXPECT_EQ(many.back(), 100u);
}

TEST(ProgressArithmetic, LargeLengthsDoNotOverflow) {
    EXPECT_EQ(BlockCount(0xFFFFFFFFu), 4096u);
    EXPECT_EQ(NextReportedPercent(4096, 4096, 95), std::optional<std::uint32_t>(100));
    EXPECT_EQ(NextReportedPercent(1, 0, 0), std::nullopt);
}

}  // namespace
}  // namespace kestrune
