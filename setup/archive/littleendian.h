#pragma once

#include <cstdint>

namespace orvo {

inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
        | std::uint32_t(p[3]) << 24;
}

inline std::uint64_t GetU64(const std::uint8_t* p)
{
    return std::uint64_t(GetU32(p)) | std::uint64_t(GetU32(p + 4)) << 32;
}

inline void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutU64(std::uint8_t* p, std::uint64_t v)
{
    PutU32(p, static_cast<std::uint32_t>(v));
    PutU32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

} // namespace orvo
