// How far a transfer of whole 1 MiB blocks has come, in the steps the status line shows.
#pragma once

#include <cstdint>
#include <optional>

namespace kestrune {

constexpr std::uint32_t kBlockSize = 1048576;

// (length + 1 MiB - 1) / 1 MiB, computed without overflow for any 32-bit length.
std::uint32_t BlockCount(std::uint32_t contentLength);

// The percentage to show after `blocksDone` of `blockCount` blocks, a multiple of 5, when it is at
// least 5 above the last one shown; nothing otherwise.
std::optional<std::uint32_t> NextReportedPercent(std::uint32_t blocksDone, std::uint32_t blockCount,
                                                 std::uint32_t lastReported);

}  // namespace kestrune
