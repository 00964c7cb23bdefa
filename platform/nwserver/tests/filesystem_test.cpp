#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/fsnames.h"
#include "platform/nwserver/fsrecords.h"
#include "platform/nwserver/server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using namespace nwserver;
using namespace nwproto;

namespace {

TEST(FsNames, DosNamesAreValidAndUniqueForManyLongNames)
{
    QSet<QString> taken;
    const auto isTaken = [&](const QString& n) { return taken.contains(n); };
    const auto highest = [&](const QString& prefix, int digits, const QString& ext) {
        int top = 0;
        const QString suffix = ext.isEmpty() ? QString() : u'.' + ext;
        for (const QString& n : taken)
            if (n.startsWith(prefix) && n.endsWith(suffix)
                && n.size() == prefix.size() + digits + suffix.size())
                top = std::max(top, n.mid(prefix.size(), digits).toInt());
        return top;
    };
    for (int i = 0; i < 150; ++i) {
        const QString dos = fsnames::makeDosName(
            QStringLiteral("Quarterly report %1.document").arg(i), isTaken, highest);
        EXPECT_TRUE(fsnames::isDosName(dos)) << dos.toStdString();
        EXPECT_FALSE(taken.contains(dos)) << dos.toStdString();
        taken.insert(dos);
    }
    EXPECT_TRUE(taken.contains("QUARTE~1.DOC"));
    EXPECT_TRUE(taken.contains("QUART~10.DOC"));
    EXPECT_EQ(fsnames::makeDosName("readme.txt", isTaken, highest), "README.TXT");
    EXPECT_EQ(fsnames::makeDosName(".profile", isTaken, highest), "PROFIL~1");
}

TEST(FsNames, NamesAndPatterns)
{
    struct {
        const char* name;
        bool dos;
        bool longName;
    } names[] = { { "AUTOEXEC.NCF", true, true }, { "a.b.c", false, true },
        { "Budget 1998.xls", false, true }, { "..", false, false }, { "a\\b", false, false },
        { "x:y", false, false }, { "ABCDEFGHI", false, true }, { "trail.", false, false } };
    for (const auto& c : names) {
        EXPECT_EQ(fsnames::isDosName(c.name), c.dos) << c.name;
        EXPECT_EQ(fsnames::isLongName(c.name), c.longName) << c.name;
    }
    struct {
        const char* name;
        const char* pattern;
        bool match;
    } patterns[] = { { "README", "*.*", true }, { "A.EXE", "*.exe", true },
        { "A.EXE", "*.COM", false }, { "READ", "READ????", true }, { "AB", "A*B", true },
        { "A.B.TXT", "*.TXT", true }, { "X", "", true }, { "SYS$LOG.ERR", "*$LOG.ERR", true } };
    for (const auto& c : patterns)
        EXPECT_EQ(fsnames::matches(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
}

class FileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        server = Server::openOrCreate(dir.filePath("FS1"), demo::fs1Identity(), clock);
        demo::populate(*server);
    }
    FileSystem& fs() { return server->fileSystem(); }
    uint32_t id(const char* name) { return server->objects().find(name, objtype::Wild)->id; }
    Connection& station(const char* user)
    {
        uint32_t n = 0;
        EXPECT_EQ(server->attach(QByteArray(12, '\2'), n), cc::Success);
        Connection& c = *server->connections().find(n);
        c.objectId = id(user);
        return c;
    }
    FsTarget target(Connection& c, const QString& path)
    {
        FsTarget t;
        EXPECT_EQ(fs().resolve(c, 0, path, -1, t), cc::Success) << path.toStdString();
        return t;
    }
    FsEntry at(const QString& path)
    {
        Connection& admin = station("ADMIN");
        return *target(admin, path).entry;
    }

    QTemporaryDir dir;
    std::shared_ptr<ManualClock> clock;
    std::unique_ptr<Server> server;
};

TEST_F(FileSystemTest, EffectiveRightsComeFromTrusteesGroupsEquivalencesAndMasks)
{
    const uint32_t eve = server->objects().createUser("EVE", "eve");
    server->objects().addEquivalence(eve, id("MARY"));
    struct {
        const char* user;
        const char* path;
        uint16_t expected;
    } cases[] = {
        { "JOHN", "VOL1:USERS\\JOHN\\REPORT.DOC", rights::All }, // own trustee, inherited
        { "JOHN", "VOL1:USERS\\MARY", 0 },
        { "JOHN", "VOL1:SHARED", rights::All & ~(rights::Access | rights::Modify) }, // group
        { "JOHN", "VOL1:SHARED\\Payroll", 0 }, // filtered by the inherited rights mask
        { "MARY", "VOL1:SHARED\\Payroll", rights::All & ~rights::Access },
        { "EVE", "VOL1:SHARED\\Payroll", rights::All & ~rights::Access }, // equivalence
        { "GUEST", "SYS:PUBLIC\\NDIR.EXE", rights::Read | rights::FileScan }, // EVERYONE
        { "ADMIN", "VOL1:SHARED\\Payroll", rights::All | rights::Supervisor },
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs().effectiveRights(id(c.user), at(c.path)), c.expected)
            << c.user << " " << c.path;

    // The Supervisor right flows through every mask.
    {
        Transaction t(server->db());
        fs().setTrustee(at("VOL1:SHARED").id, id("PETER"), rights::Supervisor);
        t.commit();
    }
    EXPECT_EQ(fs().effectiveRights(id("PETER"), at("VOL1:SHARED\\Payroll")),
        rights::All | rights::Supervisor);
}

TEST_F(FileSystemTest, NothingOutsideAVolumeIsReachable)
{
    Connection& admin = station("ADMIN");
    for (const char* path : { "SYS:..", "SYS:SYSTEM\\..\\..\\server.db", "SYS:\\..\\FS1",
             "/etc/passwd", "..\\..", "SYS:SYSTEM/../../x", "NOVOL:X" }) {
        FsTarget t;
        EXPECT_NE(fs().resolve(admin, 0, path, -1, t), cc::Success) << path;
    }

    // A symbolic link planted in the backing folder in place of a file is never followed.
    QTemporaryDir outside;
    QFile secret(outside.filePath("secret"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    const QString hosts = fs().volumeFolder("SYS") + "/ETC/HOSTS";
    ASSERT_TRUE(QFile::remove(hosts));
    ASSERT_TRUE(QFile::link(secret.fileName(), hosts));
    uint32_t h = 0;
    EXPECT_EQ(fs().open(admin, target(admin, "SYS:ETC\\HOSTS"), 3, h), fscc::IoError);

    // Nor a planted directory link on the way to a file.
    const QString mail = fs().volumeFolder("SYS") + "/MAIL";
    ASSERT_TRUE(QDir(mail).removeRecursively());
    ASSERT_TRUE(QFile::link(outside.path(), mail));
    EXPECT_NE(
        fs().putFile("SYS:MAIL\\secret", "overwritten", kSupervisorId, clock->now()), cc::Success);
    ASSERT_TRUE(secret.open(QIODevice::ReadOnly));
    EXPECT_EQ(secret.readAll(), "secret");
}

// Generated 8.3 names stay unique in a folder of many similar long names; a freed one-digit
// name is given out again, and names of another extension under the same prefix don't count.
TEST_F(FileSystemTest, GeneratedDosNamesInAFolder)
{
    const auto put = [&](const QString& name) {
        FsEntry e;
        EXPECT_EQ(
            fs().putFile("VOL1:MANY\\" + name, "x", kSupervisorId, clock->now(), &e), cc::Success)
            << name.toStdString();
        return e;
    };
    put("Quarterly report.xls");
    put("QUART~99.XLS");
    QSet<QString> dos;
    FsEntry fifth;
    for (int i = 0; i < 120; ++i) {
        const FsEntry e = put(QStringLiteral("Quarterly report %1.doc").arg(i));
        EXPECT_TRUE(fsnames::isDosName(e.dosName)) << e.dosName.toStdString();
        EXPECT_FALSE(dos.contains(e.dosName)) << e.dosName.toStdString();
        dos.insert(e.dosName);
        if (i == 4)
            fifth = e;
    }
    EXPECT_TRUE(dos.contains("QUARTE~9.DOC"));
    EXPECT_TRUE(dos.contains("QUART~10.DOC"));
    EXPECT_TRUE(dos.contains("QUART~99.DOC"));
    EXPECT_TRUE(dos.contains("QUAR~111.DOC"));
    ASSERT_EQ(fifth.dosName, "QUARTE~5.DOC");
    ASSERT_EQ(fs().eraseAs(fifth, kSupervisorId, clock->now()), cc::Success);
    EXPECT_EQ(put("Quarterly report again.doc").dosName, "QUARTE~5.DOC");
}

// A folder's listing is kept between scans; it must follow every change: a new file, a changed
// entry, a change taken back by a rollback, and a change another process committed.
TEST_F(FileSystemTest, KeptListingsFollowEveryChange)
{
    const qint64 folder = at("SYS:ETC").id;
    const auto names = [&] {
        QStringList out;
        const auto listing = fs().listing(folder);
        for (const FsEntry& e : *listing)
            out << e.longName + (e.attributes & attr::Hidden ? "(h)" : "");
        return out;
    };
    const QStringList before = names();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_EQ(names(), before);

    ASSERT_EQ(fs().putFile("SYS:ETC\\NEW.CFG", "x", kSupervisorId, clock->now()), cc::Success);
    EXPECT_EQ(names(), before + QStringList { "NEW.CFG" });

    FsEntry changed = at("SYS:ETC\\NEW.CFG");
    changed.attributes |= attr::Hidden;
    {
        Transaction t(server->db());
        fs().update(changed);
        EXPECT_EQ(names(), before + QStringList { "NEW.CFG(h)" });
    }
    EXPECT_EQ(names(), before + QStringList { "NEW.CFG" });

    {
        auto other = Server::open(dir.filePath("FS1"), clock);
        ASSERT_EQ(
            other->fileSystem().putFile("SYS:ETC\\OTHER.CFG", "y", kSupervisorId, clock->now()),
            cc::Success);
    }
    EXPECT_EQ(names(), (before + QStringList { "NEW.CFG", "OTHER.CFG" }));
}

TEST_F(FileSystemTest, VolumeAndDirectorySpaceAreEnforced)
{
    ASSERT_EQ(fs().createVolume("TINY", 16 * 4096, true), cc::Success);
    const QByteArray block(40 * 1024, 'x'); // 10 blocks
    FsEntry first;
    ASSERT_EQ(fs().putFile("TINY:A.DAT", block, kSupervisorId, clock->now(), &first), cc::Success);
    EXPECT_EQ(
        fs().putFile("TINY:B.DAT", block, kSupervisorId, clock->now()), fscc::InsufficientSpace);
    // Salvageable files give their room back when the volume runs full.
    ASSERT_EQ(fs().eraseAs(first, id("JOHN"), clock->now()), cc::Success);
    EXPECT_EQ(fs().space(first.volume).erasedBlocks, 10u);
    EXPECT_EQ(fs().putFile("TINY:B.DAT", block, kSupervisorId, clock->now()), cc::Success);
    EXPECT_EQ(fs().space(first.volume).erasedBlocks, 0u);

    // PETER's home has a limit of 2560 blocks; a write past it is refused and writes nothing.
    Connection& peter = station("PETER");
    uint32_t h = 0;
    ASSERT_EQ(fs().open(peter, target(peter, "VOL1:USERS\\PETER\\big.bin"), 7, h), cc::Success);
    const QByteArray chunk(65536, 'p');
    NWCCODE code = cc::Success;
    uint64_t offset = 0;
    while ((code = fs().write(peter, h, offset, chunk)) == cc::Success)
        offset += static_cast<uint64_t>(chunk.size());
    EXPECT_EQ(code, fscc::InsufficientSpace);
    uint64_t size = 0;
    ASSERT_EQ(fs().size(peter, h, size), cc::Success);
    EXPECT_EQ(size, offset);
    EXPECT_LE(blocksOf(static_cast<qint64>(size)), 2560u);
    EXPECT_GT(blocksOf(static_cast<qint64>(size)), 2500u);
}

// A move keeps the volume's use and counts only against the limits it enters: a whole directory
// too large for a limited one is refused with nothing moved, a move inside a limited directory
// is free, every limit on the way up counts, and a move on a nearly full volume neither fails
// nor purges salvageable files.
TEST_F(FileSystemTest, MovesAndWritesRespectEveryDirectorySpaceLimit)
{
    Connection& admin = station("ADMIN");
    const auto blocks = [](int n) { return QByteArray(n * 4096, 'b'); };
    const auto put = [&](const QString& path, int n) {
        EXPECT_EQ(fs().putFile(path, blocks(n), kSupervisorId, clock->now()), cc::Success)
            << path.toStdString();
    };
    const auto limit = [&](const QString& path, int max) {
        FsEntry e = at(path);
        e.maxSpace = max;
        Transaction t(server->db());
        fs().update(e);
        t.commit();
    };
    const auto move = [&](const QString& from, const QString& to) {
        return fs().move(admin, at(from), at(to), at(from).longName, ns::Long);
    };
    ASSERT_EQ(fs().createVolume("LIM", 1000 * 4096, true), cc::Success);
    put("LIM:CAP\\IN\\keep.txt", 0);
    put("LIM:OUT\\six.dat", 6);
    put("LIM:OUT2\\SUB\\three.dat", 3);
    put("LIM:OUT2\\three.dat", 3);
    limit("LIM:CAP", 10);

    EXPECT_EQ(move("LIM:OUT\\six.dat", "LIM:CAP"), cc::Success);
    EXPECT_EQ(move("LIM:OUT2", "LIM:CAP"), fscc::InsufficientSpace);
    EXPECT_TRUE(target(admin, "LIM:OUT2\\SUB\\three.dat").entry);
    EXPECT_FALSE(target(admin, "LIM:CAP\\OUT2").entry);
    EXPECT_EQ(move("LIM:CAP\\six.dat", "LIM:CAP\\IN"), cc::Success);
    EXPECT_EQ(move("LIM:OUT2\\SUB", "LIM:CAP"), cc::Success);

    // An outer limit binds although a tighter inner one has room.
    put("LIM:OUTER\\FILL\\fifteen.dat", 15);
    put("LIM:OUTER\\INNER\\keep.txt", 0);
    limit("LIM:OUTER", 20);
    limit("LIM:OUTER\\INNER", 10);
    EXPECT_EQ(fs().putFile("LIM:OUTER\\INNER\\eight.dat", blocks(8), kSupervisorId, clock->now()),
        fscc::InsufficientSpace);
    put("LIM:OUTER\\INNER\\five.dat", 5);

    // Ten of sixteen blocks in use and four salvageable: moving the ten elsewhere on the volume
    // needs no room and keeps the erased file.
    ASSERT_EQ(fs().createVolume("FULL", 16 * 4096, true), cc::Success);
    put("FULL:A\\ten.dat", 10);
    put("FULL:B\\four.dat", 4);
    ASSERT_EQ(fs().eraseAs(at("FULL:B\\four.dat"), kSupervisorId, clock->now()), cc::Success);
    EXPECT_EQ(move("FULL:A\\ten.dat", "FULL:B"), cc::Success);
    EXPECT_EQ(fs().space(at("FULL:B").volume).erasedBlocks, 4u);
}

TEST_F(FileSystemTest, AnOpenFileCannotBeErasedAndErasedFilesAreSalvageable)
{
    Connection& john = station("JOHN");
    Connection& admin = station("ADMIN");
    const QString path = "VOL1:USERS\\JOHN\\Meeting notes.txt";
    uint32_t h = 0;
    ASSERT_EQ(fs().open(john, target(john, path), 1, h), cc::Success);
    EXPECT_EQ(fs().erase(admin, *target(admin, path).entry), fscc::FileInUse);
    ASSERT_EQ(fs().close(john, h), cc::Success);

    const FsEntry before = *target(john, path).entry;
    clock->advance(3600 * 1000);
    ASSERT_EQ(fs().erase(john, before), cc::Success);
    EXPECT_FALSE(target(john, path).entry);
    const auto erased = fs().erased(before.parent, 0, 100);
    const auto it = std::find_if(erased.begin(), erased.end(),
        [](const FsErased& e) { return e.entry.longName == "Meeting notes.txt"; });
    ASSERT_NE(it, erased.end());
    EXPECT_EQ(it->deletor, id("JOHN"));
    EXPECT_EQ(it->deleted, clock->now().toMSecsSinceEpoch());
    const NWDeletedInfo rec = fsrec::deletedInfo(*it);
    EXPECT_EQ(rec.deletorId, id("JOHN"));
    EXPECT_EQ(rec.fileSize, static_cast<uint32_t>(before.size));

    ASSERT_EQ(fs().recover(john, *it, {}), cc::Success);
    uint32_t r = 0;
    ASSERT_EQ(fs().open(john, target(john, path), 1, r), cc::Success);
    char data[1000];
    uint32_t got = 0;
    ASSERT_EQ(fs().read(john, r, 0, data, sizeof data, got), cc::Success);
    EXPECT_TRUE(QByteArray(data, got).startsWith("Notes of JOHN"));
    fs().close(john, r);

    // Purged is gone for good, also from the salvage folder.
    ASSERT_EQ(fs().erase(john, *target(john, path).entry), cc::Success);
    const auto again = fs().erased(before.parent, 0, 100);
    const auto last = std::find_if(again.begin(), again.end(),
        [](const FsErased& e) { return e.entry.longName == "Meeting notes.txt"; });
    ASSERT_NE(last, again.end());
    ASSERT_EQ(fs().purge(*last), cc::Success);
    EXPECT_FALSE(fs().erasedById(last->id));
    EXPECT_FALSE(QFile::exists(dir.filePath("FS1/salvage/VOL1/") + QString::number(last->id)));
}

TEST_F(FileSystemTest, EntryRecordsCarryTheFieldsAtTheirOffsets)
{
    const FsEntry peter = at("VOL1:USERS\\PETER");
    const NWEntryInfo d = fsrec::entryInfo(peter);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&d);
    int32_t maxSpace;
    std::memcpy(&maxSpace, bytes + 100, 4);
    EXPECT_EQ(maxSpace, 2560);
    EXPECT_EQ(bytes[15], 5); // "PETER"
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 16), 5), "PETER");
    EXPECT_EQ(bytes[8] & attr::Directory, attr::Directory);

    const FsEntry budget = at("VOL1:USERS\\JOHN\\Budget 1998.xls");
    const NWNSEntryInfo n = fsrec::nsEntryInfo(budget, ns::Long, info::All);
    const auto* nb = reinterpret_cast<const uint8_t*>(&n);
    EXPECT_EQ(nb[84], 15);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(nb + 85), 15), "Budget 1998.xls");
    uint32_t size;
    std::memcpy(&size, nb + 12, 4);
    EXPECT_EQ(size, 40960u);
    EXPECT_EQ(budget.dosName, "BUDGET~1.XLS");
}

} // namespace

