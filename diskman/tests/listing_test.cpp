#include "diskman/entryinfo.h"
#include "diskman/listing.h"
#include "diskman/namespaces.h"
#include "diskman/pathforms.h"
#include "diskman/tests/demoservers.h"
#include "netware/errors.h"
#include "netware/restartablethread.h"
#include "platform/nwproto/fsrecords.h"

using namespace nwclient;
using namespace nwproto;
using shell::Button;

namespace {

using Listing = DemoServers;

QStringList sortedCopy(QStringList l)
{
    l.sort(Qt::CaseInsensitive);
    return l;
}

TEST_F(Listing, SubdirectoriesWithAndWithoutFullPaths)
{
    const ConnHandle fs1 = conn("FS1");
    EXPECT_EQ(
        SubdirectoryList(fs1, "SYS:"), QStringList({ "ETC", "LOGIN", "MAIL", "PUBLIC", "SYSTEM" }));
    EXPECT_EQ(SubdirectoryList(fs1, "VOL1:SHARED"), QStringList({ "Payroll" }));
    EXPECT_EQ(SubdirectoryList(fs1, "VOL1:SHARED\\Payroll"), QStringList());

    QStringList list { "kept" };
    ListSubdirectories(fs1, "VOL1:USERS", true, list);
    EXPECT_EQ(sortedCopy(list),
        QStringList({ "kept", "VOL1:USERS\\JOHN", "VOL1:USERS\\MARY", "VOL1:USERS\\PETER" }));
    list.clear();
    ListSubdirectories(fs1, "VOL1:USERS\\", true, list);
    EXPECT_EQ(sortedCopy(list),
        QStringList({ "VOL1:USERS\\JOHN", "VOL1:USERS\\MARY", "VOL1:USERS\\PETER" }));

    EXPECT_EQ(SubdirectoryList(conn("FS2"), "SYS:HOME"), QStringList({ "ANNA", "JOHN" }));
}

TEST_F(Listing, FilesInTheVolumesNameSpaceOrDosOnly)
{
    const ConnHandle fs1 = conn("FS1");
    const QString home = "VOL1:USERS\\JOHN";
    // Erased files are not listed.
    EXPECT_EQ(sortedCopy(ListFiles(fs1, "*.*", home, false)),
        QStringList({ "Budget 1998.xls", "Meeting notes.txt", "REPORT.DOC" }));
    EXPECT_EQ(ListFiles(fs1, "*.txt", home, false), QStringList({ "Meeting notes.txt" }));
    const QStringList dos = ListFiles(fs1, "*", home, true);
    EXPECT_EQ(dos.size(), 3);
    EXPECT_TRUE(dos.contains(DOSNameOf(fs1, home, "Meeting notes.txt")));
    EXPECT_TRUE(dos.contains("REPORT.DOC"));
    EXPECT_EQ(ListFiles(fs1, "*.NLM", "SYS:SYSTEM", false).size(), 9);
}

TEST_F(Listing, FailuresNameTheListingNotThePath)
{
    const ConnHandle fs1 = conn("FS1");
    Thrown t = thrownBy([&] { ListFiles(fs1, "*", "VOL1:NOWHERE", false); });
    EXPECT_EQ(t.message, failureText("Error creating directory handle", t.code));

    asUser("JOHN");
    const ConnHandle john = conn("FS1");
    t = thrownBy([&] { ListFiles(john, "*", "SYS:SYSTEM", false); });
    EXPECT_EQ(t.message, failureText("Error geting file list", 0x8989));
    EXPECT_EQ(t.code, 0x8989);
    t = thrownBy([&] { SubdirectoryList(john, "SYS:MAIL"); }); // Create only, no File Scan
    EXPECT_EQ(t.message, failureText("Error geting file list", 0x8989));
}

TEST_F(Listing, WalkVisitsEachDirectoryAfterItsSubdirectories)
{
    const ConnHandle fs1 = conn("FS1");
    QStringList visited;
    WalkTree(fs1, "VOL1:", [&](ConnHandle c, const QString& dir) {
        EXPECT_EQ(c, fs1);
        visited << dir;
    });
    EXPECT_EQ(visited,
        QStringList({ "VOL1:\\SHARED\\Payroll", "VOL1:\\SHARED", "VOL1:\\USERS\\JOHN",
            "VOL1:\\USERS\\MARY", "VOL1:\\USERS\\PETER", "VOL1:\\USERS", "VOL1:" }));
    EXPECT_TRUE(m_dialogs.calls().isEmpty());
}

TEST_F(Listing, WalkAsksOkOrAbortWhenTheActionFails)
{
    const ConnHandle fs1 = conn("FS1");
    QStringList visited;
    auto failOnJohn = [&](ConnHandle, const QString& dir) {
        visited << dir;
        if (dir.endsWith("JOHN"))
            CheckNWResult("Error setting attribute of\r" + dir, 0x898C);
    };
    m_dialogs.pushButton(Button::Ok);
    WalkTree(fs1, "VOL1:USERS", failOnJohn);
    EXPECT_EQ(visited.size(), 4);
    ASSERT_EQ(m_dialogs.calls().size(), 1);
    const shell::DialogCall& box = m_dialogs.calls().front();
    EXPECT_EQ(box.kind, shell::MessageKind::Error);
    EXPECT_EQ(box.buttons, Button::Ok | Button::Abort);
    EXPECT_EQ(box.text.toStdString(),
        failureText("Error setting attribute of\rVOL1:USERS\\JOHN", 0x898C));

    visited.clear();
    m_dialogs.pushButton(Button::Abort);
    EXPECT_THROW(WalkTree(fs1, "VOL1:USERS", failOnJohn), EAbortPass);
    EXPECT_EQ(visited, QStringList({ "VOL1:USERS\\JOHN" }));

    // A silent abort of the action needs no question.
    visited.clear();
    EXPECT_THROW(WalkTree(fs1, "VOL1:USERS",
                     [&](ConnHandle, const QString& dir) {
                         visited << dir;
                         throw EAbortPass();
                     }),
        EAbortPass);
    EXPECT_EQ(visited.size(), 1);
    EXPECT_EQ(m_dialogs.calls().size(), 2);
}

TEST_F(Listing, WalkEndsWhenADirectoryCannotBeListed)
{
    asUser("JOHN");
    const ConnHandle john = conn("FS1");
    QStringList visited;
    const Thrown t = thrownBy(
        [&] { WalkTree(john, "SYS:", [&](ConnHandle, const QString& d) { visited << d; }); });
    EXPECT_EQ(t.message, failureText("Error geting file list", 0x8989));
    EXPECT_TRUE(m_dialogs.calls().isEmpty());
}

TEST_F(Listing, NewDirectoriesGetTheFirstFreeName)
{
    const ConnRef fs1 = ref("FS1");
    EXPECT_EQ(CreateNewDirectory(fs1, "VOL1:USERS\\JOHN"), "New Folder");
    EXPECT_EQ(CreateNewDirectory(fs1, "VOL1:USERS\\JOHN"), "New Folder(1)");
    EXPECT_EQ(CreateNewDirectory(fs1, "VOL1:USERS\\JOHN"), "New Folder(2)");
    EXPECT_EQ(SubdirectoryList(conn("FS1"), "VOL1:USERS\\JOHN"),
        QStringList({ "New Folder", "New Folder(1)", "New Folder(2)" }));

    const ConnRef fs2 = ref("FS2");
    EXPECT_EQ(CreateNewDirectory(fs2, "SYS:HOME\\JOHN"), "NEWDIR");
    EXPECT_EQ(CreateNewDirectory(fs2, "SYS:HOME\\JOHN"), "NEWDIR1");
    EXPECT_EQ(CreateNewDirectory(fs2, "SYS:HOME\\JOHN"), "NEWDIR2");

    asUser("JOHN");
    const Thrown t = thrownBy([&] { CreateNewDirectory(ref("FS1"), "SYS:PUBLIC"); });
    EXPECT_EQ(t.message, failureText("Error creating new directory", t.code));
    EXPECT_EQ(t.code, 0x8984);
    EXPECT_FALSE(SubdirectoryList(conn("FS1"), "SYS:PUBLIC").contains("New Folder"));
}

} // namespace

