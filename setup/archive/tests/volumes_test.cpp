#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/tests/archivefixture.h"
#include "setup/archive/wndlcompress.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo::test {
namespace {

class VolumesTest : public ArchiveTest {
protected:
    // A volume set by hand: one file whose data is split after cut bytes, junk after its end.
    void WriteTwoVolumes(const std::string& content, std::size_t cut)
    {
        const Bytes data = Deflate(content);
        ASSERT_LT(cut, data.size());
        TFileHeader h;
        h.FileNumber = 1;
        h.Date = 45000;
        h.Name = "big.dat";
        h.UncompressedSize = static_cast<std::uint32_t>(content.size());
        h.CompressedSize = static_cast<std::uint32_t>(data.size());
        h.StartVolume = 1;
        h.DataStart = 5 + 172;
        h.EndVolume = 2;
        h.EndPosition = static_cast<std::uint32_t>(data.size() - cut - 1);
        h.NextHeader = 5 + 172;
        Bytes first(5);
        PutU32(first.data(), 1);
        first[4] = 1;
        const TFileHeader::Bytes header = h.Encode();
        first.insert(first.end(), header.begin(), header.end());
        first.insert(first.end(), data.begin(), data.begin() + std::ptrdiff_t(cut));
        Bytes second(data.begin() + std::ptrdiff_t(cut), data.end());
        second.insert(second.end(), 300, 0xEE); // beyond the end position: never read
        WriteBytes(Path("files.1"), first);
        WriteBytes(Path("files.2"), second);
    }

    void Extract(TWndlCompress& archive, const std::string& name, const std::string& dir)
    {
        archive.SetExtractDirectory(dir);
        archive.SetFilesToProcess({ name });
        archive.Extract();
    }
};

TEST_F(VolumesTest, DataCrossesIntoTheNextVolumeAndStopsAtItsEndPosition)
{
    const std::string content = SampleText(150000);
    WriteTwoVolumes(content, 20000);
    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    ASSERT_TRUE(archive.VolumeFlag());
    Extract(archive, "big.dat", Path("out"));
    EXPECT_EQ(ReadText(Path("out/big.dat")), content);
}

TEST_F(VolumesTest, NewDiskHandlerPointsToTheVolume)
{
    const std::string content = SampleText(150000);
    WriteTwoVolumes(content, 20000);
    ::mkdir(Path("disk2").c_str(), 0777);
    ASSERT_EQ(std::rename(Path("files.2").c_str(), Path("disk2/files.2").c_str()), 0);

    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    try {
        Extract(archive, "big.dat", Path("out"));
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_STREQ(e.what(), "Could not open the correct disk file 2");
    }

    std::vector<std::pair<int, std::string>> asked;
    archive.OnNewDisk = [&](TWndlCompress&, int disk, std::string& path) {
        asked.emplace_back(disk, path);
        path = Path("disk2");
    };
    Extract(archive, "big.dat", Path("out"));
    EXPECT_EQ(ReadText(Path("out/big.dat")), content);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(2, Dir()));

    int attempts = 0;
    archive.OnNewDisk = [&](TWndlCompress&, int, std::string& path) {
        ++attempts;
        path = Path("nowhere");
    };
    try {
        Extract(archive, "big.dat", Path("out2"));
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_EQ(e.what(), "Cannot open the compressed file " + Path("nowhere/files.2"));
    }
    EXPECT_EQ(attempts, 4);
    EXPECT_FALSE(FileExists(Path("out2/big.dat")));

    archive.OnNewDisk = [](TWndlCompress& c, int, std::string&) { c.SetAbort(true); };
    EXPECT_THROW(Extract(archive, "big.dat", Path("out2")), EwcAborted);
}

