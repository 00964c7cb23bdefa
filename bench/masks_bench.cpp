// The console's wildcard matcher per name, against the C library's fnmatch() doing the same
// matches (case folded the same way on both sides).
#include "diskman/masks.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fnmatch.h>
#include <string>
#include <vector>

namespace {

struct Names {
    QStringList q;
    std::vector<std::string> raw;
};

Names makeNames()
{
    Names n;
    const char* stems[] = { "AUTOEXEC", "SYS$LOG", "CONSOLE", "REPORT", "MONITOR", "INSTALL" };
    const char* exts[] = { "NCF", "ERR", "LOG", "DOC", "NLM", "EXE" };
    for (int i = 0; i < 1000; ++i) {
        const std::string name
            = std::string(stems[i % 6]) + std::to_string(i) + "." + exts[(i / 6) % 6];
        n.q << QString::fromStdString(name);
        n.raw.push_back(name);
    }
    return n;
}

void BM_MatchMask(benchmark::State& state)
{
    const Names names = makeNames();
    const QString mask = QStringLiteral("*.NLM");
    const char* rawMask = "*.NLM";
    using clock = std::chrono::steady_clock;
    clock::duration ours {}, raw {};
    for (auto _ : state) {
        auto t0 = clock::now();
        int hits = 0;
        for (const QString& name : names.q)
            hits += MatchMask(name, mask) ? 1 : 0;
        auto t1 = clock::now();
        int rawHits = 0;
        for (const std::string& name : names.raw)
            rawHits += fnmatch(rawMask, name.c_str(), FNM_CASEFOLD) == 0 ? 1 : 0;
        auto t2 = clock::now();
        benchmark::DoNotOptimize(hits);
        benchmark::DoNotOptimize(rawHits);
        ours += t1 - t0;
        raw += t2 - t1;
    }
    state.counters["ratio"] = double(ours.count()) / double(raw.count());
    state.counters["ns_per_name"]
        = double(std::chrono::duration_cast<std::chrono::nanoseconds>(ours).count())
        / double(state.iterations() * names.q.size());
}
BENCHMARK(BM_MatchMask);

} // namespace

BENCHMARK_MAIN();
