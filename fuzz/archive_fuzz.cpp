// Feeds arbitrary bytes to the setup archive reader as an archive file (and as its second volume),
// as a self-extracting file and as a program whose version is read: nothing may crash, hang or
// write outside the extract folder, and every failure must be the archive's own error.

#include "setup/archive/errors.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/sfxtrailer.h"
#include "setup/archive/wndlcompress.h"

#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string g_workDir;

void Empty(const std::string& dir);

void RemoveWorkDir()
{
    Empty(g_workDir + "/out");
    ::rmdir((g_workDir + "/out").c_str());
    Empty(g_workDir);
    ::rmdir(g_workDir.c_str());
}

const std::string& WorkDir()
{
    if (g_workDir.empty()) {
        char pattern[] = "/tmp/orvo-archive-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made)
            std::abort();
        g_workDir = made;
        std::atexit(RemoveWorkDir);
    }
    return g_workDir;
}

void Write(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

void Empty(const std::string& dir)
{
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                ::unlink((dir + "/" + name).c_str());
        }
        ::closedir(d);
    }
}

void ExtractAll(orvo::TWndlCompress& archive, const std::string& outDir)
{
    try {
        std::vector<std::string> names;
        archive.List();
        for (int i = 0; i < archive.FileCount() && i < 16; ++i)
            names.push_back(archive.FileStats(i).Header.Name);
        archive.IndexOfUniqueId(archive.FileCount() > 0 ? archive.FileStats(0).Header.UniqueId : 0);
        archive.SetExtractDirectory(outDir);
        archive.SetOverwrite(orvo::owVersionDate);
        archive.SetFilesToProcess(names);
        archive.Extract();
    } catch (const orvo::EWndlCompress&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string dir = WorkDir();
    const std::string outDir = dir + "/out";
    ::mkdir(outDir.c_str(), 0700);
    Write(dir + "/files.1", data, size);
    Write(dir + "/files.2", data, size);

    orvo::TWndlCompress archive;
    archive.SetCompressedFile(dir + "/files.1");
    ExtractAll(archive, outDir);

    try {
        const orvo::TSfxTrailer trailer = orvo::TSfxTrailer::Read(dir + "/files.1");
        orvo::TWndlCompress embedded;
        embedded.SetCompressedFile(dir + "/files.1");
        embedded.SetOffset(trailer.FilesFirst);
        ExtractAll(embedded, outDir);
    } catch (const orvo::EWndlCompress&) {
    }

    orvo::ReadFileVersion(dir + "/files.1");
    Empty(outDir);
    return 0;
}
