#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/statsrecords.h"

#include <QString>
#include <cmath>
#include <vector>

// The server's statistics: its internal counters, group by group, as the console's monitor
// reads them. The counters move with the server's real activity (requests, bytes, connections,
// time).
//
// Rights: cache, directory cache, garbage collection, LSL, packet burst and the LAN calls need a
// console operator (cc::NoConsoleRights, 0x89C6, otherwise); processor, file server, IPX/SPX
// and the NCP extension calls need a logged-in station (cc::AccessDenied otherwise).
//
// Versions: the statistics calls exist on NetWare 4 and later. A NetWare 3 server answers them
// cc::UnknownRequest (0x89FB) as it answers any request it does not know; only the NCP
// extension calls, which NetWare 3 has too, are answered there.
namespace nwclient {

using nwproto::NWCacheInfo;
using nwproto::NWCpuInfo;
using nwproto::NWDirCacheInfo;
using nwproto::NWFileServerStats;
using nwproto::NWGarbageCollectionInfo;
using nwproto::NWIpxSpxInfo;
using nwproto::NWLanCommonCounters;
using nwproto::NWLanConfigInfo;
using nwproto::NWLslInfo;
using nwproto::NWPacketBurstInfo;

// Completion codes particular to these calls.
namespace statcc {
constexpr NWCCODE NoSuchBoard = 0x8979; // no LAN board of that number is loaded
constexpr NWCCODE NoExtensions = 0x89FF; // no NCP extension (after the start id)
constexpr NWCCODE NoSuchItem = 0x89FF; // no such processor, counter block or extension
} // namespace statcc

// Cache statistics. info.currentServerTime is the server's up time in timer ticks.
NWCCODE getCacheInfo(ConnHandle handle, NWCacheInfo& info);
// Processor cpuNum (0 = the first); statcc::NoSuchItem beyond the last.
NWCCODE getCPUInfo(ConnHandle handle, uint32_t cpuNum, QString& cpuName, QString& coprocessor,
    QString& bus, NWCpuInfo& info);
NWCCODE getDirCacheInfo(ConnHandle handle, NWDirCacheInfo& info);
// Stations in use, peak, requests and the utilization percent of the last few seconds.
NWCCODE getFileServerInfo(ConnHandle handle, NWFileServerStats& info);
NWCCODE getGarbageCollectionInfo(ConnHandle handle, NWGarbageCollectionInfo& info);
NWCCODE getIPXSPXInfo(ConnHandle handle, NWIpxSpxInfo& info);
// Board boardNum (1 to 4); statcc::NoSuchBoard when that board is not loaded.
NWCCODE getLANConfigInfo(ConnHandle handle, uint32_t boardNum, NWLanConfigInfo& info);
// The generic counters of board boardNum, counter block blockNum (0: the only block);
// statcc::NoSuchBoard for a board that is not loaded, statcc::NoSuchItem for another block.
NWCCODE getLANCommonCountersInfo(
    ConnHandle handle, uint32_t boardNum, uint32_t blockNum, NWLanCommonCounters& counters);
NWCCODE getLSLInfo(ConnHandle handle, NWLslInfo& info);
NWCCODE getPacketBurstInfo(ConnHandle handle, NWPacketBurstInfo& info);

// The ids of the loaded NCP extensions greater than startId, ascending (start with 0).
// statcc::NoExtensions when there is none.
NWCCODE getNCPExtensionsList(ConnHandle handle, uint32_t startId, std::vector<uint32_t>& ids);
struct NCPExtensionInfo {
    QString name; // at most 32 characters
    uint8_t majorVersion = 0;
    uint8_t minorVersion = 0;
    uint8_t revision = 0;
};
// statcc::NoSuchItem for an id that is not loaded.
NWCCODE getNCPExtensionInfo(ConnHandle handle, uint32_t id, NCPExtensionInfo& info);

// Used memory in percent, 0 to 100: 100 minus the nearest integer to 100 times the cache
// buffers left divided by those the server started with (10000 and 6500 give 35). A record
// without buffers (a failed call) gives 0.
inline int usedMemoryPercent(const NWCacheInfo& info)
{
    if (info.originalNumOfCacheBuffers == 0)
        return 0;
    const double left = 100.0 * info.currentNumOfCacheBuffers / info.originalNumOfCacheBuffers;
    const int used = 100 - static_cast<int>(std::lround(left));
    return used < 0 ? 0 : (used > 100 ? 100 : used);
}

} // namespace nwclient
