#include "platform/nwclient/client.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/fileio.h"
#include "platform/nwclient/fileops.h"
#include "platform/nwclient/pathops.h"
#include "platform/nwclient/salvageops.h"
#include "platform/nwclient/trusteeops.h"
#include "platform/nwclient/volumeops.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using namespace nwclient;
using namespace nwproto;

namespace {

class FileOpsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(initialise(WorkstationConfig::demo(dir.path())), cc::Success);
        fs1 = open("FS1");
        fs2 = open("FS2");
    }
    void TearDown() override
    {
        closeConn(fs1);
        closeConn(fs2);
        terminate();
    }
    ConnHandle open(const char* server)
    {
        uint32_t it = 0;
        ConnRef ref = 0;
        while (scanConnRefs(it, ref) == cc::Success) {
            TNWConnInfo info;
            ConnHandle h = 0;
            if (getConnInfo(ref, info) == cc::Success && QString(server) == info.serverName
                && openConnByReference(ref, h) == cc::Success)
                return h;
        }
        ADD_FAILURE() << server;
        return 0;
    }
    QStringList scan(ConnHandle h, const QString& path, uint8_t ns, uint16_t searchAttr,
        const QString& pattern = "*")
    {
        // A server without the LONG name space refuses it; a plain handle does then.
        uint8_t dh = 0;
        NWCCODE code = allocTempNSDirHandle(h, 0, path, ns::Long, dh, ns);
        if (code == fscc::InvalidNameSpace)
            code = allocTempDirHandle(h, 0, path, dh);
        EXPECT_EQ(code, cc::Success);
        NWSearchSequence seq {};
        seq.searchDirNumber = 0xFFFFFFFF;
        NWNSEntryInfo info;
        QStringList names;
        while ((code = scanDirEntries(h, dh, ns, searchAttr, seq, pattern, info::Name, info))
            == cc::Success)
            names << QString::fromLatin1(info.entryName, info.nameLength);
        EXPECT_EQ(code, fscc::NoMoreEntries);
        deallocateDirHandle(h, dh);
        return names;
    }
    NWEntryInfo readEntry(ConnHandle h, const QString& dirPath, const QString& name = {})
    {
        uint8_t dh = 0;
        EXPECT_EQ(allocTempNSDirHandle(h, 0, dirPath, ns::Long, dh, ns::Long), cc::Success);
        uint32_t seq = 0xFFFFFFFF;
        NWEntryInfo info {};
        EXPECT_EQ(scanDirEntryInfo(
                      h, dh, name.isEmpty() ? search::Directories : search::Files, seq, name, info),
            cc::Success);
        deallocateDirHandle(h, dh);
        return info;
    }

    QTemporaryDir dir;
    ConnHandle fs1 = 0;
    ConnHandle fs2 = 0;
};

TEST_F(FileOpsTest, VolumesNameSpacesAndSpace)
{
    QStringList names;
    for (uint16_t n = 0; n <= 64; ++n) {
        QString name;
        if (getVolumeName(fs1, n, name) == cc::Success)
            names << name;
    }
    EXPECT_EQ(names, QStringList({ "SYS", "VOL1" }));
    uint16_t number = 9;
    EXPECT_EQ(getVolumeNumber(fs1, "vol1:", number), cc::Success);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(getVolumeNumber(fs1, "NOPE", number), fscc::NoSuchVolume);
    std::vector<uint8_t> spaces;
    ASSERT_EQ(getNSLoadedList(fs1, 0, spaces), cc::Success);
    EXPECT_EQ(spaces, std::vector<uint8_t>({ ns::Dos, ns::Long }));
    ASSERT_EQ(getNSLoadedList(fs2, 0, spaces), cc::Success);
    EXPECT_EQ(spaces, std::vector<uint8_t>({ ns::Dos }));

    NWVolExtendedInfo ext {};
    ASSERT_EQ(getExtendedVolumeInfo(fs1, 1, ext), cc::Success);
    EXPECT_EQ(
        uint64_t(ext.volSizeInClusters) * ext.sectorsPerCluster * ext.sectorSize, 4096ull << 20);
    EXPECT_GT(ext.limboDataStreamsCount, 0u); // the demo's erased files
    EXPECT_EQ(getExtendedVolumeInfo(fs2, 0, ext), cc::UnknownRequest);
    NWDirSpaceInfo basic {};
    ASSERT_EQ(getDirSpaceInfo(fs2, 0, 0, basic), cc::Success);
    EXPECT_STREQ(basic.volName, "SYS");
    EXPECT_EQ(basic.totalBlocks, (500u << 20) / 4096);
    uint8_t dh = 0;
    ASSERT_EQ(allocTempDirHandle(fs1, 0, "VOL1:USERS\\PETER", dh), cc::Success);
    ASSERT_EQ(getDirSpaceInfo(fs1, dh, 0, basic), cc::Success);
    EXPECT_EQ(basic.totalBlocks, 2560u);
    deallocateDirHandle(fs1, dh);
}

