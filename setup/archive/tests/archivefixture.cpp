#include "setup/archive/tests/archivefixture.h"

#include "setup/archive/littleendian.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <zlib.h>

namespace orvo::test {

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string ReadText(const std::string& path)
{
    const Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

Bytes Deflate(const std::string& text, int level)
{
    uLongf size = compressBound(text.size());
    Bytes out(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(), level);
    out.resize(size);
    return out;
}

std::string SampleText(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < n)
        text += std::to_string(random() % 100000) + (random() % 8 == 0 ? "\n" : " ");
    text.resize(n);
    return text;
}

std::string RandomText(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::string text(n, '\0');
    for (char& c : text)
        c = static_cast<char>(random());
    return text;
}

namespace {

// Appends an unsigned number of the given width in the file's byte order.
void Put(Bytes& b, std::size_t at, std::uint64_t value, int width, bool bigEndian)
{
    for (int i = 0; i < width; ++i)
        b[at + std::size_t(bigEndian ? width - 1 - i : i)] = std::uint8_t(value >> (8 * i));
}

} // namespace

Bytes MakeElf(const std::string& version, const std::string& payload, bool is64, bool bigEndian)
{
    const std::size_t ehsize = is64 ? 64 : 52;
    const std::size_t shentsize = is64 ? 64 : 40;
    const std::string names = std::string("\0.shstrtab\0.orvo_version\0", 25);
    const std::string content = version.empty() ? std::string() : version + std::string(1, '\0');
    const std::size_t namesAt = ehsize;
    const std::size_t contentAt = namesAt + names.size();
    const std::size_t shoff = contentAt + content.size();
    const std::size_t sections = version.empty() ? 2 : 3;
    Bytes b(shoff + sections * shentsize);
    const std::uint8_t ident[]
        = { 0x7f, 'E', 'L', 'F', std::uint8_t(is64 ? 2 : 1), std::uint8_t(bigEndian ? 2 : 1), 1 };
    std::memcpy(b.data(), ident, sizeof ident);
    Put(b, 16, 2, 2, bigEndian); // ET_EXEC
    Put(b, is64 ? 0x28 : 0x20, shoff, is64 ? 8 : 4, bigEndian);
    Put(b, is64 ? 0x3A : 0x2E, shentsize, 2, bigEndian);
    Put(b, is64 ? 0x3C : 0x30, sections, 2, bigEndian);
    Put(b, is64 ? 0x3E : 0x32, 1, 2, bigEndian);
    std::memcpy(&b[namesAt], names.data(), names.size());
    std::memcpy(&b[contentAt], content.data(), content.size());
    const auto section
        = [&](std::size_t index, std::uint32_t name, std::size_t at, std::size_t size) {
              const std::size_t h = shoff + index * shentsize;
              Put(b, h, name, 4, bigEndian);
              Put(b, h + (is64 ? 0x18 : 0x10), at, is64 ? 8 : 4, bigEndian);
              Put(b, h + (is64 ? 0x20 : 0x14), size, is64 ? 8 : 4, bigEndian);
          };
    section(1, 1, namesAt, names.size());
    if (!version.empty())
        section(2, 11, contentAt, content.size());
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

Bytes InlineArchive(const std::vector<TRawEntry>& entries)
{
    Bytes archive(5);
    PutU32(archive.data(), static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TRawEntry& e = entries[i];
        const Bytes data = Deflate(e.content);
        TFileHeader h;
        h.FileNumber = static_cast<std::uint32_t>(i + 1);
        h.Date = e.date;
        h.Name = e.name;
        h.Version = e.version;
        h.UniqueId = e.uniqueId;
        h.UncompressedSize = static_cast<std::uint32_t>(e.content.size());
        h.CompressedSize = static_cast<std::uint32_t>(data.size());
        h.DataStart = static_cast<std::uint32_t>(archive.size() + TFileHeader::DiskSize);
        h.EndPosition = static_cast<std::uint32_t>(h.DataStart + data.size() - 1);
        h.NextHeader = h.EndPosition + 1;
        const TFileHeader::Bytes bytes = h.Encode();
        archive.insert(archive.end(), bytes.begin(), bytes.end());
        archive.insert(archive.end(), data.begin(), data.end());
    }
    return archive;
}

} // namespace orvo::test
