#include "setup/archive/fileversion.h"

#include "setup/archive/archivepaths.h"
#include "setup/archive/posixfile.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace orvo {

namespace {

constexpr std::size_t MaxVersionText = 256;
constexpr std::size_t MaxSections = 65535;

// Reads the ELF structures of one file with its class and byte order, every offset checked
// against the file's length.
class TElfReader {
public:
    explicit TElfReader(const TPosixFile& file)
        : m_file(file)
        , m_size(file.Size())
    {
    }

    bool ReadIdent()
    {
        static constexpr std::uint8_t Magic[4] = { 0x7f, 'E', 'L', 'F' };
        std::uint8_t ident[16];
        if (!Read(ident, sizeof ident, 0) || std::memcmp(ident, Magic, sizeof Magic) != 0)
            return false;
        m_is64 = ident[4] == 2;
        m_bigEndian = ident[5] == 2;
        return (ident[4] == 1 || ident[4] == 2) && (ident[5] == 1 || ident[5] == 2);
    }

    std::string FindVersion()
    {
        const std::uint64_t shoff = Word(m_is64 ? 0x28 : 0x20);
        const std::uint64_t shentsize = Half(m_is64 ? 0x3A : 0x2E);
        const std::uint64_t shnum = Half(m_is64 ? 0x3C : 0x30);
        const std::uint64_t shstrndx = Half(m_is64 ? 0x3E : 0x32);
        if (!m_ok || shnum == 0 || shnum > MaxSections || shstrndx >= shnum
            || shentsize < (m_is64 ? 64u : 40u))
            return {};
        std::uint64_t namesOffset = 0;
        std::uint64_t namesSize = 0;
        Section(shoff + shstrndx * shentsize, namesOffset, namesSize);
        const std::string wanted = VersionSectionName;
        for (std::uint64_t i = 0; m_ok && i < shnum; ++i) {
            const std::uint64_t header = shoff + i * shentsize;
            const std::uint64_t nameIndex = At32(header);
            if (nameIndex + wanted.size() + 1 > namesSize)
                continue;
            std::string name(wanted.size() + 1, '\0');
            if (!Read(name.data(), name.size(), namesOffset + nameIndex))
                return {};
            if (name.compare(0, wanted.size(), wanted) != 0 || name.back() != '\0')
                continue;
            std::uint64_t offset = 0;
            std::uint64_t size = 0;
            Section(header, offset, size);
            std::vector<char> text(std::min<std::uint64_t>(size, MaxVersionText));
            if (!m_ok || text.empty() || !Read(text.data(), text.size(), offset))
                return {};
            return Trim(std::string(text.data(), strnlen(text.data(), text.size())));
        }
        return {};
    }

private:
    bool Read(void* buffer, std::size_t n, std::uint64_t pos)
    {
        if (m_size < 0 || pos > static_cast<std::uint64_t>(m_size)
            || n > static_cast<std::uint64_t>(m_size) - pos || !m_file.ReadExactAt(buffer, n, pos))
            m_ok = false;
        return m_ok;
    }

    std::uint64_t Number(std::uint64_t pos, int bytes)
    {
        std::uint8_t b[8] {};
        if (!Read(b, static_cast<std::size_t>(bytes), pos))
            return 0;
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= std::uint64_t(b[m_bigEndian ? bytes - 1 - i : i]) << (8 * i);
        return v;
    }

    std::uint64_t Half(std::uint64_t pos) { return Number(pos, 2); }
    std::uint64_t At32(std::uint64_t pos) { return Number(pos, 4); }
    std::uint64_t Word(std::uint64_t pos) { return Number(pos, m_is64 ? 8 : 4); }

    // Offset and size of the section whose header starts at pos.
    void Section(std::uint64_t pos, std::uint64_t& offset, std::uint64_t& size)
    {
        offset = Word(pos + (m_is64 ? 0x18 : 0x10));
        size = Word(pos + (m_is64 ? 0x20 : 0x14));
    }

    const TPosixFile& m_file;
    std::int64_t m_size;
    bool m_is64 = false;
    bool m_bigEndian = false;
    bool m_ok = true;
};

} // namespace

std::string ReadFileVersion(const std::string& path)
{
    const TPosixFile file = TPosixFile::OpenRead(path);
    if (!file.IsOpen())
        return {};
    TElfReader elf(file);
    return elf.ReadIdent() ? elf.FindVersion() : std::string();
}

} // namespace orvo
