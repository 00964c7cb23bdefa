#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

// Directory handles and path conversions of the client library.
//
// Paths: "VOLUME:dir\dir\name" from a volume root, or relative to a directory handle. "\" and
// "/" both separate names. A path never leaves its volume: ".." and "." are refused with
// fscc::InvalidPath, as is any name that cannot exist in the name space used. With directory
// handle 0 a path must start with its volume. Name lookups are case-insensitive.
//
// The name space of a call is that of its directory handle, unless the call names one. With
// directory handle 0 it is LONG when the volume has the LONG name space loaded, else DOS. In the
// LONG name space a name is looked up as long name first, then as DOS (8.3) name; in the DOS
// name space only DOS names count.
namespace nwclient {

// A temporary 8-bit directory handle for path (relative to dirHandle), in the name space of the
// server's choice (LONG where loaded). effectiveRights (optional) gets the low 8 bits of the
// effective rights. Handles are per connection; release them with deallocateDirHandle.
NWCCODE allocTempDirHandle(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t& newDirHandle, uint8_t* effectiveRights = nullptr);
// As above, with the path given in name space nameSpace and the new handle working in
// newNameSpace. fscc::InvalidNameSpace (0x89BF) when either is not loaded on the volume.
NWCCODE allocTempNSDirHandle(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t nameSpace, uint8_t& newDirHandle, uint8_t newNameSpace);
NWCCODE deallocateDirHandle(ConnHandle handle, uint8_t dirHandle);

// path (in srcNameSpace, relative to dirHandle) written with the names of dstNameSpace, as
// "VOLUME:dir\dir". isFile: the path names a file, else a directory.
NWCCODE convertNSPath(ConnHandle handle, uint8_t dirHandle, const QString& path, bool isFile,
    uint8_t srcNameSpace, uint8_t dstNameSpace, QString& result);
// The full path "VOLUME:dir\name" (long names where loaded) of entry number dirEntry of a volume;
// dirEntry is NWEntryInfo::sequence or NWNSEntryInfo::dirEntNum.
NWCCODE getPathFromDirEntry(ConnHandle handle, uint16_t volNum, uint32_t dirEntry, QString& path);
// The name in dstNameSpace of the entry path names in srcNameSpace (a file or a directory).
NWCCODE getLongName(ConnHandle handle, uint8_t dirHandle, const QString& path, uint8_t srcNameSpace,
    uint8_t dstNameSpace, QString& name);
// Information of one entry (path in srcNameSpace), names given in dstNameSpace. searchAttr
// selects files (search::Files) or directories (search::Directories).
NWCCODE getNSEntryInfo(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t srcNameSpace, uint8_t dstNameSpace, uint16_t searchAttr, uint32_t infoMask,
    nwproto::NWNSEntryInfo& info);

// A UNC path (\\SERVER\VOLUME\dir) or server-qualified path (SERVER/VOLUME:dir) split into a
// connection handle to its server (newly opened: the caller closes it), directory handle 0 and
// the NetWare path "VOLUME:dir". cc::NoSuchServer (0x8847) when the server is not attached;
// fscc::InvalidPath when the text is neither form.
NWCCODE parseNetWarePath(
    const QString& path, ConnHandle& handle, uint8_t& dirHandle, QString& netwarePath);
// A server-qualified path (SERVER/VOLUME:dir\dir) split into its parts; handle is a newly opened
// connection to the server (the caller closes it). directory is "dir\dir" (maybe empty).
NWCCODE parsePath(
    const QString& path, QString& server, ConnHandle& handle, QString& volume, QString& directory);

} // namespace nwclient
