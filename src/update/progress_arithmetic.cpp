#include "update/progress_arithmetic.h"

namespace kestrune {

std::uint32_t BlockCount(std::uint32_t contentLength) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(contentLength) + kBlockSize - 1) / kBlockSize);
}

std::optional<std::uint32_t> NextReportedPercent(std::uint32_t blocksDone, std::uint32_t blockCount,
                                                 std::uint32_t lastReported) {
    if (blockCount == 0) return std::nullopt;
    const auto percent = static_cast<std::uint32_t>(static_cast<std::uint64_t>(blocksDone) * 100 / blockCount);
    if (percent < lastReported + 5) return std::nullopt;
    return percent - percent % 5;
}

}  // namespace kestrune
