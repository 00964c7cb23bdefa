#include "apps/setup-archive/archivetool.h"

#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/sfxtrailer.h"
#include "setup/archive/wndlcompress.h"

#include <charconv>
#include <iomanip>
#include <map>
#include <ostream>

using namespace orvo;

namespace {

const char* const Usage = R"(usage:
  setup-archive list <archive> [--offset N | --sfx]
  setup-archive extract <archive> <directory> [stored name...] [--overwrite MODE]
                [--offset N | --sfx] [--volumes DIR]
  setup-archive build <archive> <file[;unique id]>... [--level LEVEL] [--add]
  setup-archive split <archive> <directory> [--name files.1] [--volume-size BYTES]
                [--offset N | --sfx]
  setup-archive sfx <output> <loader> <setup.1> [files.1]
  setup-archive version <file>
MODE: always (default), never, version, date, versiondate
LEVEL: none, fastest, default, max (default)
)";

struct TUsageError {
    std::string text;
};

// Positional arguments and "--name value" options ("--sfx" and "--add" take none).
struct TArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    bool Has(const std::string& name) const { return options.count(name) > 0; }
    std::string Get(const std::string& name, const std::string& fallback) const
    {
        const auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

TArguments Parse(const std::vector<std::string>& args)
{
    TArguments parsed;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            parsed.positional.push_back(a);
        } else if (a == "--sfx" || a == "--add") {
            parsed.options[a] = "";
        } else if (i + 1 < args.size()) {
            parsed.options[a] = args[++i];
        } else {
            throw TUsageError { "missing value for " + a };
        }
    }
    return parsed;
}

std::uint64_t Number(const std::string& text, const std::string& what)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        throw TUsageError { "invalid " + what + ": " + text };
    return value;
}

void Expect(const TArguments& a, std::size_t least, std::size_t most)
{
    if (a.positional.size() < least || a.positional.size() > most)
        throw TUsageError { "wrong number of arguments" };
}

// Points the component at the archive, also inside a self-extracting file.
void OpenArchive(TWndlCompress& archive, const TArguments& a)
{
    archive.SetCompressedFile(a.positional[0]);
    if (a.Has("--sfx")) {
        const TSfxTrailer trailer = TSfxTrailer::Read(a.positional[0]);
        if (trailer.FilesFirst == 0)
            throw EWndlCompress(
                "The self-extracting file " + a.positional[0] + " holds no files archive");
        archive.SetOffset(trailer.FilesFirst);
    } else {
        const std::uint64_t offset = Number(a.Get("--offset", "0"), "offset");
        if (offset > 0xFFFFFFFFu)
            throw TUsageError { "invalid offset" };
        archive.SetOffset(static_cast<std::uint32_t>(offset));
    }
}

int List(const TArguments& a, std::ostream& out)
{
    Expect(a, 1, 1);
    TWndlCompress archive;
    OpenArchive(archive, a);
    out << archive.FileCount() << " file(s), "
        << (archive.VolumeFlag() ? "header table (volumes)" : "one file") << "\n";
    out << std::left << std::setw(4) << "#" << std::setw(11) << "size" << std::setw(11) << "packed"
        << std::setw(20) << "date" << std::setw(12) << "version" << std::setw(6) << "id"
        << std::setw(8) << "volumes"
        << "name\n";
    archive.OnListing = [&](TWndlCompress&, TlzhFileStats& s) {
        const TFileHeader& h = s.Header;
        out << std::left << std::setw(4) << h.FileNumber << std::setw(11) << h.UncompressedSize
            << std::setw(11) << h.CompressedSize << std::setw(20) << DateTimeText(h.Date)
            << std::setw(12) << (h.Version.empty() ? "-" : h.Version) << std::setw(6) << h.UniqueId
            << std::setw(8) << (std::to_string(h.StartVolume) + "-" + std::to_string(h.EndVolume))
            << h.Name << "\n";
    };
    archive.List();
    return 0;
}

TOverwriteType OverwriteMode(const std::string& text)
{
    static const std::map<std::string, TOverwriteType> modes
        = { { "always", owAlways }, { "never", owNever }, { "version", owVersion },
              { "date", owDate }, { "versiondate", owVersionDate } };
    const auto it = modes.find(text);
    if (it == modes.end())
        throw TUsageError { "unknown overwrite mode: " + text };
    return it->second;
}

