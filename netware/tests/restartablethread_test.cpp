#include "netware/restartablethread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// Processes events until pred holds; false when it never does (a hung thread fails the test
// instead of hanging it).
bool WaitUntil(const std::function<bool()>& pred)
{
    QDeadlineTimer deadline(30000);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A latch the worker waits on until the test opens it.
class Gate {
public:
    void Wait()
    {
        std::unique_lock lock(m_mutex);
        m_entered = true;
        m_cv.wait(lock, [this] { return m_open; });
    }
    bool Entered()
    {
        std::lock_guard lock(m_mutex);
        return m_entered;
    }
    void Open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_entered = false;
    bool m_open = false;
};

class TWorker : public TRestartableThread {
public:
    explicit TWorker(std::function<void(TWorker&)> work)
        : m_work(std::move(work))
    {
        connect(this, &TRestartableThread::PassCompleted, [this] {
            completedOnInterfaceThread &= QThread::currentThread() == qApp->thread();
            busyAtCompletion = Busy();
            ++completions;
        });
    }
    ~TWorker() override { Shutdown(); }

    using TRestartableThread::AbortRequested;
    using TRestartableThread::CheckAbort;
    using TRestartableThread::Synchronize;

    std::atomic<int> passes { 0 };
    int completions = 0;
    bool busyAtCompletion = true;
    bool completedOnInterfaceThread = true;

protected:
    void DoWork() override
    {
        ++passes;
        m_work(*this);
    }

private:
    std::function<void(TWorker&)> m_work;
};

// Restores the default pass exception handler after a test that replaced it.
class HandlerScope {
public:
    explicit HandlerScope(TRestartableThread::PassExceptionHandler h)
        : m_previous(TRestartableThread::SetPassExceptionHandler(std::move(h)))
    {
    }
    ~HandlerScope() { TRestartableThread::SetPassExceptionHandler(m_previous); }

private:
    TRestartableThread::PassExceptionHandler m_previous;
};

TEST(RestartableThread, APassPerRestartCompletedOnTheInterfaceThread)
{
    Gate gate;
    TWorker worker([&](TWorker& w) {
        if (w.passes == 1)
            gate.Wait();
    });
    EXPECT_FALSE(worker.Busy());
    worker.Restart();
    ASSERT_TRUE(WaitUntil([&] { return gate.Entered(); }));
    EXPECT_TRUE(worker.Busy());
    gate.Open();
    ASSERT_TRUE(WaitUntil([&] { return worker.completions == 1; }));
    EXPECT_FALSE(worker.busyAtCompletion);
    EXPECT_TRUE(worker.completedOnInterfaceThread);
    worker.Restart();
    ASSERT_TRUE(WaitUntil([&] { return worker.completions == 2; }));
    EXPECT_EQ(worker.passes.load(), 2);
}

TEST(RestartableThread, RestartsDuringAPassGiveOneMorePass)
{
    Gate gate;
    TWorker worker([&](TWorker& w) {
        if (w.passes == 1)
            gate.Wait();
    });
    worker.Restart();
    ASSERT_TRUE(WaitUntil([&] { return gate.Entered(); }));
    worker.Restart();
    worker.Restart();
    gate.Open();
    ASSERT_TRUE(WaitUntil([&] { return worker.completions == 2; }));
    EXPECT_EQ(worker.passes.load(), 2);
}

TEST(RestartableThread, AbortEndsThePassQuietly)
{
    bool handlerCalled = false;
    HandlerScope scope([&](TRestartableThread&, std::exception_ptr) { handlerCalled = true; });
    std::atomic<bool> running = false;
    std::atomic<bool> reachedEnd = false;
    TWorker worker([&](TWorker& w) {
        running = true;
        while (!w.AbortRequested())
            std::this_thread::yield();
        w.CheckAbort();
        reachedEnd = true;
    });
    worker.Restart();
    ASSERT_TRUE(WaitUntil([&] { return running.load(); }));
    worker.RequestAbort();
    ASSERT_TRUE(WaitUntil([&] { return worker.completions == 1; }));
    EXPECT_FALSE(reachedEnd.load());
    EXPECT_FALSE(handlerCalled);
    EXPECT_FALSE(worker.Busy());
}

struct FailureCase {
    const char* name;
    std::function<void()> raise;
    const char* logged;
};

TEST(RestartableThread, AFailingPassStillCompletesAndReachesTheHandler)
{
    const FailureCase cases[] = {
        { "standard exception", [] { throw std::runtime_error("disk gone"); }, "disk gone" },
        { "anything else", [] { throw 42; }, "unknown error" },
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::exception_ptr caught;
        bool onInterfaceThread = false;
        HandlerScope scope([&](TRestartableThread&, std::exception_ptr e) {
            caught = e;
            onInterfaceThread = QThread::currentThread() == qApp->thread();
        });
        TWorker worker([&](TWorker&) { c.raise(); });
        worker.Restart();
        ASSERT_TRUE(WaitUntil([&] { return worker.completions == 1; }));
        EXPECT_FALSE(worker.Busy());
        EXPECT_TRUE(caught);
        EXPECT_TRUE(onInterfaceThread);
    }
}

QStringList logged;
void CollectMessages(QtMsgType, const QMessageLogContext&, const QString& text)
{
    logged << text;
}

TEST(RestartableThread, TheDefaultHandlerLogsTheFailure)
{
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectMessages);
    {
        TWorker worker([](TWorker&) { throw std::runtime_error("volume dismounted"); });
        worker.Restart();
        EXPECT_TRUE(WaitUntil([&] { return worker.completions == 1; }));
    }
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains("volume dismounted")) << logged[0].toStdString();
}

