#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

#include <vector>

// Volume operations of the client library. Volume numbers run from 0 to 64.
namespace nwclient {

// The name of volume volNum; fscc::NoSuchVolume (0x8998) when no volume has that number.
NWCCODE getVolumeName(ConnHandle handle, uint16_t volNum, QString& name);
// A trailing ":" of the name is ignored; fscc::NoSuchVolume when unknown.
NWCCODE getVolumeNumber(ConnHandle handle, const QString& name, uint16_t& volNum);
// Extended information of a mounted volume (NetWare 4 servers; a NetWare 3 server answers
// cc::UnknownRequest (0x89FB) so that callers fall back to getDirSpaceInfo).
NWCCODE getExtendedVolumeInfo(ConnHandle handle, uint16_t volNum, nwproto::NWVolExtendedInfo& info);
// Space of a volume (dirHandle 0) or of the directory dirHandle stands for: there the figures
// are those of the tightest space limit on its way up, when one is set.
NWCCODE getDirSpaceInfo(
    ConnHandle handle, uint8_t dirHandle, uint16_t volNum, nwproto::NWDirSpaceInfo& info);
// Name spaces loaded on a volume (nwproto::ns numbers, DOS first).
NWCCODE getNSLoadedList(ConnHandle handle, uint16_t volNum, std::vector<uint8_t>& nameSpaces);
// Console operators only. Mounting a mounted volume answers fscc::VolumeAlreadyMounted; a
// volume with open files cannot be dismounted (fscc::FileInUse).
NWCCODE mountVolume(ConnHandle handle, const QString& name, uint16_t& volNum);
NWCCODE dismountVolume(ConnHandle handle, const QString& name);

} // namespace nwclient
