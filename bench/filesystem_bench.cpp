// The emulated server's file system through the client library against the host file system
// underneath it: scanning a directory of 1000 and of 100,000 files (scan directory entries with
// name, size, attributes and dates) against readdir() and fstatat() of the backing folder, and
// reading files of 1 and 16 MB through the redirector against read() of the backing file. Both
// sides run in every iteration; the counter "ratio" is our time / raw time, in processor time of
// the thread (the embedded server answers on the calling thread).

#include "bench/threadclock.h"
#include "platform/nwclient/client.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/fileops.h"
#include "platform/nwclient/pathops.h"
#include "platform/nwserver/server.h"
#include "platform/redirector/uncfile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace nwproto;

namespace {

// The demo servers in a temporary folder, FS1's VOL1 with the files and folders the benchmarks
// ask for, made when they first do.
struct World {
    QTemporaryDir root;
    nwclient::ConnHandle conn = 0;
    QString backing;
    std::set<int> folders;
    std::set<int> files;

    World()
    {
        nwclient::initialise(nwclient::WorkstationConfig::demo(root.path()));
        auto server = nwclient::embedded::findServer(QStringLiteral("FS1"));
        backing = server->fileSystem().volumeFolder(QStringLiteral("VOL1"));
        uint32_t it = 0;
        nwclient::ConnRef ref = 0;
        nwclient::scanConnRefs(it, ref);
        nwclient::openConnByReference(ref, conn);
    }
    ~World() { nwclient::terminate(); }

    static void put(const QString& path, const QByteArray& data)
    {
        auto server = nwclient::embedded::findServer(QStringLiteral("FS1"));
        auto guard = server->lock();
        const QDateTime when(QDate(2026, 1, 1), QTime(9, 0));
        if (server->fileSystem().putFile(path, data, nwserver::kSupervisorId, when))
            std::abort();
    }

    // BIG<mb>.BIN of mb megabytes.
    void ensureFile(int mb)
    {
        if (!files.insert(mb).second)
            return;
        QByteArray big(mb << 20, '\0');
        for (int i = 0; i < big.size(); ++i)
            big[i] = static_cast<char>(i * 31);
        put(QStringLiteral("VOL1:BIG%1.BIN").arg(mb), big);
    }

    void ensureFolder(int n)
    {
        if (!folders.insert(n).second)
            return;
        for (int i = 0; i < n; ++i)
            put(QStringLiteral("VOL1:BENCH%1\\Document number %2.txt").arg(n).arg(i),
                QByteArray(100 + i % 1000, 'd'));
    }
};

World& world()
{
    static World w;
    return w;
}

int ScanThroughClient(int size)
{
    World& w = world();
    uint8_t handle = 0;
    if (nwclient::allocTempNSDirHandle(
            w.conn, 0, QStringLiteral("VOL1:BENCH%1").arg(size), ns::Long, handle, ns::Long))
        std::abort();
    NWSearchSequence seq {};
    seq.searchDirNumber = 0xFFFFFFFF;
    NWNSEntryInfo info;
    int n = 0;
    while (nwclient::scanDirEntries(w.conn, handle, ns::Long, search::Files, seq, "*", 0x18D, info)
        == cc::Success)
        ++n;
    nwclient::deallocateDirHandle(w.conn, handle);
    return n;
}

int ScanRaw(int size)
{
    const QByteArray path = (world().backing + QStringLiteral("/BENCH%1").arg(size)).toUtf8();
    DIR* d = ::opendir(path.constData());
    int n = 0;
    while (dirent* e = ::readdir(d)) {
        struct stat st;
        if (e->d_name[0] != '.' && ::fstatat(::dirfd(d), e->d_name, &st, 0) == 0)
            n += S_ISREG(st.st_mode) ? 1 : 0;
    }
    ::closedir(d);
    return n;
}

// The server keeps the listing of a folder it scanned until the store changes. Cold (second
// argument 1): a file elsewhere is written before each scan, so every scan reads the store.
void BM_ScanDirectory(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const bool cold = state.range(1) != 0;
    world().ensureFolder(size);
    ThreadClock::duration ours {}, raw {};
    for (auto _ : state) {
        if (cold)
            World::put(QStringLiteral("VOL1:TOUCHED.TXT"), QByteArray("x"));
        auto t0 = ThreadClock::now();
        const int a = ScanThroughClient(size);
        auto t1 = ThreadClock::now();
        const int b = ScanRaw(size);
        auto t2 = ThreadClock::now();
        if (a != size || b != size)
            std::abort();
        ours += t1 - t0;
        raw += t2 - t1;
    }
    state.counters["ratio"] = double(ours.count()) / double(raw.count());
}
BENCHMARK(BM_ScanDirectory)
    ->ArgsProduct({ { 1000, 100000 }, { 0, 1 } })
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

// Open, read from start to end in one call and close: the fixed cost of an open weighs on the
// small file, the throughput of the reads on the large one.
void BM_ReadFile(benchmark::State& state)
{
    const int mb = static_cast<int>(state.range(0));
    world().ensureFile(mb);
    const QByteArray path = (world().backing + QStringLiteral("/BIG%1.BIN").arg(mb)).toUtf8();
    const QString unc = QStringLiteral("\\\\FS1\\VOL1\\BIG%1.BIN").arg(mb);
    const qint64 size = qint64(mb) << 20;
    std::vector<char> buffer(static_cast<size_t>(size));
    ThreadClock::duration ours {}, raw {};
    for (auto _ : state) {
        auto t0 = ThreadClock::now();
        redirector::UncFile f(unc);
        if (!f.open(QIODevice::ReadOnly) || f.read(buffer.data(), size) != size)
            std::abort();
        f.close();
        auto t1 = ThreadClock::now();
        const int fd = ::open(path.constData(), O_RDONLY);
        size_t got = 0;
        for (ssize_t n; (n = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0;)
            got += size_t(n);
        ::close(fd);
        auto t2 = ThreadClock::now();
        if (got != buffer.size())
            std::abort();
        ours += t1 - t0;
        raw += t2 - t1;
    }
    state.counters["ratio"] = double(ours.count()) / double(raw.count());
}
BENCHMARK(BM_ReadFile)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