TEST_F(FileOpsTest, NamesInBothNameSpaces)
{
    EXPECT_EQ(scan(fs1, "VOL1:USERS\\JOHN", ns::Long, search::Files),
        QStringList({ "REPORT.DOC", "Meeting notes.txt", "Budget 1998.xls" }));
    EXPECT_EQ(scan(fs1, "VOL1:USERS\\JOHN", ns::Dos, search::Files),
        QStringList({ "REPORT.DOC", "MEETIN~1.TXT", "BUDGET~1.XLS" }));
    EXPECT_EQ(
        scan(fs1, "SYS:SYSTEM", ns::Dos, search::Files, "*.NCF"), QStringList({ "AUTOEXEC.NCF" }));
    EXPECT_EQ(scan(fs2, "SYS:", ns::Dos, search::Directories),
        QStringList({ "SYSTEM", "PUBLIC", "LOGIN", "MAIL", "ETC", "HOME" }));
    uint8_t dh = 0;
    EXPECT_EQ(
        allocTempNSDirHandle(fs2, 0, "SYS:SYSTEM", ns::Long, dh, ns::Long), fscc::InvalidNameSpace);

    QString name;
    ASSERT_EQ(getLongName(fs1, 0, "VOL1:USERS\\JOHN\\BUDGET~1.XLS", ns::Dos, ns::Long, name),
        cc::Success);
    EXPECT_EQ(name, "Budget 1998.xls");
    QString path;
    ASSERT_EQ(
        convertNSPath(fs1, 0, "VOL1:USERS\\JOHN\\Meeting notes.txt", true, ns::Long, ns::Dos, path),
        cc::Success);
    EXPECT_EQ(path, "VOL1:USERS\\JOHN\\MEETIN~1.TXT");
    NWNSEntryInfo info;
    ASSERT_EQ(getNSEntryInfo(fs1, 0, "VOL1:USERS\\JOHN\\Budget 1998.xls", ns::Long, ns::Long,
                  search::Files, info::All, info),
        cc::Success);
    ASSERT_EQ(getPathFromDirEntry(fs1, 1, info.dirEntNum, path), cc::Success);
    EXPECT_EQ(path, "VOL1:USERS\\JOHN\\Budget 1998.xls");

    // A new long name gets an 8.3 name of its own; a DOS-only volume refuses long names.
    ASSERT_EQ(createDirectory(fs1, 0, "VOL1:USERS\\JOHN\\Budget 1999 draft", 0xFB), cc::Success);
    EXPECT_EQ(
        scan(fs1, "VOL1:USERS\\JOHN", ns::Dos, search::Directories), QStringList({ "BUDGET~1" }));
    EXPECT_EQ(createDirectory(fs2, 0, "SYS:HOME\\Long name here", 0xFB), fscc::InvalidPath);
    ASSERT_EQ(createDirectory(fs2, 0, "SYS:HOME\\newdir", 0xFB), cc::Success);
    EXPECT_TRUE(scan(fs2, "SYS:HOME", ns::Dos, search::Directories).contains("NEWDIR"));
}

TEST_F(FileOpsTest, ScansCrossBatchesAndInterleaveWithoutLosingEntries)
{
    ASSERT_EQ(createDirectory(fs1, 0, "VOL1:MANY", 0xFB), cc::Success);
    QStringList made;
    for (int i = 0; i < 150; ++i) {
        const QString name = QStringLiteral("FILE%1.DAT").arg(i, 3, 10, QLatin1Char('0'));
        uint32_t fh = 0;
        ASSERT_EQ(openFile(fs1, 0, "VOL1:MANY\\" + name, openmode::Create | openmode::Write, fh),
            cc::Success);
        closeFile(fs1, fh);
        made << name;
    }
    QStringList seen = scan(fs1, "VOL1:MANY", ns::Long, search::Files);
    seen.sort();
    EXPECT_EQ(seen, made);

    // A scan of another directory between two steps of this one leaves it where it was.
    uint8_t dh = 0;
    ASSERT_EQ(allocTempNSDirHandle(fs1, 0, "VOL1:MANY", ns::Long, dh, ns::Long), cc::Success);
    NWSearchSequence seq {};
    seq.searchDirNumber = 0xFFFFFFFF;
    NWNSEntryInfo info;
    QStringList interleaved;
    while (scanDirEntries(fs1, dh, ns::Long, search::Files, seq, "*", info::Name, info)
        == cc::Success) {
        interleaved << QString::fromLatin1(info.entryName, info.nameLength);
        if (interleaved.size() % 50 == 1) {
            EXPECT_FALSE(scan(fs1, "SYS:SYSTEM", ns::Long, search::Files).isEmpty());
        }
    }
    deallocateDirHandle(fs1, dh);
    interleaved.sort();
    EXPECT_EQ(interleaved, made);
}

