#pragma once

#include "platform/nwserver/identity.h"

#include <QString>

namespace nwserver {

class Server;

// The demo world: FS1 (NetWare 4.11 in tree ACME_TREE) and FS2 (NetWare 3.12, bindery) with
// their users. Built once on first start and identical every time it is built.
namespace demo {

// Demo passwords (documented in the README): ADMIN "admin", SUPERVISOR "supervisor",
// ordinary users their own name in lower case, GUEST none.
ServerIdentity fs1Identity();
ServerIdentity fs2Identity();

// Adds the demo content to a freshly created server; does nothing to one that has it already.
void populate(Server& server);

// The folder holding the demo servers' data directories (FS1/, FS2/) by default.
QString defaultRoot();

// Creates FS1 and FS2 under root when they are missing; returns nothing, the servers are opened
// by whoever hosts them.
void ensure(const QString& root);

} // namespace demo
} // namespace nwserver
