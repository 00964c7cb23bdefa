#pragma once

namespace nwserver {

class Server;

namespace demo {

// The demo's directory beyond its users: the server's own bindery object, print queues and
// print servers with their properties, and for a server in a tree the tree itself: O=ACME with
// OU=SALES and OU=IT, the users placed in them, groups, a role, printers, queues, the volume
// objects, the server object and an alias. Runs inside populate's transaction.
void populateDirectory(Server& server);

} // namespace demo
} // namespace nwserver