TEST_F(FileOpsTest, EscapesAndRefusalsCarryNetWareCodes)
{
    ASSERT_EQ(loginToServer("FS2", "JOHN", "john"), cc::Success);
    struct {
        const char* what;
        NWCCODE code;
        NWCCODE expected;
    } cases[] = {
        { "dot-dot", createDirectory(fs2, 0, "SYS:..\\X", 0xFB), fscc::InvalidPath },
        { "absolute", createDirectory(fs2, 0, "/tmp/x", 0xFB), fscc::InvalidPath },
        { "no volume", createDirectory(fs2, 0, "NOVOL:X", 0xFB), fscc::NoSuchVolume },
        { "create", createDirectory(fs2, 0, "SYS:SYSTEM\\X", 0xFB), fscc::NoCreateRights },
        { "erase", eraseFiles(fs2, 0, "SYS:PUBLIC\\NDIR.EXE", search::Files),
            fscc::NoDeleteRights },
        { "rename",
            renameFile(fs2, 0, "SYS:PUBLIC\\NDIR.EXE", search::Files, 0, "SYS:PUBLIC\\N.EXE"),
            fscc::NoRenameRights },
        { "modify",
            setNSEntryDOSInfo(fs2, 0, "SYS:PUBLIC\\NDIR.EXE", ns::Dos, search::Files,
                modify::Attributes, NWModifyDosInfo {}),
            fscc::NoModifyRights },
        { "trustee", addTrustee(fs2, 0, "SYS:PUBLIC", 1, rights::All), fscc::NoModifyRights },
        { "open",
            [&] {
                uint32_t fh = 0;
                return openFile(fs2, 0, "SYS:SYSTEM\\AUTOEXEC.NCF", openmode::Read, fh);
            }(),
            fscc::NoOpenRights },
        { "handle", deallocateDirHandle(fs2, 77), fscc::BadDirHandle },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.code, c.expected) << c.what;
    uint16_t r = 0;
    ASSERT_EQ(getEffectiveRights(fs2, 0, "SYS:PUBLIC", r), cc::Success);
    EXPECT_EQ(r, rights::Read | rights::FileScan);
    ASSERT_EQ(getEffectiveRights(fs2, 0, "SYS:HOME\\JOHN\\REPORT.DOC", r), cc::Success);
    EXPECT_EQ(r, rights::All);
}

TEST_F(FileOpsTest, TrusteesComeInRoundsOfTwenty)
{
    auto server = embedded::findServer("FS1");
    {
        auto guard = server->lock();
        for (int i = 0; i < 25; ++i)
            server->objects().createUser(QString("TEMP%1").arg(i), "x");
    }
    std::vector<uint32_t> added;
    {
        auto guard = server->lock();
        for (int i = 0; i < 25; ++i)
            added.push_back(server->objects().find(QString("TEMP%1").arg(i), 1)->id);
    }
    for (uint32_t id : added)
        ASSERT_EQ(addTrustee(fs1, 0, "VOL1:SHARED\\Phone list.txt", id, rights::Read), cc::Success);
    ASSERT_EQ(
        addTrustee(fs1, 0, "VOL1:SHARED\\Phone list.txt", added[0], rights::All), cc::Success);

    uint32_t iteration = 0;
    uint16_t count = 0;
    NWEntryTrustees rec;
    std::vector<uint16_t> rounds;
    std::vector<std::pair<uint32_t, uint16_t>> seen;
    NWCCODE code;
    while (
        (code = scanEntryForTrustees(fs1, 0, "VOL1:SHARED\\Phone list.txt", iteration, count, rec))
        == cc::Success) {
        EXPECT_NE(iteration, 0u);
        rounds.push_back(count);
        const auto* bytes = reinterpret_cast<const uint8_t*>(&rec);
        for (uint16_t i = 0; i < count; ++i) {
            uint32_t id;
            uint16_t r;
            std::memcpy(&id, bytes + 28 + 8 * i, 4);
            std::memcpy(&r, bytes + 28 + 8 * i + 4, 2);
            seen.emplace_back(id, r);
        }
    }
    EXPECT_EQ(code, fscc::NoMoreTrustees);
    EXPECT_EQ(rounds, std::vector<uint16_t>({ 20, 5 }));
    ASSERT_EQ(seen.size(), 25u);
    EXPECT_EQ(seen[0], std::make_pair(added[0], rights::All));
    EXPECT_EQ(deleteTrustee(fs1, 0, "VOL1:SHARED\\Phone list.txt", added[3]), cc::Success);
    EXPECT_EQ(deleteTrustee(fs1, 0, "VOL1:SHARED\\Phone list.txt", added[3]), fscc::NoSuchTrustee);
}

