#include "setup/archive/embeddedversion.h"
#include "setup/archive/fileversion.h"
#include "setup/archive/tests/archivefixture.h"

#include <unistd.h>

ORVO_EMBED_VERSION("7.8.9");

namespace orvo::test {
namespace {

class FileVersionTest : public ArchiveTest { };

TEST_F(FileVersionTest, ProgramsCarryTheirEmbeddedVersion)
{
    char self[4096] {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    EXPECT_EQ(ReadFileVersion(self), "7.8.9");
}

TEST_F(FileVersionTest, ReadsEveryElfClassAndByteOrder)
{
    for (bool is64 : { true, false }) {
        for (bool bigEndian : { false, true }) {
            WriteBytes(Path("elf"), MakeElf("1.2.3.4", "payload", is64, bigEndian));
            EXPECT_EQ(ReadFileVersion(Path("elf")), "1.2.3.4") << is64 << bigEndian;
        }
    }
}

TEST_F(FileVersionTest, OtherAndDamagedFilesHaveNone)
{
    WriteText(Path("text"), "just text");
    WriteBytes(Path("plain-elf"), MakeElf(""));
    EXPECT_EQ(ReadFileVersion(Path("text")), "");
    EXPECT_EQ(ReadFileVersion(Path("plain-elf")), "");
    EXPECT_EQ(ReadFileVersion(Path("absent")), "");
    const Bytes good = MakeElf("1.0");
    // Whatever is cut off, the reader never reads beyond the file; the version is found only when
    // what it needs is still there.
    for (std::size_t cut = 0; cut < good.size(); cut += 7) {
        WriteBytes(Path("cut"), Bytes(good.begin(), good.begin() + std::ptrdiff_t(cut)));
        const std::string version = ReadFileVersion(Path("cut"));
        EXPECT_TRUE(version.empty() || (version == "1.0" && cut > 200)) << cut;
    }
    for (std::size_t at : { 0x28, 0x3A, 0x3E }) {
        Bytes wild = good;
        wild[at + 1] = 0xFF;
        WriteBytes(Path("wild"), wild);
        EXPECT_EQ(ReadFileVersion(Path("wild")), "") << at;
    }
}

} // namespace
} // namespace orvo::test
