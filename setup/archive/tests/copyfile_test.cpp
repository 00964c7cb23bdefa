#include "setup/archive/errors.h"
#include "setup/archive/filedate.h"
#include "setup/archive/tests/archivefixture.h"
#include "setup/archive/wndlcompress.h"

#include <fcntl.h>
#include <unistd.h>

namespace orvo::test {
namespace {

class CopyFileTest : public ArchiveTest { };

TEST_F(CopyFileTest, CopiesWithDateAndReportsDoneOnTheLastBlock)
{
    for (std::size_t size : { std::size_t(0), std::size_t(100), std::size_t(8192 * 3) }) {
        SCOPED_TRACE(size);
        const std::string content = RandomText(size);
        WriteText(Path("src"), content);
        const int fd = ::open(Path("src").c_str(), O_RDONLY);
        ASSERT_TRUE(SetFileDate(fd, 44444.25));
        ::close(fd);
        TWndlCompress c;
        int blocks = 0;
        int doneReports = 0;
        c.OnStatus = [&](TWndlCompress&, TlzhFileStats& s) {
            ++blocks;
            doneReports += s.Done;
        };
        c.CopyFile(Path("src"), Path("dst/copy"));
        EXPECT_EQ(ReadText(Path("dst/copy")), content);
        double date = 0;
        ASSERT_TRUE(GetFileDate(Path("dst/copy"), date));
        EXPECT_EQ(DateTimeMillis(date), DateTimeMillis(44444.25));
        EXPECT_EQ(blocks, std::max<int>(1, int((size + 8191) / 8192)));
        EXPECT_EQ(doneReports, 1);
    }
}

TEST_F(CopyFileTest, OverwriteChecksAndErrors)
{
    WriteBytes(Path("new"), MakeElf("1.9"));
    ::mkdir(Path("dst").c_str(), 0777);
    WriteBytes(Path("dst/old"), MakeElf("1.10"));
    TWndlCompress c;
    c.SetOverwrite(owVersion);
    c.CopyFile(Path("new"), Path("dst/old"));
    EXPECT_EQ(ReadBytes(Path("dst/old")), MakeElf("1.10"));
    c.SetOverwrite(owAlways);
    c.OnReplace = [](TWndlCompress& self, TlzhFileStats&) { self.SetTargetName("renamed"); };
    c.CopyFile(Path("new"), Path("dst/old"));
    EXPECT_EQ(ReadBytes(Path("dst/renamed")), MakeElf("1.9"));

    try {
        c.CopyFile(Path("absent"), Path("dst/x"));
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_EQ(e.what(), "Cannot open the file " + Path("absent"));
    }
    WriteText(Path("blocker"), "a file where a folder should be");
    try {
        c.CopyFile(Path("new"), Path("blocker/x"));
        FAIL();
    } catch (const EWndlCompress& e) {
        EXPECT_EQ(e.what(), "Cannot create the file " + Path("blocker/x"));
    }

    WriteText(Path("large"), RandomText(100000));
    c.OnStatus = [](TWndlCompress& self, TlzhFileStats&) { self.SetAbort(true); };
    EXPECT_THROW(c.CopyFile(Path("large"), Path("dst/large")), EwcAborted);
    EXPECT_FALSE(FileExists(Path("dst/large")));
}

} // namespace
} // namespace orvo::test
