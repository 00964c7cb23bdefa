#include "platform/registry/registry.h"
#include "testsupport/tempdir.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using registry::Hive;
using registry::RegKey;

namespace {

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegKey::setRoot(m_home.file("registry")); }
    void TearDown() override { RegKey::resetRoot(); }

    QString hiveFile(Hive hive) const
    {
        return m_home.file("registry/") + registry::hiveName(hive) + ".reg";
    }
    QByteArray fileText(Hive hive) const
    {
        QFile f(hiveFile(hive));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Replaces a hive file the way another process (or an editor) does: a new file renamed
    // over the old one.
    void putFile(Hive hive, const QByteArray& bytes)
    {
        QDir().mkpath(m_home.file("registry"));
        QFile f(hiveFile(hive) + ".new");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        ASSERT_EQ(::rename(QFile::encodeName(f.fileName()).constData(),
                      QFile::encodeName(hiveFile(hive)).constData()),
            0);
    }

    testsupport::TempHome m_home;
};

TEST_F(RegKeyTest, OpenWithoutCreateFailsUntilTheKeyExists)
{
    RegKey key;
    EXPECT_FALSE(key.open(Hive::LocalMachine, "SOFTWARE\\Tarvo\\DorAzor Ezevive", false));
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.readString("NOMAP").has_value());
    EXPECT_FALSE(key.writeString("NOMAP", "0"));
    EXPECT_FALSE(QFile::exists(hiveFile(Hive::LocalMachine)));

    ASSERT_TRUE(key.open(Hive::LocalMachine, "SOFTWARE\\Tarvo\\DorAzor Ezevive", true));
    EXPECT_TRUE(fileText(Hive::LocalMachine).contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvo]"));
    RegKey again;
    EXPECT_TRUE(again.open(Hive::LocalMachine, "SOFTWARE\\Tarvo\\DorAzor Ezevive", false));
    EXPECT_FALSE(again.readString("NOMAP").has_value());
    EXPECT_FALSE(again.open(Hive::CurrentUser, "SOFTWARE\\Tarvo", false));
}

TEST_F(RegKeyTest, InvalidPathsAreRefused)
{
    RegKey key;
    EXPECT_FALSE(key.open(Hive::CurrentUser, "Software\\\\Tarvo", true));
    EXPECT_TRUE(key.open(Hive::CurrentUser, "\\Software\\Tarvo\\", true));
    EXPECT_EQ(key.path(), "Software\\Tarvo");
    EXPECT_FALSE(key.deleteKey(""));
}

