#include "netware/restartablethread.h"

#include <QMetaObject>
#include <QtGlobal>

namespace {

void LogPassException(TRestartableThread& thread, std::exception_ptr error)
{
    const char* className = thread.metaObject()->className();
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qWarning("%s: a pass ended with an error: %s", className, e.what());
    } catch (...) {
        qWarning("%s: a pass ended with an unknown error", className);
    }
}

std::mutex handlerMutex;
TRestartableThread::PassExceptionHandler passExceptionHandler;

TRestartableThread::PassExceptionHandler CurrentHandler()
{
    std::lock_guard lock(handlerMutex);
    if (passExceptionHandler)
        return passExceptionHandler;
    return LogPassException;
}

} // namespace

// A function waiting on the worker's stack for the interface thread to run it.
struct TRestartableThread::HandOver {
    const std::function<void()>* fn = nullptr;
    std::exception_ptr error;
    bool done = false;
    bool cancelled = false;
};

TRestartableThread::TRestartableThread(QObject* parent)
    : QThread(parent)
{
}

TRestartableThread::~TRestartableThread()
{
    Shutdown();
}

void TRestartableThread::Restart()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_terminated.load())
            return;
        m_busy = true;
        m_restartPending = true;
    }
    m_wake.notify_all();
    if (!m_started) {
        m_started = true;
        start();
    }
}

void TRestartableThread::RequestAbort()
{
    m_abortRequested = true;
}

void TRestartableThread::Shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        m_terminated = true;
        m_abortRequested = true;
        if (m_handOver) {
            m_handOver->cancelled = true;
            m_handOver = nullptr;
        }
    }
    m_wake.notify_all();
    m_handOverDone.notify_all();
    if (m_started) {
        // Waiting on our own lock as well makes the worker's last steps visible to this
        // thread through the standard library (QThread::wait alone is opaque to checkers).
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_ended; });
    }
    wait();
    m_busy = false;
}

TRestartableThread::PassExceptionHandler TRestartableThread::SetPassExceptionHandler(
    PassExceptionHandler handler)
{
    std::lock_guard lock(handlerMutex);
    PassExceptionHandler previous = std::move(passExceptionHandler);
    passExceptionHandler = std::move(handler);
    return previous;
}

void TRestartableThread::CheckAbort() const
{
    if (m_abortRequested.load() || m_terminated.load())
        throw EAbortPass();
}

void TRestartableThread::Synchronize(const std::function<void()>& fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    HandOver handOver;
    handOver.fn = &fn;
    {
        std::lock_guard lock(m_mutex);
        if (m_terminated.load())
            throw EAbortPass();
        m_handOver = &handOver;
    }
    QMetaObject::invokeMethod(this, "RunHandOver", Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_handOverDone.wait(lock, [&] { return handOver.done || handOver.cancelled; });
    if (handOver.cancelled)
        throw EAbortPass();
    if (handOver.error)
        std::rethrow_exception(handOver.error);
}

void TRestartableThread::RunHandOver()
{
    HandOver* handOver = nullptr;
    {
        std::lock_guard lock(m_mutex);
        std::swap(handOver, m_handOver);
    }
    if (!handOver) // cancelled by Shutdown
        return;
    try {
        (*handOver->fn)();
    } catch (...) {
        handOver->error = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        handOver->done = true;
    }
    m_handOverDone.notify_all();
}

void TRestartableThread::run()
{
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_terminated.load())
                break;
            m_busy = true;
            m_restartPending = false;
            m_abortRequested = false;
        }
        RunPass();
        if (m_terminated.load())
            break;
        m_busy = false;
        NotifyCompletion();
        // The check for a pending pass and the wait are one step for Restart, which sets
        // the flag under the same lock before it wakes the worker.
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_restartPending.load() || m_terminated.load(); });
    }
    m_busy = false;
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_wake.notify_all();
}

void TRestartableThread::RunPass()
{
    try {
        DoWork();
    } catch (const EAbortPass&) {
    } catch (...) {
        ReportException(std::current_exception());
    }
}

void TRestartableThread::NotifyCompletion()
{
    try {
        Synchronize([this] { emit PassCompleted(); });
    } catch (const EAbortPass&) {
    } catch (...) {
        ReportException(std::current_exception());
    }
}

void TRestartableThread::ReportException(std::exception_ptr error)
{
    const PassExceptionHandler handler = CurrentHandler();
    try {
        Synchronize([&] { handler(*this, error); });
    } catch (const EAbortPass&) {
        // Shutting down: nobody is left on the interface thread to show it; keep a trace.
        LogPassException(*this, error);
    } catch (...) {
        qWarning("%s: the pass exception handler failed", metaObject()->className());
    }
}