TEST(RestartableThread, HandOverRunsOnTheInterfaceThreadAndPassesExceptionsBack)
{
    bool ranOnInterfaceThread = false;
    std::string caughtOnWorker;
    TWorker worker([&](TWorker& w) {
        w.Synchronize([&] { ranOnInterfaceThread = QThread::currentThread() == qApp->thread(); });
        try {
            w.Synchronize([] { throw std::runtime_error("from the interface"); });
        } catch (const std::runtime_error& e) {
            caughtOnWorker = e.what();
        }
    });
    worker.Restart();
    ASSERT_TRUE(WaitUntil([&] { return worker.completions == 1; }));
    EXPECT_TRUE(ranOnInterfaceThread);
    EXPECT_EQ(caughtOnWorker, "from the interface");
}

TEST(RestartableThread, ShutdownWhileAHandOverWaitsEndsThePassWithoutDeadlock)
{
    std::atomic<bool> handingOver = false;
    std::atomic<bool> handOverRan = false;
    std::atomic<bool> passedHandOver = false;
    TWorker worker([&](TWorker& w) {
        handingOver = true;
        w.Synchronize([&] { handOverRan = true; });
        passedHandOver = true;
    });
    worker.Restart();
    // No events are processed here: the hand-over stays queued.
    while (!handingOver.load())
        std::this_thread::yield();
    worker.Shutdown();
    EXPECT_FALSE(worker.isRunning());
    EXPECT_FALSE(handOverRan.load());
    EXPECT_FALSE(passedHandOver.load());
    QCoreApplication::processEvents();
    EXPECT_EQ(worker.completions, 0);
    EXPECT_FALSE(handOverRan.load());

    worker.Restart();
    EXPECT_FALSE(worker.Busy());
    EXPECT_EQ(worker.passes.load(), 1);
}

TEST(RestartableThread, ThousandsOfRestartsLoseNoRequestAndNeverOverlap)
{
    constexpr int Requests = 5000;
    std::atomic<int> requested = 0;
    std::atomic<int> inPass = 0;
    std::atomic<int> overlaps = 0;
    std::atomic<int> lastSeen = 0;
    TWorker worker([&](TWorker& w) {
        if (inPass.fetch_add(1) != 0)
            ++overlaps;
        lastSeen = requested.load();
        // Some passes hand over to the interface thread, some are aborted half-way.
        if (lastSeen % 3 == 0)
            w.Synchronize([] {});
        if (lastSeen % 5 == 0 && w.AbortRequested()) {
            inPass.fetch_sub(1);
            w.CheckAbort();
        }
        inPass.fetch_sub(1);
    });
    for (int i = 1; i <= Requests; ++i) {
        requested = i;
        if (i % 7 == 0)
            worker.RequestAbort();
        worker.Restart();
        // Every third request waits until a pass has taken the one before, so that requests
        // arrive at every point of a pass: before, during, and while it completes.
        if (i % 3 == 0)
            ASSERT_TRUE(WaitUntil([&] { return lastSeen.load() >= i - 1; }));
        else
            QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitUntil([&] { return lastSeen.load() == Requests && !worker.Busy(); }));
    ASSERT_TRUE(WaitUntil([&] { return worker.completions == worker.passes.load(); }));
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_GE(worker.passes.load(), Requests / 3);
    EXPECT_LE(worker.passes.load(), Requests);
}

} // namespace
