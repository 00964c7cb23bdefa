#include "setup/archive/archivepaths.h"
#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/fileheader.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/versiontext.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>

namespace orvo {
namespace {

TEST(FileHeaderTest, FieldsSitAtTheirStoredOffsets)
{
    TFileHeader h;
    h.FileNumber = 3;
    h.Date = 36526.75;
    h.EndVolume = 2;
    h.EndPosition = 0x01020304;
    h.Name = "C:\\build\\orvo.exe";
    h.NextHeader = 0x11121314;
    h.UncompressedSize = 0x21222324;
    h.DataStart = 0x31323334;
    h.CompressedSize = 0x41424344;
    h.StartVolume = 1;
    h.UniqueId = 1999;
    h.Version = "1.2.3.4";
    const TFileHeader::Bytes b = h.Encode();
    ASSERT_EQ(b.size(), 172u);
    EXPECT_EQ(GetU32(&b[0]), 3u);
    EXPECT_EQ(std::bit_cast<double>(GetU64(&b[4])), 36526.75);
    EXPECT_EQ(b[12], 2);
    EXPECT_EQ(GetU32(&b[16]), 0x01020304u);
    EXPECT_EQ(b[20], h.Name.size());
    EXPECT_EQ(std::memcmp(&b[21], h.Name.data(), h.Name.size()), 0);
    EXPECT_EQ(GetU32(&b[124]), 0x11121314u);
    EXPECT_EQ(GetU32(&b[128]), 0x21222324u);
    EXPECT_EQ(GetU32(&b[132]), 0x31323334u);
    EXPECT_EQ(GetU32(&b[136]), 0x41424344u);
    EXPECT_EQ(b[140], 1);
    EXPECT_EQ(GetU32(&b[144]), 1999u);
    EXPECT_EQ(b[148], 7);
    EXPECT_EQ(std::memcmp(&b[149], "1.2.3.4", 7), 0);
    for (std::size_t reserved : { 13, 14, 15, 141, 142, 143 })
        EXPECT_EQ(b[reserved], 0) << reserved;

    TFileHeader back;
    ASSERT_TRUE(TFileHeader::Decode(b.data(), back));
    EXPECT_EQ(back.Name, h.Name);
    EXPECT_EQ(back.Version, h.Version);
    EXPECT_EQ(back.EndPosition, h.EndPosition);
    EXPECT_EQ(back.UniqueId, h.UniqueId);
}

TEST(FileHeaderTest, CountedLengthsBeyondTheirFieldsAreRejected)
{
    TFileHeader h;
    h.Name = "a";
    TFileHeader::Bytes b = h.Encode();
    TFileHeader out;
    b[20] = 101;
    EXPECT_FALSE(TFileHeader::Decode(b.data(), out));
    b[20] = 1;
    b[148] = 21;
    EXPECT_FALSE(TFileHeader::Decode(b.data(), out));
}

TEST(FileHeaderTest, ListRejectsBlankNamesAndBadIndexes)
{
    TFileHeaders list;
    TFileHeader h;
    h.Name = "  \t";
    try {
        list.Add(h);
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_STREQ(e.what(), "Tried to add an invalid file header");
    }
    try {
        list.At(5);
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_STREQ(e.what(), "5 is an invalid TFileHeader index in TFileHeaders.GetFileHeaders");
    }
}

TEST(VersionTextTest, ComparesPartByPart)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        { "1.10", "1.9", 1 }, // numbers compare by value, not as texts
        { "1.0a", "1.0b", -1 }, // non-numbers compare as texts
        { "1.2.3.4", "1.2.3.4", 0 },
        { "1.2", "1.2.0", -1 }, // the longer text is higher
        { "", "", 0 },
        { "", "0.1", -1 },
        { "1..2", "1.2", 0 }, // empty parts are skipped
        { "2.0", "10.0", -1 },
        { "1.A", "1.a", -1 }, // case-sensitive
        { "99999999999999999999999.1", "99999999999999999999998.9", 1 },
        { "007", "7", 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareVersions(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareVersions(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST(FileDateTest, DateNumbersMatchTheCalendar)
{
    timespec t {};
    ASSERT_TRUE(FileTimeFromDateTime(36526.5, t)); // 2000-01-01 12:00 local time
    std::tm tm {};
    localtime_r(&t.tv_sec, &tm);
    EXPECT_EQ(tm.tm_year, 100);
    EXPECT_EQ(tm.tm_mon, 0);
    EXPECT_EQ(tm.tm_mday, 1);
    EXPECT_EQ(tm.tm_hour, 12);
    EXPECT_DOUBLE_EQ(DateTimeFromFileTime(t), 36526.5);
    EXPECT_EQ(DateTimeText(2.25), "1900-01-01 06:00:00");

    for (double bad : { std::numeric_limits<double>::quiet_NaN(),
             std::numeric_limits<double>::infinity(), 1e300, -1e9 }) {
        EXPECT_FALSE(FileTimeFromDateTime(bad, t)) << bad;
        EXPECT_EQ(DateTimeText(bad), "?");
    }
}

TEST(ArchivePathsTest, NamesAndVolumes)
{
    EXPECT_EQ(FilePart("C:\\build\\orvo.exe"), "orvo.exe");
    EXPECT_EQ(FilePart("/opt/orvo/orvo"), "orvo");
    EXPECT_EQ(ReplaceExtension("/a/files.1", ".12"), "/a/files.12");
    EXPECT_EQ(ReplaceExtension("/a.d/files", ".2"), "/a.d/files.2");
    EXPECT_TRUE(SameVolumeSet("/A/FILES.1", "/a/files.3"));
    EXPECT_FALSE(SameVolumeSet("/a/files.1", "/b/files.1"));
    EXPECT_EQ(FirstWord("C:\\x\\a.exe;7;more"), "C:\\x\\a.exe");
    for (const char* bad : { "", ".", "..", "a/b", "a\\b" })
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    EXPECT_TRUE(IsPlainFileName("..."));
}

} // namespace
} // namespace orvo
