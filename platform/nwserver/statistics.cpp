#include "platform/nwserver/statistics.h"

#include <algorithm>
#include <cmath>

namespace nwserver {

using namespace nwproto;

namespace {
// Each request costs the server a fixed turn-around plus the time to move its bytes; the
// figures are those of a busy 4.x server on a 10 Mbit segment, so a handful of stations
// reading files shows as tens of percent.
constexpr double kRequestMs = 12.0;
constexpr double kBytesPerMs = 256.0;
// Sizes of the file-data bodies around their data (see ops_filedata.cpp).
constexpr qsizetype kReadReplyOverhead = 4; // data length
constexpr qsizetype kWriteRequestOverhead = 4 + 8 + 4; // handle, offset, data length
constexpr qsizetype kPacketData = 1024;

uint64_t blocksOf(qsizetype bytes)
{
    return bytes <= 0
        ? 0
        : static_cast<uint64_t>((bytes + Statistics::kBlockSize - 1) / Statistics::kBlockSize);
}
} // namespace

Statistics::Statistics(const Clock& clock)
    : m_clock(clock)
    , m_startMs(clock.now().toMSecsSinceEpoch())
{
}

double Statistics::costMs(qsizetype received, qsizetype sent)
{
    return kRequestMs + static_cast<double>(received + sent) / kBytesPerMs;
}

void Statistics::countRequest(FnCode fn, qsizetype received, qsizetype sent, NWCCODE code)
{
    Totals& t = m_totals;
    t.requests += 1;
    t.bytesReceived += static_cast<uint64_t>(std::max<qsizetype>(received, 0));
    t.bytesSent += static_cast<uint64_t>(std::max<qsizetype>(sent, 0));
    Bucket& b = bucketNow();
    b.costMs += costMs(received, sent);
    if (code == cc::UnknownRequest)
        t.unknownRequests += 1;
    if (code != cc::Success) {
        t.failedRequests += 1;
        return;
    }
    switch (fn) {
    case fn::Login:
        t.logins += 1;
        break;
    case fn::Detach:
        t.detaches += 1;
        break;
    case fn::OpenFile:
        t.opens += 1;
        break;
    case fn::CloseFile:
        t.closes += 1;
        break;
    case fn::ReadFile:
        t.readRequests += 1;
        t.readBlocks += blocksOf(sent - kReadReplyOverhead);
        break;
    case fn::WriteFile: {
        const qsizetype data = received - kWriteRequestOverhead;
        const uint64_t blocks = blocksOf(data);
        t.writeRequests += 1;
        t.writeBlocks += blocks;
        t.fullBlockWrites += data > 0 ? static_cast<uint64_t>(data) / kBlockSize : 0;
        t.bigWrites += data > kPacketData ? 1 : 0;
        b.writtenBlocks += static_cast<uint32_t>(blocks);
        break;
    }
    default:
        break;
    }
}

void Statistics::countAttach(NWCCODE code)
{
    m_totals.attaches += 1;
    if (code == cc::ConnectionLimit)
        m_totals.refusedAttaches += 1;
    bucketNow().costMs += kRequestMs;
}

qint64 Statistics::upMsecs() const
{
    return std::max<qint64>(0, nowMs() - m_startMs);
}

uint32_t Statistics::upTicks() const
{
    // Timer ticks wrap like the server's 32-bit counter does.
    const auto ticks = static_cast<uint64_t>(static_cast<double>(upMsecs()) * 18.2065 / 1000.0);
    return static_cast<uint32_t>(ticks);
}

uint32_t Statistics::utilization()
{
    const qint64 now = nowMs();
    prune(now);
    double busy = 0;
    for (const Bucket& b : m_recent)
        if (b.start <= now)
            busy += b.costMs;
    const double percent = 100.0 * busy / static_cast<double>(kWindowMs);
    return static_cast<uint32_t>(std::clamp(std::lround(percent), 0L, 100L));
}

uint32_t Statistics::dirtyBlocks()
{
    const qint64 now = nowMs();
    prune(now);
    uint32_t n = 0;
    for (const Bucket& b : m_recent)
        if (b.start <= now)
            n += b.writtenBlocks;
    return n;
}

Statistics::Bucket& Statistics::bucketNow()
{
    const qint64 now = nowMs();
    prune(now);
    const qint64 start = now - (now % kBucketMs + kBucketMs) % kBucketMs;
    if (m_recent.empty() || m_recent.back().start != start) {
        // A clock set back starts the window afresh rather than keeping buckets "from the future".
        if (!m_recent.empty() && m_recent.back().start > start)
            m_recent.clear();
        m_recent.push_back(Bucket { start, 0, 0 });
    }
    return m_recent.back();
}

void Statistics::prune(qint64 now)
{
    // A bucket counts while any part of it lies inside the window (now - kWindowMs, now].
    while (!m_recent.empty() && m_recent.front().start + kBucketMs <= now - kWindowMs)
        m_recent.pop_front();
}

} // namespace nwserver
