#include "platform/nwproto/statsrecords.h"
#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/server.h"

#include <algorithm>
#include <cstring>

namespace nwserver {

using namespace nwproto;

// The statistics calls of a NetWare 4 server. A NetWare 3 server does not know them and answers
// as it answers any unknown request; it does know the NCP extension calls.
namespace {

constexpr NWCCODE kNoSuchBoard = 0x8979;
constexpr NWCCODE kNoSuchItem = 0x89FF;
constexpr uint32_t kMaxExtensionIds = 128;

uint32_t low32(uint64_t v)
{
    return static_cast<uint32_t>(v);
}

uint32_t ticksOf(double seconds)
{
    return static_cast<uint32_t>(seconds * kTicksPerSecond);
}

template <typename T> NWCCODE reply(WireWriter& out, const T& record)
{
    out.raw(&record, sizeof record);
    return cc::Success;
}

bool netWare4(const RequestContext& ctx)
{
    return ctx.server.identity().isNetWare4();
}

// Memory the server started with, in cache buffers: what is left of its RAM once the operating
// system is loaded.
uint32_t originalCacheBuffers(const Server& s)
{
    return s.identity().isNetWare4() ? 14336 : 7680;
}

uint32_t directoryCount(Server& s)
{
    return s.db().scalar("SELECT COUNT(*) FROM fs_entries WHERE is_dir = 1").toUInt();
}

uint32_t dirCacheBuffers(Server& s)
{
    return std::clamp<uint32_t>(20 + directoryCount(s) / 2, 20, 500);
}

// The loaded LAN boards: one NE2000 with two frame types bound (AUTOEXEC.NCF of the demo).
struct Board {
    const char* logicalName;
    uint16_t mediaId;
    uint32_t maxSize;
};
const Board kBoards[] = { { "E82", 3, 1514 }, { "EII", 2, 1514 } };

// NCP extensions registered by the modules a NetWare 4 server loads at start.
struct Extension {
    uint32_t id;
    const char* name;
    uint8_t major;
    uint8_t minor;
    uint8_t revision;
};
const Extension kExtensions[] = { { 0x0020, "BTRIEVE", 6, 10, 0 },
    { 0x0031, "NetWare Licensing", 4, 11, 0 }, { 0x0040, "Time Synchronization", 4, 11, 2 } };

std::vector<Extension> extensionsOf(const Server& s)
{
    if (!s.identity().isNetWare4())
        return {};
    return { std::begin(kExtensions), std::end(kExtensions) };
}

NWCCODE getCacheInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    Server& s = ctx.server;
    Statistics& st = s.statistics();
    const Statistics::Totals& t = st.totals();
    NWCacheInfo i;
    i.currentServerTime = st.upTicks();
    i.vconsoleVersion = 1;
    i.vconsoleRevision = 0;
    i.originalNumOfCacheBuffers = originalCacheBuffers(s);
    // Connections, open files and the directory cache take their memory from the cache.
    const uint32_t taken = 2900 + dirCacheBuffers(s) + 24u * s.connections().inUse()
        + 8u * static_cast<uint32_t>(t.opens - std::min(t.opens, t.closes));
    i.currentNumOfCacheBuffers = i.originalNumOfCacheBuffers - std::min(taken, 12000u);
    i.cacheDirtyBlockThreshold = i.originalNumOfCacheBuffers / 2;
    i.waitNodeCount = low32(t.writeRequests / 16);
    i.moveCacheNodeCount = low32(t.writeBlocks);
    i.moveCacheNodeFromAvailCount = low32(t.opens);
    i.accelerateCacheNodeWriteCount = low32(t.fullBlockWrites);
    i.removeCacheNodeCount = low32(t.closes);
    i.removeCacheNodeFromAvailCount = low32(t.closes / 2);
    // Every file opened is read from disk once; what follows comes from the cache.
    const uint64_t misses = std::min(t.readBlocks, t.opens);
    i.readExistingBlockCount = low32(t.readBlocks);
    i.readExistingPartialReadCount = low32(t.readRequests - std::min(t.readRequests, t.readBlocks));
    i.writeBlockCount = low32(t.writeBlocks);
    i.writeEntireBlockCount = low32(t.fullBlockWrites);
    i.getDiskCount = low32(misses + t.writeBlocks);
    i.getDiskNeedToAllocCount = low32(misses);
    i.getDiskPartialReadCount = low32(misses / 2);
    i.getAsyncDiskCount = low32(t.opens);
    i.getDiskNoReadCount = low32(t.writeBlocks);
    i.getDiskNoReadAllocCount = low32(t.writeBlocks - t.fullBlockWrites);
    i.diskWriteCount = low32(t.writeBlocks);
    i.diskWriteAllocCount = low32(t.writeBlocks);
    i.allocBlockCount = low32(misses + t.writeBlocks);
    i.numCacheChecks = low32(t.readBlocks + t.writeBlocks);
    i.numCacheHits = low32(t.readBlocks + t.writeBlocks - misses);
    i.numDirtyCacheChecks = low32(t.writeBlocks);
    i.numDirtyCacheHits = low32(t.writeBlocks - std::min(t.writeBlocks, t.writeRequests));
    i.allocBlockFromAvailCount = low32(misses + t.writeBlocks);
    // Nothing has been pushed out of the cache yet: the oldest block sits since the start.
    i.lruSittingTime = i.currentServerTime;
    i.minNumOfCacheBuffers = 20;
    i.minCacheReportThreshold = 20;
    i.numDirtyBlocks = st.dirtyBlocks();
    i.cacheDirtyWaitTime = ticksOf(3.3);
    i.cacheMaxConcurrentWrites = 50;
    i.maxDirtyTime = ticksOf(3.3);
    i.numOfDirCacheBuffers = dirCacheBuffers(s);
    i.cacheByteToBlockShiftFactor = 12;
    return reply(out, i);
}

NWCCODE getCPUInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t cpu = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    if (cpu != 0)
        return kNoSuchItem;
    NWCpuInfo i;
    i.numOfCPUs = 1;
    i.cpuTypeFlag = cputype::Pentium;
    i.coProcessorFlag = 1;
    i.busTypeFlag = bustype::Pci;
    out.str(QStringLiteral("Pentium")).str(QStringLiteral("Internal")).str(QStringLiteral("PCI"));
    return reply(out, i);
}

