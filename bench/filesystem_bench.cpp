// The emulated server's file system through the client library against the host file system
// underneath it: scanning a directory of 1000 and of 100,000 files (scan directory entries with
// name, size, attributes and dates) against readdir() and fstatat() of the backing folder, and
// reading a 1 MB file through the redirector against read() of the backing file. Both sides run
// in every iteration; the counter "ratio" is our time / raw time, in processor time of the thread
// (the embedded server answers on the calling thread).

#include "platform/nwclient/client.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/fileops.h"
#include "platform/nwclient/pathops.h"
#include "platform/nwserver/server.h"
#include "platform/redirector/uncfile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nwproto;

namespace {

constexpr int kSizes[] = { 1000, 100000 };

struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now()
    {
        timespec t {};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};

// The demo servers in a temporary folder, FS1's VOL1 with a folder of `n` files in BENCH<n> for
// each size scanned, and a 1 MB file.
struct World {
    QTemporaryDir root;
    nwclient::ConnHandle conn = 0;
    QString backing;

    World()
    {
        nwclient::initialise(nwclient::WorkstationConfig::demo(root.path()));
        auto server = nwclient::embedded::findServer(QStringLiteral("FS1"));
        {
            auto guard = server->lock();
            nwserver::FileSystem& fs = server->fileSystem();
            const QDateTime when(QDate(2026, 1, 1), QTime(9, 0));
            for (int n : kSizes)
                for (int i = 0; i < n; ++i)
                    fs.putFile(QStringLiteral("VOL1:BENCH%1\\Document number %2.txt").arg(n).arg(i),
                        QByteArray(100 + i % 1000, 'd'), nwserver::kSupervisorId, when);
            QByteArray big(1 << 20, '\0');
            for (int i = 0; i < big.size(); ++i)
                big[i] = static_cast<char>(i * 31);
            fs.putFile(QStringLiteral("VOL1:BIG.BIN"), big, nwserver::kSupervisorId, when);
            backing = fs.volumeFolder(QStringLiteral("VOL1"));
        }
        uint32_t it = 0;
        nwclient::ConnRef ref = 0;
        nwclient::scanConnRefs(it, ref);
        nwclient::openConnByReference(ref, conn);
    }
    ~World() { nwclient::terminate(); }
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

void BM_ScanDirectory(benchmark::State& state)
{
    world();
    const int size = static_cast<int>(state.range(0));
    Clock::duration ours {}, raw {};
    for (auto _ : state) {
        auto t0 = Clock::now();
        const int a = ScanThroughClient(size);
        auto t1 = Clock::now();
        const int b = ScanRaw(size);
        auto t2 = Clock::now();
        if (a != size || b != size)
            std::abort();
        ours += t1 - t0;
        raw += t2 - t1;
    }
    state.counters["ratio"] = double(ours.count()) / double(raw.count());
}
BENCHMARK(BM_ScanDirectory)
    ->Arg(kSizes[0])
    ->Arg(kSizes[1])
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

void BM_ReadMegabyte(benchmark::State& state)
{
    world();
    const QByteArray path = (world().backing + QStringLiteral("/BIG.BIN")).toUtf8();
    std::vector<char> buffer(1 << 20);
    Clock::duration ours {}, raw {};
    for (auto _ : state) {
        auto t0 = Clock::now();
        redirector::UncFile f(QStringLiteral("\\\\FS1\\VOL1\\BIG.BIN"));
        if (!f.open(QIODevice::ReadOnly) || f.read(buffer.data(), 1 << 20) != (1 << 20))
            std::abort();
        f.close();
        auto t1 = Clock::now();
        const int fd = ::open(path.constData(), O_RDONLY);
        size_t got = 0;
        for (ssize_t n; (n = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0;)
            got += size_t(n);
        ::close(fd);
        auto t2 = Clock::now();
        if (got != buffer.size())
            std::abort();
        ours += t1 - t0;
        raw += t2 - t1;
    }
    state.counters["ratio"] = double(ours.count()) / double(raw.count());
}
BENCHMARK(BM_ReadMegabyte)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
