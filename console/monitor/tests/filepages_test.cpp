#include "console/monitor/fileeditform.h"
#include "console/monitor/fileviewform.h"
#include "console/monitor/findtextdlg.h"
#include "console/monitor/serverfileio.h"
#include "console/monitor/textreplacedlg.h"
#include "console/shell/tarvocombobox.h"
#include "monitorfixture.h"
#include "platform/registry/registry.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextBlock>

using shell::Button;

namespace {

const QString kAutoexec = QStringLiteral("\\\\FS1\\SYS\\SYSTEM\\AUTOEXEC.NCF");
const QString kLog = QStringLiteral("\\\\FS1\\SYS\\ETC\\CONSOLE.LOG");

class FilePagesTest : public MonitorFixture { };

TEST_F(FilePagesTest, TheEditorSavesWithABackupOfTheOldText)
{
    putFile("FS1", "SYS:SYSTEM\\AUTOEXEC.NCF", "load clib\r\nmount all\r\n");
    TFileEditForm page;
    page.Open(kAutoexec);
    ASSERT_TRUE(page.IsOpen());
    EXPECT_FALSE(page.IsReadOnly());
    EXPECT_FALSE(page.SaveEnabled());
    page.Text()->moveCursor(QTextCursor::End);
    page.Text()->insertPlainText("load monitor\n");
    EXPECT_TRUE(page.SaveEnabled());
    EXPECT_TRUE(page.UndoEnabled());
    ASSERT_TRUE(page.Save());
    EXPECT_EQ(fileOf(kAutoexec), "load clib\r\nmount all\r\nload monitor\r\n");
    EXPECT_EQ(fileOf("\\\\FS1\\SYS\\SYSTEM\\AUTOEXEC.BAK"), "load clib\r\nmount all\r\n");
    EXPECT_FALSE(page.SaveEnabled());
}

TEST_F(FilePagesTest, AModifiedTextIsOfferedForSaving)
{
    putFile("FS1", "SYS:SYSTEM\\AUTOEXEC.NCF", "one\r\n");
    TFileEditForm page;
    page.Open(kAutoexec);
    page.Text()->insertPlainText("zero ");
    dialogs.pushButton(Button::No);
    page.CloseQuery();
    EXPECT_EQ(dialogs.calls().last().text,
        "File AUTOEXEC.NCF has been modified.\rDo you want to save changes ?");
    EXPECT_EQ(fileOf(kAutoexec), "one\r\n");
    EXPECT_FALSE(page.IsOpen());

    page.Open(kAutoexec);
    page.Text()->insertPlainText("zero ");
    dialogs.pushButton(Button::Yes);
    page.Open(kAutoexec);
    EXPECT_EQ(fileOf(kAutoexec), "zero one\r\n");
    EXPECT_EQ(page.Text()->toPlainText(), "zero one\n");
}

TEST_F(FilePagesTest, WithoutTheWriteRightTheEditorIsReadOnly)
{
    // EVERYONE may read SYS:PUBLIC, nobody but ADMIN may write there.
    putFile("FS1", "SYS:PUBLIC\\NET$LOG.DAT", "MAP F:=SYS:\r\n");
    john();
    TFileEditForm page;
    page.Open("\\\\FS1\\SYS\\PUBLIC\\NET$LOG.DAT");
    ASSERT_TRUE(page.IsOpen());
    EXPECT_TRUE(page.IsReadOnly());
    EXPECT_EQ(page.Text()->toPlainText(), "MAP F:=SYS:\n");

    // Rights that cannot be read (a file that is not there): the file is not opened.
    page.Open("\\\\FS1\\SYS\\LOGIN\\MISSING.SYS");
    EXPECT_FALSE(page.IsOpen());
    EXPECT_TRUE(dialogs.calls().isEmpty());
}

TEST_F(FilePagesTest, TheLogShowsItsSizeAndEndsOnItsLastLine)
{
    QByteArray log;
    for (int i = 1; i <= 300; ++i)
        log += "Line " + QByteArray::number(i) + " of the console log, padded to some length\r\n";
    log += "last";
    putFile("FS1", "SYS:ETC\\CONSOLE.LOG", log);
    TFileViewForm page;
    page.show();
    page.Open(kLog);
    ASSERT_TRUE(page.IsOpen());
    EXPECT_EQ(page.SizeText(), QString::number(qRound(log.size() / 1024.0)) + " KB");
    EXPECT_EQ(page.Text()->textCursor().block().text(), "last");
    EXPECT_EQ(page.RowText(), "Row: 301");
    EXPECT_TRUE(page.ClearEnabled());
    EXPECT_TRUE(page.FindEnabled());

    dialogs.pushButton(Button::Yes);
    page.ClearLog();
    EXPECT_EQ(dialogs.calls().last().text, "Do you want to clear log file ?");
    EXPECT_EQ(fileOf(kLog), "");
    EXPECT_EQ(page.SizeText(), "0 KB");
    EXPECT_TRUE(page.IsOpen());
}

TEST_F(FilePagesTest, AMissingLogLeavesThePageEmptyWithoutAWord)
{
    TFileViewForm page;
    page.Open("\\\\FS1\\SYS\\SYSTEM\\MISSING.LOG");
    EXPECT_FALSE(page.IsOpen());
    EXPECT_FALSE(page.ClearEnabled());
    EXPECT_FALSE(page.FindEnabled());
    EXPECT_FALSE(page.FindNextEnabled());
    EXPECT_EQ(page.SizeText(), "0 KB");
    EXPECT_TRUE(dialogs.calls().isEmpty());
}

TEST_F(FilePagesTest, FindAndReplace)
{
    putFile("FS1", "SYS:SYSTEM\\AUTOEXEC.NCF", "load a\r\nLOAD b\r\nload c\r\n");
    TFileEditForm page;
    page.Open(kAutoexec);

    TSearchState find { "load", {} };
    page.FindWith(find);
    EXPECT_EQ(page.Text()->textCursor().selectedText(), "load");
    EXPECT_TRUE(page.FindNextEnabled());
    page.FindNext();
    EXPECT_EQ(page.Text()->textCursor().selectedText(), "LOAD");
    page.FindNext();
    page.FindNext();
    EXPECT_EQ(dialogs.calls().last().text, "Search string 'load' not found");

    // Prompted: Yes, No, then Cancel stops the run.
    TSearchState replace { "load", {} };
    replace.options.global = true;
    replace.options.replaceAll = true;
    replace.options.caseSensitive = true;
    dialogs.pushButton(Button::Yes);
    dialogs.pushButton(Button::No);
    page.ReplaceWith(replace, "unload");
    EXPECT_EQ(page.Text()->toPlainText(), "unload a\nLOAD b\nload c\n");
    EXPECT_EQ(dialogs.calls().last().text, "Replace this occurrence?");

    replace.options.prompt = false;
    page.ReplaceWith(replace, "LOAD");
    EXPECT_EQ(page.Text()->toPlainText(), "unLOAD a\nLOAD b\nLOAD c\n");

    dialogs.clear();
    page.ReplaceWith({ "absent", replace.options }, "x");
    EXPECT_EQ(dialogs.texts(), QStringList { "Search string 'absent' not found" });
}

TEST_F(FilePagesTest, DialogsKeepTheirValuesOnlyAfterOk)
{
    const auto stored = [](const char* section, const char* value) {
        registry::RegKey key;
        if (!key.open(registry::Hive::CurrentUser,
                QStringLiteral("Software\\Tarvo\\DorAzor Ezevive\\") + section, false))
            return QStringLiteral("<no key>");
        return key.readString(QString::fromLatin1(value)).value_or(QStringLiteral("<none>"));
    };
    {
        TFindTextDlg d;
        d.show();
        d.EdFindText->setEditText("mount");
        d.CB_CaseSensitive->setChecked(true);
        d.RB_Backward->setChecked(true);
        d.accept();
    }
    EXPECT_EQ(stored("Find Text Dialog", "EdFindText_Text"), "mount");
    EXPECT_EQ(stored("Find Text Dialog", "CB_CaseSensitive_Checked"), "True");
    EXPECT_EQ(stored("Find Text Dialog", "RB_Forward_Checked"), "False");
    EXPECT_EQ(stored("Find Text Dialog.EdFindText_Items", "Item0"), "mount");
    {
        TFindTextDlg d;
        d.show();
        EXPECT_EQ(d.FindText(), "mount");
        EXPECT_TRUE(d.Options().backward);
        d.EdFindText->setEditText("other");
        d.reject();
    }
    EXPECT_EQ(stored("Find Text Dialog", "EdFindText_Text"), "mount");
    {
        TTextReplaceDlg d;
        d.show();
        EXPECT_TRUE(d.CB_PromptOnReplace->isChecked());
        d.EdFindText->setEditText("a");
        d.EdReplaceText->setEditText("b");
        d.CB_WholeWords->setChecked(true);
        d.ReplaceAll();
        EXPECT_EQ(d.result(), TTextReplaceDlg::kReplaceAll);
    }
    EXPECT_EQ(stored("Replace Text Dialog", "EdReplaceText_Text"), "b");
    EXPECT_EQ(stored("Replace Text Dialog", "CB_WholeWords_Checked"), "True");
    EXPECT_EQ(stored("Replace Text Dialog.EdReplaceText_Items", "Item0"), "b");
}

TEST(ServerFileIo, BackupNames)
{
    EXPECT_EQ(serverfileio::BackupPathOf("\\\\FS1\\SYS\\SYSTEM\\AUTOEXEC.NCF"),
        "\\\\FS1\\SYS\\SYSTEM\\AUTOEXEC.BAK");
    EXPECT_EQ(
        serverfileio::BackupPathOf("\\\\FS1\\SYS\\A.B\\NOEXT"), "\\\\FS1\\SYS\\A.B\\NOEXT.BAK");
}

} // namespace