NWCCODE getDirCacheInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    Server& s = ctx.server;
    Database& db = s.db();
    NWDirCacheInfo i;
    i.minTimeSinceFileDelete = ticksOf(65.9);
    i.absMinTimeSinceFileDelete = ticksOf(65.9);
    i.minNumOfDirCacheBuffers = 20;
    i.maxNumOfDirCacheBuffers = 500;
    i.numOfDirCacheBuffers = dirCacheBuffers(s);
    i.dcMinNonReferencedTime = ticksOf(5.5);
    i.dcWaitTimeBeforeNewBuffer = ticksOf(2.2);
    i.dcMaxConcurrentWrites = 10;
    i.dcDirtyWaitTime = ticksOf(0.5);
    i.mapHashNodeCount = db.scalar("SELECT COUNT(*) FROM fs_entries").toUInt();
    i.spaceRestrictionNodeCount
        = db.scalar("SELECT COUNT(*) FROM fs_entries WHERE max_space > 0").toUInt();
    i.trusteeListNodeCount = db.scalar("SELECT COUNT(*) FROM fs_trustees").toUInt();
    // A directory entry takes 128 bytes of the volumes' blocks.
    const double blocks = db.scalar("SELECT SUM(total_blocks) FROM fs_volumes").toDouble();
    const double dirBytes = 128.0 * i.mapHashNodeCount;
    i.percentOfVolumeUsedByDirs
        = blocks > 0 ? static_cast<uint32_t>(100.0 * dirBytes / (blocks * 4096.0)) : 0;
    return reply(out, i);
}

NWCCODE getFileServerStats(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    Server& s = ctx.server;
    const Statistics::Totals& t = s.statistics().totals();
    NWFileServerStats i;
    i.ncpStationsInUseCount = s.connections().inUse();
    i.ncpPeakStationsInUseCount = s.connections().maxEverUsed();
    i.numOfNCPRequests = low32(t.requests);
    i.serverUtilization = s.statistics().utilization();
    i.totalPacketsServiced = low32(t.requests + t.attaches);
    i.invalidRequestTypeCount = low32(t.unknownRequests);
    i.noAvailableConnsCount = low32(t.refusedAttaches);
    return reply(out, i);
}

