#include "platform/nwserver/connectiontable.h"

namespace nwserver {

ConnectionTable::ConnectionTable(uint16_t maxConnections)
    : m_slots(maxConnections)
{
}

std::optional<uint32_t> ConnectionTable::allocate(const QByteArray& address, const QDateTime& now)
{
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i])
            continue;
        Connection c;
        c.number = static_cast<uint32_t>(i + 1);
        c.address = address;
        c.attachTime = now;
        m_slots[i] = c;
        m_maxEverUsed = std::max(m_maxEverUsed, inUse());
        return c.number;
    }
    return std::nullopt;
}

void ConnectionTable::release(uint32_t number)
{
    if (number >= 1 && number <= m_slots.size())
        m_slots[number - 1].reset();
}

void ConnectionTable::clear()
{
    for (auto& s : m_slots)
        s.reset();
}

Connection* ConnectionTable::find(uint32_t number)
{
    if (number < 1 || number > m_slots.size() || !m_slots[number - 1])
        return nullptr;
    return &*m_slots[number - 1];
}

const Connection* ConnectionTable::find(uint32_t number) const
{
    return const_cast<ConnectionTable*>(this)->find(number);
}

std::vector<uint32_t> ConnectionTable::numbers() const
{
    std::vector<uint32_t> out;
    for (const auto& s : m_slots)
        if (s)
            out.push_back(s->number);
    return out;
}

uint16_t ConnectionTable::inUse() const
{
    uint16_t n = 0;
    for (const auto& s : m_slots)
        n += s ? 1 : 0;
    return n;
}

} // namespace nwserver
