#pragma once

#include "platform/nwclient/conninfo.h"
#include "platform/nwclient/workstationconfig.h"
#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/functions.h"
#include "platform/nwproto/wire.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// The client library: the workstation's only way to a server. Every call answers a NetWare
// completion code (0 = success). Thread-safe: worker threads call it alongside the interface
// thread. Connection handles are opened for one piece of work and always closed.
namespace nwclient {

using nwproto::NWCCODE;
using ConnRef = uint32_t;
using ConnHandle = uint32_t;

// Library. initialise() attaches the servers of the startup configuration; calling it again
// without terminate() does nothing and answers success.
NWCCODE initialise();
NWCCODE initialise(const WorkstationConfig& config);
void terminate();
bool isInitialised();

// The attach table. scanConnRefs starts with iterator 0 and answers NoMoreEntries at the end.
NWCCODE scanConnRefs(uint32_t& iterator, ConnRef& ref);
NWCCODE getConnInfo(ConnRef ref, TNWConnInfo& info);
NWCCODE openConnByReference(ConnRef ref, ConnHandle& handle);
NWCCODE closeConn(ConnHandle handle);
NWCCODE getConnRef(ConnHandle handle, ConnRef& ref);

// Directory-services flag (nonzero = the server is reached through a tree) and tree name.
NWCCODE getDirectoryServicesFlag(ConnHandle handle, uint32_t& flag);
NWCCODE getDirectoryServicesFlagByRef(ConnRef ref, uint32_t& flag);
NWCCODE getTreeName(ConnHandle handle, QString& tree);

// Login and logout as the client's login dialog does them: the server is attached when it is
// not yet in the attach table.
QStringList knownServers();
NWCCODE loginToServer(
    const QString& server, const QString& user, const QString& password, ConnRef* ref = nullptr);
NWCCODE logoutFromServer(ConnRef ref);

// Drive mappings, drive 1 = A: to 26 = Z:. getDriveInformation answers DriveNotInUse (15) for a
// free drive.
NWCCODE getDriveInformation(uint16_t drive, ConnRef& ref, QString& path);
NWCCODE setDriveBase(
    uint16_t drive, ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t scope);
NWCCODE deleteDriveBase(uint16_t drive);

// One request on a handle: the building block of every operation of the library.
// With a fragment, file data of the reply arrives in it instead of in reply (see wire.h).
NWCCODE request(ConnHandle handle, nwproto::FnCode fn, const QByteArray& body, QByteArray& reply,
    nwproto::ReplyFragment* fragment = nullptr);

} // namespace nwclient
