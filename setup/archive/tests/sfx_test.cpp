#include "setup/archive/errors.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/sfxtrailer.h"
#include "setup/archive/tests/archivefixture.h"
#include "setup/archive/wndlcompress.h"

#include <cstring>

namespace orvo::test {
namespace {

class SfxTest : public ArchiveTest { };

TEST_F(SfxTest, SelfExtractingFileCarriesBothArchivesAndTheTrailer)
{
    WriteText(Path("loader"), std::string(1000, 'L'));
    WriteBytes(Path("setup.1"), InlineArchive({ { "install", "setup program" } }));
    WriteBytes(Path("files.1"), InlineArchive({ { "orvo", "console" }, { "help", "text" } }));
    BuildSelfExtractingFile(Path("loader"), Path("setup.1"), Path("files.1"), Path("setup.exe"));

    const Bytes sfx = ReadBytes(Path("setup.exe"));
    const std::size_t setupSize = ReadBytes(Path("setup.1")).size();
    const std::size_t filesSize = ReadBytes(Path("files.1")).size();
    ASSERT_EQ(sfx.size(), 1000 + setupSize + filesSize + 56);
    const std::uint8_t* t = &sfx[sfx.size() - 56];
    EXPECT_EQ(t[0], 14);
    EXPECT_EQ(std::memcmp(t + 1, "SELFEXTRACTING", 14), 0);
    EXPECT_EQ(t[15], 0);
    EXPECT_EQ(GetU32(t + 16), 1000u);
    EXPECT_EQ(GetU32(t + 20), 1000 + setupSize - 1);
    EXPECT_EQ(GetU32(t + 24), 1000 + setupSize);
    EXPECT_EQ(GetU32(t + 28), 1000 + setupSize + filesSize - 1);
    EXPECT_TRUE(std::all_of(t + 32, t + 56, [](std::uint8_t b) { return b == 0; }));

    const TSfxTrailer trailer = TSfxTrailer::Read(Path("setup.exe"));
    TWndlCompress archive;
    archive.SetCompressedFile(Path("setup.exe"));
    archive.SetOffset(trailer.FilesFirst);
    archive.SetExtractDirectory(Path("out"));
    archive.SetFilesToProcess({ "orvo", "help" });
    archive.Extract();
    EXPECT_EQ(ReadText(Path("out/orvo")), "console");
    EXPECT_EQ(ReadText(Path("out/help")), "text");

    archive.SetOffset(trailer.SetupFirst);
    archive.SetFilesToProcess({ "install" });
    archive.Extract();
    EXPECT_EQ(ReadText(Path("out/install")), "setup program");
}

TEST_F(SfxTest, WithoutFilesArchiveAndDamagedTrailers)
{
    WriteText(Path("loader"), "LL");
    WriteBytes(Path("setup.1"), InlineArchive({ { "install", "x" } }));
    BuildSelfExtractingFile(Path("loader"), Path("setup.1"), "", Path("setup.exe"));
    const TSfxTrailer t = TSfxTrailer::Read(Path("setup.exe"));
    EXPECT_EQ(t.FilesFirst, 0u);
    EXPECT_EQ(t.FilesLast, 0u);
    EXPECT_EQ(t.SetupFirst, 2u);

    const std::string message = "Could not read the extraction info from the archive file "
        + Path("bad.exe") + " when trying to find the correct offset into the self extracting file";
    Bytes bad = ReadBytes(Path("setup.exe"));
    PutU32(&bad[bad.size() - 56 + 28], 0x7FFFFFFF);
    PutU32(&bad[bad.size() - 56 + 24], 10);
    for (const Bytes& bytes : { Bytes(20, 0), bad }) {
        WriteBytes(Path("bad.exe"), bytes);
        try {
            TSfxTrailer::Read(Path("bad.exe"));
            ADD_FAILURE();
        } catch (const EWndlCompress& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    EXPECT_THROW(
        BuildSelfExtractingFile(Path("none"), Path("setup.1"), "", Path("out.exe")), EWndlCompress);
    EXPECT_FALSE(FileExists(Path("out.exe")));
}

} // namespace
} // namespace orvo::test