NWCCODE getGarbageCollectionInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    Statistics& st = ctx.server.statistics();
    const Statistics::Totals& t = st.totals();
    // The collector looks every minute and collects every five when something was freed.
    const uint64_t checks = static_cast<uint64_t>(st.upMsecs() / 60000);
    const uint64_t collections = static_cast<uint64_t>(st.upMsecs() / 300000);
    NWGarbageCollectionInfo i;
    i.numOfAllocs = low32(t.attaches + t.logins + t.opens);
    i.numOfGarbageCollections = low32(collections);
    i.garbageFoundSomeMem = low32(std::min(collections, t.closes + t.detaches));
    i.garbageNumOfChecks = low32(checks);
    return reply(out, i);
}

// Packets on the wire: every request and attach is one in and one out; on top the segment's
// broadcasts arrive three a second, and the server advertises itself and its routes each minute.
uint64_t packetsIn(Statistics& st)
{
    return st.totals().requests + st.totals().attaches
        + static_cast<uint64_t>(st.upMsecs() / 1000) * 3;
}

uint64_t packetsOut(Statistics& st)
{
    return st.totals().requests + st.totals().attaches
        + static_cast<uint64_t>(st.upMsecs() / 60000) * 2;
}

NWCCODE getIPXSPXInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    Server& s = ctx.server;
    Statistics& st = s.statistics();
    const Statistics::Totals& t = st.totals();
    NWIpxSpxInfo i;
    i.ipxSendPacketCount = low32(packetsOut(st));
    i.ipxGetECBRequestCount = low32(packetsOut(st));
    i.ipxAESEventCount = low32(static_cast<uint64_t>(st.upMsecs() / 1000));
    i.ipxMaxConfiguredSocketCount = 2000;
    i.ipxMaxOpenSocketCount = 20u + s.connections().maxEverUsed();
    i.ipxListenECBCount = low32(packetsIn(st));
    i.spxMaxConnsCount = 1000;
    i.spxMaxUsedConns = 2; // the remote console's listeners
    i.spxListenConnectReq = 2;
    i.spxIncomingPacketCount = low32(t.attaches);
    return reply(out, i);
}

NWCCODE getLANConfigInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t board = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    if (board < 1 || board > std::size(kBoards))
        return kNoSuchBoard;
    const Board& b = kBoards[board - 1];
    NWLanConfigInfo i;
    i.driverCfgMajorVersion = 1;
    i.driverCfgMinorVersion = 11;
    const uint8_t node[6] = { 0x00, 0x00, 0x1B, 0x12, 0x34, 0x56 };
    std::memcpy(i.driverNodeAddress, node, sizeof node);
    i.driverModeFlags = 0x0001; // real driver
    i.driverBoardNum = static_cast<uint16_t>(board);
    i.driverBoardInstance = 1;
    i.driverMaxSize = b.maxSize;
    i.driverMaxRecvSize = b.maxSize;
    i.driverRecvSize = b.maxSize;
    i.driverMediaId = b.mediaId;
    i.driverTransportTime = 1;
    i.driverMajorVersion = 3;
    i.driverMinorVersion = 26;
    i.driverSendRetries = 10;
    i.driverIoPortsAndLengths[0] = 0x300;
    i.driverIoPortsAndLengths[1] = 0x20;
    i.driverInterrupt[0] = 5;
    i.driverInterrupt[1] = 0xFF;
    i.driverDmaUsage[0] = 0xFF;
    i.driverDmaUsage[1] = 0xFF;
    // The field holds up to 18 characters and needs no terminating zero when full.
    std::memcpy(i.driverLogicalName, b.logicalName,
                std::min(std::strlen(b.logicalName), sizeof i.driverLogicalName));
    return reply(out, i);
}

