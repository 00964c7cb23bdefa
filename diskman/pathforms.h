#pragma once

#include "platform/nwclient/client.h"

#include <QString>

// The three path forms of the disk manager and the conversions between them:
//   NetWare path          SYS:PUBLIC\UTILS      (the tree, the file list, every client call)
//   server-qualified path FS1/SYS:PUBLIC\UTILS  (copy and rename requests)
//   UNC path              \\FS1\SYS\PUBLIC\UTILS (everything that goes through the redirector)
// The queries here never throw: a failure answers the input or an empty text as stated.

// name inside directory: "SYS:" + "\PUBLIC" gives SYS:PUBLIC, "SYS:PUBLIC" + "UTILS" gives
// SYS:PUBLIC\UTILS. An empty directory gives the name.
QString JoinPath(const QString& directory, const QString& name);

// "SYS:" of "SYS:PUBLIC" (up to and including the first ":"); empty without ":".
QString VolumePrefix(const QString& path);

// The UNC form of a NetWare or server-qualified path, with the server name of conn. A path
// that already is a UNC path, or no connection (0), gives the path unchanged, as does a server
// whose name cannot be read.
QString ToUNC(nwclient::ConnHandle conn, const QString& path);
// The same through a connection of its own; a server-qualified path is split by the client and
// named after its own server. Unchanged when no connection can be had.
QString ToUNCByRef(nwclient::ConnRef ref, const QString& path);

// The NetWare path of a UNC (or server-qualified) path of an attached server; empty otherwise.
QString FromUNC(const QString& uncPath);

// The DOS-name form of a directory path ("SYS:LONG NAME\SUB" to "SYS:LONGNAME\SUB"). A path
// ending in ":" (after one trailing "\" is dropped) and one that cannot be converted come back
// as they were. With a name, the DOS name of that file in the directory path (DOSNameOf).
QString DOSPath(nwclient::ConnHandle conn, const QString& path, const QString& name = QString());

// The DOS name of the file longName in directory; the upper-cased long name when it cannot be
// read (no such file, no LONG name space).
QString DOSNameOf(nwclient::ConnHandle conn, const QString& directory, const QString& longName);
// The same through a connection of its own; empty when no connection can be opened.
QString DOSNameOfByRef(nwclient::ConnRef ref, const QString& directory, const QString& longName);
