#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

// Trustee assignments of files and directories.
namespace nwclient {

// Up to 20 trustees of the entry per call. Start with iteration 0 and pass it back; each
// successful round sets it to a nonzero value. The end, also of an entry without trustees, is
// fscc::NoMoreTrustees (0x899C). count gets the number of filled slots of info.trusteeList.
NWCCODE scanEntryForTrustees(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint32_t& iteration, uint16_t& count, nwproto::NWEntryTrustees& info);
// Adds objectId as trustee of the entry or replaces its rights. Needs Access Control
// (fscc::NoModifyRights otherwise); cc::NoSuchObject for an unknown object.
NWCCODE addTrustee(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint32_t objectId, uint16_t rights);
// fscc::NoSuchTrustee (0x89FE) when objectId is no trustee of the entry.
NWCCODE deleteTrustee(ConnHandle handle, uint8_t dirHandle, const QString& path, uint32_t objectId);

} // namespace nwclient
