#include "console/monitor/statreports.h"

#include "console/monitor/ticks.h"
#include "netware/connqueries.h"

#include <functional>

using namespace nwclient;

namespace statreports {

namespace {

QString g_failureText;

// Appends "label|value" lines; counts are formatted, durations written as ticks text.
class Lines {
public:
    explicit Lines(QStringList& out)
        : m_out(out)
    {
    }
    Lines& count(const char* label, uint64_t value) { return text(label, FormatCount(value)); }
    Lines& ticks(const char* label, uint32_t value) { return text(label, TicksToText(value)); }
    Lines& text(const char* label, const QString& value)
    {
        m_out << QString::fromLatin1(label) + QLatin1Char('|') + value;
        return *this;
    }

private:
    QStringList& m_out;
};

QString flag(uint32_t value)
{
    return value == 1 ? QStringLiteral("True") : QStringLiteral("False");
}

QString hex(uint32_t value)
{
    return QString::number(value, 16).toUpper();
}

QString pair(const char* first, uint32_t a, const char* second, uint32_t b)
{
    return QString::fromLatin1(first) + QString::number(a) + QString::fromLatin1(second)
        + QString::number(b);
}

// The common shape of a report: one client call, its lines on success, else the failure text.
void simple(
    const char* prefix, NWCCODE code, const std::function<QStringList()>& lines, QStringList& out)
{
    if (code != 0) {
        SetFailureText(QString::fromLatin1(prefix) + CodeHex(code));
        return;
    }
    out << lines();
}

void cacheReport(ConnHandle h, QStringList& out)
{
    NWCacheInfo info;
    const NWCCODE code = getCacheInfo(h, info);
    if (code == nwproto::cc::NoConsoleRights) {
        SetFailureText(QStringLiteral("No Console rights"));
        return;
    }
    simple(
        "NWGetCacheInfo Failed: ", code, [&] { return CacheLines(info); }, out);
}

void processorReport(ConnHandle h, QStringList& out)
{
    QString name, copro, bus;
    NWCpuInfo info;
    const NWCCODE code = getCPUInfo(h, 0, name, copro, bus, info);
    simple(
        "NWGetCPUInfo Failed: ", code, [&] { return ProcessorLines(name, copro, bus, info); }, out);
}

void lanReport(ConnHandle h, uint32_t board, QStringList& out)
{
    const auto error = [&out](NWCCODE code) {
        out << (code == statcc::NoSuchBoard ? QStringLiteral("Error | Frame Not Loaded")
                                            : QStringLiteral("Error | ") + CodeHex(code));
    };
    NWLanConfigInfo config;
    NWCCODE code = getLANConfigInfo(h, board, config);
    if (code != 0) {
        error(code);
        return;
    }
    out << LanConfigLines(config);
    // The board's own counters: every logical board has its own.
    NWLanCommonCounters counters;
    code = getLANCommonCountersInfo(h, board, 0, counters);
    if (code != 0) {
        error(code);
        return;
    }
    out << LanCounterLines(counters);
}

void extensionsReport(ConnHandle h, QStringList& out)
{
    std::vector<uint32_t> ids;
    const NWCCODE code = getNCPExtensionsList(h, 0, ids);
    if (code == statcc::NoExtensions) {
        out << QStringLiteral("No Extensions Found");
        return;
    }
    if (code != 0) {
        out << QStringLiteral("NWGetNCPExtensionsList Failed: ") + CodeHex(code);
        return;
    }
    for (uint32_t id : ids) {
        NCPExtensionInfo info;
        const NWCCODE c = getNCPExtensionInfo(h, id, info);
        out << (c == 0 ? QStringLiteral("Extension Name|") + info.name
                       : QStringLiteral("NWGetNCPExtensionsInfo Failed: ") + CodeHex(c));
    }
}

} // namespace

int ReportOfLeaf(const QString& name)
{
    static const char* const kLeaves[kReportCount] = { "Cache", "Processor", "Directory Cache",
        "File Server Info", "Garbage Collection", "IPX & SPX", "Type 1", "Type 2", "Type 3",
        "Type 4", "LSL - ECB's", "Packet Burst", "NCP Extensions" };
    if (name == QLatin1String("Statistics"))
        return Cache;
    for (int i = 0; i < kReportCount; ++i)
        if (name == QLatin1String(kLeaves[i]))
            return i;
    return -1;
}

QString FormatCount(uint64_t value)
{
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QString CodeHex(uint32_t code)
{
    return QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

const QString& FailureText()
{
    return g_failureText;
}

void SetFailureText(const QString& text)
{
    g_failureText = text;
}

QStringList CacheLines(const NWCacheInfo& i)
{
    QStringList out;
    Lines(out)
        .ticks("Current Server Time:", i.currentServerTime)
        .count("Vconsole Version:", i.vconsoleVersion)
        .count("Vconsole Revision:", i.vconsoleRevision)
        .count("Original Num Of Cache Buffers:", i.originalNumOfCacheBuffers)
        .count("Current Num Of Cache Buffers:", i.currentNumOfCacheBuffers)
        .count("Cache Dirty Block Threshold:", i.cacheDirtyBlockThreshold)
        .count("Wait Node Count:", i.waitNodeCount)
        .count("Wait Node Alloc Failure Count:", i.waitNodeAllocFailureCount)
        .count("Move Cache Node Count:", i.moveCacheNodeCount)
        .count("Move Cache Node From Avail Count:", i.moveCacheNodeFromAvailCount)
        .count("Accelerate Cache Node Write Count:", i.accelerateCacheNodeWriteCount)
        .count("Remove Cache Node Count:", i.removeCacheNodeCount)
        .count("Remove Cache Node From Avail Count:", i.removeCacheNodeFromAvailCount)
        .count("Read Existing Block Count:", i.readExistingBlockCount)
        .count("Read Existing Write Wait Count:", i.readExistingWriteWaitCount)
        .count("Read Existing Partial Read Count:", i.readExistingPartialReadCount)
        .count("Read Existing Read Error Count:", i.readExistingReadErrorCount)
        .count("Write Block Count:", i.writeBlockCount)
        .count("Write Entire Block Count:", i.writeEntireBlockCount)
        .count("Get Disk Count:", i.getDiskCount)
        .count("Get Disk Need To Alloc Count:", i.getDiskNeedToAllocCount)
        .count("Get Disk Someone Beat Me Count:", i.getDiskSomeoneBeatMeCount)
        .count("Get Disk Partial Read Count:", i.getDiskPartialReadCount)
        .count("Get Disk Read Error Count:", i.getDiskReadErrorCount)
        .count("Get Async Disk Count:", i.getAsyncDiskCount)
        .count("Get Async Disk Need To Alloc:", i.getAsyncDiskNeedToAlloc)
        .count("Get Async Disk Someone Beat Me:", i.getAsyncDiskSomeoneBeatMe)
        .count("Error Doing Async Read Count:", i.errorDoingAsyncReadCount)
        .count("Get Disk No Read Count:", i.getDiskNoReadCount)
        .count("Get Disk No Read Alloc Count:", i.getDiskNoReadAllocCount)
        .count("Get Disk No Read Beat Me Count:", i.getDiskNoReadSomeoneBeatMeCount)
        .count("Disk Write Count:", i.diskWriteCount)
        .count("Disk Write Alloc Count:", i.diskWriteAllocCount)
        .count("Disk Write Someone Beat Me Count:", i.diskWriteSomeoneBeatMeCount)
        .count("Write Error Count:", i.writeErrorCount)
        .count("Wait On Semaphore Count:", i.waitOnSemaphoreCount)
        .count("Alloc Block Wait For Someone Count:", i.allocBlockWaitForSomeoneCount)
        .count("Alloc Block Count:", i.allocBlockCount)
        .count("Alloc Block Wait Count:", i.allocBlockWaitCount)
        .count("Num Cache Checks:", i.numCacheChecks)
        .count("Num Cache Hits:", i.numCacheHits)
        .count("Num Dirty Cache Checks:", i.numDirtyCacheChecks)
        // A hit count: written as the count it is, not as a duration.
        .count("Num Dirty Cache Hits:", i.numDirtyCacheHits)
        .count("Cache Used While Checking:", i.cacheUsedWhileChecking)
        .count("Wait For Dirty Blocks Decrease Count:", i.waitForDirtyBlocksDecreaseCount)
        .count("Alloc Block From Avail Count:", i.allocBlockFromAvailCount)
        .count("Alloc Block From LRU Count:", i.allocBlockFromLRUCount)
        .count("Alloc Block Already Waiting:", i.allocBlockAlreadyWaiting)
        .ticks("LRU Sitting Time:", i.lruSittingTime)
        .count("Max Byte Count:", i.maxByteCount)
        .count("Min Num Of Cache Buffers:", i.minNumOfCacheBuffers)
        .count("Min Cache Report Threshold:", i.minCacheReportThreshold)
        .count("Alloc Waiting Count:", i.allocWaitingCount)
        .count("Num Dirty Blocks:", i.numDirtyBlocks)
        .count("Cache Dirty Wait Time:", i.cacheDirtyWaitTime)
        .count("Cache Max Concurrent Writes:", i.cacheMaxConcurrentWrites)
        .ticks("Max Dirty Time:", i.maxDirtyTime)
        .count("Num Of Dir Cache Buffers:", i.numOfDirCacheBuffers)
        .count("Cache Byte To Block Shift Factor:", i.cacheByteToBlockShiftFactor);
    return out;
}

QStringList ProcessorLines(
    const QString& cpuName, const QString& coprocessor, const QString& bus, const NWCpuInfo& i)
{
    QString cpuType;
    switch (i.cpuTypeFlag) {
    case nwproto::cputype::I386:
        cpuType = QStringLiteral("80386");
        break;
    case nwproto::cputype::I486:
        cpuType = QStringLiteral("80486");
        break;
    case nwproto::cputype::Pentium:
        cpuType = QStringLiteral("Pentium");
        break;
    default:
        break;
    }
    QString busType;
    switch (i.busTypeFlag) {
    case nwproto::bustype::MicroChannel:
        busType = QStringLiteral("micro channel");
        break;
    case nwproto::bustype::Eisa:
        busType = QStringLiteral("EISA");
        break;
    case nwproto::bustype::Pci:
        busType = QStringLiteral("PCI");
        break;
    case nwproto::bustype::Pcmcia:
        busType = QStringLiteral("PCMCIA");
        break;
    case nwproto::bustype::Isa:
        busType = QStringLiteral("ISA");
        break;
    default:
        break;
    }
    QStringList out;
    Lines(out)
        .text("CPU Name", cpuName)
        .text("Coprocessor", coprocessor)
        .text("Bus", bus)
        .count("Number of CPUs", i.numOfCPUs)
        .count("Page Table Owner Flag", i.pageTableOwnerFlag)
        .text("CPU Type", cpuType)
        .text("CoProcessor", flag(i.coProcessorFlag))
        .text("Bus Type Flag", busType)
        .text("IO Engine Flag", flag(i.ioEngineFlag))
        .text("FS Engine Flag", flag(i.fsEngineFlag))
        .text("Non Dedicated CPU Flag", QString::number(i.nonDedicatedFlag));
    return out;
}

QStringList DirCacheLines(const NWDirCacheInfo& i)
{
    QStringList out;
    Lines(out)
        .ticks("Min Time Since File Delete", i.minTimeSinceFileDelete)
        .ticks("absMinTimeSinceFileDelete", i.absMinTimeSinceFileDelete)
        .count("Minimum Number Of Dir Cache Buffers", i.minNumOfDirCacheBuffers)
        .count("Maximum Number Of Dir Cache Buffers", i.maxNumOfDirCacheBuffers)
        .count("Number Of Dir Cache Buffers", i.numOfDirCacheBuffers)
        .ticks("dCMinNonReferencedTime", i.dcMinNonReferencedTime)
        .ticks("dCWaitTimeBeforeNewBuffer", i.dcWaitTimeBeforeNewBuffer)
        .count("dCMaxConcurrentWrites", i.dcMaxConcurrentWrites)
        .count("dCDirtyWaitTime", i.dcDirtyWaitTime)
        .count("dCDoubleReadFlag", i.dcDoubleReadFlag)
        .count("mapHashNodeCount", i.mapHashNodeCount)
        .count("spaceRestrictionNodeCount", i.spaceRestrictionNodeCount)
        .count("trusteeListNodeCount", i.trusteeListNodeCount)
        .count("percentOfVolumeUsedByDirs", i.percentOfVolumeUsedByDirs);
    return out;
}

QStringList FileServerLines(const NWFileServerStats& i)
{
    QStringList out;
    Lines(out)
        .count("NCPStationsInUseCount", i.ncpStationsInUseCount)
        .count("NCPPeakStationsInUseCount", i.ncpPeakStationsInUseCount)
        .count("numOfNCPRequests", i.numOfNCPRequests)
        .count("serverUtilization", i.serverUtilization)
        .count("tooManyHops", i.tooManyHops)
        .count("unknownNetwork", i.unknownNetwork)
        .count("noSpaceForService", i.noSpaceForService)
        .count("noReceiveBuffers", i.noReceiveBuffers)
        .count("notMyNetwork", i.notMyNetwork)
        .count("netBIOSProgatedCount", i.netBIOSProgatedCount)
        .count("totalPacketsServiced", i.totalPacketsServiced)
        .count("totalPacketsRouted", i.totalPacketsRouted)
        .count("replyCanceledCount", i.replyCanceledCount)
        .count("writeHeldOffCount", i.writeHeldOffCount)
        .count("writeHeldOffWithDupRequest", i.writeHeldOffWithDupRequest)
        .count("invalidRequestTypeCount", i.invalidRequestTypeCount)
        .count("beingAbortedCount", i.beingAbortedCount)
        .count("alreadyDoingReallocCount", i.alreadyDoingReallocCount)
        .count("deAllocInvalidSlotCount", i.deAllocInvalidSlotCount)
        .count("deAllocBeingProcessedCount", i.deAllocBeingProcessedCount)
        .count("deAllocForgedPacketCount", i.deAllocForgedPacketCount)
        .count("deAllocStillTransmittingCount", i.deAllocStillTransmittingCount)
        .count("startStationErrorCount", i.startStationErrorCount)
        .count("invalidSlotCount", i.invalidSlotCount)
        .count("beingProcessedCount", i.beingProcessedCount)
        .count("forgedPacketCount", i.forgedPacketCount)
        .count("stillTransmittingCount", i.stillTransmittingCount)
        .count("reExecuteRequestCount", i.reExecuteRequestCount)
        .count("invalidSequenceNumCount", i.invalidSequenceNumCount)
        .count("duplicateIsBeingSentAlreadyCnt", i.duplicateIsBeingSentAlreadyCnt)
        .count("sentPositiveAcknowledgeCount", i.sentPositiveAcknowledgeCount)
        .count("sentDuplicateReplyCount", i.sentDuplicateReplyCount)
        .count("noMemForStationCtrlCount", i.noMemForStationCtrlCount)
        .count("noAvailableConnsCount", i.noAvailableConnsCount)
        .count("reallocSlotCount", i.reallocSlotCount)
        .count("reallocSlotCameTooSoonCount", i.reallocSlotCameTooSoonCount);
    return out;
}

QStringList GarbageCollectionLines(const NWGarbageCollectionInfo& i)
{
    QStringList out;
    Lines(out)
        .count("failedAllocRequestCount", i.failedAllocRequestCount)
        .count("numOfAllocs", i.numOfAllocs)
        .count("noMoreMemAvailableCount", i.noMoreMemAvailableCount)
        .count("numOfGarbageCollections", i.numOfGarbageCollections)
        .count("garbageFoundSomeMem", i.garbageFoundSomeMem)
        .count("garbageNumOfChecks", i.garbageNumOfChecks);
    return out;
}

QStringList IpxSpxLines(const NWIpxSpxInfo& i)
{
    QStringList out;
    Lines(out)
        .count("IPXSendPacketCount", i.ipxSendPacketCount)
        .count("IPXMalformPacketCount", i.ipxMalformPacketCount)
        .count("IPXGetECBRequestCount", i.ipxGetECBRequestCount)
        .count("IPXGetECBFailCount", i.ipxGetECBFailCount)
        .count("IPXAESEventCount", i.ipxAESEventCount)
        .count("IPXPostponedAESCount", i.ipxPostponedAESCount)
        .count("IPXMaxConfiguredSocketCount", i.ipxMaxConfiguredSocketCount)
        .count("IPXMaxOpenSocketCount", i.ipxMaxOpenSocketCount)
        .count("IPXOpenSocketFailCount", i.ipxOpenSocketFailCount)
        .count("IPXListenECBCount", i.ipxListenECBCount)
        .count("IPXECBCancelFailCount", i.ipxECBCancelFailCount)
        .count("IPXGetLocalTargetFailCount", i.ipxGetLocalTargetFailCount)
        .count("SPXMaxConnsCount", i.spxMaxConnsCount)
        .count("SPXMaxUsedConns", i.spxMaxUsedConns)
        .count("SPXEstConnReq", i.spxEstConnReq)
        .count("SPXEstConnFail", i.spxEstConnFail)
        .count("SPXListenConnectReq", i.spxListenConnectReq)
        .count("SPXListenConnectFail", i.spxListenConnectFail)
        .count("SPXSendCount", i.spxSendCount)
        .count("SPXWindowChokeCount", i.spxWindowChokeCount)
        .count("SPXBadSendCount", i.spxBadSendCount)
        .count("SPXSendFailCount", i.spxSendFailCount)
        .count("SPXAbortedConn", i.spxAbortedConn)
        .count("SPXListenPacketCount", i.spxListenPacketCount)
        .count("SPXBadListenCount", i.spxBadListenCount)
        .count("SPXIncomingPacketCount", i.spxIncomingPacketCount)
        .count("SPXBadInPacketCount", i.spxBadInPacketCount)
        .count("SPXSuppressedPackCount", i.spxSuppressedPackCount)
        .count("SPXNoSesListenECBCount", i.spxNoSesListenECBCount)
        .count("SPXWatchDogDestSesCount", i.spxWatchDogDestSesCount);
    return out;
}

QStringList LanConfigLines(const NWLanConfigInfo& i)
{
    QString node;
    for (uint8_t b : i.driverNodeAddress)
        node += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    const uint32_t port = i.driverIoPortsAndLengths[0];
    const uint32_t length = i.driverIoPortsAndLengths[1];
    const QString ports = hex(port) + QLatin1Char('-') + hex(port + length - 1);
    const QString name = QString::fromLatin1(
        i.driverLogicalName, qstrnlen(i.driverLogicalName, sizeof i.driverLogicalName));
    QStringList out;
    Lines(out)
        .count("DriverCFG_MajorVersion", i.driverCfgMajorVersion)
        .text("DriverNodeAddress", node)
        .count("DriverCFG_MinorVersion", i.driverCfgMinorVersion)
        .count("DriverModeFlags", i.driverModeFlags)
        .count("DriverBoardNum", i.driverBoardNum)
        .count("DriverBoardInstance", i.driverBoardInstance)
        .count("DriverMaxSize", i.driverMaxSize)
        .count("DriverMaxRecvSize", i.driverMaxRecvSize)
        .count("DriverRecvSize", i.driverRecvSize)
        .count("DriverCardID", i.driverCardId)
        .count("DriverMediaID", i.driverMediaId)
        .count("DriverTransportTime", i.driverTransportTime)
        .count("DriverMajorVersion", i.driverMajorVersion)
        .count("DriverMinorVersion", i.driverMinorVersion)
        .count("DriverFlags", i.driverFlags)
        .count("DriverSendRetries", i.driverSendRetries)
        .count("DriverLink", i.driverLink)
        .count("DriverSharingFlags", i.driverSharingFlags)
        .count("DriverSlot", i.driverSlot)
        .text("DriverIOPortsAndLengths", ports)
        .count("DriverMemDecode0", i.driverMemDecode0)
        .count("DriverLength0", i.driverLength0)
        .count("DriverMemDecode1", i.driverMemDecode1)
        .count("DriverLength1", i.driverLength1)
        .text("DriverInterrupt",
            pair("Primary: ", i.driverInterrupt[0], ", Secondary: ", i.driverInterrupt[1]))
        .text("DriverDMAUsage",
            pair("Primary: ", i.driverDmaUsage[0], ", Secondary: ", i.driverDmaUsage[1]))
        .text("DriverLogicalName", name)
        .text("DriverLinearMem", pair("", i.driverLinearMem[0], ", ", i.driverLinearMem[1]))
        .count("DriverChannelNum", i.driverChannelNum);
    return out;
}

QStringList LanCounterLines(const NWLanCommonCounters& c)
{
    QStringList out;
    Lines(out)
        .count("totalTxPacketCount", c.totalTxPacketCount)
        .count("totalRxPacketCount", c.totalRxPacketCount)
        .count("noECBAvailableCount ", c.noECBAvailableCount)
        .count("packetTxTooBigCount", c.packetTxTooBigCount)
        .count("packetTxTooSmallCount", c.packetTxTooSmallCount)
        .count("packetRxOverflowCount", c.packetRxOverflowCount)
        .count("packetRxTooBigCount", c.packetRxTooBigCount)
        .count("packetRxTooSmallCount", c.packetRxTooSmallCount)
        .count("packetTxMiscErrorCount", c.packetTxMiscErrorCount)
        .count("packetRxMiscErrorCount", c.packetRxMiscErrorCount)
        .count("retryTxCount", c.retryTxCount)
        .count("checksumErrorCount", c.checksumErrorCount)
        .count("hardwareRxMismatchCount", c.hardwareRxMismatchCount);
    return out;
}

QStringList LslLines(const NWLslInfo& i)
{
    QStringList out;
    Lines(out)
        .count("rxBufs", i.rxBufs)
        .count("rxBufs75PerCent", i.rxBufs75PerCent)
        .count("rxBufsCheckedOut", i.rxBufsCheckedOut)
        .count("rxBufMaxSize", i.rxBufMaxSize)
        .count("maxPhysicalSize(ECB)", i.maxPhysicalSize)
        .ticks("lastTimeRxBufAllocated", i.lastTimeRxBufAllocated)
        .count("maxNumsOfProtocols", i.maxNumsOfProtocols)
        .count("maxNumsOfMediaTypes(Frame Types)", i.maxNumsOfMediaTypes)
        .count("totalTXPackets", i.totalTxPackets)
        .count("getECBBfrs", i.getECBBfrs)
        .count("getECBFails", i.getECBFails)
        .count("AESEventCounts", i.aesEventCounts)
        .count("postponedEvents", i.postponedEvents)
        .count("ECBCxlFails", i.ecbCxlFails)
        .count("validBfrsReused(ECBs)", i.validBfrsReused)
        .count("enqueuedSendCount", i.enqueuedSendCount)
        .count("totalRXPackets", i.totalRxPackets)
        .count("unclaimedPackets", i.unclaimedPackets)
        .count("StatisticsTableMajorVersion", i.statisticsTableMajorVersion)
        .count("StatisticsTableMinorVersion", i.statisticsTableMinorVersion);
    return out;
}

QStringList PacketBurstLines(const NWPacketBurstInfo& i)
{
    QStringList out;
    Lines(out)
        .count("bigInvalidSlotCount", i.bigInvalidSlotCount)
        .count("bigForgedPacketCount", i.bigForgedPacketCount)
        .count("bigInvalidPacketCount", i.bigInvalidPacketCount)
        .count("bigStillTransmittingCount", i.bigStillTransmittingCount)
        .count("stillDoingTheLastRequestCount", i.stillDoingTheLastRequestCount)
        .count("invalidCtrlRequestCount", i.invalidCtrlRequestCount)
        .count("ctrlInvalidMessageNumCount", i.ctrlInvalidMessageNumCount)
        .count("ctrlBeingTornDownCount", i.ctrlBeingTornDownCount)
        .count("bigRepeatTheFileReadCount", i.bigRepeatTheFileReadCount)
        .count("bigSendExtraCCCount", i.bigSendExtraCCCount)
        .count("bigReturnAbortMessageCount", i.bigReturnAbortMessageCount)
        .count("bigReadInvalidMessageNumCount", i.bigReadInvalidMessageNumCount)
        .count("bigReadDoItOverCount", i.bigReadDoItOverCount)
        .count("bigReadBeingTornDownCount", i.bigReadBeingTornDownCount)
        .count("previousCtrlPacketCount", i.previousCtrlPacketCount)
        .count("sendHoldOffMessageCount", i.sendHoldOffMessageCount)
        .count("bigReadNoDataAvailableCount", i.bigReadNoDataAvailableCount)
        .count("bigReadTryingToReadTooMuchCount", i.bigReadTryingToReadTooMuchCount)
        .count("asyncReadErrorCount", i.asyncReadErrorCount)
        .count("bigReadPhysicalReadErrorCount", i.bigReadPhysicalReadErrorCount)
        .count("ctrlBadACKFragmentListCount", i.ctrlBadACKFragmentListCount)
        .count("ctrlNoDataReadCount", i.ctrlNoDataReadCount)
        .count("writeDuplicateRequestCount", i.writeDuplicateRequestCount)
        .count("shouldntBeACKingHereCount", i.shouldntBeACKingHereCount)
        .count("writeInconsistentPktLengthsCnt", i.writeInconsistentPktLengthsCnt)
        .count("firstPacketIsntAWriteCount", i.firstPacketIsntAWriteCount)
        .count("writeTrashedDuplicateRequestCnt", i.writeTrashedDuplicateRequestCnt)
        .count("bigWriteInvalidMessageNumCount", i.bigWriteInvalidMessageNumCount)
        .count("bigWriteBeingTornDownCount", i.bigWriteBeingTornDownCount)
        .count("bigWriteBeingAbortedCount", i.bigWriteBeingAbortedCount)
        .count("zeroACKFragmentCountCount", i.zeroACKFragmentCountCount)
        .count("writeCurrentlyTransmittingCount", i.writeCurrentlyTransmittingCount)
        .count("tryingToWriteTooMuchCount", i.tryingToWriteTooMuchCount)
        .count("writeOutOfMemForCtrlNodesCount", i.writeOutOfMemForCtrlNodesCount)
        .count("writeDidntNeedThisFragmentCount", i.writeDidntNeedThisFragmentCount)
        .count("writeTooManyBuffsCheckedOutCnt", i.writeTooManyBuffsCheckedOutCnt)
        .count("writeTimeOutCount", i.writeTimeOutCount)
        .count("writeGotAnACKCount", i.writeGotAnACKCount0)
        .count("writeGotAnACKCount1", i.writeGotAnACKCount1)
        .count("pollerAbortedTheConnCount", i.pollerAbortedTheConnCount)
        .count("maybeHadOutOfOrderWritesCount", i.maybeHadOutOfOrderWritesCount)
        .count("hadAnOutOfOrderWriteCount", i.hadAnOutOfOrderWriteCount)
        .count("movedTheACKBitDownCount", i.movedTheACKBitDownCount)
        .count("bumpedOutOfOrderWriteCount", i.bumpedOutOfOrderWriteCount)
        .count("pollerRemovedOldOutOfOrderCount", i.pollerRemovedOldOutOfOrderCount)
        .count("writeDidntNeedButRequestACKCnt", i.writeDidntNeedButRequestACKCnt)
        .count("writeTrashedPacketCount", i.writeTrashedPacketCount)
        .count("tooManyACKFragmentsCount", i.tooManyACKFragmentsCount)
        .count("savedAnOutOfOrderPacketCount", i.savedAnOutOfOrderPacketCount)
        .count("connBeingAbortedCount", i.connBeingAbortedCount);
    return out;
}

void RunReport(ConnHandle h, int report, QStringList& out)
{
    try {
        switch (report) {
        case Cache:
            cacheReport(h, out);
            break;
        case Processor:
            processorReport(h, out);
            break;
        case DirectoryCache: {
            NWDirCacheInfo info;
            simple(
                "NWGetDirCacheInfo Failed: ", getDirCacheInfo(h, info),
                [&] { return DirCacheLines(info); }, out);
            break;
        }
        case FileServerInfo: {
            NWFileServerStats info;
            simple(
                "NWGetFileServerInfo Failed: ", getFileServerInfo(h, info),
                [&] { return FileServerLines(info); }, out);
            break;
        }
        case GarbageCollection: {
            NWGarbageCollectionInfo info;
            simple(
                "NWGetGarbageCollection Failed: ", getGarbageCollectionInfo(h, info),
                [&] { return GarbageCollectionLines(info); }, out);
            break;
        }
        case IpxSpx: {
            NWIpxSpxInfo info;
            simple(
                "NWGetIPXSPXInfo Failed: ", getIPXSPXInfo(h, info),
                [&] { return IpxSpxLines(info); }, out);
            break;
        }
        case LanBoard1:
        case LanBoard1 + 1:
        case LanBoard1 + 2:
        case LanBoard1 + 3:
            lanReport(h, static_cast<uint32_t>(report - LanBoard1 + 1), out);
            break;
        case Lsl: {
            NWLslInfo info;
            simple(
                "NWGetLSLInfo Failed: ", getLSLInfo(h, info), [&] { return LslLines(info); }, out);
            break;
        }
        case PacketBurst: {
            NWPacketBurstInfo info;
            simple(
                "NWGetPacketBurstStats Failed: ", getPacketBurstInfo(h, info),
                [&] { return PacketBurstLines(info); }, out);
            break;
        }
        case NcpExtensions:
            extensionsReport(h, out);
            break;
        default:
            break;
        }
    } catch (...) {
        // A client call that throws ends its report without lines, as a failed call would.
        out.clear();
    }
}

void RunReportFor(ConnRef ref, int report, QStringList& lines)
{
    TConnHandleScope conn;
    if (conn.open(ref) != 0)
        return;
    RunReport(conn.handle(), report, lines);
}

} // namespace statreports
