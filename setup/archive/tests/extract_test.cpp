#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/tests/archivefixture.h"
#include "setup/archive/wndlcompress.h"

#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace orvo::test {
namespace {

std::set<std::string> Listing(const std::string& dir)
{
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d))
            names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

void SetDate(const std::string& path, double date)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_TRUE(SetFileDate(fd, date));
    ::close(fd);
}

class ExtractTest : public ArchiveTest {
protected:
    void WriteArchive(const std::vector<TRawEntry>& entries)
    {
        WriteBytes(Path("files.1"), InlineArchive(entries));
    }
    // Extracts names into Path("out") with the given mode, reading the archive afresh.
    void Run(std::vector<std::string> names, TOverwriteType mode = owAlways)
    {
        m_archive.SetCompressedFile(Path("files.1"));
        m_archive.ReadHeaders();
        m_archive.SetExtractDirectory(Path("out"));
        m_archive.SetOverwrite(mode);
        m_archive.SetFilesToProcess(names);
        m_archive.Extract();
    }
    std::string ExpectFailure(std::vector<std::string> names)
    {
        try {
            Run(names);
        } catch (const EWndlCompress& e) {
            return e.what();
        }
        ADD_FAILURE() << "extraction did not fail";
        return {};
    }

    TWndlCompress m_archive;
};

