#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

#include <QString>
#include <cstdint>

// Reading directory entries: the 132-byte entry-information record, attributes, rights and
// existence.

// The entry-information record: attributes at 8, DOS name length at 15 and name at 16, creation
// at 28, owner at 32, last archived at 36, last modified at 44; for files the last modifier at
// 48, size at 52, inherited rights mask at 100 and last-access date at 102; for directories the
// maximum space (4 KB blocks, signed, 0 = no limit) at 100 and the inherited rights mask at
// 104. Date-times are packed DOS date-times (date in the high 16 bits).
using TEntryInfo = nwproto::NWEntryInfo;

// The record of file name in directory, or with an empty name of the directory itself.
// False (nothing shown) when no handle for the directory can be had; a failing read throws
// TNWException "Error reading file information\r<directory>\<name>" or "Error reading
// directory information\r<directory>\". True when the record was read.
bool ReadEntryInfo(
    nwclient::ConnHandle conn, const QString& directory, const QString& name, TEntryInfo& record);
// The same through a connection of its own; false when none can be opened.
bool ReadEntryInfoByRef(
    nwclient::ConnRef ref, const QString& directory, const QString& name, TEntryInfo& record);

// The attributes of the entry path names, met with searchAttributes (nwproto::search); 0 when
// it cannot be read. Never throws.
uint32_t EntryAttributes(nwclient::ConnHandle conn, const QString& path, uint16_t searchAttributes);
uint32_t FileAttributes(nwclient::ConnHandle conn, const QString& path); // files only
uint32_t DirectoryAttributes(nwclient::ConnHandle conn, const QString& path); // directories only

// The user's effective rights (nwproto::rights) on path, or NoRights (negative) when the
// connection or the call fails.
constexpr int32_t NoRights = -65536;
int32_t EffectiveRights(nwclient::ConnRef ref, const QString& path);
bool HasModifyRight(nwclient::ConnRef ref, const QString& path);
bool HasAnyRight(nwclient::ConnRef ref, const QString& path); // some right at all
bool PathExists(nwclient::ConnRef ref, const QString& path); // the rights could be read

// True when directory holds a file called name (hidden and system files included). Never
// throws.
bool FileExistsIn(nwclient::ConnHandle conn, const QString& directory, const QString& name);
bool FileExistsInByRef(nwclient::ConnRef ref, const QString& directory, const QString& name);