int Extract(const TArguments& a, std::ostream& out)
{
    Expect(a, 2, SIZE_MAX);
    TWndlCompress archive;
    OpenArchive(archive, a);
    archive.SetExtractDirectory(a.positional[1]);
    archive.SetOverwrite(OverwriteMode(a.Get("--overwrite", "always")));
    std::vector<std::string> names(a.positional.begin() + 2, a.positional.end());
    if (names.empty()) {
        for (int i = 0; i < archive.FileCount(); ++i)
            names.push_back(archive.FileStats(i).Header.Name);
    }
    if (a.Has("--volumes")) {
        archive.OnNewDisk = [dir = a.Get("--volumes", "")](
                                TWndlCompress&, int, std::string& path) { path = dir; };
    }
    archive.OnAfterExtracting = [&](TWndlCompress&, TlzhFileStats& s) {
        out << "extracted " << s.FileName << " (" << s.UncompressedSize << " bytes)\n";
    };
    archive.OnStatus = [&](TWndlCompress&, TlzhFileStats& s) {
        if (s.Done && s.FileBytesDone == 0 && s.UncompressedSize > 0)
            out << "kept existing file for " << s.FileName << "\n";
    };
    archive.SetFilesToProcess(names);
    archive.Extract();
    return 0;
}

TCompressionLevel Level(const std::string& text)
{
    static const std::map<std::string, TCompressionLevel> levels = { { "none", colNone },
        { "fastest", colFastest }, { "default", colDefault }, { "max", colMax } };
    const auto it = levels.find(text);
    if (it == levels.end())
        throw TUsageError { "unknown compression level: " + text };
    return it->second;
}

int Build(const TArguments& a, std::ostream& out, std::ostream& err)
{
    Expect(a, 2, SIZE_MAX);
    TWndlCompress archive;
    archive.SetCompressedFile(a.positional[0]);
    archive.SetCompressionLevel(Level(a.Get("--level", "max")));
    archive.SetFilesToProcess({ a.positional.begin() + 1, a.positional.end() });
    archive.OnAfterAdding = [&](TWndlCompress&, TlzhFileStats& s) {
        out << "added " << s.FileName << " (" << s.UncompressedSize << " -> " << s.CompressedSize
            << " bytes)\n";
    };
    bool aborted = false;
    archive.OnAborted = [&](TWndlCompress&) { aborted = true; };
    archive.Compress(a.Has("--add") ? lzcOnlyAdd : lzcOverwrite);
    if (aborted)
        err << "setup-archive: " << archivetext::Aborted << "\n";
    return aborted ? 1 : 0;
}

int Split(const TArguments& a, std::ostream& out)
{
    Expect(a, 2, 2);
    TWndlCompress archive;
    OpenArchive(archive, a);
    archive.SetVolumeSize(Number(a.Get("--volume-size", "0"), "volume size"));
    archive.OnNewDisk = [&](TWndlCompress&, int disk, std::string&) {
        out << "starting volume " << disk << "\n";
    };
    const std::string name = a.Get("--name", "files.1");
    archive.Split(a.positional[1], name);
    out << "split " << archive.FileCount() << " file(s) into " << a.positional[1] << "/" << name
        << " and following volumes\n";
    return 0;
}

int Sfx(const TArguments& a, std::ostream& out)
{
    Expect(a, 3, 4);
    BuildSelfExtractingFile(a.positional[1], a.positional[2],
        a.positional.size() > 3 ? a.positional[3] : std::string(), a.positional[0]);
    const TSfxTrailer t = TSfxTrailer::Read(a.positional[0]);
    out << "setup archive at " << t.SetupFirst << ".." << t.SetupLast;
    if (t.FilesFirst != 0)
        out << ", files archive at " << t.FilesFirst << ".." << t.FilesLast;
    out << "\n";
    return 0;
}

int Version(const TArguments& a, std::ostream& out)
{
    Expect(a, 1, 1);
    const std::string version = ReadFileVersion(a.positional[0]);
    out << (version.empty() ? "(none)" : version) << "\n";
    return 0;
}

} // namespace

int RunArchiveTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << Usage;
        return args.empty() ? 2 : 0;
    }
    try {
        const TArguments a = Parse(args);
        const std::string& command = args[0];
        if (command == "list")
            return List(a, out);
        if (command == "extract")
            return Extract(a, out);
        if (command == "build")
            return Build(a, out, err);
        if (command == "split")
            return Split(a, out);
        if (command == "sfx")
            return Sfx(a, out);
        if (command == "version")
            return Version(a, out);
        throw TUsageError { "unknown command: " + command };
    } catch (const TUsageError& e) {
        err << "setup-archive: " << e.text << "\n" << Usage;
        return 2;
    } catch (const EWndlCompress& e) {
        err << "setup-archive: " << e.what() << "\n";
        return 1;
    }
}