TEST_F(ExtractTest, OverwriteModesDecideByVersionAndDate)
{
    struct Case {
        const char* what;
        TOverwriteType mode;
        const char* existingVersion; // nullptr: no existing file
        double existingDate;
        const char* newVersion;
        double newDate;
        bool replaced;
    };
    const Case cases[] = {
        { "always replaces", owAlways, "2.0", 45000, "1.0", 44000, true },
        { "never keeps an existing file", owNever, "1.0", 45000, "2.0", 46000, false },
        { "never still extracts a missing file", owNever, nullptr, 0, "1.0", 45000, true },
        { "existing 1.10 beats 1.9", owVersion, "1.10", 45000, "1.9", 46000, false },
        { "1.10 replaces 1.9", owVersion, "1.9", 45000, "1.10", 44000, true },
        { "1.0b replaces 1.0a", owVersion, "1.0a", 45000, "1.0b", 45000, true },
        { "equal versions keep", owVersion, "3.1", 45000, "3.1", 46000, false },
        { "a version beats none", owVersion, "", 45000, "0.1", 44000, true },
        { "newer date replaces", owDate, "1.0", 45000, "1.0", 45000.5, true },
        { "equal date keeps", owDate, "9.0", 45000.25, "1.0", 45000.25, false },
        { "older date keeps", owDate, "1.0", 45000, "1.0", 44999, false },
        { "equal versions, newer date", owVersionDate, "1.2", 45000, "1.2", 45001, true },
        { "equal versions, older date", owVersionDate, "1.2", 45000, "1.2", 44000, false },
        { "higher version, older date", owVersionDate, "1.2", 45000, "1.3", 44000, true },
        { "lower version, newer date", owVersionDate, "1.2", 45000, "1.1", 46000, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes fresh = MakeElf(c.newVersion, "new");
        WriteArchive(
            { { "prog", std::string(fresh.begin(), fresh.end()), c.newVersion, c.newDate } });
        ::mkdir(Path("out").c_str(), 0777);
        const std::string target = Path("out/prog");
        std::remove(target.c_str());
        if (c.existingVersion) {
            WriteBytes(target, MakeElf(c.existingVersion, "old"));
            SetDate(target, c.existingDate);
        }
        int replaces = 0;
        m_archive.OnReplace = [&](TWndlCompress&, TlzhFileStats&) { ++replaces; };
        Run({ "prog" }, c.mode);
        EXPECT_EQ(ReadBytes(target) == fresh, c.replaced);
        EXPECT_EQ(replaces, c.replaced && c.existingVersion ? 1 : 0);
    }
}

TEST_F(ExtractTest, DateComparisonNeedsAReadableExistingFile)
{
    WriteArchive({ { "prog", "new" } });
    ::mkdir(Path("out").c_str(), 0777);
    // A socket exists as a directory entry but cannot be opened, whatever the process's rights.
    const int unreadable = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::string target = Path("out/prog");
    ASSERT_LT(target.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, target.c_str());
    ASSERT_EQ(::bind(unreadable, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    try {
        Run({ "prog" }, owDate);
        ADD_FAILURE();
    } catch (const EWndlCompress& e) {
        EXPECT_STREQ(e.what(), "Error comparing file versions in TWndlCompress");
    }
    ::close(unreadable);
}

TEST_F(ExtractTest, ExtractedFileGetsTheStoredDateAndEventsInOrder)
{
    const std::string content = SampleText(20000);
    WriteArchive({ { "C:\\kit\\Readme.TXT", content, "", 45123.5 } });
    std::vector<std::string> events;
    TlzhFileStats last;
    m_archive.OnBeforeExtracting
        = [&](TWndlCompress&, TlzhFileStats& s) { events.push_back("before " + s.FileName); };
    m_archive.OnStatus = [&](TWndlCompress&, TlzhFileStats& s) {
        if (events.back() != "status")
            events.push_back("status");
        last = s;
    };
    m_archive.OnAfterExtracting
        = [&](TWndlCompress&, TlzhFileStats&) { events.push_back("after"); };
    Run({ "", "c:\\KIT\\readme.txt", "  " });
    EXPECT_EQ(
        events, (std::vector<std::string> { "before C:\\kit\\Readme.TXT", "status", "after" }));
    EXPECT_EQ(ReadText(Path("out/Readme.TXT")), content);
    double date = 0;
    ASSERT_TRUE(GetFileDate(Path("out/Readme.TXT"), date));
    EXPECT_EQ(DateTimeMillis(date), DateTimeMillis(45123.5));
    EXPECT_EQ(last.Done, 1);
    EXPECT_EQ(last.FilePercent, 100);
    EXPECT_EQ(last.OverallPercent, 100);
    EXPECT_EQ(last.FileBytesDone, content.size());
    EXPECT_TRUE(m_archive.FilesToProcess().empty());
}

TEST_F(ExtractTest, HandlersRenameOrSkipTheTarget)
{
    WriteArchive({ { "a", "alpha" }, { "b", "beta" } });
    ::mkdir(Path("out").c_str(), 0777);
    WriteText(Path("out/a"), "old");
    m_archive.OnReplace = [](TWndlCompress& c, TlzhFileStats&) { c.SetTargetName("a.new"); };
    m_archive.OnBeforeExtracting = [](TWndlCompress& c, TlzhFileStats& s) {
        if (s.FileName == "b")
            c.SetSkip(true);
    };
    int doneReports = 0;
    m_archive.OnStatus = [&](TWndlCompress&, TlzhFileStats& s) { doneReports += s.Done; };
    Run({ "a", "b" });
    EXPECT_EQ(ReadText(Path("out/a")), "old");
    EXPECT_EQ(ReadText(Path("out/a.new")), "alpha");
    EXPECT_FALSE(FileExists(Path("out/b")));
    EXPECT_EQ(doneReports, 2);
    EXPECT_TRUE(m_archive.TargetName().empty());

    const std::string longest(255, 'n'); // the longest name a Linux file system takes
    m_archive.OnBeforeExtracting
        = [&](TWndlCompress& c, TlzhFileStats&) { c.SetTargetName(longest); };
    Run({ "a" });
    EXPECT_EQ(ReadText(Path("out/" + longest)), "alpha");
}

TEST_F(ExtractTest, StoredNamesNeverLeaveTheExtractDirectory)
{
    WriteArchive({ { "../escaped", "1" }, { "C:\\x\\..\\..\\win.ini", "2" }, { "/etc/passwd", "3" },
        { "sub/../../up", "4" } });
    Run({ "../escaped", "C:\\x\\..\\..\\win.ini", "/etc/passwd", "sub/../../up" });
    EXPECT_EQ(Listing(Path("out")),
        (std::set<std::string> { ".", "..", "escaped", "win.ini", "passwd", "up" }));
    EXPECT_EQ(
        Listing(Dir()), (std::set<std::string> { ".", "..", "config", "data", "files.1", "out" }));

    for (const char* name : { "..", "dir/..", "C:\\.", "a/" }) {
        WriteArchive({ { name, "x" } });
        EXPECT_EQ(ExpectFailure({ name }).rfind("Cannot create the file ", 0), 0u) << name;
    }
    WriteArchive({ { "ok", "x" } });
    m_archive.OnBeforeExtracting
        = [](TWndlCompress& c, TlzhFileStats&) { c.SetTargetName("../../renamed"); };
    Run({ "ok" });
    EXPECT_EQ(ReadText(Path("out/renamed")), "x");
}

TEST_F(ExtractTest, SymbolicLinkAtTheTargetIsReplacedNotFollowed)
{
    WriteText(Path("outside"), "precious");
    ::mkdir(Path("out").c_str(), 0777);
    ASSERT_EQ(::symlink(Path("outside").c_str(), Path("out/link").c_str()), 0);
    WriteArchive({ { "link", "payload" } });
    Run({ "link" });
    EXPECT_EQ(ReadText(Path("outside")), "precious");
    EXPECT_EQ(ReadText(Path("out/link")), "payload");
}

TEST_F(ExtractTest, DamagedDataFailsAndLeavesNoPartialFile)
{
    const std::string content = SampleText(100000);
    const Bytes good = InlineArchive({ { "data", content } });
    const std::string sizeText = "The decompressed file's size does not match with the actual "
                                 "size of the file.  The file is ";
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        std::string message;
    };
    const Case cases[] = {
        { "stored size too large", [](Bytes& b) { PutU32(&b[5 + 128], 100001); }, sizeText },
        { "stored size too small", [](Bytes& b) { PutU32(&b[5 + 128], 99999); }, sizeText },
        { "garbage in the stream", [](Bytes& b) { b[5 + 172 + 400] ^= 0x55; }, "error" },
        { "checksum wrong", [](Bytes& b) { b.back() ^= 1; }, "error" },
        { "end position cuts the stream",
            [](Bytes& b) { PutU32(&b[5 + 16], GetU32(&b[5 + 16]) - 200); }, sizeText },
        { "not a zlib stream", [](Bytes& b) { b[5 + 172] = 0x12; }, "error" },
        { "preset dictionary asked",
            [](Bytes& b) {
                b[5 + 172] = 0x78;
                b[5 + 172 + 1] = 0xBB; // FDICT set, header check still valid
            },
            "error" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = good;
        c.damage(bytes);
        WriteBytes(Path("files.1"), bytes);
        ::mkdir(Path("out").c_str(), 0777);
        WriteText(Path("out/data"), "existing");
        const std::string message = ExpectFailure({ "data" });
        EXPECT_EQ(message.substr(0, c.message.size()), c.message);
        if (c.message == sizeText) {
            EXPECT_EQ(message, sizeText + Path("out/data"));
        }
        EXPECT_EQ(ReadText(Path("out/data")), "existing");
        EXPECT_EQ(Listing(Path("out")).size(), 3u) << "no temporary file left";
    }
}

TEST_F(ExtractTest, MissingNamesAndAbortAreReported)
{
    WriteArchive({ { "big", SampleText(300000) } });
    EXPECT_EQ(ExpectFailure({ "small;1" }),
        "The file <small> was not found in the archive <" + Path("files.1") + ">");

    m_archive.OnStatus = [](TWndlCompress& c, TlzhFileStats& s) {
        if (s.FileBytesDone > 10000)
            c.SetAbort(true);
    };
    try {
        Run({ "big" });
        FAIL();
    } catch (const EwcAborted& e) {
        EXPECT_STREQ(e.what(), "Operation aborted by user");
    }
    EXPECT_EQ(Listing(Path("out")).size(), 2u);
}

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        Set(bytes);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    void Set(rlim_t bytes)
    {
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    rlimit m_saved {};
};

TEST_F(ExtractTest, FullDiskAsksTheHandlerOrFails)
{
    const std::string content = SampleText(200000);
    WriteArchive({ { "data", content } });
    {
        FileSizeLimit limit(50000);
        try {
            Run({ "data" });
            FAIL();
        } catch (const EwcDiskFull& e) {
            EXPECT_STREQ(e.what(), "The disk is full");
        }
        EXPECT_EQ(Listing(Path("out")).size(), 2u);

        int asked = 0;
        m_archive.OnFullDisk = [&](TWndlCompress&, TlzhFileStats& s) {
            EXPECT_GT(s.FileBytesDone, 0u);
            limit.Set(RLIM_INFINITY);
            return ++asked < 5;
        };
        Run({ "data" });
        EXPECT_EQ(asked, 1);
    }
    EXPECT_EQ(ReadText(Path("out/data")), content);
}

} // namespace
} // namespace orvo::test
