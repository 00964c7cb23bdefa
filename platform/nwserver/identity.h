#pragma once

#include <QString>
#include <cstdint>

namespace nwserver {

// What a server is: fixed when its data directory is created.
struct ServerIdentity {
    QString name;
    uint8_t osMajor = 4;
    uint8_t osMinor = 11;
    uint8_t osRevision = 0;
    uint8_t sftLevel = 2;
    uint8_t ttsLevel = 1;
    uint16_t maxConnections = 250;
    uint16_t maxVolumes = 64;
    uint32_t serialNumber = 0;
    uint16_t applicationNumber = 0;
    QString treeName; // empty for a bindery server (NetWare 3)
    QString company = QStringLiteral("Novell, Inc.");
    QString revisionText;

    bool isNetWare4() const { return osMajor >= 4; }
};

} // namespace nwserver
