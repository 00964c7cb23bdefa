#include "console/shell/timerlist.h"

TTimerList::TTimerList(QObject* parent)
    : QObject(parent)
{
}

int TTimerList::add(int intervalMs, std::function<void()> handler)
{
    Entry e { new QTimer(this), false, std::move(handler) };
    e.timer->setInterval(std::max(intervalMs, 1));
    const int index = static_cast<int>(m_entries.size());
    connect(e.timer, &QTimer::timeout, this, [this, index] { fire(index); });
    m_entries.push_back(e);
    return index;
}

void TTimerList::apply(Entry& e)
{
    const bool run = m_active && m_paused == 0 && e.enabled;
    if (run && !e.timer->isActive())
        e.timer->start();
    else if (!run)
        e.timer->stop();
}

void TTimerList::setEnabled(int timer, bool enabled)
{
    Entry& e = m_entries.at(static_cast<size_t>(timer));
    e.enabled = enabled;
    apply(e);
}

bool TTimerList::isEnabled(int timer) const
{
    return m_entries.at(static_cast<size_t>(timer)).enabled;
}

void TTimerList::setInterval(int timer, int intervalMs)
{
    m_entries.at(static_cast<size_t>(timer)).timer->setInterval(std::max(intervalMs, 1));
}

int TTimerList::interval(int timer) const
{
    return m_entries.at(static_cast<size_t>(timer)).timer->interval();
}

bool TTimerList::isRunning(int timer) const
{
    return m_entries.at(static_cast<size_t>(timer)).timer->isActive();
}

void TTimerList::setActive(bool active)
{
    m_active = active;
    for (Entry& e : m_entries)
        apply(e);
}

void TTimerList::pause()
{
    ++m_paused;
    for (Entry& e : m_entries)
        apply(e);
}

void TTimerList::resume()
{
    if (m_paused > 0)
        --m_paused;
    for (Entry& e : m_entries)
        apply(e);
}

void TTimerList::fire(int timer)
{
    const auto& handler = m_entries.at(static_cast<size_t>(timer)).handler;
    if (handler)
        handler();
}
