#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

// One entry of an archive as it is stored: 172 bytes on disk, integers little-endian, positions
// relative to the archive start.
struct TFileHeader {
    static constexpr std::size_t DiskSize = 172;
    static constexpr std::size_t MaxName = 100;
    static constexpr std::size_t MaxVersion = 20;
    using Bytes = std::array<std::uint8_t, DiskSize>;

    std::uint32_t FileNumber = 0; // 1-based position in the archive
    double Date = 0; // days since 30 December 1899, fraction = time of day (local time)
    std::uint8_t EndVolume = 0; // volume of the last data byte (0 in a one-file archive)
    std::uint32_t EndPosition = 0; // position of the last data byte in the end volume
    std::string Name; // source path as handed to the writer, at most MaxName bytes
    std::uint32_t NextHeader = 0; // where the next header starts
    std::uint32_t UncompressedSize = 0;
    std::uint32_t DataStart = 0; // position of the first data byte in the start volume
    std::uint32_t CompressedSize = 0;
    std::uint8_t StartVolume = 0;
    std::uint32_t UniqueId = 0;
    std::string Version; // dotted file version text, at most MaxVersion bytes
    bool FromArchive = false; // read from an existing archive (not written to disk)

    Bytes Encode() const;
    // Decodes 172 stored bytes; false when a counted length exceeds its field.
    static bool Decode(const std::uint8_t* bytes, TFileHeader& header);
};

// The header list of one archive.
class TFileHeaders {
public:
    int Count() const { return static_cast<int>(m_headers.size()); }
    // Raises EWndlCompress for an index outside the list.
    const TFileHeader& At(int index) const;
    TFileHeader& At(int index);
    // Raises EWndlCompress for a header whose trimmed name is empty.
    void Add(TFileHeader header);
    void Clear() { m_headers.clear(); }
    auto begin() const { return m_headers.begin(); }
    auto end() const { return m_headers.end(); }

private:
    std::vector<TFileHeader> m_headers;
};

} // namespace orvo
