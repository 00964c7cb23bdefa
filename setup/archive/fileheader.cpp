#include "setup/archive/fileheader.h"

#include "setup/archive/errors.h"
#include "setup/archive/littleendian.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orvo {

namespace {

// Field offsets of the stored header.
enum : std::size_t {
    OffNumber = 0,
    OffDate = 4,
    OffEndVolume = 12,
    OffEndPosition = 16,
    OffNameLength = 20,
    OffName = 21,
    OffNextHeader = 124,
    OffUncompressed = 128,
    OffDataStart = 132,
    OffCompressed = 136,
    OffStartVolume = 140,
    OffUniqueId = 144,
    OffVersionLength = 148,
    OffVersion = 149,
};

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c <= ' '; });
}

} // namespace

TFileHeader::Bytes TFileHeader::Encode() const
{
    Bytes b {};
    PutU32(&b[OffNumber], FileNumber);
    PutU64(&b[OffDate], std::bit_cast<std::uint64_t>(Date));
    b[OffEndVolume] = EndVolume;
    PutU32(&b[OffEndPosition], EndPosition);
    const std::size_t nameLength = std::min(Name.size(), MaxName);
    b[OffNameLength] = static_cast<std::uint8_t>(nameLength);
    std::memcpy(&b[OffName], Name.data(), nameLength);
    PutU32(&b[OffNextHeader], NextHeader);
    PutU32(&b[OffUncompressed], UncompressedSize);
    PutU32(&b[OffDataStart], DataStart);
    PutU32(&b[OffCompressed], CompressedSize);
    b[OffStartVolume] = StartVolume;
    PutU32(&b[OffUniqueId], UniqueId);
    const std::size_t versionLength = std::min(Version.size(), MaxVersion);
    b[OffVersionLength] = static_cast<std::uint8_t>(versionLength);
    std::memcpy(&b[OffVersion], Version.data(), versionLength);
    return b;
}

bool TFileHeader::Decode(const std::uint8_t* b, TFileHeader& h)
{
    if (b[OffNameLength] > MaxName || b[OffVersionLength] > MaxVersion)
        return false;
    h.FileNumber = GetU32(b + OffNumber);
    h.Date = std::bit_cast<double>(GetU64(b + OffDate));
    h.EndVolume = b[OffEndVolume];
    h.EndPosition = GetU32(b + OffEndPosition);
    h.Name.assign(reinterpret_cast<const char*>(b + OffName), b[OffNameLength]);
    h.NextHeader = GetU32(b + OffNextHeader);
    h.UncompressedSize = GetU32(b + OffUncompressed);
    h.DataStart = GetU32(b + OffDataStart);
    h.CompressedSize = GetU32(b + OffCompressed);
    h.StartVolume = b[OffStartVolume];
    h.UniqueId = GetU32(b + OffUniqueId);
    h.Version.assign(reinterpret_cast<const char*>(b + OffVersion), b[OffVersionLength]);
    return true;
}

const TFileHeader& TFileHeaders::At(int index) const
{
    if (index < 0 || index >= Count())
        throw EWndlCompress(FormatText(archivetext::InvalidHeaderIndex, index));
    return m_headers[static_cast<std::size_t>(index)];
}

TFileHeader& TFileHeaders::At(int index)
{
    return const_cast<TFileHeader&>(static_cast<const TFileHeaders&>(*this).At(index));
}

void TFileHeaders::Add(TFileHeader header)
{
    if (IsBlank(header.Name))
        throw EWndlCompress(archivetext::InvalidHeader);
    m_headers.push_back(std::move(header));
}

} // namespace orvo
