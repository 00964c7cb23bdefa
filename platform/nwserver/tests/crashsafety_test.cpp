// A server killed in the middle of its metadata writes must come back with a sound database
// that agrees with the host folders. The test binary runs itself again as the writer (selected
// by ORVO_CRASH_WRITER), kills it with SIGKILL while it works and then opens the server.

#include "platform/nwserver/database.h"
#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/server.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// Paths in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << s.toStdString();
}

using namespace nwserver;
using namespace nwproto;

namespace {

constexpr const char* kWriterVariable = "ORVO_CRASH_WRITER";
constexpr int kProgressFd = 9; // the writer's own output goes to /dev/null

// Creates, changes, moves, erases, salvages and purges entries until killed; a dot
// on kProgressFd after every round tells the parent that it is under way.
[[noreturn]] void writeUntilKilled(const QString& dataDir, const QString& tag)
{
    auto server = Server::open(dataDir);
    FileSystem& fs = server->fileSystem();
    uint32_t n = 0;
    server->attach(QByteArray(12, '\3'), n);
    Connection& c = *server->connections().find(n);
    c.objectId = kSupervisorId;
    auto target = [&](const QString& path) {
        FsTarget t;
        fs.resolve(c, 0, path, -1, t);
        return t;
    };
    for (int i = 0;; ++i) {
        const QString dir = QStringLiteral("SYS:BURST\\%1%2").arg(tag).arg(i);
        FsEntry d, f;
        fs.createEntry(c, target(dir), true, rights::All, &d);
        fs.createEntry(c, target(dir + QStringLiteral("\\F.TXT")), false, 0, &f);
        {
            Transaction t(server->db());
            f.attributes |= attr::Hidden;
            fs.update(f);
            fs.setTrustee(d.id, kSupervisorId + 1, rights::Read | rights::FileScan);
            t.commit();
        }
        const auto moved = target(QStringLiteral("SYS:BURST\\%1%2.MOV").arg(tag).arg(i));
        fs.move(c, f, moved.dir, moved.leaf, ns::Dos);
        if (const auto m = target(QStringLiteral("SYS:BURST\\%1%2.MOV").arg(tag).arg(i)).entry)
            fs.erase(c, *m);
        for (const FsErased& e : fs.erased(0, 0, 2)) {
            if (i % 2)
                fs.recover(c, e, QStringLiteral("%1%2.REC").arg(tag).arg(i));
            else
                fs.purge(e);
        }
        if (i % 3 == 0)
            fs.removeDirectory(c, d);
        if (::write(kProgressFd, ".", 1) != 1)
            std::_Exit(1);
    }
}

// Runs the writer and kills it once it has finished `rounds` rounds.
void killWriterAfter(const QString& dataDir, const QString& tag, int rounds)
{
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(out[0]);
        ::dup2(out[1], kProgressFd);
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        ::setenv(kWriterVariable, QString(dataDir + u'|' + tag).toLocal8Bit().constData(), 1);
        const std::string filter = "--gtest_filter=CrashSafety.*";
        ::execl("/proc/self/exe", "writer", filter.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    ::close(out[1]);
    char dot = 0;
    int seen = 0;
    pollfd progress { out[0], POLLIN, 0 };
    // A writer that stops reporting for a minute is stuck: it is killed all the same.
    while (seen < rounds && ::poll(&progress, 1, 60000) == 1 && ::read(out[0], &dot, 1) == 1)
        ++seen;
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    EXPECT_EQ(seen, rounds) << "the writer stopped on its own";
    EXPECT_TRUE(WIFSIGNALED(status));
}

// Everything below volumes/ and salvage/ as "VOLUME/path" (directories end with "/").
QStringList hostEntries(const QString& folder)
{
    QStringList out;
    for (const QString& volume : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString root = folder + u'/' + volume;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            out << volume + u'/' + QDir(root).relativeFilePath(it.filePath())
                    + (it.fileInfo().isDir() ? QStringLiteral("/") : QString());
        }
    }
    out.sort();
    return out;
}

// Consistent means: the database passes SQLite's integrity check, no journalled host step is
// left over, every entry has its file or folder (of its kind) and every file or folder has its
// entry, and every erased file has its salvage file and the other way round.
QStringList expectConsistent(const QString& dataDir)
{
    auto server = Server::open(dataDir);
    Database& db = server->db();
    EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM fs_pending").toInt(), 0);

    std::map<qint64, std::pair<qint64, QString>> names; // id -> parent, name
    std::map<qint64, QString> roots; // root id -> volume name
    std::map<int, QString> volumes;
    Statement v(db, "SELECT number, name, root FROM fs_volumes");
    while (v.step()) {
        volumes[static_cast<int>(v.integer(0))] = v.text(1);
        roots[v.integer(2)] = v.text(1);
    }
    QStringList stored, erased;
    Statement e(db, "SELECT id, parent, long_name, is_dir FROM fs_entries ORDER BY id");
    std::map<qint64, bool> isDir;
    while (e.step()) {
        names[e.integer(0)] = { e.integer(1), e.text(2) };
        isDir[e.integer(0)] = e.integer(3) != 0;
    }
    for (const auto& [id, pn] : names) {
        if (pn.first == 0)
            continue;
        QString path = pn.second;
        qint64 up = pn.first;
        while (!roots.count(up) && names.count(up)) {
            path = names[up].second + u'/' + path;
            up = names[up].first;
        }
        EXPECT_TRUE(roots.count(up)) << "entry " << id << " hangs off no volume";
        stored << roots[up] + u'/' + path + (isDir[id] ? QStringLiteral("/") : QString());
    }
    stored.sort();
    Statement s(db, "SELECT volume, id FROM fs_erased");
    while (s.step())
        erased << volumes[static_cast<int>(s.integer(0))] + u'/' + QString::number(s.integer(1));
    erased.sort();
    EXPECT_EQ(stored, hostEntries(dataDir + QStringLiteral("/volumes")));
    EXPECT_EQ(erased, hostEntries(dataDir + QStringLiteral("/salvage")));
    return stored;
}

TEST(CrashSafety, AKillDuringMetadataWritesLeavesTheStoreAndTheFilesInStep)
{
    if (const QByteArray writer = qgetenv(kWriterVariable); !writer.isEmpty()) {
        const QList<QByteArray> parts = writer.split('|');
        writeUntilKilled(QString::fromLocal8Bit(parts[0]), QString::fromLatin1(parts[1]));
    }
    QTemporaryDir dir;
    const QString dataDir = dir.filePath("FS2");
    {
        auto server = Server::openOrCreate(dataDir, demo::fs2Identity());
        demo::populate(*server);
        auto guard = server->lock();
        server->fileSystem().makeDirectory(
            QStringLiteral("SYS:BURST"), kSupervisorId, QDateTime::currentDateTime());
    }
    expectConsistent(dataDir);
    // Kills at different points of the writer's rounds; each restart builds on what the last
    // one left behind.
    const struct {
        const char* tag;
        int rounds;
    } kills[] = { { "A", 3 }, { "B", 11 }, { "C", 26 }, { "D", 40 } };
    for (const auto& k : kills) {
        killWriterAfter(dataDir, QString::fromLatin1(k.tag), k.rounds);
        // The writer's second directory is never removed: its work is there.
        EXPECT_TRUE(expectConsistent(dataDir).contains(
            QStringLiteral("SYS/BURST/%1/").arg(QString::fromLatin1(k.tag) + u'1')));
    }
}

} // namespace
