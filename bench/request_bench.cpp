// One small request through the client library and the embedded transport (handle lookup,
// encoding, the server's lock and dispatch, decoding) against the raw work underneath: the
// server filling the same record under its lock.
#include "platform/nwclient/client.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/serverops.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

nwproto::ServerInfo rawInfo(nwserver::Server& s)
{
    auto guard = s.lock();
    return s.info();
}

template <typename F> double secondsPerCall(F f, int n)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / n;
}

void BM_GetFileServerInformation(benchmark::State& state)
{
    QTemporaryDir dir;
    nwclient::initialise(nwclient::WorkstationConfig::demo(dir.path()));
    uint32_t it = 0;
    nwclient::ConnRef ref = 0;
    nwclient::scanConnRefs(it, ref);
    nwclient::ConnHandle h = 0;
    nwclient::openConnByReference(ref, h);
    auto server = nwclient::embedded::findServer(QStringLiteral("FS1"));

    constexpr int kBatch = 2000;
    double ours = 0, raw = 0;
    for (auto _ : state) {
        ours += secondsPerCall(
            [&] {
                nwproto::ServerInfo info;
                benchmark::DoNotOptimize(nwclient::getFileServerInformation(h, info));
            },
            kBatch);
        state.PauseTiming();
        raw += secondsPerCall([&] { benchmark::DoNotOptimize(rawInfo(*server)); }, kBatch);
        state.ResumeTiming();
    }
    state.counters["ratio"] = ours / raw;
    state.counters["us_per_request"] = ours / static_cast<double>(state.iterations()) * 1e6;
    nwclient::closeConn(h);
    nwclient::terminate();
}
BENCHMARK(BM_GetFileServerInformation)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
