#pragma once

#include <QString>
#include <memory>

namespace nwserver {
class Server;
class Clock;
} // namespace nwserver

namespace nwclient {

// The servers this process hosts itself, one per data directory, shared by every reference that
// attaches to them. The console never touches a server through here: only the client library's
// transport does, and tests that need to act as the server side (down it, move its clock).
namespace embedded {

std::shared_ptr<nwserver::Server> serverFor(const QString& dataDir);
// The hosted server named name, if the workstation attached to it.
std::shared_ptr<nwserver::Server> findServer(const QString& name);
// Servers opened afterwards run on this clock (tests); null restores the system clock.
void setClock(std::shared_ptr<nwserver::Clock> clock);
// One step of the simulated workstations of every hosted server, at the pace of its clock;
// the running console calls it from a timer (about once a second).
void tickSimulations();
// Forgets every hosted server (they close once no reference holds them).
void releaseAll();

} // namespace embedded
} // namespace nwclient
