#include "setup/archive/errors.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/tests/archivefixture.h"
#include "setup/archive/wndlcompress.h"

#include <csignal>
#include <sys/resource.h>
#include <zlib.h>

namespace orvo::test {
namespace {

class CompressTest : public ArchiveTest {
protected:
    TWndlCompress Build(const std::vector<std::string>& entries, TlzhCommand command,
        TCompressionLevel level = colMax)
    {
        TWndlCompress archive;
        archive.SetCompressedFile(Path("files.1"));
        archive.SetCompressionLevel(level);
        archive.SetFilesToProcess(entries);
        archive.Compress(command);
        return archive;
    }
};

TEST_F(CompressTest, LevelsWriteZlibStreamsWithTheirHeaders)
{
    const std::string content = SampleText(50000);
    WriteText(Path("source"), content);
    struct Case {
        TCompressionLevel level;
        std::uint8_t flags; // second zlib header byte: level hint and check bits
    };
    for (const Case c : { Case { colNone, 0x01 }, Case { colFastest, 0x01 },
             Case { colDefault, 0x9C }, Case { colMax, 0xDA } }) {
        SCOPED_TRACE(int(c.level));
        Build({ Path("source") }, lzcOverwrite, c.level);
        const Bytes raw = ReadBytes(Path("files.1"));
        ASSERT_GT(raw.size(), 5u + 172u + 2u);
        EXPECT_EQ(raw[5 + 172], 0x78) << "deflate with a 32 KB window";
        EXPECT_EQ(raw[5 + 172 + 1], c.flags);
        const std::size_t packed = GetU32(&raw[5 + 136]);
        EXPECT_EQ(packed, raw.size() - 5 - 172);
        Bytes plain(content.size());
        uLongf plainSize = plain.size();
        ASSERT_EQ(uncompress(plain.data(), &plainSize, &raw[5 + 172], packed), Z_OK);
        EXPECT_EQ(std::string(plain.begin(), plain.end()), content);
        if (c.level == colNone) {
            EXPECT_GT(packed, content.size());
        }
    }
}

TEST_F(CompressTest, AddingKeepsTheExistingEntries)
{
    WriteText(Path("one"), "first file");
    WriteText(Path("two"), SampleText(70000, 2));
    WriteText(Path("three"), "third");
    Build({ Path("one") + ";42" }, lzcOverwrite);
    std::vector<std::string> added;
    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    archive.OnBeforeAdding = [&](TWndlCompress&, TlzhFileStats& s) { added.push_back(s.FileName); };
    archive.SetFilesToProcess({ Path("two"), Path("three") + ";7;comment" });
    archive.Compress(lzcOnlyAdd);
    EXPECT_EQ(added, (std::vector<std::string> { Path("two"), Path("three") }));
    EXPECT_TRUE(archive.FilesToProcess().empty());

    ASSERT_EQ(archive.FileCount(), 3);
    EXPECT_EQ(archive.IndexOfUniqueId(42), 0);
    EXPECT_EQ(archive.IndexOfUniqueId(1), 1) << "without an id: the 0-based position";
    EXPECT_EQ(archive.IndexOfUniqueId(7), 2);
    EXPECT_EQ(archive.FileStats(2).Header.FileNumber, 3u);
    archive.SetExtractDirectory(Path("out"));
    archive.SetFilesToProcess({ Path("one"), Path("two"), Path("three") });
    archive.Extract();
    EXPECT_EQ(ReadText(Path("out/one")), "first file");
    EXPECT_EQ(ReadText(Path("out/two")), SampleText(70000, 2));
    EXPECT_EQ(ReadText(Path("out/three")), "third");
}

TEST_F(CompressTest, LongNamesAreCutAndMissingSourcesFail)
{
    const std::string dir = Path(std::string(60, 'd'));
    ::mkdir(dir.c_str(), 0777);
    const std::string longPath = dir + "/" + std::string(80, 'f');
    WriteText(longPath, "x");
    TWndlCompress archive = Build({ longPath }, lzcOverwrite);
    EXPECT_EQ(archive.FileStats(0).Header.Name, longPath.substr(0, 100));

    WriteText(Path("keep"), "k");
    Build({ Path("keep") }, lzcOverwrite);
    const Bytes before = ReadBytes(Path("files.1"));
    for (TlzhCommand command : { lzcOnlyAdd, lzcOverwrite }) {
        TWndlCompress failing;
        failing.SetCompressedFile(Path("files.1"));
        failing.SetFilesToProcess({ Path("missing") });
        try {
            failing.Compress(command);
            FAIL();
        } catch (const EWndlCompress& e) {
            EXPECT_EQ(e.what(), "Cannot open the file " + Path("missing"));
            EXPECT_TRUE(failing.Abort());
        }
        if (command == lzcOnlyAdd) {
            EXPECT_EQ(ReadBytes(Path("files.1")), before) << "a failed addition changes nothing";
        } else {
            EXPECT_FALSE(FileExists(Path("files.1"))) << "a failed new archive is removed";
        }
    }
}

TEST_F(CompressTest, AbortFiresOnAbortedAndRestoresTheArchive)
{
    WriteText(Path("small"), "s");
    WriteText(Path("big"), RandomText(300000));
    Build({ Path("small") }, lzcOverwrite);
    const Bytes before = ReadBytes(Path("files.1"));
    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    archive.SetFilesToProcess({ Path("big") });
    archive.OnStatus = [](TWndlCompress& c, TlzhFileStats&) { c.SetAbort(true); };
    int aborted = 0;
    archive.OnAborted = [&](TWndlCompress&) { ++aborted; };
    archive.Compress(lzcOnlyAdd);
    EXPECT_EQ(aborted, 1);
    EXPECT_EQ(ReadBytes(Path("files.1")), before);
}

TEST_F(CompressTest, AppendingToAVolumeSetIsRefused)
{
    WriteText(Path("a"), "a");
    Build({ Path("a") }, lzcOverwrite);
    TWndlCompress splitter;
    splitter.SetCompressedFile(Path("files.1"));
    splitter.Split(Path("set"), "files.1");
    TWndlCompress archive;
    archive.SetCompressedFile(Path("set/files.1"));
    archive.SetFilesToProcess({ Path("a") });
    EXPECT_THROW(archive.Compress(lzcOnlyAdd), EWndlCompress);
    EXPECT_EQ(archive.FileCount(), 1);
}

TEST_F(CompressTest, FullDiskWhileBuildingRaisesDiskFull)
{
    WriteText(Path("big"), RandomText(200000));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 100000;
    setrlimit(RLIMIT_FSIZE, &limit);
    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    archive.SetFilesToProcess({ Path("big") });
    std::string message;
    try {
        archive.Compress(lzcOverwrite);
    } catch (const EwcDiskFull& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(message, "The disk is full");
    EXPECT_FALSE(FileExists(Path("files.1")));
}

} // namespace
} // namespace orvo::test
