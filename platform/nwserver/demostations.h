#pragma once

namespace nwserver {
class Server;
}

namespace nwserver::demo {

// The demo servers' simulated workstations: their users read the public programs and their own
// documents and keep a work file in their home directory. Called under the server's lock.
void populateStations(Server& server);

} // namespace nwserver::demo
