#include "apps/setup-archive/archivetool.h"
#include "testsupport/tempdir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {

class ArchiveToolTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const
    {
        return m_home.file(QString::fromStdString(name)).toStdString();
    }
    int Run(const std::vector<std::string>& args)
    {
        m_out.str({});
        m_err.str({});
        return RunArchiveTool(args, m_out, m_err);
    }
    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testsupport::TempHome m_home;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(ArchiveToolTest, BuildSplitSfxAndExtract)
{
    std::string big;
    for (int i = 0; big.size() < 200000; ++i)
        big += std::to_string(i * 7919 % 10007) + " ";
    Write(Path("big.txt"), big);
    Write(Path("small.txt"), "small");
    ASSERT_EQ(Run({ "build", Path("dist/files.1"), Path("big.txt") + ";3", Path("small.txt"),
                  "--level", "fastest" }),
        0)
        << m_err.str();
    EXPECT_NE(m_out.str().find("added " + Path("big.txt")), std::string::npos);

    ASSERT_EQ(Run({ "list", Path("dist/files.1") }), 0) << m_err.str();
    EXPECT_NE(m_out.str().find("2 file(s), one file"), std::string::npos);

    ASSERT_EQ(Run({ "split", Path("dist/files.1"), Path("disks"), "--volume-size", "40000" }), 0)
        << m_err.str();
    EXPECT_NE(m_out.str().find("starting volume 2"), std::string::npos);
    ASSERT_EQ(Run({ "extract", Path("disks/files.1"), Path("out") }), 0) << m_err.str();
    EXPECT_EQ(Read(Path("out/big.txt")), big);
    EXPECT_EQ(Read(Path("out/small.txt")), "small");

    ASSERT_EQ(Run({ "extract", Path("disks/files.1"), Path("out"), "--overwrite", "never" }), 0);
    EXPECT_NE(m_out.str().find("kept existing file for " + Path("small.txt")), std::string::npos);

    Write(Path("loader"), "loader program");
    ASSERT_EQ(Run({ "sfx", Path("setup.exe"), Path("loader"), Path("dist/files.1"),
                  Path("dist/files.1") }),
        0)
        << m_err.str();
    ASSERT_EQ(Run({ "extract", Path("setup.exe"), Path("sfxout"), Path("small.txt"), "--sfx" }), 0)
        << m_err.str();
    EXPECT_EQ(Read(Path("sfxout/small.txt")), "small");
}

TEST_F(ArchiveToolTest, FailuresGiveMessagesAndExitCodes)
{
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(m_err.str().find("usage:"), std::string::npos);
    EXPECT_EQ(Run({ "frobnicate" }), 2);
    EXPECT_NE(m_err.str().find("unknown command: frobnicate"), std::string::npos);
    EXPECT_EQ(Run({ "extract", Path("missing.1"), Path("out"), "--overwrite", "sometimes" }), 2);
    EXPECT_EQ(Run({ "list", Path("missing.1") }), 1);
    EXPECT_EQ(
        m_err.str(), "setup-archive: Cannot open the compressed file " + Path("missing.1") + "\n");
    Write(Path("junk.1"), "junk that is no archive");
    EXPECT_EQ(Run({ "list", Path("junk.1") }), 1);
    EXPECT_NE(m_err.str().find("Could not read the file headers"), std::string::npos);
    EXPECT_EQ(Run({ "list", Path("junk.1"), "--sfx" }), 1);
    EXPECT_EQ(Run({ "version", Path("junk.1") }), 0);
    EXPECT_EQ(m_out.str(), "(none)\n");
}

} // namespace
