#pragma once

#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/functions.h"
#include "platform/nwserver/clock.h"

#include <QtGlobal>
#include <cstdint>
#include <deque>

namespace nwserver {

// The server's activity since it started: requests, bytes, file blocks, attaches, and the load
// of the last few seconds from which the utilization is derived. Every figure comes from what
// the server really did and from its clock, never from chance, so a test on a ManualClock sees
// the same values every run. Runs under the server's lock like the rest of the server.
class Statistics {
public:
    static constexpr uint32_t kBlockSize = 4096;
    // Utilization is the share of the last kWindowMs the server spent on requests.
    static constexpr qint64 kWindowMs = 5000;

    explicit Statistics(const Clock& clock);

    // One request: received and sent are the body sizes, code its answer.
    void countRequest(
        nwproto::FnCode fn, qsizetype received, qsizetype sent, nwproto::NWCCODE code);
    // One attach attempt (refused when the connection table was full).
    void countAttach(nwproto::NWCCODE code);

    // Time since the server started (its clock, not the date an operator may have set).
    qint64 upMsecs() const;
    uint32_t upTicks() const;
    // Percent of the last window spent serving requests, 0 to 100.
    uint32_t utilization();
    // File blocks written within the last window: not yet on disk as NetWare would count them.
    uint32_t dirtyBlocks();

    struct Totals {
        uint64_t requests = 0;
        uint64_t unknownRequests = 0;
        uint64_t failedRequests = 0;
        uint64_t bytesReceived = 0;
        uint64_t bytesSent = 0;
        uint64_t attaches = 0;
        uint64_t refusedAttaches = 0;
        uint64_t logins = 0;
        uint64_t detaches = 0;
        uint64_t opens = 0;
        uint64_t closes = 0;
        uint64_t readRequests = 0;
        uint64_t readBlocks = 0;
        uint64_t writeRequests = 0;
        uint64_t writeBlocks = 0;
        uint64_t fullBlockWrites = 0;
        uint64_t bigWrites = 0; // more than one packet of data
    };
    const Totals& totals() const { return m_totals; }

    // What one request costs the server in milliseconds of its time.
    static double costMs(qsizetype received, qsizetype sent);

private:
    struct Bucket {
        qint64 start = 0; // ms since the epoch, a multiple of kBucketMs
        double costMs = 0;
        uint32_t writtenBlocks = 0;
    };
    static constexpr qint64 kBucketMs = 100;

    qint64 nowMs() const { return m_clock.msecsSinceEpoch(); }
    Bucket& bucketNow();
    void prune(qint64 now);

    const Clock& m_clock;
    qint64 m_startMs;
    Totals m_totals;
    std::deque<Bucket> m_recent;
};

} // namespace nwserver
