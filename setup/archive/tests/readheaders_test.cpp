#include "setup/archive/errors.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/tests/archivefixture.h"
#include "setup/archive/wndlcompress.h"

#include <functional>

namespace orvo::test {
namespace {

class ReadHeadersTest : public ArchiveTest { };

TEST_F(ReadHeadersTest, InlineLayoutPutsEachHeaderBeforeItsData)
{
    const std::vector<std::string> contents
        = { SampleText(70000, 1), RandomText(3000, 2), SampleText(10, 3) };
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string path = Path("f" + std::to_string(i));
        WriteText(path, contents[i]);
        entries.push_back(path + ";" + std::to_string(10 + i));
    }
    TWndlCompress archive;
    archive.SetCompressedFile(Path("files.1"));
    archive.SetFilesToProcess(entries);
    archive.Compress(lzcOverwrite);

    const Bytes raw = ReadBytes(Path("files.1"));
    ASSERT_GT(raw.size(), 5u);
    EXPECT_EQ(GetU32(raw.data()), 3u);
    EXPECT_EQ(raw[4], 0);
    std::size_t position = 5;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        TFileHeader h;
        ASSERT_LE(position + 172, raw.size());
        ASSERT_TRUE(TFileHeader::Decode(&raw[position], h));
        EXPECT_EQ(h.FileNumber, i + 1);
        EXPECT_EQ(h.Name, Path("f" + std::to_string(i)));
        EXPECT_EQ(h.UniqueId, 10 + i);
        EXPECT_EQ(h.UncompressedSize, contents[i].size());
        EXPECT_EQ(h.DataStart, position + 172) << "data follows its header";
        EXPECT_EQ(h.EndPosition, h.DataStart + h.CompressedSize - 1);
        EXPECT_EQ(h.NextHeader, h.EndPosition + 1) << "next header right after the data";
        EXPECT_EQ(h.StartVolume, 0);
        EXPECT_EQ(h.EndVolume, 0);
        position = h.NextHeader;
    }
    EXPECT_EQ(position, raw.size());

    TWndlCompress reader;
    reader.SetCompressedFile(Path("files.1"));
    ASSERT_EQ(reader.FileCount(), 3);
    EXPECT_FALSE(reader.VolumeFlag());
    EXPECT_EQ(reader.FileStats(2).Header.NextHeader, raw.size());
    EXPECT_TRUE(reader.FileStats(0).Header.FromArchive);
}

TEST_F(ReadHeadersTest, ArchiveInsideALargerFileIsReadAtItsOffset)
{
    Bytes file(1234, 0xAA);
    const Bytes archive = InlineArchive({ { "a.txt", "alpha" }, { "b.txt", "beta" } });
    file.insert(file.end(), archive.begin(), archive.end());
    file.insert(file.end(), 56, 0);
    WriteBytes(Path("setup.exe"), file);

    TWndlCompress reader;
    reader.SetCompressedFile(Path("setup.exe"));
    reader.SetOffset(1234);
    ASSERT_EQ(reader.FileCount(), 2);
    reader.SetExtractDirectory(Path("out"));
    reader.SetFilesToProcess({ "B.TXT" });
    reader.Extract();
    EXPECT_EQ(ReadText(Path("out/b.txt")), "beta");
}

TEST_F(ReadHeadersTest, LookupsByNameAndUniqueId)
{
    WriteBytes(Path("a.1"),
        InlineArchive({ { "C:\\src\\One.exe", "1", "", 1, 5 }, { "two", "2", "", 1, 1999 },
            { "three", "3", "", 1, 70000 } }));
    TWndlCompress reader;
    reader.SetCompressedFile(Path("a.1"));
    EXPECT_EQ(reader.IndexOfName("c:\\SRC\\one.EXE;whatever"), 0);
    EXPECT_EQ(reader.IndexOfName("three"), 2);
    EXPECT_EQ(reader.IndexOfName("one.exe"), -1);
    EXPECT_EQ(reader.IndexOfUniqueId(5), 0);
    EXPECT_EQ(reader.IndexOfUniqueId(1999), 1);
    // An id no header carries must not name some other file.
    for (std::int64_t id : { 0, 6, 2000, 70000, -1 })
        EXPECT_EQ(reader.IndexOfUniqueId(id), -1) << id;
    try {
        reader.FileStats(3);
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_STREQ(e.what(), "Tried to access the 3th file. This file is not defined");
    }
}

TEST_F(ReadHeadersTest, ChangingTheArchiveDropsHeadersUnlessSameVolumeSet)
{
    WriteBytes(Path("a.1"), InlineArchive({ { "x", "1" } }));
    WriteBytes(Path("b.1"), InlineArchive({ { "x", "1" }, { "y", "2" } }));
    TWndlCompress reader;
    reader.SetCompressedFile(Path("a.1"));
    EXPECT_EQ(reader.FileCount(), 1);
    reader.SetCompressedFile(Path("b.1"));
    EXPECT_EQ(reader.FileCount(), 2);
    std::remove(Path("b.1").c_str());
    reader.SetCompressedFile(Path("B.3")); // same set: the loaded headers stay
    EXPECT_EQ(reader.FileCount(), 2);
}

TEST_F(ReadHeadersTest, DamagedHeadersRaiseTheArchiveErrors)
{
    const std::string count = "Could not read the file header count for the compressed file";
    const std::string corrupt = "Could not read the file headers for the compressed file. The "
                                "Archive file could possible be corrupt";
    const Bytes good = InlineArchive({ { "first", SampleText(500) }, { "second", "2" } });
    const std::size_t second = GetU32(&good[5 + 124]);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        std::string message;
    };
    const Case cases[] = {
        { "shorter than the count", [](Bytes& b) { b.resize(3); }, count },
        { "count larger than the file", [](Bytes& b) { PutU32(b.data(), 0x10000000); }, corrupt },
        { "count one too many", [](Bytes& b) { PutU32(b.data(), 3); }, corrupt },
        { "name length over 100", [](Bytes& b) { b[5 + 20] = 101; }, corrupt },
        { "version length over 20", [](Bytes& b) { b[5 + 148] = 200; }, corrupt },
        { "blank name", [](Bytes& b) { std::fill(&b[5 + 21], &b[5 + 26], ' '); }, corrupt },
        { "data end beyond the file", [](Bytes& b) { PutU32(&b[5 + 16], 0xFFFFFF00); }, corrupt },
        { "data start beyond the file", [](Bytes& b) { PutU32(&b[5 + 132], 0x7FFFFFFF); },
            corrupt },
        { "next header beyond the file", [](Bytes& b) { PutU32(&b[5 + 124], 0xFFFFFFF0); },
            corrupt },
        { "cut inside the second header", [=](Bytes& b) { b.resize(second + 100); }, corrupt },
    };
    for (const Case& c : cases) {
        Bytes bytes = good;
        c.damage(bytes);
        WriteBytes(Path("bad.1"), bytes);
        TWndlCompress reader;
        reader.SetCompressedFile(Path("bad.1"));
        try {
            reader.ReadHeaders();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EWndlCompress& e) {
            EXPECT_EQ(e.what(), c.message) << c.what;
        }
    }
    TWndlCompress missing;
    missing.SetCompressedFile(Path("none.1"));
    try {
        missing.FileCount();
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_EQ(e.what(), "Cannot open the compressed file " + Path("none.1"));
    }
}

} // namespace
} // namespace orvo::test
