#include "setup/archive/volumeinput.h"

#include "setup/archive/errors.h"

#include <algorithm>

namespace orvo {

TVolumeInput::TVolumeInput(
    TOpener opener, const TFileHeader& header, bool volumeFlag, std::uint32_t offset)
    : m_opener(std::move(opener))
    , m_volume(volumeFlag ? std::max<int>(header.StartVolume, 1) : 1)
    , m_endVolume(volumeFlag ? std::max<int>(header.EndVolume, 1) : 1)
    , m_position(std::uint64_t(offset) + header.DataStart)
    , m_limit(std::uint64_t(offset) + header.EndPosition + 1)
{
    if (m_endVolume < m_volume)
        throw EWndlCompress(archivetext::CannotReadHeaders);
    m_file = m_opener(m_volume);
}

std::size_t TVolumeInput::Read(std::uint8_t* buffer, std::size_t n)
{
    for (;;) {
        std::size_t want = n;
        if (m_volume == m_endVolume) {
            if (m_position >= m_limit)
                return 0;
            want = static_cast<std::size_t>(std::min<std::uint64_t>(n, m_limit - m_position));
        }
        const std::int64_t got = m_file.ReadAt(buffer, want, m_position);
        if (got > 0) {
            m_position += static_cast<std::uint64_t>(got);
            return static_cast<std::size_t>(got);
        }
        if (m_volume == m_endVolume)
            return 0;
        // This volume has run out before the end volume: the data goes on at the next one's start.
        m_file = TPosixFile();
        m_file = m_opener(++m_volume);
        m_position = 0;
    }
}

} // namespace orvo
