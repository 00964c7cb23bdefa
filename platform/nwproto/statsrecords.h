#pragma once

#include <cstddef>
#include <cstdint>

// The statistics records of a server (its internal counters, as NetWare's console monitor shows
// them). Fields stand in the order the monitor lists them; every count is 32-bit whatever width
// NetWare gives it, so the layouts need no padding. Durations are timer ticks (18.2065 per
// second). The records travel over the wire as they stand (little-endian).
namespace nwproto {

// Timer ticks per second of a NetWare server.
constexpr double kTicksPerSecond = 18.2065;

// Cache statistics; the leading fields also give the server's up time.
struct NWCacheInfo {
    uint32_t currentServerTime = 0; // ticks since the server started
    uint8_t vconsoleVersion = 0;
    uint8_t vconsoleRevision = 0;
    uint16_t reserved = 0;
    // Memory counters.
    uint32_t originalNumOfCacheBuffers = 0; // 4096-byte buffers when the server started
    uint32_t currentNumOfCacheBuffers = 0;
    uint32_t cacheDirtyBlockThreshold = 0;
    uint32_t waitNodeCount = 0;
    uint32_t waitNodeAllocFailureCount = 0;
    uint32_t moveCacheNodeCount = 0;
    uint32_t moveCacheNodeFromAvailCount = 0;
    uint32_t accelerateCacheNodeWriteCount = 0;
    uint32_t removeCacheNodeCount = 0;
    uint32_t removeCacheNodeFromAvailCount = 0;
    // Cache counters.
    uint32_t readExistingBlockCount = 0;
    uint32_t readExistingWriteWaitCount = 0;
    uint32_t readExistingPartialReadCount = 0;
    uint32_t readExistingReadErrorCount = 0;
    uint32_t writeBlockCount = 0;
    uint32_t writeEntireBlockCount = 0;
    uint32_t getDiskCount = 0;
    uint32_t getDiskNeedToAllocCount = 0;
    uint32_t getDiskSomeoneBeatMeCount = 0;
    uint32_t getDiskPartialReadCount = 0;
    uint32_t getDiskReadErrorCount = 0;
    uint32_t getAsyncDiskCount = 0;
    uint32_t getAsyncDiskNeedToAlloc = 0;
    uint32_t getAsyncDiskSomeoneBeatMe = 0;
    uint32_t errorDoingAsyncReadCount = 0;
    uint32_t getDiskNoReadCount = 0;
    uint32_t getDiskNoReadAllocCount = 0;
    uint32_t getDiskNoReadSomeoneBeatMeCount = 0;
    uint32_t diskWriteCount = 0;
    uint32_t diskWriteAllocCount = 0;
    uint32_t diskWriteSomeoneBeatMeCount = 0;
    uint32_t writeErrorCount = 0;
    uint32_t waitOnSemaphoreCount = 0;
    uint32_t allocBlockWaitForSomeoneCount = 0;
    uint32_t allocBlockCount = 0;
    uint32_t allocBlockWaitCount = 0;
    // Trend counters.
    uint32_t numCacheChecks = 0;
    uint32_t numCacheHits = 0;
    uint32_t numDirtyCacheChecks = 0;
    uint32_t numDirtyCacheHits = 0;
    uint32_t cacheUsedWhileChecking = 0;
    uint32_t waitForDirtyBlocksDecreaseCount = 0;
    uint32_t allocBlockFromAvailCount = 0;
    uint32_t allocBlockFromLRUCount = 0;
    uint32_t allocBlockAlreadyWaiting = 0;
    uint32_t lruSittingTime = 0; // ticks
    // Cache settings.
    uint32_t maxByteCount = 0;
    uint32_t minNumOfCacheBuffers = 0;
    uint32_t minCacheReportThreshold = 0;
    uint32_t allocWaitingCount = 0;
    uint32_t numDirtyBlocks = 0;
    uint32_t cacheDirtyWaitTime = 0;
    uint32_t cacheMaxConcurrentWrites = 0;
    uint32_t maxDirtyTime = 0; // ticks
    uint32_t numOfDirCacheBuffers = 0;
    uint32_t cacheByteToBlockShiftFactor = 0;
};
static_assert(offsetof(NWCacheInfo, originalNumOfCacheBuffers) == 8);
static_assert(offsetof(NWCacheInfo, readExistingBlockCount) == 48);
static_assert(offsetof(NWCacheInfo, numCacheChecks) == 152);
static_assert(offsetof(NWCacheInfo, maxByteCount) == 192);
static_assert(sizeof(NWCacheInfo) == 232);

// Processor n. The three texts of the call (CPU name, coprocessor, bus) travel beside it.
namespace cputype {
constexpr uint32_t I386 = 0;
constexpr uint32_t I486 = 1;
constexpr uint32_t Pentium = 2;
} // namespace cputype
namespace bustype {
constexpr uint32_t MicroChannel = 0x01;
constexpr uint32_t Eisa = 0x02;
constexpr uint32_t Pci = 0x04;
constexpr uint32_t Pcmcia = 0x08;
constexpr uint32_t Isa = 0x10;
} // namespace bustype
struct NWCpuInfo {
    uint32_t numOfCPUs = 0;
    uint32_t pageTableOwnerFlag = 0;
    uint32_t cpuTypeFlag = 0; // cputype
    uint32_t coProcessorFlag = 0; // 1 = present
    uint32_t busTypeFlag = 0; // bustype
    uint32_t ioEngineFlag = 0; // 1 = set
    uint32_t fsEngineFlag = 0; // 1 = set
    uint32_t nonDedicatedFlag = 0;
};
static_assert(sizeof(NWCpuInfo) == 32);

struct NWDirCacheInfo {
    uint32_t minTimeSinceFileDelete = 0; // ticks
    uint32_t absMinTimeSinceFileDelete = 0; // ticks
    uint32_t minNumOfDirCacheBuffers = 0;
    uint32_t maxNumOfDirCacheBuffers = 0;
    uint32_t numOfDirCacheBuffers = 0;
    uint32_t dcMinNonReferencedTime = 0; // ticks
    uint32_t dcWaitTimeBeforeNewBuffer = 0; // ticks
    uint32_t dcMaxConcurrentWrites = 0;
    uint32_t dcDirtyWaitTime = 0;
    uint32_t dcDoubleReadFlag = 0;
    uint32_t mapHashNodeCount = 0;
    uint32_t spaceRestrictionNodeCount = 0;
    uint32_t trusteeListNodeCount = 0;
    uint32_t percentOfVolumeUsedByDirs = 0;
};
static_assert(sizeof(NWDirCacheInfo) == 56);

// The file server's request counters (not the name-and-version reply of ServerInfo).
struct NWFileServerStats {
    uint32_t ncpStationsInUseCount = 0;
    uint32_t ncpPeakStationsInUseCount = 0;
    uint32_t numOfNCPRequests = 0;
    uint32_t serverUtilization = 0; // percent, 0 to 100
    uint32_t tooManyHops = 0;
    uint32_t unknownNetwork = 0;
    uint32_t noSpaceForService = 0;
    uint32_t noReceiveBuffers = 0;
    uint32_t notMyNetwork = 0;
    uint32_t netBIOSProgatedCount = 0;
    uint32_t totalPacketsServiced = 0;
    uint32_t totalPacketsRouted = 0;
    uint32_t replyCanceledCount = 0;
    uint32_t writeHeldOffCount = 0;
    uint32_t writeHeldOffWithDupRequest = 0;
    uint32_t invalidRequestTypeCount = 0;
    uint32_t beingAbortedCount = 0;
    uint32_t alreadyDoingReallocCount = 0;
    uint32_t deAllocInvalidSlotCount = 0;
    uint32_t deAllocBeingProcessedCount = 0;
    uint32_t deAllocForgedPacketCount = 0;
    uint32_t deAllocStillTransmittingCount = 0;
    uint32_t startStationErrorCount = 0;
    uint32_t invalidSlotCount = 0;
    uint32_t beingProcessedCount = 0;
    uint32_t forgedPacketCount = 0;
    uint32_t stillTransmittingCount = 0;
    uint32_t reExecuteRequestCount = 0;
    uint32_t invalidSequenceNumCount = 0;
    uint32_t duplicateIsBeingSentAlreadyCnt = 0;
    uint32_t sentPositiveAcknowledgeCount = 0;
    uint32_t sentDuplicateReplyCount = 0;
    uint32_t noMemForStationCtrlCount = 0;
    uint32_t noAvailableConnsCount = 0;
    uint32_t reallocSlotCount = 0;
    uint32_t reallocSlotCameTooSoonCount = 0;
};
static_assert(sizeof(NWFileServerStats) == 36 * 4);

struct NWGarbageCollectionInfo {
    uint32_t failedAllocRequestCount = 0;
    uint32_t numOfAllocs = 0;
    uint32_t noMoreMemAvailableCount = 0;
    uint32_t numOfGarbageCollections = 0;
    uint32_t garbageFoundSomeMem = 0;
    uint32_t garbageNumOfChecks = 0;
};
static_assert(sizeof(NWGarbageCollectionInfo) == 24);

struct NWIpxSpxInfo {
    uint32_t ipxSendPacketCount = 0;
    uint32_t ipxMalformPacketCount = 0;
    uint32_t ipxGetECBRequestCount = 0;
    uint32_t ipxGetECBFailCount = 0;
    uint32_t ipxAESEventCount = 0;
    uint32_t ipxPostponedAESCount = 0;
    uint32_t ipxMaxConfiguredSocketCount = 0;
    uint32_t ipxMaxOpenSocketCount = 0;
    uint32_t ipxOpenSocketFailCount = 0;
    uint32_t ipxListenECBCount = 0;
    uint32_t ipxECBCancelFailCount = 0;
    uint32_t ipxGetLocalTargetFailCount = 0;
    uint32_t spxMaxConnsCount = 0;
    uint32_t spxMaxUsedConns = 0;
    uint32_t spxEstConnReq = 0;
    uint32_t spxEstConnFail = 0;
    uint32_t spxListenConnectReq = 0;
    uint32_t spxListenConnectFail = 0;
    uint32_t spxSendCount = 0;
    uint32_t spxWindowChokeCount = 0;
    uint32_t spxBadSendCount = 0;
    uint32_t spxSendFailCount = 0;
    uint32_t spxAbortedConn = 0;
    uint32_t spxListenPacketCount = 0;
    uint32_t spxBadListenCount = 0;
    uint32_t spxIncomingPacketCount = 0;
    uint32_t spxBadInPacketCount = 0;
    uint32_t spxSuppressedPackCount = 0;
    uint32_t spxNoSesListenECBCount = 0;
    uint32_t spxWatchDogDestSesCount = 0;
};
static_assert(sizeof(NWIpxSpxInfo) == 30 * 4);

// Configuration of one loaded LAN board.
struct NWLanConfigInfo {
    uint8_t driverCfgMajorVersion = 0;
    uint8_t driverNodeAddress[6] = {}; // as shown: twelve hex digits, first byte first
    uint8_t driverCfgMinorVersion = 0;
    uint16_t driverModeFlags = 0;
    uint16_t driverBoardNum = 0;
    uint16_t driverBoardInstance = 0;
    uint16_t reserved1 = 0;
    uint32_t driverMaxSize = 0;
    uint32_t driverMaxRecvSize = 0;
    uint32_t driverRecvSize = 0;
    uint16_t driverCardId = 0;
    uint16_t driverMediaId = 0;
    uint16_t driverTransportTime = 0;
    uint8_t driverMajorVersion = 0;
    uint8_t driverMinorVersion = 0;
    uint16_t driverFlags = 0;
    uint16_t driverSendRetries = 0;
    uint32_t driverLink = 0;
    uint16_t driverSharingFlags = 0;
    uint16_t driverSlot = 0;
    // Port 0, length 0, port 1, length 1.
    uint16_t driverIoPortsAndLengths[4] = {};
    uint32_t driverMemDecode0 = 0;
    uint32_t driverLength0 = 0;
    uint32_t driverMemDecode1 = 0;
    uint32_t driverLength1 = 0;
    uint8_t driverInterrupt[2] = {}; // primary, secondary
    uint8_t driverDmaUsage[2] = {}; // primary, secondary
    // Up to the first zero byte; a name of 18 characters has none.
    char driverLogicalName[18] = {};
    uint16_t reserved2 = 0;
    uint32_t driverLinearMem[2] = {};
    uint16_t driverChannelNum = 0;
    uint16_t reserved3 = 0;
};
static_assert(offsetof(NWLanConfigInfo, driverNodeAddress) == 1);
static_assert(offsetof(NWLanConfigInfo, driverModeFlags) == 8);
static_assert(offsetof(NWLanConfigInfo, driverMaxSize) == 16);
static_assert(offsetof(NWLanConfigInfo, driverCardId) == 28);
static_assert(offsetof(NWLanConfigInfo, driverLink) == 40);
static_assert(offsetof(NWLanConfigInfo, driverIoPortsAndLengths) == 48);
static_assert(offsetof(NWLanConfigInfo, driverInterrupt) == 72);
static_assert(offsetof(NWLanConfigInfo, driverLogicalName) == 76);
static_assert(offsetof(NWLanConfigInfo, driverLinearMem) == 96);
static_assert(sizeof(NWLanConfigInfo) == 108);

// The generic counters of a LAN board.
struct NWLanCommonCounters {
    uint32_t totalTxPacketCount = 0;
    uint32_t totalRxPacketCount = 0;
    uint32_t noECBAvailableCount = 0;
    uint32_t packetTxTooBigCount = 0;
    uint32_t packetTxTooSmallCount = 0;
    uint32_t packetRxOverflowCount = 0;
    uint32_t packetRxTooBigCount = 0;
    uint32_t packetRxTooSmallCount = 0;
    uint32_t packetTxMiscErrorCount = 0;
    uint32_t packetRxMiscErrorCount = 0;
    uint32_t retryTxCount = 0;
    uint32_t checksumErrorCount = 0;
    uint32_t hardwareRxMismatchCount = 0;
};
static_assert(sizeof(NWLanCommonCounters) == 13 * 4);

// Link support layer (receive buffers and ECBs).
struct NWLslInfo {
    uint32_t rxBufs = 0;
    uint32_t rxBufs75PerCent = 0;
    uint32_t rxBufsCheckedOut = 0;
    uint32_t rxBufMaxSize = 0;
    uint32_t maxPhysicalSize = 0;
    uint32_t lastTimeRxBufAllocated = 0; // ticks
    uint32_t maxNumsOfProtocols = 0;
    uint32_t maxNumsOfMediaTypes = 0;
    uint32_t totalTxPackets = 0;
    uint32_t getECBBfrs = 0;
    uint32_t getECBFails = 0;
    uint32_t aesEventCounts = 0;
    uint32_t postponedEvents = 0;
    uint32_t ecbCxlFails = 0;
    uint32_t validBfrsReused = 0;
    uint32_t enqueuedSendCount = 0;
    uint32_t totalRxPackets = 0;
    uint32_t unclaimedPackets = 0;
    uint8_t statisticsTableMajorVersion = 0;
    uint8_t statisticsTableMinorVersion = 0;
    uint16_t reserved = 0;
};
static_assert(sizeof(NWLslInfo) == 19 * 4);

struct NWPacketBurstInfo {
    uint32_t bigInvalidSlotCount = 0;
    uint32_t bigForgedPacketCount = 0;
    uint32_t bigInvalidPacketCount = 0;
    uint32_t bigStillTransmittingCount = 0;
    uint32_t stillDoingTheLastRequestCount = 0;
    uint32_t invalidCtrlRequestCount = 0;
    uint32_t ctrlInvalidMessageNumCount = 0;
    uint32_t ctrlBeingTornDownCount = 0;
    uint32_t bigRepeatTheFileReadCount = 0;
    uint32_t bigSendExtraCCCount = 0;
    uint32_t bigReturnAbortMessageCount = 0;
    uint32_t bigReadInvalidMessageNumCount = 0;
    uint32_t bigReadDoItOverCount = 0;
    uint32_t bigReadBeingTornDownCount = 0;
    uint32_t previousCtrlPacketCount = 0;
    uint32_t sendHoldOffMessageCount = 0;
    uint32_t bigReadNoDataAvailableCount = 0;
    uint32_t bigReadTryingToReadTooMuchCount = 0;
    uint32_t asyncReadErrorCount = 0;
    uint32_t bigReadPhysicalReadErrorCount = 0;
    uint32_t ctrlBadACKFragmentListCount = 0;
    uint32_t ctrlNoDataReadCount = 0;
    uint32_t writeDuplicateRequestCount = 0;
    uint32_t shouldntBeACKingHereCount = 0;
    uint32_t writeInconsistentPktLengthsCnt = 0;
    uint32_t firstPacketIsntAWriteCount = 0;
    uint32_t writeTrashedDuplicateRequestCnt = 0;
    uint32_t bigWriteInvalidMessageNumCount = 0;
    uint32_t bigWriteBeingTornDownCount = 0;
    uint32_t bigWriteBeingAbortedCount = 0;
    uint32_t zeroACKFragmentCountCount = 0;
    uint32_t writeCurrentlyTransmittingCount = 0;
    uint32_t tryingToWriteTooMuchCount = 0;
    uint32_t writeOutOfMemForCtrlNodesCount = 0;
    uint32_t writeDidntNeedThisFragmentCount = 0;
    uint32_t writeTooManyBuffsCheckedOutCnt = 0;
    uint32_t writeTimeOutCount = 0;
    uint32_t writeGotAnACKCount0 = 0; // shown as "writeGotAnACKCount"
    uint32_t writeGotAnACKCount1 = 0;
    uint32_t pollerAbortedTheConnCount = 0;
    uint32_t maybeHadOutOfOrderWritesCount = 0;
    uint32_t hadAnOutOfOrderWriteCount = 0;
    uint32_t movedTheACKBitDownCount = 0;
    uint32_t bumpedOutOfOrderWriteCount = 0;
    uint32_t pollerRemovedOldOutOfOrderCount = 0;
    uint32_t writeDidntNeedButRequestACKCnt = 0;
    uint32_t writeTrashedPacketCount = 0;
    uint32_t tooManyACKFragmentsCount = 0;
    uint32_t savedAnOutOfOrderPacketCount = 0;
    uint32_t connBeingAbortedCount = 0;
};
static_assert(sizeof(NWPacketBurstInfo) == 50 * 4);

} // namespace nwproto
