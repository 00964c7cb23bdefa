#pragma once

namespace nwserver {
class Server;
}

namespace nwserver::demo {

// The demo world's volumes and files: FS1 with SYS and VOL1 (LONG name space), FS2 with SYS
// (DOS names only); the usual NetWare directories, configuration files, logs and modules, home
// directories, trustees, an inherited rights mask, space limits and salvageable files. Fixed
// dates from one base, so every build is identical. Needs the demo users; runs outside any
// open transaction.
void populateFiles(Server& server);

} // namespace nwserver::demo
