// Setup archive against plain zlib on the same data and the same files: extraction against
// reading each stored stream and inflating it with zlib into the target file, building against
// deflating each source at level 9 into an output file. Both sides run in every iteration; the
// counter "ratio" is our time / raw time. Times are the thread's processor time (user and
// system), so that other work on a busy machine does not tilt the comparison.

#include "bench/threadclock.h"
#include "setup/archive/littleendian.h"
#include "setup/archive/wndlcompress.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace {

std::string MakeDir()
{
    char pattern[] = "/tmp/orvo-archive-bench-XXXXXX";
    if (!::mkdtemp(pattern))
        std::abort();
    return pattern;
}

// Text that compresses about as well as program files and documents do (3 to 4 times).
std::string Sample(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    static const char* const words[] = { "server", "volume", "trustee", "connection", "NDS",
        "bindery", "0x8901", "SYS:SYSTEM", "AUTOEXEC.NCF", "rights", "salvage", "module" };
    std::string text;
    text.reserve(n + 32);
    while (text.size() < n) {
        text += words[random() % 12];
        text += (random() % 10 == 0) ? '\n' : ' ';
        if (random() % 4 == 0)
            text += std::to_string(random() % 65536);
    }
    text.resize(n);
    return text;
}

void WriteFile(const std::string& path, const std::string& data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, data.data(), data.size()) != ssize_t(data.size()))
        std::abort();
    ::close(fd);
}

struct TData {
    std::string dir;
    std::vector<std::string> sources;
    std::string archive;
};

// Source files of the given sizes and an archive built from them at the highest level.
TData MakeData(const std::vector<std::size_t>& sizes, const char* name)
{
    TData d;
    d.dir = MakeDir();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        d.sources.push_back(d.dir + "/source" + std::to_string(i));
        WriteFile(d.sources.back(), Sample(sizes[i], unsigned(i + 1)));
    }
    d.archive = d.dir + "/" + name;
    orvo::TWndlCompress builder;
    builder.SetCompressedFile(d.archive);
    builder.SetFilesToProcess(d.sources);
    builder.Compress(orvo::lzcOverwrite);
    ::mkdir((d.dir + "/ours").c_str(), 0755);
    ::mkdir((d.dir + "/raw").c_str(), 0755);
    return d;
}

void RemoveData(const TData& d)
{
    const std::string command = "rm -rf '" + d.dir + "'";
    if (std::system(command.c_str()) != 0)
        std::abort();
}

// Reads every stored stream from the archive and inflates it with zlib into its target file.
void RawExtract(const std::string& archive, const std::vector<orvo::TFileHeader>& headers,
    const std::string& outDir)
{
    const int in = ::open(archive.c_str(), O_RDONLY);
    std::vector<unsigned char> input(65536);
    std::vector<unsigned char> output(65536);
    for (const orvo::TFileHeader& h : headers) {
        const std::string name = h.Name.substr(h.Name.rfind('/') + 1);
        const int out = ::open((outDir + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        z_stream zs {};
        inflateInit(&zs);
        off_t position = h.DataStart;
        off_t left = h.CompressedSize;
        int result = Z_OK;
        while (result != Z_STREAM_END && left > 0) {
            const ssize_t got
                = ::pread(in, input.data(), std::min<off_t>(left, off_t(input.size())), position);
            position += got;
            left -= got;
            zs.next_in = input.data();
            zs.avail_in = unsigned(got);
            do {
                zs.next_out = output.data();
                zs.avail_out = unsigned(output.size());
                result = inflate(&zs, Z_NO_FLUSH);
                const std::size_t n = output.size() - zs.avail_out;
                if (::write(out, output.data(), n) != ssize_t(n))
                    std::abort();
            } while (zs.avail_out == 0 && result == Z_OK);
        }
        inflateEnd(&zs);
        ::close(out);
    }
    ::close(in);
}

// Deflates every source at level 9 (window bits 15, memory level 8) into one output file.
void RawBuild(const std::vector<std::string>& sources, const std::string& target)
{
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<unsigned char> input(65536);
    std::vector<unsigned char> output(65536);
    for (const std::string& source : sources) {
        const int in = ::open(source.c_str(), O_RDONLY);
        z_stream zs {};
        deflateInit2(&zs, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        int flush = Z_NO_FLUSH;
        do {
            const ssize_t got = ::read(in, input.data(), input.size());
            flush = got < ssize_t(input.size()) ? Z_FINISH : Z_NO_FLUSH;
            zs.next_in = input.data();
            zs.avail_in = unsigned(got);
            do {
                zs.next_out = output.data();
                zs.avail_out = unsigned(output.size());
                deflate(&zs, flush);
                const std::size_t n = output.size() - zs.avail_out;
                if (::write(out, output.data(), n) != ssize_t(n))
                    std::abort();
            } while (zs.avail_out == 0);
        } while (flush != Z_FINISH);
        deflateEnd(&zs);
        ::close(in);
    }
    ::close(out);
}

double Seconds(ThreadClock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_ExtractVsInflate(benchmark::State& state)
{
    const TData d = MakeData({ 6'000'000, 1'500'000, 400'000, 100'000, 20'000 }, "files.1");
    orvo::TWndlCompress reader;
    reader.SetCompressedFile(d.archive);
    std::vector<orvo::TFileHeader> headers;
    std::uint64_t bytes = 0;
    for (int i = 0; i < reader.FileCount(); ++i) {
        headers.push_back(reader.FileStats(i).Header);
        bytes += headers.back().UncompressedSize;
    }
    double ours = 0;
    double raw = 0;
    for (auto _ : state) {
        const ThreadClock::time_point start = ThreadClock::now();
        reader.SetExtractDirectory(d.dir + "/ours");
        reader.SetFilesToProcess(d.sources);
        reader.Extract();
        const ThreadClock::time_point middle = ThreadClock::now();
        RawExtract(d.archive, headers, d.dir + "/raw");
        const ThreadClock::time_point end = ThreadClock::now();
        ours += Seconds(middle - start);
        raw += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
    }
    state.counters["ratio"] = ours / raw;
    state.counters["raw_ms"] = 1000 * raw / double(state.iterations());
    state.SetBytesProcessed(std::int64_t(bytes * state.iterations()));
    RemoveData(d);
}
BENCHMARK(BM_ExtractVsInflate)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_BuildVsDeflate(benchmark::State& state)
{
    const TData d = MakeData({ 1'500'000, 400'000, 100'000, 20'000 }, "files.1");
    std::uint64_t bytes = 0;
    for (const std::string& s : d.sources) {
        struct stat st { };
        ::stat(s.c_str(), &st);
        bytes += std::uint64_t(st.st_size);
    }
    double ours = 0;
    double raw = 0;
    for (auto _ : state) {
        const ThreadClock::time_point start = ThreadClock::now();
        orvo::TWndlCompress builder;
        builder.SetCompressedFile(d.dir + "/ours/files.1");
        builder.SetFilesToProcess(d.sources);
        builder.Compress(orvo::lzcOverwrite);
        const ThreadClock::time_point middle = ThreadClock::now();
        RawBuild(d.sources, d.dir + "/raw/files.z");
        const ThreadClock::time_point end = ThreadClock::now();
        ours += Seconds(middle - start);
        raw += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
    }
    state.counters["ratio"] = ours / raw;
    state.counters["raw_ms"] = 1000 * raw / double(state.iterations());
    state.SetBytesProcessed(std::int64_t(bytes * state.iterations()));
    RemoveData(d);
}
BENCHMARK(BM_BuildVsDeflate)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

BENCHMARK_MAIN();
