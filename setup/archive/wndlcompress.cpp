#include "setup/archive/wndlcompress.h"

#include "setup/archive/archivepaths.h"
#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/versiontext.h"

#include <algorithm>

namespace orvo {

namespace {

std::uint32_t Clamp32(std::uint64_t value)
{
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

// Checks the data range of an entry of a one-file archive against the archive's length.
bool DataInside(const TFileHeader& h, std::uint64_t offset, std::uint64_t fileSize)
{
    const std::uint64_t first = offset + h.DataStart;
    const std::uint64_t end = offset + std::uint64_t(h.EndPosition) + 1; // one past the last byte
    if (first > fileSize)
        return false;
    return end <= first || end <= fileSize;
}

} // namespace

TWndlCompress::TWndlCompress() = default;

void TWndlCompress::SetCompressedFile(const std::string& path)
{
    if (!SameText(path, m_compressedFile) && !SameVolumeSet(path, m_compressedFile))
        m_loaded = false;
    m_compressedFile = path;
}

void TWndlCompress::SetFilesToProcess(const std::vector<std::string>& files)
{
    m_files.clear();
    for (const std::string& entry : files) {
        if (!Trim(entry).empty())
            m_files.push_back(entry);
    }
}

void TWndlCompress::SetOffset(std::uint32_t offset)
{
    if (offset != m_offset)
        m_loaded = false;
    m_offset = offset;
}

void TWndlCompress::ReadHeaders()
{
    m_loaded = false;
    m_headers.Clear();
    if (!FileExists(m_compressedFile))
        throw EWndlCompress(FormatText(archivetext::NoFileExists, m_compressedFile));
    const TPosixFile file = TPosixFile::OpenRead(m_compressedFile);
    if (!file.IsOpen())
        throw EWndlCompress(FormatText(archivetext::CannotOpenCompressed, m_compressedFile));
    const std::int64_t signedSize = file.Size();
    const std::uint64_t size = signedSize < 0 ? 0 : static_cast<std::uint64_t>(signedSize);
    std::uint8_t head[5];
    if (size < std::uint64_t(m_offset) + sizeof head
        || !file.ReadExactAt(head, sizeof head, m_offset))
        throw EWndlCompress(archivetext::CannotReadCount);
    const std::uint32_t count = GetU32(head);
    const bool volumeFlag = head[4] != 0;
    // Every header takes 172 bytes after the count, so a count the file cannot hold is damage.
    if (count > (size - m_offset - sizeof head) / TFileHeader::DiskSize)
        throw EWndlCompress(archivetext::CannotReadHeaders);
    try {
        std::uint64_t position = std::uint64_t(m_offset) + sizeof head;
        for (std::uint32_t i = 0; i < count; ++i) {
            TFileHeader::Bytes bytes;
            TFileHeader header;
            if (position + bytes.size() > size
                || !file.ReadExactAt(bytes.data(), bytes.size(), position)
                || !TFileHeader::Decode(bytes.data(), header)
                || (!volumeFlag && !DataInside(header, m_offset, size)))
                throw EWndlCompress(archivetext::CannotReadHeaders);
            header.FromArchive = true;
            m_headers.Add(header);
            position = std::uint64_t(m_offset) + header.NextHeader;
        }
    } catch (const EWndlCompress&) {
        m_headers.Clear();
        throw EWndlCompress(archivetext::CannotReadHeaders);
    }
    m_uniqueIds.fill(0);
    m_uniqueIdUsed.fill(false);
    for (int i = 0; i < m_headers.Count(); ++i) {
        const std::uint32_t id = m_headers.At(i).UniqueId;
        if (id < UniqueIdSlots) {
            m_uniqueIds[id] = i;
            m_uniqueIdUsed[id] = true;
        }
    }
    m_volumeFlag = volumeFlag;
    m_loaded = true;
}

void TWndlCompress::EnsureHeaders()
{
    if (!m_loaded)
        ReadHeaders();
}

int TWndlCompress::FileCount()
{
    EnsureHeaders();
    return m_headers.Count();
}

bool TWndlCompress::VolumeFlag()
{
    EnsureHeaders();
    return m_volumeFlag;
}

TlzhFileStats TWndlCompress::FileStats(int index)
{
    EnsureHeaders();
    if (index < 0 || index >= m_headers.Count())
        throw EWndlCompress(FormatText(archivetext::FileNotDefined, index));
    ResetStats(0, 0);
    FillStats(m_headers.At(index));
    return m_stats;
}

int TWndlCompress::IndexOfUniqueId(std::int64_t id)
{
    EnsureHeaders();
    if (id < 0 || id >= UniqueIdSlots || !m_uniqueIdUsed[static_cast<std::size_t>(id)])
        return -1;
    return m_uniqueIds[static_cast<std::size_t>(id)];
}

int TWndlCompress::IndexOfName(const std::string& name)
{
    EnsureHeaders();
    const std::string wanted = FirstWord(name);
    for (int i = 0; i < m_headers.Count(); ++i) {
        if (SameText(m_headers.At(i).Name, wanted))
            return i;
    }
    return -1;
}

void TWndlCompress::List()
{
    EnsureHeaders();
    std::uint64_t uncompressed = 0;
    std::uint64_t compressed = 0;
    for (const TFileHeader& h : m_headers) {
        uncompressed += h.UncompressedSize;
        compressed += h.CompressedSize;
    }
    ResetStats(uncompressed, compressed);
    for (const TFileHeader& h : m_headers) {
        FillStats(h);
        Fire(OnListing);
    }
}

void TWndlCompress::ResetStats(std::uint64_t totalUncompressed, std::uint64_t totalCompressed)
{
    m_stats = TlzhFileStats();
    m_totalDone = 0;
    m_totalUncompressed = totalUncompressed;
    m_totalCompressed = totalCompressed;
    m_stats.TotalUncompressed = Clamp32(totalUncompressed);
    m_stats.TotalCompressed = Clamp32(totalCompressed);
    m_stats.OverallCompressionPercent = Percent(totalCompressed, totalUncompressed);
}

void TWndlCompress::FillStats(const TFileHeader& header)
{
    m_stats.FilePercent = 0;
    m_stats.FileBytesDone = 0;
    m_stats.FileName = header.Name;
    m_stats.CompressedSize = header.CompressedSize;
    m_stats.UncompressedSize = header.UncompressedSize;
    m_stats.CompressionPercent = Percent(header.CompressedSize, header.UncompressedSize);
    m_stats.Header = header;
    m_stats.Done = 0;
}

void TWndlCompress::AddDone(std::uint64_t fileDone, std::uint64_t n)
{
    m_totalDone += n;
    m_stats.FileBytesDone = Clamp32(fileDone);
    m_stats.TotalBytesDone = Clamp32(m_totalDone);
    m_stats.FilePercent = Percent8(fileDone, m_stats.UncompressedSize);
    m_stats.OverallPercent = Percent8(m_totalDone, m_totalUncompressed);
}

void TWndlCompress::Fire(const TFileStatsEvent& event)
{
    if (event)
        event(*this, m_stats);
}

void TWndlCompress::Progress()
{
    Fire(OnStatus);
    CheckAbort();
    ProcessMessages();
}

void TWndlCompress::CheckAbort()
{
    if (m_abort)
        throw EwcAborted(archivetext::Aborted);
}

void TWndlCompress::ProcessMessages()
{
    if (OnProcessMessages)
        OnProcessMessages();
}

void TWndlCompress::WriteAll(const TPosixFile& file, const void* data, std::size_t n)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < n) {
        done += file.Write(bytes + done, n - done);
        if (done < n) {
            if (!OnFullDisk || !OnFullDisk(*this, m_stats))
                throw EwcDiskFull(archivetext::DiskFull);
            CheckAbort();
        }
    }
}

