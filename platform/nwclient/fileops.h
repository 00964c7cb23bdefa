#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

// Directory entries: scanning, rights, creating, deleting, renaming and changing them. Paths and
// name spaces as in pathops.h. Every call checks the caller's effective rights and answers the
// NetWare code of a refusal (nwproto::fscc).
namespace nwclient {

// Next entry of the directory dirHandle stands for whose name matches pattern ("*" or "*.*" =
// all; "?" one character, "*" any run), in nameSpace. searchAttr: search::Files or
// search::Directories (hidden and system entries only with their search bits). infoMask says
// which fields of info are filled (nwproto::info). Start with sequence zeroed and
// searchDirNumber = 0xFFFFFFFF; pass it back unchanged. The end is fscc::NoMoreEntries (0x89FF).
// Needs the File Scan right (fscc::NoSearchRights otherwise).
NWCCODE scanDirEntries(ConnHandle handle, uint8_t dirHandle, uint8_t nameSpace, uint16_t searchAttr,
    nwproto::NWSearchSequence& sequence, const QString& pattern, uint32_t infoMask,
    nwproto::NWNSEntryInfo& info);
// Next entry matching pattern in the directory of dirHandle, as the 132-byte record (DOS names).
// An empty pattern with search::Directories reads the directory of dirHandle itself. Start with
// sequence 0xFFFFFFFF; it is the number of the entry read last. The end is fscc::NoMoreEntries.
NWCCODE scanDirEntryInfo(ConnHandle handle, uint8_t dirHandle, uint16_t searchAttr,
    uint32_t& sequence, const QString& pattern, nwproto::NWEntryInfo& info);
// The caller's effective rights (nwproto::rights) on a directory or file.
NWCCODE getEffectiveRights(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t& rights);

// A new directory with the inherited rights mask rightsMask (the low 8 bits; Supervisor is kept
// out of a mask given as 0xFB, as on NetWare). Needs Create in the parent.
NWCCODE createDirectory(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint8_t rightsMask);
// Deletes an empty directory (fscc::DirectoryNotEmpty otherwise). Needs Erase.
NWCCODE deleteDirectory(ConnHandle handle, uint8_t dirHandle, const QString& path);
// Renames a directory in place. Needs Modify; Rename Inhibit refuses it.
NWCCODE renameDirectory(
    ConnHandle handle, uint8_t dirHandle, const QString& path, const QString& newName);
// Erases the files matching path's last name (wildcards allowed) with the search attributes.
// Erased files stay salvageable unless Purge Immediate is set on them or a parent directory.
// Needs Erase; Read-only gives fscc::ReadOnly, Delete Inhibit fscc::NoDeleteRights, a file
// open on another connection fscc::FileInUse (0x898E). fscc::NoMoreEntries when none matched.
NWCCODE eraseFiles(ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t searchAttr);
// Renames or moves a file (or, with search::Directories, a directory) within its volume.
// Needs Modify on the entry and Create in the target directory when it moves.
NWCCODE renameFile(ConnHandle handle, uint8_t dirHandle, const QString& oldPath,
    uint16_t searchAttr, uint8_t newDirHandle, const QString& newPath);

// Changes the fields of info that modifyMask names (nwproto::modify) on the entry path names in
// nameSpace. Attributes, dates and modifier need Modify (fscc::NoModifyRights); owner and
// maximum space need Supervisor rights; the inherited rights mask needs Access Control. The
// Compressed and Directory bits are the server's own and keep their value.
NWCCODE setNSEntryDOSInfo(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t nameSpace, uint16_t searchAttr, uint32_t modifyMask,
    const nwproto::NWModifyDosInfo& info);
// Changes the fields changeBits names (modify::Attributes, CreateDate|CreateTime, CreatorId,
// ArchiveDate|ArchiveTime, ModifyDate|ModifyTime, InheritedRightsMask, MaximumSpace) of entry
// number sequence on the volume of dirHandle, taken from a record read with scanDirEntryInfo.
NWCCODE setDirEntryInfo(ConnHandle handle, uint8_t dirHandle, uint16_t searchAttr,
    uint32_t sequence, uint32_t changeBits, const nwproto::NWEntryInfo& info);

} // namespace nwclient
