#pragma once

#include "setup/archive/fileheader.h"
#include "setup/archive/posixfile.h"

#include <cstdint>
#include <functional>

namespace orvo {

// The stored data of one archive entry, read from (start volume, data start) to (end volume,
// end position), opening the following volumes as each one runs out.
class TVolumeInput {
public:
    using TOpener = std::function<TPosixFile(int volume)>;

    // Opens the start volume; in a one-file archive (no volume flag) all data is in volume 1.
    // Raises the corrupt-headers error for volume numbers that run backwards.
    TVolumeInput(TOpener opener, const TFileHeader& header, bool volumeFlag, std::uint32_t offset);

    // Up to n bytes of the entry's data; 0 when the data (or the last volume) has ended.
    std::size_t Read(std::uint8_t* buffer, std::size_t n);

private:
    TOpener m_opener;
    TPosixFile m_file;
    int m_volume;
    int m_endVolume;
    std::uint64_t m_position;
    std::uint64_t m_limit; // one past the last data byte in the end volume
};

} // namespace orvo
