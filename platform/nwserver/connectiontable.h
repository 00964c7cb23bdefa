#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace nwserver {

// One station's connection to the server. Numbers start at 1; 0 is the server itself.
struct Connection {
    uint32_t number = 0;
    uint32_t objectId = 0; // 0 until a login succeeds
    QString objectName;
    uint16_t objectType = 0;
    QDateTime attachTime;
    QDateTime loginTime;
    QByteArray address; // 12 bytes: network (4), node (6), socket (2)
    uint8_t serviceType = 0x17; // NCP service over the server's own transport
    uint32_t status = 0;
    uint64_t bytesRead = 0; // bytes the station received from the server
    uint64_t bytesWritten = 0; // bytes the station sent to the server
    uint64_t requests = 0;

    bool loggedIn() const { return objectId != 0; }
};

// The server's connection slots. Not thread-safe by itself: the server serialises access.
class ConnectionTable {
public:
    explicit ConnectionTable(uint16_t maxConnections);

    // The lowest free slot, or nullopt when every slot is taken.
    std::optional<uint32_t> allocate(const QByteArray& address, const QDateTime& now);
    void release(uint32_t number);
    void clear();

    Connection* find(uint32_t number);
    const Connection* find(uint32_t number) const;
    std::vector<uint32_t> numbers() const;
    uint16_t inUse() const;
    uint16_t maxEverUsed() const { return m_maxEverUsed; }
    uint16_t capacity() const { return static_cast<uint16_t>(m_slots.size()); }

private:
    std::vector<std::optional<Connection>> m_slots; // index = number - 1
    uint16_t m_maxEverUsed = 0;
};

} // namespace nwserver