TEST_F(VolumesTest, BuildSplitExtractGivesIdenticalFilesAndDates)
{
    struct Source {
        std::string name;
        Bytes bytes;
        double date;
    };
    const Bytes program = MakeElf("2.4.1", SampleText(90000, 7));
    const std::string text = SampleText(250000, 8);
    const std::string noise = RandomText(40000, 9);
    const std::vector<Source> sources = {
        { "orvo", program, 45100.125 },
        { "readme.txt", Bytes(text.begin(), text.end()), 44000.5 },
        { "empty", {}, 43000 },
        { "noise.bin", Bytes(noise.begin(), noise.end()), 45200.75 },
    };
    std::vector<std::string> entries;
    ::mkdir(Path("src").c_str(), 0777);
    for (const Source& s : sources) {
        const std::string path = Path("src/" + s.name);
        WriteBytes(path, s.bytes);
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_TRUE(SetFileDate(fd, s.date));
        ::close(fd);
        entries.push_back(path);
    }
    TWndlCompress builder;
    builder.SetCompressedFile(Path("build/files.1"));
    builder.SetFilesToProcess(entries);
    builder.Compress(lzcOverwrite);

    TWndlCompress splitter;
    splitter.SetCompressedFile(Path("build/files.1"));
    splitter.SetVolumeSize(60000);
    std::vector<int> disks;
    splitter.OnNewDisk = [&](TWndlCompress&, int disk, std::string& path) {
        disks.push_back(disk);
        EXPECT_EQ(path, Path("floppy"));
    };
    splitter.Split(Path("floppy"), "files.1");
    ASSERT_GE(disks.size(), 2u);
    for (std::size_t i = 0; i < disks.size(); ++i) {
        EXPECT_EQ(disks[i], int(i) + 2);
        struct stat st { };
        ASSERT_EQ(::stat(Path("floppy/files." + std::to_string(i + 1)).c_str(), &st), 0);
        EXPECT_EQ(st.st_size, 60000);
    }

    TWndlCompress reader;
    reader.SetCompressedFile(Path("floppy/files.1"));
    ASSERT_TRUE(reader.VolumeFlag());
    ASSERT_EQ(reader.FileCount(), 4);
    bool crossing = false;
    for (int i = 0; i < 4; ++i) {
        const TFileHeader h = reader.FileStats(i).Header;
        EXPECT_EQ(h.NextHeader, 5u + 172u * unsigned(i + 1));
        crossing = crossing || h.EndVolume > h.StartVolume;
    }
    EXPECT_TRUE(crossing);
    EXPECT_EQ(reader.FileStats(0).Header.Version, "2.4.1");
    std::vector<std::string> names;
    for (const std::string& e : entries)
        names.push_back(e);
    reader.SetExtractDirectory(Path("installed"));
    reader.SetFilesToProcess(names);
    reader.Extract();
    for (const Source& s : sources) {
        SCOPED_TRACE(s.name);
        const std::string path = Path("installed/" + s.name);
        EXPECT_EQ(ReadBytes(path), s.bytes);
        double date = 0;
        ASSERT_TRUE(GetFileDate(path, date));
        EXPECT_EQ(DateTimeMillis(date), DateTimeMillis(s.date));
    }
    EXPECT_EQ(ReadFileVersion(Path("installed/orvo")), "2.4.1");
    struct stat st { };
    ASSERT_EQ(::stat(Path("installed/orvo").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0100, 0u) << "a program stays executable";
}

TEST_F(VolumesTest, SplitFailuresAndAbort)
{
    WriteText(Path("a"), RandomText(30000));
    WriteText(Path("b"), RandomText(30000, 2));
    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    archive.SetFilesToProcess({ Path("a"), Path("b") });
    archive.Compress(lzcOverwrite);

    const auto failure = [&](const std::string& dir) -> std::string {
        try {
            archive.Split(Path(dir), "files.1");
        } catch (const EWndlCompress& e) {
            EXPECT_TRUE(archive.Abort());
            return e.what();
        }
        return "no failure";
    };
    archive.SetVolumeSize(40000);
    EXPECT_EQ(failure("v1"),
        "There was no event handler for the OnNewDisk event, therefore no new disk could be "
        "inserted");
    archive.SetVolumeSize(300);
    archive.OnNewDisk = [](TWndlCompress&, int, std::string&) {};
    EXPECT_EQ(failure("v2"), "There is too little space on this disk to operate");
    archive.SetVolumeSize(0);
    EXPECT_EQ(failure(""), "Cannot create the file " + Path("files.1"));
    EXPECT_EQ(ReadBytes(Path("files.1")).size() > 60000, true) << "the source is untouched";

    bool aborted = false;
    archive.OnAborted = [&](TWndlCompress&) { aborted = true; };
    archive.OnStatus = [](TWndlCompress& c, TlzhFileStats&) { c.SetAbort(true); };
    archive.Split(Path("v3"), "files.1");
    EXPECT_TRUE(aborted);
    TWndlCompress partial;
    partial.SetCompressedFile(Path("v3/files.1"));
    EXPECT_EQ(partial.FileCount(), 0) << "an unfinished set names no files";
}

} // namespace
} // namespace orvo::test