TPosixFile TWndlCompress::OpenVolume(int k)
{
    std::string path
        = m_volumeFlag ? ReplaceExtension(m_compressedFile, VolumeExtension(k)) : m_compressedFile;
    constexpr int Attempts = 4;
    for (int attempt = 0; attempt <= Attempts; ++attempt) {
        if (FileExists(path)) {
            TPosixFile file = TPosixFile::OpenRead(path);
            if (!file.IsOpen())
                throw EWndlCompress(FormatText(archivetext::CannotOpenCompressed, path));
            m_currentVolume = k;
            return file;
        }
        if (!OnNewDisk)
            throw EWndlCompress(FormatText(archivetext::WrongDisk, k));
        if (attempt == Attempts)
            break;
        std::string dir = DirectoryPart(path);
        OnNewDisk(*this, k, dir);
        CheckAbort();
        path = JoinPath(dir, FilePart(path));
    }
    throw EWndlCompress(FormatText(archivetext::CannotOpenCompressed, path));
}

bool TWndlCompress::ShouldReplace(
    const std::string& target, const std::string& version, double date)
{
    const auto newerDate = [&] {
        const TPosixFile existing = TPosixFile::OpenRead(target);
        double existingDate = 0;
        if (!existing.IsOpen() || !GetFileDate(existing.Fd(), existingDate))
            throw EWndlCompress(archivetext::CompareFailed);
        return DateTimeMillis(date) > DateTimeMillis(existingDate);
    };
    switch (m_overwrite) {
    case owAlways:
        return true;
    case owNever:
        return Trim(target).empty() || !FileExists(target);
    case owVersion:
        return CompareVersions(version, ReadFileVersion(target)) > 0;
    case owDate:
        return newerDate();
    case owVersionDate: {
        const int c = CompareVersions(version, ReadFileVersion(target));
        return c != 0 ? c > 0 : newerDate();
    }
    }
    return true;
}

std::string TWndlCompress::TargetPath(const TFileHeader& header) const
{
    const std::string name = FilePart(m_targetName.empty() ? header.Name : m_targetName);
    const std::string dir = m_extractDirectory.empty() ? std::string(".") : m_extractDirectory;
    // A stored name is only ever a file inside the extract directory.
    if (!IsPlainFileName(name))
        throw EWndlCompress(FormatText(archivetext::CannotCreate, JoinPath(dir, name)));
    return JoinPath(dir, name);
}

} // namespace orvo
