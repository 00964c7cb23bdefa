// One utilization tick of the side panel (open a handle, the file server and cache counters,
// labels, both charts shifted and repainted, the status callback) against the raw client calls
// underneath: the same two calls on a handle opened for them.
#include "console/monitor/infoform.h"
#include "netware/connqueries.h"
#include "platform/nwclient/client.h"
#include "platform/nwclient/statsops.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

template <typename F> double secondsPerCall(F f, int n)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / n;
}

void BM_UtilizationTick(benchmark::State& state)
{
    QTemporaryDir dir;
    nwclient::initialise(nwclient::WorkstationConfig::demo(dir.path()));
    uint32_t it = 0;
    nwclient::ConnRef ref = 0;
    nwclient::scanConnRefs(it, ref);

    TInfoForm::Context context;
    context.connRef = [ref] { return ref; };
    context.hasServer = [] { return true; };
    int status = 0;
    context.setStatus = [&status](int c, int u, int m) { status = c + u + m; };
    TInfoForm panel(context);
    panel.resize(150, 500);
    panel.show();
    QCoreApplication::processEvents();

    constexpr int kBatch = 200;
    double ours = 0, raw = 0;
    for (auto _ : state) {
        ours += secondsPerCall([&] { panel.UpdateSample(); }, kBatch);
        state.PauseTiming();
        raw += secondsPerCall(
            [&] {
                TConnHandleScope conn;
                conn.open(ref);
                nwclient::NWFileServerStats stats;
                nwclient::NWCacheInfo cache;
                benchmark::DoNotOptimize(nwclient::getFileServerInfo(conn.handle(), stats));
                benchmark::DoNotOptimize(nwclient::getCacheInfo(conn.handle(), cache));
            },
            kBatch);
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(status);
    state.counters["ratio"] = ours / raw;
    state.counters["us_per_tick"] = ours / static_cast<double>(state.iterations()) * 1e6;
    nwclient::terminate();
}
BENCHMARK(BM_UtilizationTick)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