NWCCODE getLANCommonCounters(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t board = in.u32();
    const uint32_t block = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    if (board < 1 || board > std::size(kBoards))
        return kNoSuchBoard;
    if (block != 0)
        return kNoSuchItem;
    // One card carries both frames: its counters are the same for either board.
    Statistics& st = ctx.server.statistics();
    NWLanCommonCounters c;
    c.totalTxPacketCount = low32(packetsOut(st));
    c.totalRxPacketCount = low32(packetsIn(st));
    return reply(out, c);
}

NWCCODE getLSLInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    Server& s = ctx.server;
    Statistics& st = s.statistics();
    NWLslInfo i;
    // Receive buffers grow from the minimum of 100 with the stations the server has served.
    i.rxBufs = std::min<uint32_t>(400, 100u + 2u * s.connections().maxEverUsed());
    i.rxBufs75PerCent = i.rxBufs * 3 / 4;
    i.rxBufMaxSize = 4202;
    i.maxPhysicalSize = 4202;
    i.maxNumsOfProtocols = 16;
    i.maxNumsOfMediaTypes = static_cast<uint32_t>(std::size(kBoards));
    i.totalTxPackets = low32(packetsOut(st));
    i.getECBBfrs = low32(packetsIn(st));
    i.aesEventCounts = low32(static_cast<uint64_t>(st.upMsecs() / 1000));
    i.validBfrsReused = low32(packetsIn(st) - std::min<uint64_t>(packetsIn(st), i.rxBufs));
    i.enqueuedSendCount = low32(packetsOut(st));
    i.totalRxPackets = low32(packetsIn(st));
    // Of the segment's broadcasts, one a second is for a protocol the server does not run.
    i.unclaimedPackets = low32(static_cast<uint64_t>(st.upMsecs() / 1000));
    i.statisticsTableMajorVersion = 1;
    i.statisticsTableMinorVersion = 0;
    return reply(out, i);
}

NWCCODE getPacketBurstInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    if (!netWare4(ctx))
        return cc::UnknownRequest;
    // Writes of more than one packet go as bursts; each is acknowledged once, without errors.
    NWPacketBurstInfo i;
    i.writeGotAnACKCount0 = low32(ctx.server.statistics().totals().bigWrites);
    return reply(out, i);
}

NWCCODE getNCPExtensionsList(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t start = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    std::vector<uint32_t> ids;
    for (const Extension& e : extensionsOf(ctx.server))
        if (e.id > start && ids.size() < kMaxExtensionIds)
            ids.push_back(e.id);
    if (ids.empty())
        return kNoSuchItem;
    out.u32(static_cast<uint32_t>(ids.size()));
    for (const uint32_t id : ids)
        out.u32(id);
    return cc::Success;
}

NWCCODE getNCPExtensionInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t id = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    for (const Extension& e : extensionsOf(ctx.server)) {
        if (e.id != id)
            continue;
        out.str(QString::fromLatin1(e.name)).u8(e.major).u8(e.minor).u8(e.revision);
        return cc::Success;
    }
    return kNoSuchItem;
}

} // namespace

void registerStatisticsOperations(Dispatcher& d)
{
    d.add(fn::GetCacheInfo, Access::ConsoleOperator, getCacheInfo);
    d.add(fn::GetCPUInfo, Access::LoggedIn, getCPUInfo);
    d.add(fn::GetDirCacheInfo, Access::ConsoleOperator, getDirCacheInfo);
    d.add(fn::GetFileServerStats, Access::LoggedIn, getFileServerStats);
    d.add(fn::GetGarbageCollectionInfo, Access::ConsoleOperator, getGarbageCollectionInfo);
    d.add(fn::GetIPXSPXInfo, Access::LoggedIn, getIPXSPXInfo);
    d.add(fn::GetLANConfigInfo, Access::ConsoleOperator, getLANConfigInfo);
    d.add(fn::GetLANCommonCounters, Access::ConsoleOperator, getLANCommonCounters);
    d.add(fn::GetLSLInfo, Access::ConsoleOperator, getLSLInfo);
    d.add(fn::GetPacketBurstInfo, Access::ConsoleOperator, getPacketBurstInfo);
    d.add(fn::GetNCPExtensionsList, Access::LoggedIn, getNCPExtensionsList);
    d.add(fn::GetNCPExtensionInfo, Access::LoggedIn, getNCPExtensionInfo);
}

} // namespace nwserver
