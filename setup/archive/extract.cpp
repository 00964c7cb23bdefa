#include "setup/archive/archivepaths.h"
#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/targetfile.h"
#include "setup/archive/volumeinput.h"
#include "setup/archive/wndlcompress.h"

#include <sys/stat.h>
#include <zlib.h>

namespace orvo {

namespace {

class TInflater {
public:
    TInflater()
    {
        if (inflateInit2(&m_stream, MAX_WBITS) != Z_OK)
            throw EWndlCompress(archivetext::ZlibError);
    }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;
    ~TInflater() { inflateEnd(&m_stream); }
    z_stream& Stream() { return m_stream; }

private:
    z_stream m_stream {};
};

} // namespace

void TWndlCompress::Extract()
{
    m_abort = false;
    EnsureHeaders();
    m_currentVolume = 0;
    std::uint64_t uncompressed = 0;
    std::uint64_t compressed = 0;
    for (const TFileHeader& h : m_headers) {
        uncompressed += h.UncompressedSize;
        compressed += h.CompressedSize;
    }
    ResetStats(uncompressed, compressed);
    m_input.resize(InputChunk);
    m_output.resize(WriteBuffer);
    for (const std::string& request : m_files) {
        const int index = IndexOfName(request);
        if (index < 0)
            throw EWndlCompress(
                FormatText(archivetext::NotInArchive, FirstWord(request), m_compressedFile));
        ExtractOne(m_headers.At(index));
    }
    m_files.clear();
}

void TWndlCompress::ExtractOne(const TFileHeader& header)
{
    FillStats(header);
    m_skip = false;
    Fire(OnBeforeExtracting);
    std::string target = TargetPath(header);
    if (!m_skip && FileExists(target)) {
        if (ShouldReplace(target, header.Version, header.Date)) {
            Fire(OnReplace);
            target = TargetPath(header);
        } else {
            m_skip = true;
        }
    }
    if (m_skip) {
        m_stats.Done = 1;
        Fire(OnStatus);
        m_targetName.clear();
        m_skip = false;
        return;
    }

    TVolumeInput input([this](int k) { return OpenVolume(k); }, header, m_volumeFlag, m_offset);
    if (!ForceDirectories(DirectoryPart(target)))
        throw EWndlCompress(FormatText(archivetext::CannotCreate, target));
    TTargetFile out(target);

    TInflater inflater;
    z_stream& zs = inflater.Stream();
    std::uint64_t produced = 0;
    std::size_t filled = 0; // inflated bytes waiting in m_output
    bool ended = false;
    bool executable = false;
    const auto flush = [&] {
        WriteAll(out.File(), m_output.data(), filled);
        filled = 0;
    };
    while (!ended) {
        if (zs.avail_in == 0) {
            const std::size_t got = input.Read(m_input.data(), m_input.size());
            if (got == 0)
                break;
            zs.next_in = m_input.data();
            zs.avail_in = static_cast<uInt>(got);
        }
        // Each step inflates at most one 4 KB buffer and reports it; the buffers are collected and
        // written together, which spares a system call per buffer.
        if (m_output.size() - filled < InflateBuffer)
            flush();
        zs.next_out = m_output.data() + filled;
        zs.avail_out = static_cast<uInt>(InflateBuffer);
        const int result = inflate(&zs, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            ended = true;
        else if (result != Z_OK)
            throw EWndlCompress(archivetext::ZlibError);
        const std::size_t n = InflateBuffer - zs.avail_out;
        if (n == 0)
            continue;
        // More data than the header announces is damage; stop before it fills the disk.
        if (produced + n > header.UncompressedSize)
            throw EWndlCompress(FormatText(archivetext::SizeMismatch, target));
        if (produced == 0)
            executable = LooksExecutable(m_output.data(), n);
        filled += n;
        produced += n;
        AddDone(produced, n);
        Progress();
    }
    flush();

    m_stats.Done = 1;
    Fire(OnStatus);
    if (produced != header.UncompressedSize)
        throw EWndlCompress(FormatText(archivetext::SizeMismatch, target));
    if (!ended)
        throw EWndlCompress(archivetext::ZlibError);
    out.Commit(header.Date, TTargetFile::ModeFor(target, executable));
    Fire(OnAfterExtracting);
    m_targetName.clear();
}

void TWndlCompress::CopyFile(const std::string& source, const std::string& target)
{
    m_abort = false;
    const TPosixFile in = TPosixFile::OpenRead(source);
    struct stat st { };
    if (!in.IsOpen() || ::fstat(in.Fd(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EWndlCompress(FormatText(archivetext::CannotOpen, source));
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    const double date = DateTimeFromFileTime(st.st_mtim);
    ResetStats(size, size);
    TFileHeader header;
    header.Name = source;
    header.Date = date;
    header.UncompressedSize = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(size);
    header.CompressedSize = header.UncompressedSize;
    header.Version = ReadFileVersion(source);
    FillStats(header);

    m_skip = false;
    std::string path = target;
    if (FileExists(path)) {
        if (ShouldReplace(path, header.Version, date)) {
            Fire(OnReplace);
            if (!m_targetName.empty())
                path = JoinPath(DirectoryPart(target), FilePart(m_targetName));
        } else {
            m_skip = true;
        }
    }
    m_targetName.clear();
    if (m_skip) {
        m_skip = false;
        m_stats.Done = 1;
        Fire(OnStatus);
        return;
    }

    if (!ForceDirectories(DirectoryPart(path)))
        throw EWndlCompress(FormatText(archivetext::CannotCreate, path));
    TTargetFile out(path);
    std::vector<std::uint8_t> block(CopyBlock);
    std::uint64_t done = 0;
    for (;;) {
        const std::int64_t got = in.Read(block.data(), block.size());
        if (got < 0)
            throw EWndlCompress(FormatText(archivetext::CannotOpen, source));
        if (got == 0)
            break;
        WriteAll(out.File(), block.data(), static_cast<std::size_t>(got));
        done += static_cast<std::uint64_t>(got);
        AddDone(done, static_cast<std::uint64_t>(got));
        // A file whose size is a multiple of the block size is complete after its last full block.
        if (static_cast<std::size_t>(got) < block.size() || done == size)
            m_stats.Done = 1;
        Progress();
    }
    if (!m_stats.Done) {
        m_stats.Done = 1;
        Fire(OnStatus);
    }
    out.Commit(date, TTargetFile::ModeFor(path, (st.st_mode & 0111) != 0));
}

} // namespace orvo
