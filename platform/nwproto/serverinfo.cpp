#include "platform/nwproto/serverinfo.h"

namespace nwproto {

void ServerInfo::write(WireWriter& w) const
{
    w.str(serverName).u8(osMajor).u8(osMinor).u8(osRevision);
    w.u16(maxConnections).u16(connectionsInUse).u16(maxConnectionsEverUsed).u16(maxVolumes);
    w.u8(sftLevel).u8(ttsLevel).str(treeName);
}

ServerInfo ServerInfo::read(WireReader& r)
{
    ServerInfo i;
    i.serverName = r.str();
    i.osMajor = r.u8();
    i.osMinor = r.u8();
    i.osRevision = r.u8();
    i.maxConnections = r.u16();
    i.connectionsInUse = r.u16();
    i.maxConnectionsEverUsed = r.u16();
    i.maxVolumes = r.u16();
    i.sftLevel = r.u8();
    i.ttsLevel = r.u8();
    i.treeName = r.str();
    return i;
}

ServerDateTime ServerDateTime::fromDateTime(const QDateTime& dt)
{
    ServerDateTime s;
    const QDate d = dt.date();
    const QTime t = dt.time();
    s.year = static_cast<uint16_t>(d.year());
    s.month = static_cast<uint8_t>(d.month());
    s.day = static_cast<uint8_t>(d.day());
    s.hour = static_cast<uint8_t>(t.hour());
    s.minute = static_cast<uint8_t>(t.minute());
    s.second = static_cast<uint8_t>(t.second());
    s.dayOfWeek = static_cast<uint8_t>(d.dayOfWeek() % 7);
    return s;
}

QDateTime ServerDateTime::toDateTime() const
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void ServerDateTime::write(WireWriter& w) const
{
    w.u16(year).u8(month).u8(day).u8(hour).u8(minute).u8(second).u8(dayOfWeek);
}

ServerDateTime ServerDateTime::read(WireReader& r)
{
    ServerDateTime s;
    s.year = r.u16();
    s.month = r.u8();
    s.day = r.u8();
    s.hour = r.u8();
    s.minute = r.u8();
    s.second = r.u8();
    s.dayOfWeek = r.u8();
    return s;
}

} // namespace nwproto