TEST_F(RegKeyTest, TextsRoundTripThroughTheFile)
{
    const QString texts[] = {
        "plain",
        "",
        "C:\\Program Files\\Tarvo\\",
        "say \"hi\"",
        "\\\\FS1\\SYS\\PUBLIC",
        "No connections found.\rDo you want to login now ?",
        "line\r\nbreak\n",
        "zażółć ĝ €",
        "trailing backslash\\",
        "=;[]@",
    };
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive\\Options", true));
    int i = 0;
    for (const QString& text : texts)
        ASSERT_TRUE(key.writeString(QString("Item%1 \"q\\").arg(i++), text)) << text.toStdString();

    // Another process replacing the file makes the next call read it again.
    const QByteArray written = fileText(Hive::CurrentUser);
    ASSERT_TRUE(written.startsWith("REGEDIT4\r\n"));
    EXPECT_TRUE(written.contains(R"("Item3 \"q\\"="say \"hi\"")")) << written.toStdString();
    putFile(Hive::CurrentUser, written + "\r\n; touched\r\n");

    RegKey reread;
    ASSERT_TRUE(reread.open(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive\\Options", false));
    i = 0;
    for (const QString& text : texts)
        EXPECT_EQ(reread.readString(QString("Item%1 \"q\\").arg(i++)), text);
}

TEST_F(RegKeyTest, NamesAreCaseInsensitiveAndKeepTheirSpelling)
{
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive", true));
    ASSERT_TRUE(key.writeString("MainBar_ShowCaptions", "True"));
    ASSERT_TRUE(key.writeString("MAINBAR_SHOWCAPTIONS", "False"));
    ASSERT_TRUE(key.writeString("PagePanel_Tag", "3"));
    EXPECT_EQ(key.valueNames(), QStringList({ "MainBar_ShowCaptions", "PagePanel_Tag" }));
    EXPECT_EQ(key.readString("mainbar_showcaptions"), "False");

    RegKey other;
    ASSERT_TRUE(other.open(Hive::CurrentUser, "SOFTWARE\\tarvo\\dorazor ezevive\\Masks", true));
    RegKey parent;
    ASSERT_TRUE(parent.open(Hive::CurrentUser, "software\\TARVO", false));
    EXPECT_EQ(parent.subKeyNames(), QStringList({ "DorAzor Ezevive" }));
    EXPECT_TRUE(parent.hasSubKey("dorazor EZEVIVE"));
    EXPECT_TRUE(fileText(Hive::CurrentUser)
                    .contains("[HKEY_CURRENT_USER\\Software\\Tarvo\\DorAzor Ezevive\\Masks]"));
}

TEST_F(RegKeyTest, IntegersBinariesAndTypes)
{
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Types", true));
    ASSERT_TRUE(key.writeInteger("Ten", 10));
    ASSERT_TRUE(key.writeInteger("Minus", -601));
    ASSERT_TRUE(key.writeBinary("Bytes", QByteArray("\x00\x01\xff", 3)));
    ASSERT_TRUE(key.writeBinary("Empty", QByteArray()));
    ASSERT_TRUE(key.writeString("Text", "10"));
    const QByteArray text = fileText(Hive::CurrentUser);
    EXPECT_TRUE(text.contains("\"Ten\"=dword:0000000a\r\n"));
    EXPECT_TRUE(text.contains("\"Minus\"=dword:fffffda7\r\n"));
    EXPECT_TRUE(text.contains("\"Bytes\"=hex:00,01,ff\r\n"));

    putFile(Hive::CurrentUser, text); // read back from disk
    EXPECT_EQ(key.readInteger("Ten"), 10);
    EXPECT_EQ(key.readInteger("Minus"), -601);
    EXPECT_EQ(key.readBinary("Bytes"), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(key.readBinary("Empty"), QByteArray());
    // A read of another type answers "missing", as the value cannot be that type.
    EXPECT_FALSE(key.readInteger("Text").has_value());
    EXPECT_FALSE(key.readString("Ten").has_value());
    EXPECT_TRUE(key.hasValue("ten"));
}

TEST_F(RegKeyTest, DeletingValuesAndKeys)
{
    RegKey key;
    ASSERT_TRUE(
        key.open(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive\\Disk Manager", true));
    ASSERT_TRUE(key.writeString("DiskView_Width", "200"));
    RegKey list;
    ASSERT_TRUE(list.open(Hive::CurrentUser,
        "Software\\Tarvo\\DorAzor Ezevive\\Disk Manager\\Copy Dialog.EdDestPath_Items", true));
    ASSERT_TRUE(list.writeString("Count", "1"));

    EXPECT_TRUE(key.deleteValue("diskview_width"));
    EXPECT_FALSE(key.deleteValue("diskview_width"));
    RegKey top;
    ASSERT_TRUE(top.open(Hive::CurrentUser, "Software\\Tarvo", false));
    EXPECT_FALSE(top.deleteKey("Missing"));
    EXPECT_TRUE(top.deleteKey("dorazor ezevive"));

    // Keys opened before the deletion no longer read or write.
    EXPECT_FALSE(list.readString("Count").has_value());
    EXPECT_FALSE(list.writeString("Count", "2"));
    EXPECT_FALSE(key.open(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive", false));
    EXPECT_FALSE(fileText(Hive::CurrentUser).contains("DorAzor"));
}

TEST_F(RegKeyTest, EveryWriteLeavesACompleteFileAndNoTemporaries)
{
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Tarvo", true));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(key.writeString(QString("Item%1").arg(i), QString(i * 50, 'x')));
        const QByteArray text = fileText(Hive::CurrentUser);
        EXPECT_TRUE(text.contains(QString("\"Item%1\"").arg(i).toUtf8()));
        EXPECT_TRUE(text.endsWith("\r\n\r\n"));
    }
    EXPECT_EQ(QDir(m_home.file("registry")).entryList(QDir::Files),
        QStringList({ "HKEY_CURRENT_USER.reg" }));
}

TEST_F(RegKeyTest, AWriteThatReturnedSurvivesAKill)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RegKey key;
        const bool ok = key.open(Hive::CurrentUser, "Software\\Tarvo", true)
            && key.writeString("Last", "written");
        if (ok)
            raise(SIGKILL);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Tarvo", false));
    EXPECT_EQ(key.readString("Last"), "written");
}

TEST_F(RegKeyTest, ConcurrentWritersLoseNothing)
{
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            RegKey key;
            if (!key.open(Hive::CurrentUser, QString("Software\\Thread%1").arg(t), true))
                return;
            for (int i = 0; i < 25; ++i)
                key.writeInteger(QString("V%1").arg(i), t * 100 + i);
        });
    }
    for (std::thread& w : writers)
        w.join();
    putFile(Hive::CurrentUser, fileText(Hive::CurrentUser));
    for (int t = 0; t < 4; ++t) {
        RegKey key;
        ASSERT_TRUE(key.open(Hive::CurrentUser, QString("Software\\Thread%1").arg(t), false));
        EXPECT_EQ(key.valueNames().size(), 25);
        EXPECT_EQ(key.readInteger("V24"), t * 100 + 24);
    }
}

TEST_F(RegKeyTest, CorruptFileReadsAsMissingAndIsNotOverwritten)
{
    const QByteArray corrupt = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n"
                               "\"Broken\"=\"no end\r\n";
    const QByteArray cases[] = {
        corrupt,
        "garbage\x01\x02",
        "REGEDIT4\r\n\"Outside\"=\"a key\"\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n", // a foreign hive in this hive's file
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software]\r\n\"Bad\"=dword:123456789\r\n",
    };
    for (const QByteArray& bytes : cases) {
        putFile(Hive::CurrentUser, bytes);
        RegKey key;
        EXPECT_FALSE(key.open(Hive::CurrentUser, "Software", false)) << bytes.toStdString();
        EXPECT_FALSE(key.open(Hive::CurrentUser, "Software\\Tarvo", true));
        EXPECT_EQ(fileText(Hive::CurrentUser), bytes);
    }
    // The other hive is unaffected, and a repaired file is taken up again.
    RegKey machine;
    EXPECT_TRUE(machine.open(Hive::LocalMachine, "Software", true));
    putFile(Hive::CurrentUser, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"A\"=\"b\"\r\n");
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "software", false));
    EXPECT_EQ(key.readString("a"), "b");
}

