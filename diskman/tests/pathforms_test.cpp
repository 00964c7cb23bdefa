#include "diskman/namespaces.h"
#include "diskman/pathforms.h"
#include "diskman/tests/demoservers.h"
#include "platform/nwclient/pathops.h"
#include "platform/nwproto/fsrecords.h"

using namespace nwclient;
using namespace nwproto;

namespace {

using PathForms = DemoServers;

TEST_F(PathForms, NameSpacesFollowTheVolume)
{
    const ConnHandle fs1 = conn("FS1");
    const ConnHandle fs2 = conn("FS2");
    EXPECT_TRUE(NameSpaceLoaded(fs1, "SYS:", ns::Long));
    EXPECT_TRUE(NameSpaceLoaded(fs1, "VOL1", ns::Long));
    EXPECT_TRUE(NameSpaceLoaded(fs2, "SYS", ns::Dos));
    EXPECT_FALSE(NameSpaceLoaded(fs2, "SYS:", ns::Long));
    EXPECT_FALSE(NameSpaceLoaded(fs1, "NOVOL:", ns::Dos));
    EXPECT_FALSE(NameSpaceLoaded(0, "SYS:", ns::Dos));
    EXPECT_TRUE(NameSpaceLoadedByRef(ref("FS1"), "SYS", ns::Long));
    EXPECT_FALSE(NameSpaceLoadedByRef(0, "SYS", ns::Dos));

    EXPECT_EQ(NameSpaceFor(fs1, "VOL1:USERS\\JOHN"), ns::Long);
    EXPECT_EQ(NameSpaceFor(fs2, "SYS:HOME\\JOHN"), ns::Dos);
    EXPECT_EQ(NameSpaceFor(fs1, "USERS\\JOHN"), ns::Dos); // no volume
}

TEST_F(PathForms, TemporaryHandlesFallBackToDosAndReportFailures)
{
    const ConnHandle fs1 = conn("FS1");
    const ConnHandle fs2 = conn("FS2");
    for (const auto& [c, path] : { std::pair { fs1, QStringLiteral("VOL1:USERS\\JOHN") },
             std::pair { fs2, QStringLiteral("SYS:HOME\\JOHN") } }) {
        uint8_t handles[2] = { 0, 0 };
        {
            const TDirHandleScope dos(c, TempHandleDOS(c, path));
            const TDirHandleScope longNames(c, TempHandleLong(c, path));
            EXPECT_NE(dos.handle(), 0);
            EXPECT_NE(longNames.handle(), 0);
            handles[0] = dos.handle();
            handles[1] = longNames.handle();
        }
        for (uint8_t h : handles) // released by the scopes
            EXPECT_EQ(deallocateDirHandle(c, h), fscc::BadDirHandle);
    }
    const Thrown t = thrownBy([&] { TempHandleLong(fs1, "VOL1:NOWHERE"); });
    EXPECT_EQ(t.message, failureText("Error creating directory handle", t.code));
    EXPECT_NE(t.code, 0);
}

TEST_F(PathForms, DosPathsAndNames)
{
    const ConnHandle fs1 = conn("FS1");
    const ConnHandle fs2 = conn("FS2");
    const QString dos = DOSNameOf(fs1, "VOL1:USERS\\JOHN", "Meeting notes.txt");
    EXPECT_NE(dos, "MEETING NOTES.TXT");
    EXPECT_LE(dos.size(), 12);
    EXPECT_TRUE(dos.endsWith(".TXT")) << dos.toStdString();
    EXPECT_EQ(DOSPath(fs1, "VOL1:USERS\\JOHN", "Meeting notes.txt"), dos);
    EXPECT_EQ(DOSNameOfByRef(ref("FS1"), "VOL1:USERS\\JOHN", "Meeting notes.txt"), dos);
    EXPECT_EQ(DOSNameOfByRef(0, "VOL1:USERS\\JOHN", "Meeting notes.txt"), QString());
    // What cannot be read comes back upper-cased.
    EXPECT_EQ(DOSNameOf(fs1, "VOL1:USERS\\JOHN", "missing file.txt"), "MISSING FILE.TXT");
    EXPECT_EQ(DOSNameOf(fs1, "VOL1:NOWHERE", "a.txt"), "A.TXT");
    EXPECT_EQ(DOSNameOf(fs2, "SYS:HOME\\JOHN", "notes.txt"), "NOTES.TXT");

    const struct {
        ConnHandle c;
        const char* path;
        const char* dosPath;
    } cases[] = {
        { fs1, "VOL1:SHARED\\Payroll", "VOL1:SHARED\\PAYROLL" },
        { fs1, "VOL1:SHARED\\Payroll\\", "VOL1:SHARED\\PAYROLL" },
        { fs1, "SYS:\\", "SYS:" },
        { fs1, "SYS:", "SYS:" },
        { fs1, "", "" },
        { fs1, "VOL1:NOWHERE\\Deep", "VOL1:NOWHERE\\Deep" }, // unchanged when it cannot
        { fs2, "SYS:HOME\\JOHN", "SYS:HOME\\JOHN" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DOSPath(c.c, c.path).toStdString(), c.dosPath) << c.path;
}

TEST_F(PathForms, UncPaths)
{
    const ConnHandle fs1 = conn("FS1");
    const struct {
        const char* path;
        const char* unc;
    } toUnc[] = {
        { "FS1/SYS:PUBLIC", "\\\\FS1\\SYS\\PUBLIC" },
        { "SYS:", "\\\\FS1\\SYS" },
        { "SYS:\\PUBLIC", "\\\\FS1\\SYS\\PUBLIC" },
        { "VOL1:USERS\\JOHN", "\\\\FS1\\VOL1\\USERS\\JOHN" },
        { "\\\\FS2\\SYS\\HOME", "\\\\FS2\\SYS\\HOME" },
        // A "/" after the volume separates names; it is no server part.
        { "SYS:PUBLIC/UTILS", "\\\\FS1\\SYS\\PUBLIC/UTILS" },
    };
    for (const auto& c : toUnc)
        EXPECT_EQ(ToUNC(fs1, c.path).toStdString(), c.unc) << c.path;
    EXPECT_EQ(ToUNC(0, "SYS:PUBLIC"), "SYS:PUBLIC");
    EXPECT_EQ(ToUNCByRef(ref("FS1"), "SYS:PUBLIC"), "\\\\FS1\\SYS\\PUBLIC");
    EXPECT_EQ(ToUNCByRef(ref("FS1"), "fs2/sys:HOME\\JOHN"), "\\\\FS2\\SYS\\HOME\\JOHN");
    EXPECT_EQ(ToUNCByRef(ref("FS1"), "FS2/SYS:"), "\\\\FS2\\SYS");
    EXPECT_EQ(ToUNCByRef(ref("FS1"), "NOSUCH/SYS:X"), "NOSUCH/SYS:X");
    EXPECT_EQ(ToUNCByRef(0, "SYS:PUBLIC"), "SYS:PUBLIC");

    const struct {
        const char* unc;
        const char* path;
    } fromUnc[] = {
        { "\\\\FS1\\SYS\\PUBLIC", "SYS:PUBLIC" },
        { "\\\\FS1\\SYS", "SYS:" },
        { "\\\\FS2\\SYS\\HOME\\JOHN", "SYS:HOME\\JOHN" },
        { "FS2/SYS:HOME", "SYS:HOME" },
        { "\\\\NOSUCH\\SYS\\PUBLIC", "" },
        { "/home/user/file.txt", "" },
        { "", "" },
    };
    for (const auto& c : fromUnc)
        EXPECT_EQ(FromUNC(c.unc).toStdString(), c.path) << c.unc;
}

TEST_F(PathForms, VolumeNamesOfEachServer)
{
    EXPECT_EQ(VolumeNames(conn("FS1")), QStringList({ "SYS", "VOL1" }));
    EXPECT_EQ(VolumeNames(conn("FS2")), QStringList({ "SYS" }));
}

} // namespace
