#pragma once

#include "platform/nwproto/wire.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace nwproto {

// What a server says about itself (the file server information reply).
struct ServerInfo {
    QString serverName;
    uint8_t osMajor = 0;
    uint8_t osMinor = 0;
    uint8_t osRevision = 0;
    uint16_t maxConnections = 0;
    uint16_t connectionsInUse = 0;
    uint16_t maxConnectionsEverUsed = 0;
    uint16_t maxVolumes = 0;
    uint8_t sftLevel = 0;
    uint8_t ttsLevel = 0;
    QString treeName; // empty on a bindery server

    void write(WireWriter& w) const;
    static ServerInfo read(WireReader& r);
};

// Broken-down date and time as the server keeps it (local time of the server).
struct ServerDateTime {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
    uint8_t dayOfWeek = 0; // 0 = Sunday

    static ServerDateTime fromDateTime(const QDateTime& dt);
    QDateTime toDateTime() const;
    void write(WireWriter& w) const;
    static ServerDateTime read(WireReader& r);
};

} // namespace nwproto