TEST_F(RegKeyTest, UnwritableFolderRefusesWritesWithoutPretending)
{
    QFile blocker(m_home.file("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RegKey::setRoot(m_home.file("blocker/registry"));
    RegKey key;
    EXPECT_FALSE(key.open(Hive::CurrentUser, "Software\\Tarvo", true));
    EXPECT_FALSE(key.open(Hive::CurrentUser, "Software\\Tarvo", false));
    ASSERT_TRUE(key.open(Hive::CurrentUser, "", false));
    EXPECT_FALSE(key.writeString("A", "b"));
    EXPECT_FALSE(key.readString("A").has_value());
}

TEST_F(RegKeyTest, DefaultFolderFollowsXdgConfigHome)
{
    RegKey::resetRoot();
    EXPECT_EQ(RegKey::root(), m_home.file("config/orvo/registry"));
    RegKey key;
    ASSERT_TRUE(key.open(Hive::CurrentUser, "Software\\Tarvo", true));
    EXPECT_TRUE(QFile::exists(m_home.file("config/orvo/registry/HKEY_CURRENT_USER.reg")));

    testsupport::TempHome other;
    EXPECT_EQ(RegKey::root(), other.file("config/orvo/registry"));
    EXPECT_FALSE(key.open(Hive::CurrentUser, "Software\\Tarvo", false));
}

} // namespace
