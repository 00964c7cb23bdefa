#pragma once

#include <QThread>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

// Thrown by TRestartableThread::CheckAbort (and by Synchronize once the thread is shutting
// down) to end a pass quietly. Deliberately not a std::exception, so that a pass's own
// catch (const std::exception&) never swallows an abort.
class EAbortPass { };

// A worker that lives as long as the view it serves, runs one pass (DoWork) per request and
// waits between passes. The view can drop the running pass (RequestAbort) and ask for another
// one (Restart) at any time; a Restart is never lost, whenever it arrives.
//
// Threads: the object itself belongs to the interface thread (the thread that created it);
// DoWork runs on the worker. Restart, RequestAbort, Busy and Shutdown are called on the
// interface thread; CheckAbort, AbortRequested, Terminated and Synchronize are for DoWork.
//
// Hand-overs: DoWork changes nothing that belongs to the interface thread directly; it passes
// a function to Synchronize, which runs it on the interface thread while the worker waits.
// The interface thread must therefore not block waiting for a pass; it polls Busy while
// processing events, or waits for PassCompleted.
//
// Exceptions never leave the worker. EAbortPass ends the pass quietly; anything else ends the
// pass too and goes to the pass exception handler (on the interface thread). Either way Busy
// becomes false and PassCompleted is emitted, so nothing waits for the thread forever.
//
// Shutdown order: a class that overrides DoWork calls Shutdown() first thing in its destructor,
// so that no pass runs while its members are destroyed (the base destructor calls it as well,
// which is enough only for classes whose DoWork touches no members of their own).
class TRestartableThread : public QThread {
    Q_OBJECT
public:
    // Receives the exception that ended a pass, on the interface thread.
    using PassExceptionHandler
        = std::function<void(TRestartableThread& thread, std::exception_ptr)>;

    // Created waiting: the worker starts with the first Restart.
    explicit TRestartableThread(QObject* parent = nullptr);
    ~TRestartableThread() override;

    // Asks for a pass: wakes the waiting worker, or, while a pass runs, makes the worker start
    // another pass as soon as this one has ended. Busy becomes true at once. Interface thread.
    virtual void Restart();
    // The running pass ends at its next check point. Cleared only at the start of a pass.
    void RequestAbort();
    // True from the moment a pass is requested until it has ended.
    bool Busy() const { return m_busy.load(); }

    // Ends the thread for good: aborts the running pass, cancels a hand-over still waiting for
    // the interface thread (the pass then ends as if aborted) and waits for the worker to end.
    // No PassCompleted follows. Interface thread, not from inside a hand-over or a slot of
    // PassCompleted. Restart does nothing afterwards.
    void Shutdown();

    // The handler for exceptions other than EAbortPass that end a pass. The default logs the
    // exception's text with qWarning; the application may route them to its own handler.
    // Answers the previous handler; an empty handler restores the default.
    static PassExceptionHandler SetPassExceptionHandler(PassExceptionHandler handler);

signals:
    // After every pass, on the interface thread, while the worker waits: the view's signal
    // that a pass has ended (also an aborted or failed one). Busy is already false.
    void PassCompleted();

protected:
    // One pass, on the worker thread. May throw; see the class comment.
    virtual void DoWork() = 0;

    // For DoWork: throw EAbortPass when abort is requested (or the thread shuts down).
    void CheckAbort() const;
    bool AbortRequested() const { return m_abortRequested.load(); }
    bool Terminated() const { return m_terminated.load(); }

    // Runs fn on the interface thread while the worker waits; an exception fn throws is thrown
    // again here, on the worker. Throws EAbortPass without running fn once the thread shuts
    // down. Called on the interface thread itself, runs fn directly.
    void Synchronize(const std::function<void()>& fn);

private slots:
    // Runs the waiting hand-over; queued from the worker by name, so that nothing the worker
    // allocates is read here except through m_mutex.
    void RunHandOver();

private:
    struct HandOver;

    void run() override; // the thread body: a pass per request, waiting in between
    void RunPass();
    void NotifyCompletion();
    void ReportException(std::exception_ptr error);

    std::atomic<bool> m_abortRequested { false };
    std::atomic<bool> m_restartPending { false };
    std::atomic<bool> m_busy { false };
    std::atomic<bool> m_terminated { false };
    bool m_started = false; // interface thread only
    bool m_ended = false; // the worker has left its loop; under m_mutex

    // Guards the wait between passes and the hand-over slot, so that a Restart between the
    // check for a pending pass and the wait is seen by the wait.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_handOverDone;
    HandOver* m_handOver = nullptr; // waiting for the interface thread
};
