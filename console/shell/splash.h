#pragma once

#include <QWidget>
#include <functional>

// The splash window shown while the console starts: borderless, on top of the other windows,
// centred, with the logo and the product's name. It stays at least kMinimumMs on screen, even
// when the main window is ready earlier. Interface thread only.
class TSplash : public QWidget {
    Q_OBJECT
public:
    // A monotonic clock in milliseconds; tests hand in their own.
    using Clock = std::function<qint64()>;
    static constexpr qint64 kMinimumMs = 2592; // 3/100000 of a day

    // Sets the busy cursor, notes the time, shows the splash and paints it at once. Without a
    // clock, the time since the process's first splash-clock reading.
    static TSplash* Start(Clock clock = {});

    // The main window is up: the cursor returns to normal, and with the main window disabled
    // events are processed until the splash has been shown kMinimumMs; then the main window is
    // enabled again (also when an event handler throws) and the splash is freed (later, by the
    // event loop). Calling it again does nothing.
    void Finish(QWidget* mainWindow);
    qint64 ShownAt() const { return m_shownAt; }

private:
    explicit TSplash(Clock clock);

    Clock m_clock;
    qint64 m_shownAt = 0;
    bool m_finished = false;
};
