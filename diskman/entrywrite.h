#pragma once

#include "diskman/entryinfo.h"
#include "platform/nwclient/client.h"

#include <QString>
#include <cstdint>

// Changing directory entries: attributes (nwattr), owner and modifier, dates, space limits and
// names. Each routine taking a connection reference opens and closes a connection of its own,
// works in the name space of the path's volume (NameSpaceFor) and throws TNWException with its
// text and the code's text on failure; "%s" below is the path. Dates are packed DOS date-times
// (date in the high 16 bits, time in the low 16 bits).

// Replaces every attribute of the file. "Error setting attribute of\r%s".
void SetFileAttributes(nwclient::ConnRef ref, const QString& path, uint32_t attributes);
void SetFileAttributesConn(nwclient::ConnHandle conn, const QString& path, uint32_t attributes);

// Replaces every attribute of the directory, with wholeSubtree of every directory below it too
// (each after its subdirectories; a failure asks OK or Abort, see WalkTree). On a volume with
// DOS names only the path is upper-cased first. "Error setting attribute of\r%s".
void SetDirectoryAttributes(
    nwclient::ConnRef ref, const QString& path, uint32_t attributes, bool wholeSubtree);
void SetDirectoryAttributesConn(
    nwclient::ConnHandle conn, const QString& path, uint32_t attributes);

// Writes the attributes of record (read with ReadEntryInfo for the directory itself) to the
// directory. Without the Modify right it is refused with code 0x89A8 before anything is
// written. "Error setting attribute of\r%s".
void SetDirectoryEntryAttributes(
    nwclient::ConnRef ref, const QString& path, const TEntryInfo& record);

// The owner of a file or directory; with wholeSubtree (directories only) also of every
// directory below it and of their files, passing over files that refuse. "Error modifing owner
// id" (without the path).
void SetOwner(
    nwclient::ConnRef ref, const QString& path, bool isFile, uint32_t objectId, bool wholeSubtree);
// "Error modifing modifier id" (without the path).
void SetModifier(nwclient::ConnRef ref, const QString& path, bool isFile, uint32_t objectId);

// "Error modifing creation date\r%s", "... last modification date\r%s", "... archive
// date\r%s"; the last-access date (files only) keeps the date part alone: "Error modifing last
// access date\r%s".
void SetCreationDate(nwclient::ConnRef ref, const QString& path, bool isFile, uint32_t dateTime);
void SetModifyDate(nwclient::ConnRef ref, const QString& path, bool isFile, uint32_t dateTime);
void SetArchiveDate(nwclient::ConnRef ref, const QString& path, bool isFile, uint32_t dateTime);
void SetLastAccessDate(nwclient::ConnRef ref, const QString& path, uint32_t dateTime);

// The space limit of a directory in 4 KB blocks, 0 = no limit. "Error setting maximum space
// restriction\r%s".
void SetMaximumSpace(nwclient::ConnRef ref, const QString& path, uint32_t blocks);

// Renames or moves a file within its volume. "Unable to rename file\r%s" with the old path.
void RenameFile(nwclient::ConnRef ref, const QString& oldPath, const QString& newPath);
// Renames a directory in place; false when that fails (nothing thrown).
bool RenameDirectory(nwclient::ConnRef ref, const QString& path, const QString& newName);
