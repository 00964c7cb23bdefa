#include "diskman/attributes.h"
#include "diskman/entryinfo.h"
#include "diskman/entrywrite.h"
#include "diskman/listing.h"
#include "diskman/pathforms.h"
#include "diskman/tests/demoservers.h"
#include "netware/restartablethread.h"

using namespace nwclient;
using namespace nwproto;
using shell::Button;

namespace {

using EntryWrite = DemoServers;

const QString kHome = QStringLiteral("VOL1:USERS\\JOHN");
const QString kReport = QStringLiteral("VOL1:USERS\\JOHN\\REPORT.DOC");
const uint32_t kWhen = uint32_t(dostime::date(1999, 12, 31)) << 16 | dostime::time(23, 58, 30);

TEntryInfo entry(ConnHandle c, const QString& directory, const QString& name = QString())
{
    TEntryInfo r {};
    EXPECT_TRUE(ReadEntryInfo(c, directory, name, r));
    return r;
}

TEST_F(EntryWrite, FileAttributesAreReplacedWhole)
{
    const ConnHandle fs1 = conn("FS1");
    SetFileAttributes(ref("FS1"), kReport, nwattr::ReadOnly | nwattr::Hidden);
    EXPECT_EQ(FileAttributes(fs1, kReport), nwattr::ReadOnly | nwattr::Hidden);
    SetFileAttributes(ref("FS1"), kReport, nwattr::PurgeImmediate);
    EXPECT_EQ(FileAttributes(fs1, kReport), nwattr::PurgeImmediate);
    SetFileAttributesConn(fs1, kHome + "\\Meeting notes.txt", nwattr::Sharable);
    EXPECT_EQ(FileAttributes(fs1, kHome + "\\Meeting notes.txt"), nwattr::Sharable);

    const Thrown t = thrownBy([&] { SetFileAttributesConn(fs1, kHome, nwattr::Hidden); });
    EXPECT_EQ(t.message, failureText("Error setting attribute of\r" + kHome, 0x89FF));
}

TEST_F(EntryWrite, DirectoryAttributesOfOneDirectoryOrTheSubtree)
{
    const ConnHandle fs1 = conn("FS1");
    const QString shared = "VOL1:SHARED";
    const QString payroll = "VOL1:SHARED\\Payroll";
    SetDirectoryAttributes(ref("FS1"), shared, nwattr::Hidden, false);
    EXPECT_EQ(DirectoryAttributes(fs1, shared), attr::Directory | nwattr::Hidden);
    EXPECT_EQ(DirectoryAttributes(fs1, payroll), attr::Directory);

    SetDirectoryAttributes(ref("FS1"), shared, nwattr::DontCompress, true);
    EXPECT_EQ(DirectoryAttributes(fs1, shared), attr::Directory | nwattr::DontCompress);
    EXPECT_EQ(DirectoryAttributes(fs1, payroll), attr::Directory | nwattr::DontCompress);
    EXPECT_EQ(FileAttributes(fs1, shared + "\\Phone list.txt") & nwattr::DontCompress, 0u);

    // DOS names only: the path is upper-cased for the server.
    const ConnHandle fs2 = conn("FS2");
    SetDirectoryAttributesConn(fs2, "sys:home\\john", nwattr::Hidden);
    EXPECT_EQ(DirectoryAttributes(fs2, "SYS:HOME\\JOHN"), attr::Directory | nwattr::Hidden);
    EXPECT_TRUE(m_dialogs.calls().isEmpty());
}

TEST_F(EntryWrite, SubtreeFailuresAskOkOrAbort)
{
    asUser("MARY");
    // MARY may change her payroll folder but not SHARED above it.
    m_dialogs.pushButton(Button::Ok);
    SetDirectoryAttributes(ref("FS1"), "VOL1:SHARED", nwattr::Hidden, true);
    ASSERT_EQ(m_dialogs.calls().size(), 1);
    EXPECT_EQ(m_dialogs.calls()[0].text.toStdString(),
        failureText("Error setting attribute of\rVOL1:SHARED", 0x898C));
    EXPECT_EQ(m_dialogs.calls()[0].buttons, Button::Ok | Button::Abort);
    m_dialogs.pushButton(Button::Abort);
    EXPECT_THROW(
        SetDirectoryAttributes(ref("FS1"), "VOL1:SHARED", nwattr::Archive, true), EAbortPass);

    asUser("ADMIN");
    const ConnHandle fs1 = conn("FS1");
    EXPECT_EQ(DirectoryAttributes(fs1, "VOL1:SHARED\\Payroll"), attr::Directory | nwattr::Archive);
    EXPECT_EQ(DirectoryAttributes(fs1, "VOL1:SHARED"), attr::Directory);
}

TEST_F(EntryWrite, EntryRecordAttributesNeedTheModifyRight)
{
    const QString shared = "VOL1:SHARED";
    asUser("JOHN"); // STAFF: every right in SHARED but Modify and Access Control
    TEntryInfo r = entry(conn("FS1"), shared);
    r.attributes |= nwattr::Hidden;
    const Thrown t = thrownBy([&] { SetDirectoryEntryAttributes(ref("FS1"), shared, r); });
    EXPECT_EQ(t.message, failureText("Error setting attribute of\r" + shared, 35240));
    EXPECT_EQ(t.code, 35240);
    EXPECT_EQ(t.message.substr(t.message.rfind('\r') + 1), "Access denied (89A8)");

    asUser("ADMIN");
    EXPECT_EQ(DirectoryAttributes(conn("FS1"), shared), attr::Directory);
    SetDirectoryEntryAttributes(ref("FS1"), shared, r);
    EXPECT_EQ(DirectoryAttributes(conn("FS1"), shared), attr::Directory | nwattr::Hidden);

    const Thrown missing
        = thrownBy([&] { SetDirectoryEntryAttributes(ref("FS1"), "VOL1:NOWHERE", r); });
    EXPECT_EQ(missing.message, failureText("Error creating directory handle", missing.code));
}

TEST_F(EntryWrite, OwnerOfAnEntryOrAWholeSubtree)
{
    const ConnHandle fs1 = conn("FS1");
    const uint32_t mary = userId("FS1", "MARY");
    SetOwner(ref("FS1"), kReport, true, mary, false);
    EXPECT_EQ(entry(fs1, kHome, "REPORT.DOC").ownerId, mary);
    SetOwner(ref("FS1"), kHome, false, mary, false);
    EXPECT_EQ(entry(fs1, kHome).ownerId, mary);
    EXPECT_NE(entry(fs1, kHome, "Budget 1998.xls").ownerId, mary);

    const uint32_t peter = userId("FS1", "PETER");
    SetOwner(ref("FS1"), "VOL1:USERS", false, peter, true);
    for (const char* dir : { "VOL1:USERS", "VOL1:USERS\\JOHN", "VOL1:USERS\\MARY" }) {
        EXPECT_EQ(entry(fs1, dir).ownerId, peter) << dir;
        for (const QString& file : ListFiles(fs1, "*", dir, false))
            EXPECT_EQ(entry(fs1, dir, file).ownerId, peter) << file.toStdString();
    }
    EXPECT_NE(entry(fs1, "VOL1:SHARED").ownerId, peter);

    const Thrown t = thrownBy([&] { SetOwner(ref("FS1"), kReport, true, 0x7777777, false); });
    EXPECT_EQ(t.message, failureText("Error modifing owner id", 0x89FC));
}

TEST_F(EntryWrite, ModifierAndDates)
{
    const ConnHandle fs1 = conn("FS1");
    const ConnRef r = ref("FS1");
    const uint32_t mary = userId("FS1", "MARY");
    SetModifier(r, kReport, true, mary);
    SetCreationDate(r, kReport, true, kWhen);
    SetModifyDate(r, kReport, true, kWhen + 1);
    SetArchiveDate(r, kReport, true, kWhen + 2);
    SetLastAccessDate(r, kReport, kWhen);
    const TEntryInfo file = entry(fs1, kHome, "REPORT.DOC");
    EXPECT_EQ(file.info.file.lastUpdatorId, mary);
    EXPECT_EQ(file.creationDateAndTime, kWhen);
    EXPECT_EQ(file.updateDateAndTime, kWhen + 1);
    EXPECT_EQ(file.lastArchiveDateAndTime, kWhen + 2);
    EXPECT_EQ(file.info.file.lastAccessDate, kWhen >> 16);

    SetCreationDate(r, kHome, false, kWhen);
    SetModifyDate(r, kHome, false, kWhen + 3);
    SetArchiveDate(r, kHome, false, kWhen + 4);
    const TEntryInfo dir = entry(fs1, kHome);
    EXPECT_EQ(dir.creationDateAndTime, kWhen);
    EXPECT_EQ(dir.updateDateAndTime, kWhen + 3);
    EXPECT_EQ(dir.lastArchiveDateAndTime, kWhen + 4);

    // A file given as a directory is not found.
    const Thrown t = thrownBy([&] { SetCreationDate(r, kReport, false, kWhen); });
    EXPECT_EQ(t.message, failureText("Error modifing creation date\r" + kReport, 0x899C));
}

TEST_F(EntryWrite, SpaceLimits)
{
    const ConnRef r = ref("FS1");
    SetMaximumSpace(r, kHome, 100);
    EXPECT_EQ(entry(conn("FS1"), kHome).info.dir.maximumSpace, 100);
    SetMaximumSpace(r, "VOL1:USERS\\PETER", 0);
    EXPECT_EQ(entry(conn("FS1"), "VOL1:USERS\\PETER").info.dir.maximumSpace, 0);
    SetMaximumSpace(ref("FS2"), "SYS:HOME\\JOHN", 1280);
    EXPECT_EQ(entry(conn("FS2"), "SYS:HOME\\JOHN").info.dir.maximumSpace, 1280);
}

TEST_F(EntryWrite, RefusalsForAnOrdinaryUserCarryTheirTexts)
{
    asUser("JOHN");
    const ConnRef r = ref("FS1");
    const QString ndir = "SYS:PUBLIC\\NDIR.EXE";
    const struct {
        const char* what;
        std::function<void()> work;
        QString context;
        int32_t code = 0x898C;
    } cases[] = {
        { "file attributes", [&] { SetFileAttributes(r, ndir, nwattr::Hidden); },
            "Error setting attribute of\r" + ndir },
        { "directory attributes",
            [&] { SetDirectoryAttributes(r, "SYS:PUBLIC", nwattr::Hidden, false); },
            "Error setting attribute of\rSYS:PUBLIC" },
        { "owner", [&] { SetOwner(r, ndir, true, 1, false); }, "Error modifing owner id" },
        { "owner in the own home", [&] { SetOwner(r, kReport, true, 1, false); },
            "Error modifing owner id" }, // needs the Supervisor right
        { "modifier", [&] { SetModifier(r, ndir, true, 1); }, "Error modifing modifier id" },
        { "creation", [&] { SetCreationDate(r, ndir, true, kWhen); },
            "Error modifing creation date\r" + ndir },
        { "modification", [&] { SetModifyDate(r, ndir, true, kWhen); },
            "Error modifing last modification date\r" + ndir },
        { "archive", [&] { SetArchiveDate(r, "SYS:PUBLIC", false, kWhen); },
            "Error modifing archive date\rSYS:PUBLIC" },
        { "last access", [&] { SetLastAccessDate(r, ndir, kWhen); },
            "Error modifing last access date\r" + ndir },
        { "space limit", [&] { SetMaximumSpace(r, kHome, 10); },
            "Error setting maximum space restriction\r" + kHome },
        { "rename", [&] { RenameFile(r, ndir, "SYS:PUBLIC\\N.EXE"); },
            "Unable to rename file\r" + ndir, 0x898B },
    };
    for (const auto& c : cases) {
        const Thrown t = thrownBy(c.work);
        EXPECT_EQ(t.message, failureText(c.context, c.code)) << c.what;
        EXPECT_EQ(t.code, c.code) << c.what;
    }
    const TEntryInfo after = entry(conn("FS1"), "SYS:PUBLIC", "NDIR.EXE");
    EXPECT_EQ(after.attributes & nwattr::Hidden, 0u);
    EXPECT_NE(after.creationDateAndTime, kWhen);

    // In the own home the same user may change attributes and dates.
    SetFileAttributes(r, kReport, nwattr::Hidden);
    SetModifyDate(r, kReport, true, kWhen);
    EXPECT_EQ(entry(conn("FS1"), kHome, "REPORT.DOC").updateDateAndTime, kWhen);

    m_dialogs.pushButton(Button::Ok);
    SetOwner(r, kHome, false, 1, true);
    EXPECT_EQ(m_dialogs.calls().size(), 1);
}

TEST_F(EntryWrite, RenamingFilesAndDirectories)
{
    const ConnRef r = ref("FS1");
    const ConnHandle fs1 = conn("FS1");
    RenameFile(r, kReport, kHome + "\\REPORT.OLD");
    EXPECT_FALSE(FileExistsIn(fs1, kHome, "REPORT.DOC"));
    EXPECT_TRUE(FileExistsIn(fs1, kHome, "REPORT.OLD"));
    RenameFile(r, kHome + "\\REPORT.OLD", "VOL1:SHARED\\Moved report.doc");
    EXPECT_TRUE(FileExistsIn(fs1, "VOL1:SHARED", "Moved report.doc"));

    const Thrown exists = thrownBy(
        [&] { RenameFile(r, kHome + "\\Budget 1998.xls", kHome + "\\Meeting notes.txt"); });
    EXPECT_EQ(exists.message,
        failureText("Unable to rename file\r" + kHome + "\\Budget 1998.xls", 0x8992));
    const Thrown inhibited
        = thrownBy([&] { RenameFile(ref("FS2"), "SYS:PUBLIC\\FLAG.EXE", "SYS:PUBLIC\\F.EXE"); });
    EXPECT_EQ(
        inhibited.message, failureText("Unable to rename file\rSYS:PUBLIC\\FLAG.EXE", 0x898B));

    EXPECT_TRUE(RenameDirectory(r, "VOL1:SHARED\\Payroll", "Salaries"));
    EXPECT_EQ(SubdirectoryList(fs1, "VOL1:SHARED"), QStringList({ "Salaries" }));
    EXPECT_FALSE(RenameDirectory(r, "VOL1:USERS\\JOHN", "MARY"));
    EXPECT_FALSE(RenameDirectory(r, "VOL1:NOWHERE", "ELSEWHERE"));
    EXPECT_FALSE(RenameDirectory(0, "VOL1:SHARED", "X"));
}

} // namespace
