#include "diskman/attributes.h"
#include "diskman/entryinfo.h"
#include "diskman/tests/demoservers.h"

#include <cstring>

using namespace nwclient;
using namespace nwproto;

namespace {

using EntryInfo = DemoServers;

std::string dosName(const TEntryInfo& r)
{
    return std::string(r.name, std::min<size_t>(r.nameLength, sizeof r.name));
}

TEST_F(EntryInfo, ReadsAFileOrTheDirectoryItself)
{
    const ConnHandle fs1 = conn("FS1");
    TEntryInfo file;
    std::memset(&file, 0xAB, sizeof file);
    ASSERT_TRUE(ReadEntryInfo(fs1, "VOL1:USERS\\JOHN", "REPORT.DOC", file));
    EXPECT_EQ(dosName(file), "REPORT.DOC");
    EXPECT_EQ(file.info.file.fileSize, 24576u);
    EXPECT_EQ(file.ownerId, userId("FS1", "JOHN"));
    EXPECT_EQ(file.attributes & attr::Directory, 0u);
    EXPECT_NE(file.creationDateAndTime, 0u);
    EXPECT_EQ(file.info.file.reserved[0], 0) << "the record is zeroed first";

    TEntryInfo byLongName {};
    ASSERT_TRUE(ReadEntryInfo(fs1, "VOL1:USERS\\JOHN", "Meeting notes.txt", byLongName));
    EXPECT_NE(byLongName.sequence, file.sequence);

    TEntryInfo dir {};
    ASSERT_TRUE(ReadEntryInfo(fs1, "VOL1:USERS\\PETER", QString(), dir));
    EXPECT_EQ(dosName(dir), "PETER");
    EXPECT_EQ(dir.info.dir.maximumSpace, 2560);
    EXPECT_NE(dir.attributes & attr::Directory, 0u);

    TEntryInfo fs2dir {};
    ASSERT_TRUE(ReadEntryInfoByRef(ref("FS2"), "SYS:HOME\\ANNA", QString(), fs2dir));
    EXPECT_EQ(fs2dir.info.dir.maximumSpace, 1280);
    EXPECT_FALSE(ReadEntryInfoByRef(0, "SYS:HOME\\ANNA", QString(), fs2dir));
}

TEST_F(EntryInfo, FailuresToRead)
{
    const ConnHandle fs1 = conn("FS1");
    TEntryInfo r {};
    // No handle for the directory: false, nothing thrown.
    EXPECT_FALSE(ReadEntryInfo(fs1, "VOL1:NOWHERE", "A.TXT", r));
    Thrown t = thrownBy([&] { ReadEntryInfo(fs1, "VOL1:USERS\\JOHN", "NOPE.TXT", r); });
    EXPECT_EQ(t.message,
        failureText("Error reading file information\rVOL1:USERS\\JOHN\\NOPE.TXT", 0x89FF));

    asUser("JOHN");
    t = thrownBy([&] { ReadEntryInfo(conn("FS1"), "SYS:SYSTEM", QString(), r); });
    EXPECT_EQ(t.message, failureText("Error reading directory information\rSYS:SYSTEM\\", 0x8989));
}

TEST_F(EntryInfo, AttributesOfFilesAndDirectories)
{
    const ConnHandle fs2 = conn("FS2");
    const uint32_t inhibited = nwattr::ReadOnly | nwattr::RenameInhibit | nwattr::DeleteInhibit;
    EXPECT_EQ(FileAttributes(fs2, "SYS:PUBLIC\\FLAG.EXE") & inhibited, inhibited);
    EXPECT_EQ(FileAttributes(fs2, "SYS:PUBLIC\\NDIR.EXE") & inhibited, 0u);
    EXPECT_EQ(FileAttributes(fs2, "SYS:PUBLIC"), 0u); // a directory is no file
    EXPECT_NE(DirectoryAttributes(fs2, "SYS:PUBLIC") & attr::Directory, 0u);
    EXPECT_NE(EntryAttributes(fs2, "SYS:\\PUBLIC", search::Directories) & attr::Directory, 0u);
    EXPECT_EQ(FileAttributes(fs2, "SYS:PUBLIC\\MISSING.EXE"), 0u);
    EXPECT_EQ(FileAttributes(fs2, "SYS:NOWHERE\\FLAG.EXE"), 0u);

    const ConnHandle fs1 = conn("FS1");
    EXPECT_NE(FileAttributes(fs1, "SYS:SYSTEM\\AUTOEXEC.NCF") & nwattr::Sharable, 0u);
    EXPECT_NE(DirectoryAttributes(fs1, "VOL1:SHARED\\Payroll") & attr::Directory, 0u); // long name
}

TEST_F(EntryInfo, RightsOfTheUser)
{
    const ConnRef fs1 = ref("FS1");
    EXPECT_EQ(EffectiveRights(fs1, "SYS:SYSTEM"), rights::All | rights::Supervisor);
    EXPECT_TRUE(HasModifyRight(fs1, "SYS:SYSTEM"));
    EXPECT_EQ(EffectiveRights(fs1, "SYS:NOWHERE"), NoRights);
    EXPECT_FALSE(PathExists(fs1, "SYS:NOWHERE"));
    EXPECT_FALSE(HasModifyRight(fs1, "SYS:NOWHERE"));
    EXPECT_EQ(EffectiveRights(0, "SYS:SYSTEM"), NoRights);

    asUser("JOHN");
    const ConnRef john = ref("FS1");
    EXPECT_EQ(EffectiveRights(john, "SYS:SYSTEM"), 0);
    EXPECT_TRUE(PathExists(john, "SYS:SYSTEM"));
    EXPECT_FALSE(HasAnyRight(john, "SYS:SYSTEM"));
    EXPECT_TRUE(HasAnyRight(john, "SYS:PUBLIC"));
    EXPECT_FALSE(HasModifyRight(john, "SYS:PUBLIC\\NDIR.EXE"));
    EXPECT_TRUE(HasModifyRight(john, "VOL1:USERS\\JOHN\\REPORT.DOC"));
    EXPECT_EQ(EffectiveRights(john, "VOL1:USERS\\JOHN"), rights::All);
}

TEST_F(EntryInfo, FileExistence)
{
    const ConnHandle fs1 = conn("FS1");
    const QString home = "VOL1:USERS\\JOHN";
    EXPECT_TRUE(FileExistsIn(fs1, home, "Meeting notes.txt"));
    EXPECT_TRUE(FileExistsIn(fs1, home, "report.doc"));
    EXPECT_FALSE(FileExistsIn(fs1, home, "Old report.doc")); // erased
    EXPECT_FALSE(FileExistsIn(fs1, "VOL1:USERS", "JOHN")); // a directory
    EXPECT_FALSE(FileExistsIn(fs1, "VOL1:NOWHERE", "A.TXT"));
    EXPECT_TRUE(FileExistsIn(conn("FS2"), "SYS:HOME\\JOHN", "NOTES.TXT"));
    EXPECT_TRUE(FileExistsInByRef(ref("FS2"), "SYS:PUBLIC", "FLAG.EXE"));
    EXPECT_FALSE(FileExistsInByRef(0, "SYS:PUBLIC", "FLAG.EXE"));
}

TEST(Attributes, ReadOnlyCarriesTheInhibits)
{
    using namespace nwattr;
    EXPECT_EQ(
        WithReadOnlyRule(ReadOnly | Archive), ReadOnly | Archive | RenameInhibit | DeleteInhibit);
    EXPECT_EQ(WithReadOnlyRule(Archive | RenameInhibit), Archive | RenameInhibit);
    EXPECT_FALSE(InhibitsEditable(ReadOnly));
    EXPECT_TRUE(InhibitsEditable(Hidden | DeleteInhibit));
}

} // namespace
