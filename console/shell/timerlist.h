#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

// The main window's timers as one list: a timer fires only while the list is active and the
// timer itself is enabled. The exception handler pauses the whole list while it shows a
// failure. Interface thread only.
class TTimerList : public QObject {
    Q_OBJECT
public:
    explicit TTimerList(QObject* parent = nullptr);

    int add(int intervalMs, std::function<void()> handler); // answers the timer's index
    void setEnabled(int timer, bool enabled);
    bool isEnabled(int timer) const;
    void setInterval(int timer, int intervalMs);
    int interval(int timer) const;
    // True when the timer would fire now: list active, not paused, timer enabled.
    bool isRunning(int timer) const;

    void setActive(bool active);
    bool isActive() const { return m_active; }
    // Nested: the list runs again when every pause has been resumed.
    void pause();
    void resume();
    bool isPaused() const { return m_paused > 0; }

    // Runs the timer's handler at once, as if it fired.
    void fire(int timer);

private:
    struct Entry {
        QTimer* timer;
        bool enabled = false;
        std::function<void()> handler;
    };
    void apply(Entry& e);

    std::vector<Entry> m_entries;
    bool m_active = false;
    int m_paused = 0;
};
