#include "setup/archive/sfxtrailer.h"

#include "setup/archive/errors.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/posixfile.h"

#include <array>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace orvo {

namespace {

constexpr char Signature[] = "\x0eSELFEXTRACTING";

// Appends source to target; returns the bytes copied.
std::uint64_t AppendFile(
    const TPosixFile& target, const std::string& targetPath, const std::string& sourcePath)
{
    const TPosixFile source = TPosixFile::OpenRead(sourcePath);
    if (!source.IsOpen())
        throw EWndlCompress(FormatText(archivetext::CannotOpen, sourcePath));
    std::vector<char> block(65536);
    std::uint64_t total = 0;
    for (;;) {
        const std::int64_t got = source.Read(block.data(), block.size());
        if (got < 0)
            throw EWndlCompress(FormatText(archivetext::CannotOpen, sourcePath));
        if (got == 0)
            return total;
        if (target.Write(block.data(), static_cast<std::size_t>(got))
            != static_cast<std::size_t>(got))
            throw EwcDiskFull(archivetext::DiskFull);
        total += static_cast<std::uint64_t>(got);
        if (total > 0xFFFFFFFFu)
            throw EWndlCompress(FormatText(archivetext::TooLarge, targetPath));
    }
}

} // namespace

void TSfxTrailer::AppendTo(const std::string& path) const
{
    std::array<std::uint8_t, DiskSize> b {};
    static_assert(sizeof Signature - 1 == 15);
    std::memcpy(b.data(), Signature, 15);
    PutU32(&b[16], SetupFirst);
    PutU32(&b[20], SetupLast);
    PutU32(&b[24], FilesFirst);
    PutU32(&b[28], FilesLast);
    const TPosixFile file = TPosixFile::OpenReadWrite(path);
    const std::int64_t size = file.IsOpen() ? file.Size() : -1;
    if (size < 0)
        throw EWndlCompress(FormatText(archivetext::CannotOpen, path));
    if (!file.WriteExactAt(b.data(), b.size(), static_cast<std::uint64_t>(size)))
        throw EwcDiskFull(archivetext::DiskFull);
}

TSfxTrailer TSfxTrailer::Read(const std::string& path)
{
    const TPosixFile file = TPosixFile::OpenRead(path);
    const std::int64_t size = file.IsOpen() ? file.Size() : -1;
    std::array<std::uint8_t, DiskSize> b {};
    if (size < static_cast<std::int64_t>(DiskSize)
        || !file.ReadExactAt(b.data(), b.size(), static_cast<std::uint64_t>(size) - DiskSize))
        throw EWndlCompress(FormatText(archivetext::NoTrailer, path));
    TSfxTrailer t;
    t.SetupFirst = GetU32(&b[16]);
    t.SetupLast = GetU32(&b[20]);
    t.FilesFirst = GetU32(&b[24]);
    t.FilesLast = GetU32(&b[28]);
    const std::int64_t body = size - static_cast<std::int64_t>(DiskSize);
    const bool setupOk = t.SetupFirst <= t.SetupLast && t.SetupLast < body;
    const bool filesOk = (t.FilesFirst == 0 && t.FilesLast == 0)
        || (t.FilesFirst <= t.FilesLast && t.FilesLast < body);
    if (!setupOk || !filesOk)
        throw EWndlCompress(FormatText(archivetext::NoTrailer, path));
    return t;
}

void BuildSelfExtractingFile(const std::string& loader, const std::string& setupArchive,
    const std::string& filesArchive, const std::string& target)
{
    TPosixFile out = TPosixFile::Create(target);
    if (!out.IsOpen())
        throw EWndlCompress(FormatText(archivetext::CannotCreate, target));
    try {
        TSfxTrailer t;
        const std::uint64_t loaderSize = AppendFile(out, target, loader);
        const std::uint64_t setupSize = AppendFile(out, target, setupArchive);
        const std::uint64_t filesSize
            = filesArchive.empty() ? 0 : AppendFile(out, target, filesArchive);
        if (setupSize == 0)
            throw EWndlCompress(FormatText(archivetext::CannotOpenCompressed, setupArchive));
        if (loaderSize + setupSize + filesSize > 0xFFFFFFFFu)
            throw EWndlCompress(FormatText(archivetext::TooLarge, target));
        t.SetupFirst = static_cast<std::uint32_t>(loaderSize);
        t.SetupLast = static_cast<std::uint32_t>(loaderSize + setupSize - 1);
        if (filesSize > 0) {
            t.FilesFirst = t.SetupLast + 1;
            t.FilesLast = static_cast<std::uint32_t>(t.FilesFirst + filesSize - 1);
        }
        out.Close();
        t.AppendTo(target);
    } catch (...) {
        out.Close();
        ::unlink(target.c_str());
        throw;
    }
}

} // namespace orvo
