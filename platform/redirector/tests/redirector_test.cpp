#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"
#include "platform/redirector/redirector.h"
#include "platform/redirector/uncfile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nwproto;

namespace {

class RedirectorTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nwclient::initialise(nwclient::WorkstationConfig::demo(dir.path())), cc::Success);
    }
    void TearDown() override { nwclient::terminate(); }
    QTemporaryDir dir;
};

TEST_F(RedirectorTest, ReadsAndWritesServerFilesByUncPath)
{
    const QString path = "\\\\FS1\\VOL1\\USERS\\JOHN\\Big file.bin";
    QByteArray data(300000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    {
        auto f = redirector::file(path);
        ASSERT_TRUE(f->open(QIODevice::WriteOnly));
        EXPECT_EQ(f->write(data), data.size());
    }
    auto f = redirector::file(path);
    ASSERT_TRUE(f->open(QIODevice::ReadOnly));
    EXPECT_EQ(f->size(), data.size());
    EXPECT_EQ(f->readAll(), data);
    ASSERT_TRUE(f->seek(100000));
    EXPECT_EQ(f->read(5), data.mid(100000, 5));
    f->close();

    // The server's own files read as they are.
    redirector::UncFile autoexec("\\\\FS2\\SYS\\SYSTEM\\AUTOEXEC.NCF");
    ASSERT_TRUE(autoexec.open(QIODevice::ReadOnly));
    EXPECT_TRUE(autoexec.readAll().contains("file server name FS2"));

    redirector::UncFile missing("\\\\FS1\\SYS\\NOPE.TXT");
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_EQ(missing.error(), fscc::NoMoreEntries);
    redirector::UncFile noServer("\\\\NOWHERE\\SYS\\X");
    EXPECT_FALSE(noServer.open(QIODevice::ReadOnly));
}

TEST_F(RedirectorTest, EntryOperationsOnServerAndLocalPaths)
{
    const QString remote = "\\\\FS1\\VOL1\\SHARED\\";
    const QString local = dir.filePath("local") + '/';
    for (const QString& base : { remote, local }) {
        SCOPED_TRACE(base.toStdString());
        if (!redirector::isUnc(base))
            QDir().mkpath(base);
        ASSERT_EQ(redirector::createDirectory(base + "New Folder"), cc::Success);
        EXPECT_TRUE(redirector::isDirectory(base + "New Folder"));
        {
            auto f = redirector::file(base + "New Folder/a.txt");
            ASSERT_TRUE(f->open(QIODevice::WriteOnly));
            f->write("hello");
        }
        EXPECT_TRUE(redirector::exists(base + "New Folder/a.txt"));
        EXPECT_FALSE(redirector::isDirectory(base + "New Folder/a.txt"));
        EXPECT_NE(redirector::remove(base + "New Folder"), cc::Success); // not empty
        ASSERT_EQ(
            redirector::rename(base + "New Folder/a.txt", base + "New Folder/b.txt"), cc::Success);
        const QDateTime when(QDate(1999, 12, 31), QTime(23, 58, 0));
        ASSERT_EQ(redirector::setFileDate(base + "New Folder/b.txt", when), cc::Success);
        EXPECT_EQ(redirector::fileDate(base + "New Folder/b.txt"), when);
        EXPECT_FALSE(redirector::exists(base + "New Folder/a.txt"));
        ASSERT_EQ(redirector::remove(base + "New Folder/b.txt"), cc::Success);
        ASSERT_EQ(redirector::remove(base + "New Folder"), cc::Success);
        EXPECT_FALSE(redirector::exists(base + "New Folder"));
        EXPECT_FALSE(redirector::fileDate(base + "New Folder").isValid());
    }
    EXPECT_EQ(redirector::rename("\\\\FS1\\VOL1\\SHARED\\Phone list.txt", "\\\\FS1\\SYS\\x.txt"),
        fscc::NotSameVolume);
    EXPECT_EQ(redirector::rename("\\\\FS1\\VOL1\\SHARED\\Phone list.txt", "\\\\FS2\\SYS\\x.txt"),
        fscc::NotSameVolume);
    EXPECT_TRUE(redirector::exists("\\\\FS1\\VOL1\\SHARED\\Phone list.txt"));
}

} // namespace
