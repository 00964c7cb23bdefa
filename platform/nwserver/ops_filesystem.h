#pragma once

#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/filesystem.h"
#include "platform/nwserver/server.h"

// Shared pieces of the file-system operations (ops_volumes.cpp, ops_entries.cpp,
// ops_trustees.cpp, ops_filedata.cpp).
namespace nwserver::fsops {

void registerVolumes(Dispatcher& d);
void registerEntries(Dispatcher& d);
void registerTrustees(Dispatcher& d);
void registerFileData(Dispatcher& d);

inline FileSystem& fs(RequestContext& ctx)
{
    return ctx.server.fileSystem();
}

// Resolves a path that must name an existing entry met by the search attributes.
NWCCODE existing(RequestContext& ctx, uint8_t dirHandle, const QString& path, int ns,
    uint16_t searchAttr, FsTarget& t);

} // namespace nwserver::fsops
