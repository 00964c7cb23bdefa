#pragma once

#include <cstdint>

namespace nwproto {

// Request function numbers. Each area has its own block so that areas grow without renumbering
// one another; a number, once used, keeps its meaning because peers of other builds rely on it.
using FnCode = uint16_t;

namespace fn {
// Session: 0x01xx
constexpr FnCode Attach = 0x0101;
constexpr FnCode Login = 0x0102;
constexpr FnCode Logout = 0x0103;
constexpr FnCode Detach = 0x0104;
constexpr FnCode WhoAmI = 0x0105;

// Server and console: 0x02xx
constexpr FnCode GetServerInfo = 0x0201;
constexpr FnCode GetDateTime = 0x0202;
constexpr FnCode SetDateTime = 0x0203;
constexpr FnCode GetLoginStatus = 0x0204;
constexpr FnCode SetLoginStatus = 0x0205;
constexpr FnCode TtsIsAvailable = 0x0206;
constexpr FnCode SetTtsStatus = 0x0207;
constexpr FnCode CheckConsolePrivileges = 0x0208;
constexpr FnCode GetNetworkSerialNumber = 0x0209;
constexpr FnCode DownServer = 0x020A;
constexpr FnCode GetServerDescription = 0x020B;

// File system: 0x04xx
constexpr FnCode GetVolumeName = 0x0401;
constexpr FnCode GetVolumeNumber = 0x0402;
constexpr FnCode GetExtendedVolumeInfo = 0x0403;
constexpr FnCode GetDirSpaceInfo = 0x0404;
constexpr FnCode GetNSLoadedList = 0x0405;
constexpr FnCode MountVolume = 0x0406;
constexpr FnCode DismountVolume = 0x0407;
constexpr FnCode AllocTempDirHandle = 0x0410;
constexpr FnCode AllocTempNSDirHandle = 0x0411;
constexpr FnCode DeallocateDirHandle = 0x0412;
constexpr FnCode ConvertNSPath = 0x0413;
constexpr FnCode GetPathFromDirEntry = 0x0414;
constexpr FnCode GetLongName = 0x0415;
constexpr FnCode GetNSEntryInfo = 0x0416;
constexpr FnCode ScanDirEntries = 0x0420;
constexpr FnCode ScanDirEntryInfo = 0x0421;
// Several entries of a name-space scan in one reply; the client hands them out one by one.
constexpr FnCode ScanDirEntriesBatch = 0x0470;
constexpr FnCode GetEffectiveRights = 0x0422;
constexpr FnCode CreateDirectory = 0x0430;
constexpr FnCode DeleteDirectory = 0x0431;
constexpr FnCode RenameDirectory = 0x0432;
constexpr FnCode EraseFiles = 0x0433;
constexpr FnCode RenameFile = 0x0434;
constexpr FnCode SetNSEntryDOSInfo = 0x0435;
constexpr FnCode SetDirEntryInfo = 0x0436;
constexpr FnCode ScanEntryForTrustees = 0x0440;
constexpr FnCode AddTrustee = 0x0441;
constexpr FnCode DeleteTrustee = 0x0442;
constexpr FnCode ScanErasedFiles = 0x0450;
constexpr FnCode RecoverErasedFile = 0x0451;
constexpr FnCode PurgeErasedFile = 0x0452;
constexpr FnCode OpenFile = 0x0460;
constexpr FnCode ReadFile = 0x0461;
constexpr FnCode WriteFile = 0x0462;
constexpr FnCode CloseFile = 0x0463;
constexpr FnCode GetFileSize = 0x0464;
constexpr FnCode SetFileSize = 0x0465;

// Bindery: 0x05xx
constexpr FnCode GetBinderyObjectId = 0x0501;
constexpr FnCode GetBinderyObjectName = 0x0502;
constexpr FnCode ScanBinderyObject = 0x0503;
constexpr FnCode ReadPropertyValue = 0x0504;
constexpr FnCode ScanProperty = 0x0505;

// Directory services: 0x07xx
constexpr FnCode NdsResolveName = 0x0701;
constexpr FnCode NdsReadEntryInfo = 0x0702;
constexpr FnCode NdsList = 0x0703;
constexpr FnCode NdsRead = 0x0704;

// Statistics: 0x08xx
constexpr FnCode GetCacheInfo = 0x0801;
constexpr FnCode GetCPUInfo = 0x0802;
constexpr FnCode GetDirCacheInfo = 0x0803;
constexpr FnCode GetFileServerStats = 0x0804;
constexpr FnCode GetGarbageCollectionInfo = 0x0805;
constexpr FnCode GetIPXSPXInfo = 0x0806;
constexpr FnCode GetLANConfigInfo = 0x0807;
constexpr FnCode GetLANCommonCounters = 0x0808;
constexpr FnCode GetLSLInfo = 0x0809;
constexpr FnCode GetPacketBurstInfo = 0x080A;
constexpr FnCode GetNCPExtensionsList = 0x080B;
constexpr FnCode GetNCPExtensionInfo = 0x080C;

// Blocks taken by later areas: connections and users 0x03xx, file system 0x04xx, bindery 0x05xx,
// modules and SET 0x06xx, directory services 0x07xx, statistics 0x08xx.
} // namespace fn

} // namespace nwproto
