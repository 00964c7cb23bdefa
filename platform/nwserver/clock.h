#pragma once

#include <QDateTime>
#include <atomic>
#include <cstdint>

namespace nwserver {

// Where the server's time comes from. Tests hand the server a ManualClock so that login times,
// counters and anything derived from time are reproducible.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // The same instant as a number: counters ask on every request, and a local date and time
    // costs a time-zone conversion each time.
    virtual qint64 msecsSinceEpoch() const { return now().toMSecsSinceEpoch(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 msecsSinceEpoch() const override { return QDateTime::currentMSecsSinceEpoch(); }
};

// A clock that only moves when told to. Thread-safe: workers read it while a test advances it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(const QDateTime& start)
        : m_msecs(start.toMSecsSinceEpoch())
    {
    }
    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(m_msecs.load()); }
    qint64 msecsSinceEpoch() const override { return m_msecs.load(); }
    void set(const QDateTime& t) { m_msecs = t.toMSecsSinceEpoch(); }
    void advance(int64_t msecs) { m_msecs += msecs; }

private:
    std::atomic<int64_t> m_msecs;
};

} // namespace nwserver