TEST_F(FileOpsTest, InheritedMaskAttributesAndEntryRecord)
{
    NWModifyDosInfo m {};
    m.inheritanceGrantMask = rights::Read | rights::FileScan;
    m.inheritanceRevokeMask = 0xFFFF;
    ASSERT_EQ(
        setNSEntryDOSInfo(fs1, 0, "VOL1:SHARED", ns::Long, 0x10, modify::InheritedRightsMask, m),
        cc::Success);
    NWEntryInfo info = readEntry(fs1, "VOL1:SHARED");
    uint16_t irm;
    std::memcpy(&irm, reinterpret_cast<const uint8_t*>(&info) + 104, 2);
    EXPECT_EQ(irm, rights::Read | rights::FileScan);

    // Attributes are replaced as a whole, the server's own bits excepted.
    m.attributes = attr::PurgeImmediate;
    ASSERT_EQ(setNSEntryDOSInfo(fs1, 0, "VOL1:SHARED\\Phone list.txt", ns::Long, search::Files,
                  modify::Attributes, m),
        cc::Success);
    info = readEntry(fs1, "VOL1:SHARED", "Phone list.txt");
    EXPECT_EQ(info.attributes, attr::PurgeImmediate);
    // Purge Immediate: an erased file is gone at once.
    ASSERT_EQ(eraseFiles(fs1, 0, "VOL1:SHARED\\Phone list.txt", search::Files), cc::Success);
    uint8_t dh = 0;
    ASSERT_EQ(allocTempDirHandle(fs1, 0, "VOL1:SHARED", dh), cc::Success);
    uint32_t iter = 0xFFFFFFFF, vol = 0, base = 0;
    NWDeletedInfo del;
    EXPECT_EQ(scanErasedFiles(fs1, dh, iter, vol, base, del), fscc::NoMoreEntries);
    deallocateDirHandle(fs1, dh);

    // Directory records keep the space limit at 100.
    info = readEntry(fs1, "VOL1:USERS\\PETER");
    int32_t limit;
    std::memcpy(&limit, reinterpret_cast<const uint8_t*>(&info) + 100, 4);
    EXPECT_EQ(limit, 2560);
}

TEST_F(FileOpsTest, OpenFilesSalvageAndPurge)
{
    const QString path = "VOL1:USERS\\MARY\\REPORT.DOC";
    uint32_t fh = 0;
    ASSERT_EQ(openFile(fs1, 0, path, openmode::Read, fh), cc::Success);
    EXPECT_EQ(eraseFiles(fs1, 0, path, search::Files), fscc::FileInUse);
    ASSERT_EQ(closeFile(fs1, fh), cc::Success);
    ASSERT_EQ(eraseFiles(fs1, 0, path, search::Files), cc::Success);

    uint8_t dh = 0;
    ASSERT_EQ(allocTempDirHandle(fs1, 0, "VOL1:USERS\\MARY", dh), cc::Success);
    uint32_t iter = 0xFFFFFFFF, vol = 0, base = 0;
    NWDeletedInfo del;
    std::vector<std::tuple<QString, uint32_t, uint32_t>> found;
    while (scanErasedFiles(fs1, dh, iter, vol, base, del) == cc::Success)
        found.emplace_back(QString::fromLatin1(del.name, del.nameLength), iter, del.deletorId);
    ASSERT_EQ(found.size(), 3u); // the demo's two and this one
    const auto& [name, handle, deletor] = found.back();
    EXPECT_EQ(name, "REPORT.DOC");
    auto server = embedded::findServer("FS1");
    {
        auto guard = server->lock();
        EXPECT_EQ(deletor, server->objects().find("ADMIN", 1)->id);
    }
    ASSERT_EQ(recoverErasedFile(fs1, dh, handle, vol, base), cc::Success);
    EXPECT_EQ(recoverErasedFile(fs1, dh, handle, vol, base), fscc::NoMoreEntries);
    ASSERT_EQ(openFile(fs1, 0, path, openmode::Read, fh), cc::Success);
    char data[4];
    uint32_t got = 0;
    ASSERT_EQ(readFile(fs1, fh, 0, data, sizeof data, got), cc::Success);
    EXPECT_EQ(QByteArray(data, got), QByteArray("\xD0\xCF\x11\xE0"));
    closeFile(fs1, fh);

    const auto& first = found.front();
    ASSERT_EQ(purgeErasedFile(fs1, dh, std::get<1>(first), vol, base), cc::Success);
    iter = 0xFFFFFFFF;
    int left = 0;
    while (scanErasedFiles(fs1, dh, iter, vol, base, del) == cc::Success)
        ++left;
    EXPECT_EQ(left, 1);
    deallocateDirHandle(fs1, dh);
}

} // namespace
