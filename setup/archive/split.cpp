#include "setup/archive/archivepaths.h"
#include "setup/archive/errors.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/volumeinput.h"
#include "setup/archive/wndlcompress.h"

#include <algorithm>
#include <sys/stat.h>

namespace orvo {

namespace {

constexpr int MaxVolumes = 255; // the headers keep volume numbers in one byte

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa { };
    struct stat sb { };
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

// Count, volume flag and header table of volume 1.
std::vector<std::uint8_t> HeaderTable(const std::vector<TFileHeader>& headers, std::uint32_t count)
{
    std::vector<std::uint8_t> table(5 + headers.size() * TFileHeader::DiskSize);
    PutU32(table.data(), count);
    table[4] = 1;
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const TFileHeader::Bytes bytes = headers[i].Encode();
        std::copy(bytes.begin(), bytes.end(), table.begin() + 5 + i * TFileHeader::DiskSize);
    }
    return table;
}

} // namespace

void TWndlCompress::Split(const std::string& targetDir, const std::string& firstVolumeName)
{
    m_abort = false;
    try {
        SplitVolumes(targetDir, firstVolumeName);
    } catch (const EwcAborted&) {
        if (OnAborted)
            OnAborted(*this);
    } catch (...) {
        m_abort = true;
        throw;
    }
}

std::size_t TWndlCompress::WriteToVolume(
    const TPosixFile& volume, std::uint64_t position, const void* data, std::size_t n) const
{
    std::size_t fits = n;
    if (m_volumeSize > 0)
        fits = position >= m_volumeSize
            ? 0
            : static_cast<std::size_t>(std::min<std::uint64_t>(n, m_volumeSize - position));
    return volume.Write(data, fits);
}

void TWndlCompress::SplitVolumes(const std::string& targetDir, const std::string& firstVolumeName)
{
    EnsureHeaders();
    std::vector<TFileHeader> out(m_headers.begin(), m_headers.end());
    if (!ForceDirectories(targetDir))
        throw EWndlCompress(FormatText(archivetext::CannotCreate, targetDir));
    const std::string firstPath = JoinPath(targetDir, firstVolumeName);
    // Creating the first volume over the archive being split would destroy the data to be copied.
    if (SameFile(firstPath, m_compressedFile))
        throw EWndlCompress(FormatText(archivetext::CannotCreate, firstPath));
    TPosixFile volume = TPosixFile::Create(firstPath);
    if (!volume.IsOpen())
        throw EWndlCompress(FormatText(archivetext::CannotCreate, firstPath));

    // The count stays 0 until the table is complete, so an interrupted split leaves no volume 1
    // that points at data it does not have.
    const std::vector<std::uint8_t> placeholder = HeaderTable(out, 0);
    std::uint64_t position = WriteToVolume(volume, 0, placeholder.data(), placeholder.size());
    if (position < placeholder.size())
        throw EWndlCompress(archivetext::TooLittleSpace);

    std::uint64_t total = 0;
    for (const TFileHeader& h : out)
        total += h.UncompressedSize;
    ResetStats(total, 0);
    int current = 1;
    std::string dir = targetDir;
    std::vector<std::uint8_t> block(CopyBlock);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const TFileHeader source = out[i];
        TFileHeader& h = out[i];
        FillStats(source);
        h.NextHeader = static_cast<std::uint32_t>(5 + (i + 1) * TFileHeader::DiskSize);
        if (position > 0xFFFFFFFFu)
            throw EWndlCompress(FormatText(archivetext::TooLarge, firstPath));
        h.DataStart = static_cast<std::uint32_t>(position);
        h.StartVolume = static_cast<std::uint8_t>(current);
        TVolumeInput input([this](int k) { return OpenVolume(k); }, source, m_volumeFlag, m_offset);
        std::uint64_t copied = 0;
        while (copied < source.CompressedSize) {
            const std::size_t want = static_cast<std::size_t>(
                std::min<std::uint64_t>(block.size(), source.CompressedSize - copied));
            const std::size_t n = input.Read(block.data(), want);
            if (n == 0)
                break;
            std::size_t taken = WriteToVolume(volume, position, block.data(), n);
            position += taken;
            if (taken < n) {
                volume.Close();
                if (++current > MaxVolumes)
                    throw EWndlCompress(archivetext::TooLittleSpace);
                if (!OnNewDisk)
                    throw EWndlCompress(archivetext::NoNewDiskHandler);
                OnNewDisk(*this, current, dir);
                CheckAbort();
                const std::string path
                    = JoinPath(dir, ReplaceExtension(firstVolumeName, VolumeExtension(current)));
                volume = TPosixFile::Create(path);
                if (!volume.IsOpen())
                    throw EWndlCompress(FormatText(archivetext::CannotCreate, path));
                const std::size_t rest = n - taken;
                position = WriteToVolume(volume, 0, block.data() + taken, rest);
                if (position < rest)
                    throw EWndlCompress(archivetext::TooLittleSpace);
            }
            copied += n;
            AddDone(source.UncompressedSize * copied
                    / std::max<std::uint64_t>(source.CompressedSize, 1),
                0);
            Progress();
        }
        // The data must be all there: a short source would make a set that cannot be extracted.
        if (copied != source.CompressedSize || position == 0 || position - 1 > 0xFFFFFFFFu)
            throw EWndlCompress(archivetext::CannotReadHeaders);
        h.EndPosition = static_cast<std::uint32_t>(position - 1);
        h.EndVolume = static_cast<std::uint8_t>(current);
        m_totalDone += source.UncompressedSize;
        m_stats.Done = 1;
        Fire(OnStatus);
    }
    volume.Close();

    const TPosixFile first = TPosixFile::OpenReadWrite(firstPath);
    const std::vector<std::uint8_t> table
        = HeaderTable(out, static_cast<std::uint32_t>(out.size()));
    if (!first.IsOpen() || !first.WriteExactAt(table.data(), table.size(), 0))
        throw EWndlCompress(archivetext::CannotWriteHeaders);
}

} // namespace orvo