TEST(DemoFiles, TheConsoleFilesAreThereAndModulesCarryTheirHeader)
{
    QTemporaryDir dir;
    demo::ensure(dir.path());
    const QString sys = dir.filePath("FS1/volumes/SYS/");
    for (const char* name :
        { "SYSTEM/AUTOEXEC.NCF", "LOGIN/BOOTCONF.SYS", "PUBLIC/NET$LOG.DAT", "ETC/CONSOLE.LOG",
            "TTS$LOG.ERR", "SYSTEM/SYS$LOG.ERR", "SYSTEM/ABEND.LOG", "SYSTEM/BOOT$LOG.ERR" })
        EXPECT_GT(QFileInfo(sys + name).size(), 0) << name;
    QFile nlm(sys + "SYSTEM/CLIB.NLM");
    ASSERT_TRUE(nlm.open(QIODevice::ReadOnly));
    const QByteArray b = nlm.readAll();
    auto u32 = [&](int at) {
        uint32_t v = 0;
        std::memcpy(&v, b.constData() + at, 4);
        return v;
    };
    EXPECT_TRUE(b.startsWith("NetWare Loadable Module\x1A"));
    const uint32_t code = u32(46), data = u32(54);
    EXPECT_GT(code, 0u);
    EXPECT_GT(data, 0u);
    EXPECT_EQ(u32(50), u32(42) + code); // data follows code
    EXPECT_LE(u32(50) + data, static_cast<uint32_t>(b.size()));

    // A second start changes nothing.
    const QDateTime before = QFileInfo(nlm).lastModified();
    demo::ensure(dir.path());
    EXPECT_EQ(QFileInfo(sys + "SYSTEM/CLIB.NLM").lastModified(), before);
}
