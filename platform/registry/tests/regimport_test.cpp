#include "platform/registry/registry.h"
#include "testsupport/tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

using registry::Hive;
using registry::RegKey;

namespace {

class RegImportTest : public ::testing::Test {
protected:
    void SetUp() override { RegKey::setRoot(m_home.file("registry")); }
    void TearDown() override { RegKey::resetRoot(); }

    QString put(const QByteArray& bytes)
    {
        const QString name = m_home.file(QString("import%1.reg").arg(m_count++));
        QFile f(name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return name;
    }
    static QByteArray utf16WithBom(const QString& text)
    {
        QByteArray bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        return bytes;
    }
    static RegKey key(Hive hive, const QString& path)
    {
        RegKey k;
        EXPECT_TRUE(k.open(hive, path, false)) << path.toStdString();
        return k;
    }

    testsupport::TempHome m_home;
    int m_count = 0;
};

// What regedit on Windows writes: UTF-16LE with BOM, CRLF, hex data wrapped with backslashes.
const char* const kVersion5 = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Tarvo]

[HKEY_CURRENT_USER\Software\Tarvo\DorAzor Ezevive]
"MainBar_ShowCaptions"="True"
"NormPos"="10,20,630,470"
@="default text"
"Path"="C:\\Program Files\\Tarvo\\DorAzor \"Ezevive\""
"Speed"=dword:00000003
"Expand"=hex(2):25,00,53,00,59,00,53,00,54,00,45,00,4d,00,52,00,4f,00,4f,00,54,\
  00,25,00,00,00
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Blob"=hex:de,ad,\
  be,ef

[HKEY_CURRENT_USER\Software\Tarvo\DorAzor Ezevive\Options]
"ShowTips_Checked"="False"
"ExternalViewer_Text"="Notepad.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Tarvo\DorAzor Ezevive]
"NOMAP"="0"

[HKEY_CLASSES_ROOT\.ncf]
@="txtfile"
)";

TEST_F(RegImportTest, WindowsVersion5ExportInUtf16)
{
    QString text = QString::fromUtf8(kVersion5);
    text.replace("\n", "\r\n");
    QString error;
    ASSERT_TRUE(registry::importRegFile(put(utf16WithBom(text)), &error)) << error.toStdString();

    RegKey main = key(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive");
    EXPECT_EQ(main.readString("MainBar_ShowCaptions"), "True");
    EXPECT_EQ(main.readString("NormPos"), "10,20,630,470");
    EXPECT_EQ(main.readString(""), "default text");
    EXPECT_EQ(main.readString("Path"), "C:\\Program Files\\Tarvo\\DorAzor \"Ezevive\"");
    EXPECT_EQ(main.readInteger("Speed"), 3);
    EXPECT_EQ(main.readString("Expand"), "%SYSTEMROOT%");
    EXPECT_EQ(main.readBinary("Blob"), QByteArray("\xde\xad\xbe\xef"));
    EXPECT_TRUE(main.hasValue("Multi"));
    EXPECT_EQ(key(Hive::CurrentUser, "Software\\Tarvo\\DorAzor Ezevive\\Options")
                  .readString("ExternalViewer_Text"),
        "Notepad.exe");
    EXPECT_EQ(key(Hive::LocalMachine, "SOFTWARE\\Tarvo\\DorAzor Ezevive").readString("NOMAP"), "0");

    // Values of types we do not interpret are kept as they came.
    QFile hive(RegKey::root() + "/HKEY_CURRENT_USER.reg");
    ASSERT_TRUE(hive.open(QIODevice::ReadOnly));
    EXPECT_TRUE(hive.readAll().contains("\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"));
}

TEST_F(RegImportTest, Regedit4AnsiAndUtf8Exports)
{
    const QByteArray latin1 = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tarvo]\n"
                              "\"Caption\"=\"D\xe9j\xe0 vu\"\n"
                              "\"Hex\"=hex(2):41,42,00\n";
    ASSERT_TRUE(registry::importRegFile(put(latin1)));
    RegKey k = key(Hive::CurrentUser, "Software\\Tarvo");
    EXPECT_EQ(k.readString("Caption"), QString::fromUtf8("Déjà vu"));
    EXPECT_EQ(k.readString("Hex"), "AB");

    const QByteArray utf8 = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n"
                            "\"Caption\"=\"Za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87\"\r\n";
    ASSERT_TRUE(registry::importRegFile(put(utf8)));
    EXPECT_EQ(k.readString("caption"), QString::fromUtf8("Zażółć"));
}

TEST_F(RegImportTest, DeletionsInVersion5Files)
{
    RegKey k;
    ASSERT_TRUE(k.open(Hive::CurrentUser, "Software\\Tarvo\\Old\\Deep", true));
    ASSERT_TRUE(k.open(Hive::CurrentUser, "Software\\Tarvo", true));
    ASSERT_TRUE(k.writeString("Gone", "x"));
    ASSERT_TRUE(k.writeString("Kept", "y"));
    const QByteArray file = "Windows Registry Editor Version 5.00\r\n\r\n"
                            "[-HKEY_CURRENT_USER\\Software\\Tarvo\\Old]\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n\"Gone\"=-\r\n";
    ASSERT_TRUE(registry::importRegFile(put(file)));
    EXPECT_EQ(k.valueNames(), QStringList({ "Kept" }));
    EXPECT_TRUE(k.subKeyNames().isEmpty());
}

TEST_F(RegImportTest, MalformedFilesChangeNothing)
{
    RegKey k;
    ASSERT_TRUE(k.open(Hive::CurrentUser, "Software\\Tarvo", true));
    ASSERT_TRUE(k.writeString("Value", "before"));
    const QByteArray cases[] = {
        "",
        "REGEDIT5\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n\"Value\"=\"after\"\r\nnonsense\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tarvo\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n\"Value\"=hex:1g\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n\"Value\"=hex(4):01,02\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n\"Value\"=\"x\" trailing\r\n",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tarvo]\r\n\"Value\"\"x\"\r\n",
    };
    for (const QByteArray& bytes : cases) {
        QString error;
        EXPECT_FALSE(registry::importRegFile(put(bytes), &error)) << bytes.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(k.readString("Value"), "before");
    }
    EXPECT_FALSE(registry::importRegFile(m_home.file("missing.reg")));
}

} // namespace