namespace {

// Handles are numbered from 1 per connection: a leaked one would push the next number up.
uint8_t nextFreeHandle(ConnHandle c)
{
    const TDirHandleScope probe(c, TempHandleLong(c, "SYS:"));
    return probe.handle();
}

TEST_F(Listing, HandlesAreReleasedAlsoWhenAnOperationFails)
{
    asUser("JOHN");
    const ConnHandle john = conn("FS1");
    const uint8_t first = nextFreeHandle(john);
    TEntryInfo r {};
    const std::function<void()> failing[] = {
        [&] { ListFiles(john, "*", "SYS:SYSTEM", false); },
        [&] { SubdirectoryList(john, "SYS:MAIL"); },
        [&] { ReadEntryInfo(john, "SYS:SYSTEM", "AUTOEXEC.NCF", r); },
        [&] { CreateNewDirectory(ref("FS1"), "SYS:PUBLIC"); },
        [&] { WalkTree(john, "SYS:", [](ConnHandle, const QString&) {}); },
    };
    for (const auto& work : failing) {
        EXPECT_THROW(work(), TNWException);
        EXPECT_EQ(nextFreeHandle(john), first);
    }
    m_dialogs.pushButton(Button::Abort);
    EXPECT_THROW(WalkTree(john, "VOL1:USERS\\JOHN",
                     [](ConnHandle, const QString& d) { CheckNWResult(d, 0x898C); }),
        EAbortPass);
    EXPECT_EQ(nextFreeHandle(john), first);
    EXPECT_EQ(DOSNameOf(john, "SYS:SYSTEM", "AUTOEXEC.NCF"), "AUTOEXEC.NCF");
    EXPECT_EQ(FileAttributes(john, "SYS:SYSTEM\\AUTOEXEC.NCF"), 0u);
    EXPECT_FALSE(FileExistsIn(john, "SYS:SYSTEM", "AUTOEXEC.NCF"));
    EXPECT_EQ(nextFreeHandle(john), first);
}

} // namespace
