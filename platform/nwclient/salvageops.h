#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

// Erased files that can still be salvaged, per directory.
namespace nwclient {

// Next erased file of the directory dirHandle stands for. Start with iterHandle 0xFFFFFFFF and
// pass back what it gets; volNum and dirBase name the directory for recover and purge. The end is
// fscc::NoMoreEntries (0x89FF). Needs File Scan.
NWCCODE scanErasedFiles(ConnHandle handle, uint8_t dirHandle, uint32_t& iterHandle,
    uint32_t& volNum, uint32_t& dirBase, nwproto::NWDeletedInfo& info);
// Restores the erased file iterHandle under its old name, or under newName when that is not
// empty; fscc::AlreadyExists when the name is taken. Needs Create in the directory.
NWCCODE recoverErasedFile(ConnHandle handle, uint8_t dirHandle, uint32_t iterHandle,
    uint32_t volNum, uint32_t dirBase, const QString& newName = {});
// Removes an erased file for good. Needs Erase in the directory.
NWCCODE purgeErasedFile(
    ConnHandle handle, uint8_t dirHandle, uint32_t iterHandle, uint32_t volNum, uint32_t dirBase);

} // namespace nwclient
