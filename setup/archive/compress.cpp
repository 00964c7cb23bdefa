#include "setup/archive/archivepaths.h"
#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/wndlcompress.h"

#include <charconv>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace orvo {

namespace {

constexpr std::uint64_t MaxPosition = 0xFFFFFFFFu;

int ZlibLevel(TCompressionLevel level)
{
    switch (level) {
    case colNone:
        return Z_NO_COMPRESSION;
    case colFastest:
        return Z_BEST_SPEED;
    case colDefault:
        return Z_DEFAULT_COMPRESSION;
    case colMax:
        return Z_BEST_COMPRESSION;
    }
    return Z_BEST_COMPRESSION;
}

// The unique id after the path ("path;id"); the file's 0-based position when none is given.
std::uint32_t UniqueIdOf(const std::string& entry, std::uint32_t fallback)
{
    const std::size_t semicolon = entry.find(';');
    if (semicolon == std::string::npos)
        return fallback;
    const std::string rest = entry.substr(semicolon + 1);
    const std::string word = Trim(rest.substr(0, rest.find(';')));
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), id);
    return error == std::errc() && end == word.data() + word.size() && !word.empty() ? id
                                                                                     : fallback;
}

class TDeflater {
public:
    explicit TDeflater(int level)
    {
        if (deflateInit2(&m_stream, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw EWndlCompress(archivetext::ZlibError);
    }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;
    ~TDeflater() { deflateEnd(&m_stream); }
    z_stream& Stream() { return m_stream; }

private:
    z_stream m_stream {};
};

// Puts an archive being built back as it was when the build fails: a new archive is removed, an
// extended one gets its old count and length back.
class TBuildRollback {
public:
    TBuildRollback(const std::string& path, const TPosixFile& file, std::uint32_t offset)
        : m_path(path)
        , m_file(file)
        , m_offset(offset)
    {
    }
    void KeepOldState(const std::uint8_t (&head)[5], std::uint64_t size)
    {
        std::copy(std::begin(head), std::end(head), m_head);
        m_size = size;
        m_existed = true;
    }
    void Done() { m_done = true; }
    ~TBuildRollback()
    {
        if (m_done)
            return;
        if (!m_existed) {
            ::unlink(m_path.c_str());
        } else if (m_file.WriteExactAt(m_head, sizeof m_head, m_offset)) {
            [[maybe_unused]] const int ignored = ::ftruncate(m_file.Fd(), off_t(m_size));
        }
    }

private:
    std::string m_path;
    const TPosixFile& m_file;
    std::uint32_t m_offset;
    std::uint8_t m_head[5] {};
    std::uint64_t m_size = 0;
    bool m_existed = false;
    bool m_done = false;
};

} // namespace

void TWndlCompress::Compress(TlzhCommand command)
{
    m_abort = false;
    try {
        CompressFiles(command);
    } catch (const EwcAborted&) {
        m_loaded = false;
        if (OnAborted)
            OnAborted(*this);
    } catch (...) {
        m_loaded = false;
        m_abort = true;
        throw;
    }
}

void TWndlCompress::CompressFiles(TlzhCommand command)
{
    const std::string path = m_compressedFile;
    if (!ForceDirectories(DirectoryPart(path)))
        throw EWndlCompress(FormatText(archivetext::CannotCreate, path));
    const bool adding = command == lzcOnlyAdd && FileExists(path);
    TPosixFile archive;
    std::uint8_t oldHead[5] {};
    std::uint64_t oldSize = 0;
    if (adding) {
        ReadHeaders();
        if (m_volumeFlag)
            throw EWndlCompress(FormatText(archivetext::AddToVolumes, path));
        archive = TPosixFile::OpenReadWrite(path);
        const std::int64_t size = archive.IsOpen() ? archive.Size() : -1;
        if (size < 0 || !archive.ReadExactAt(oldHead, sizeof oldHead, m_offset))
            throw EWndlCompress(FormatText(archivetext::CannotOpenCompressed, path));
        oldSize = static_cast<std::uint64_t>(size);
    } else {
        m_loaded = false;
        m_headers.Clear();
        archive = TPosixFile::Create(path);
        if (!archive.IsOpen())
            throw EWndlCompress(FormatText(archivetext::CannotCreate, path));
    }
    TBuildRollback rollback(path, archive, m_offset);
    if (adding)
        rollback.KeepOldState(oldHead, oldSize);
    m_loaded = false;

    const int existing = m_headers.Count();
    std::vector<std::string> sources;
    std::uint64_t totalSize = 0;
    for (const std::string& entry : m_files) {
        const std::string source = FirstWord(entry);
        const TPosixFile file = TPosixFile::OpenRead(source);
        struct stat st { };
        if (!file.IsOpen() || ::fstat(file.Fd(), &st) != 0 || !S_ISREG(st.st_mode))
            throw EWndlCompress(FormatText(archivetext::CannotOpen, source));
        if (static_cast<std::uint64_t>(st.st_size) > MaxPosition)
            throw EWndlCompress(FormatText(archivetext::TooLarge, source));
        TFileHeader h;
        h.Name = source.substr(0, TFileHeader::MaxName);
        h.Date = DateTimeFromFileTime(st.st_mtim);
        h.UncompressedSize = static_cast<std::uint32_t>(st.st_size);
        h.Version = ReadFileVersion(source).substr(0, TFileHeader::MaxVersion);
        h.FileNumber = static_cast<std::uint32_t>(m_headers.Count() + 1);
        h.UniqueId = UniqueIdOf(entry, h.FileNumber - 1);
        m_headers.Add(h);
        sources.push_back(source);
        totalSize += h.UncompressedSize;
    }

    std::uint8_t head[5];
    PutU32(head, static_cast<std::uint32_t>(m_headers.Count()));
    head[4] = 0;
    if (!archive.WriteExactAt(head, sizeof head, m_offset))
        throw EWndlCompress(archivetext::CannotWriteHeaders);
    std::uint64_t position
        = std::uint64_t(m_offset) + (existing > 0 ? m_headers.At(existing - 1).NextHeader : 5);

    ResetStats(totalSize, 0);
    m_input.resize(InputChunk);
    m_output.resize(DeflateBuffer);
    for (int i = existing; i < m_headers.Count(); ++i) {
        TFileHeader& h = m_headers.At(i);
        FillStats(h);
        Fire(OnBeforeAdding);
        const std::uint64_t headerPosition = position;
        if (!archive.WriteExactAt(h.Encode().data(), TFileHeader::DiskSize, headerPosition))
            throw EWndlCompress(archivetext::CannotWriteHeaders);
        position += TFileHeader::DiskSize;
        if (!archive.Seek(position))
            throw EWndlCompress(archivetext::CannotWriteHeaders);
        std::uint64_t written = 0;
        const std::uint64_t read
            = DeflateFile(sources[std::size_t(i - existing)], archive, written);
        if (read > MaxPosition || position + written - m_offset > MaxPosition)
            throw EWndlCompress(FormatText(archivetext::TooLarge, path));
        h.DataStart = static_cast<std::uint32_t>(position - m_offset);
        position += written;
        h.UncompressedSize = static_cast<std::uint32_t>(read);
        h.CompressedSize = static_cast<std::uint32_t>(written);
        h.EndPosition = static_cast<std::uint32_t>(position - m_offset - 1);
        h.NextHeader = static_cast<std::uint32_t>(position - m_offset);
        if (!archive.WriteExactAt(h.Encode().data(), TFileHeader::DiskSize, headerPosition))
            throw EWndlCompress(archivetext::CannotWriteHeaders);
        FillStats(h);
        m_stats.Done = 1;
        Fire(OnAfterAdding);
    }
    if (::ftruncate(archive.Fd(), static_cast<off_t>(position)) != 0)
        throw EWndlCompress(archivetext::CannotWriteHeaders);
    rollback.Done();
    m_files.clear();
}

std::uint64_t TWndlCompress::DeflateFile(
    const std::string& source, const TPosixFile& archive, std::uint64_t& written)
{
    const TPosixFile in = TPosixFile::OpenRead(source);
    if (!in.IsOpen())
        throw EWndlCompress(FormatText(archivetext::CannotOpen, source));
    TDeflater deflater(ZlibLevel(m_level));
    z_stream& zs = deflater.Stream();
    std::uint64_t read = 0;
    const auto flushOutput = [&] {
        const std::size_t n = m_output.size() - zs.avail_out;
        WriteAll(archive, m_output.data(), n);
        written += n;
        m_stats.CompressedSize
            = static_cast<std::uint32_t>(std::min<std::uint64_t>(written, MaxPosition));
        zs.next_out = m_output.data();
        zs.avail_out = static_cast<uInt>(m_output.size());
        Progress();
    };
    zs.next_out = m_output.data();
    zs.avail_out = static_cast<uInt>(m_output.size());
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        const std::int64_t got = in.Read(m_input.data(), m_input.size());
        if (got < 0)
            throw EWndlCompress(FormatText(archivetext::CannotOpen, source));
        read += static_cast<std::uint64_t>(got);
        if (read > MaxPosition)
            throw EWndlCompress(FormatText(archivetext::TooLarge, source));
        AddDone(read, static_cast<std::uint64_t>(got));
        const int flush = static_cast<std::size_t>(got) < m_input.size() ? Z_FINISH : Z_NO_FLUSH;
        zs.next_in = m_input.data();
        zs.avail_in = static_cast<uInt>(got);
        do {
            result = deflate(&zs, flush);
            if (result == Z_STREAM_ERROR)
                throw EWndlCompress(archivetext::ZlibError);
            if (zs.avail_out == 0)
                flushOutput();
        } while (zs.avail_in > 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    }
    flushOutput();
    return read;
}

} // namespace orvo
