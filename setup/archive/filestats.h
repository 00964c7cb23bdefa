#pragma once

#include "setup/archive/fileheader.h"

#include <cstdint>
#include <string>

namespace orvo {

// Progress of the current file and of the whole operation, handed by reference to every event.
struct TlzhFileStats {
    std::uint8_t FilePercent = 0;
    std::uint32_t FileBytesDone = 0;
    std::string FileName;
    std::uint32_t CompressedSize = 0;
    std::uint32_t CompressionPercent = 0; // compressed / uncompressed x 100
    std::uint32_t UncompressedSize = 0;
    TFileHeader Header;
    std::uint8_t Done = 0; // set when the file is finished or skipped
    std::uint8_t OverallPercent = 0;
    std::uint32_t TotalBytesDone = 0;
    std::uint32_t TotalCompressed = 0;
    std::uint32_t OverallCompressionPercent = 0;
    std::uint32_t TotalUncompressed = 0;
};

// part / whole x 100 without overflow; an empty whole counts as complete.
inline std::uint32_t Percent(std::uint64_t part, std::uint64_t whole)
{
    if (whole == 0)
        return part == 0 ? 100 : 0;
    const std::uint64_t p = part * 100 / whole;
    return p > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(p);
}

inline std::uint8_t Percent8(std::uint64_t part, std::uint64_t whole)
{
    const std::uint32_t p = Percent(part, whole);
    return static_cast<std::uint8_t>(p > 100 ? 100 : p);
}

} // namespace orvo
