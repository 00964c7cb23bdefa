#include "console/monitor/statreports.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace statreports;
using namespace nwclient;

namespace {

// A record whose 32-bit counters hold 1000000 + their index, so that every line shows which
// field it came from and how a large count is written.
template <typename T> T numbered()
{
    T record;
    static_assert(sizeof(T) % 4 == 0);
    auto* words = reinterpret_cast<uint32_t*>(&record);
    for (size_t i = 0; i < sizeof(T) / 4; ++i)
        words[i] = 1000000 + static_cast<uint32_t>(i);
    return record;
}

struct ReportCase {
    const char* name;
    std::function<QStringList()> lines;
    int count;
    const char* first;
    const char* last;
};

TEST(StatReports, EveryReportWritesItsLabelsInOrder)
{
    const ReportCase cases[] = {
        { "cache", [] { return CacheLines(numbered<NWCacheInfo>()); }, 59,
            "Current Server Time:|15 Hours 15 Min 30 Sec ",
            "Cache Byte To Block Shift Factor:|1,000,057" },
        { "processor", [] { return ProcessorLines("Pentium Pro", "Present", "PCI", NWCpuInfo {}); },
            11, "CPU Name|Pentium Pro", "Non Dedicated CPU Flag|0" },
        { "directory cache", [] { return DirCacheLines(numbered<NWDirCacheInfo>()); }, 14,
            "Min Time Since File Delete|15 Hours 15 Min 30 Sec ",
            "percentOfVolumeUsedByDirs|1,000,013" },
        { "file server", [] { return FileServerLines(numbered<NWFileServerStats>()); }, 36,
            "NCPStationsInUseCount|1,000,000", "reallocSlotCameTooSoonCount|1,000,035" },
        { "garbage collection",
            [] { return GarbageCollectionLines(numbered<NWGarbageCollectionInfo>()); }, 6,
            "failedAllocRequestCount|1,000,000", "garbageNumOfChecks|1,000,005" },
        { "IPX and SPX", [] { return IpxSpxLines(numbered<NWIpxSpxInfo>()); }, 30,
            "IPXSendPacketCount|1,000,000", "SPXWatchDogDestSesCount|1,000,029" },
        { "LAN counters", [] { return LanCounterLines(numbered<NWLanCommonCounters>()); }, 13,
            "totalTxPacketCount|1,000,000", "hardwareRxMismatchCount|1,000,012" },
        { "LSL", [] { return LslLines(NWLslInfo {}); }, 20, "rxBufs|0",
            "StatisticsTableMinorVersion|0" },
        { "packet burst", [] { return PacketBurstLines(numbered<NWPacketBurstInfo>()); }, 50,
            "bigInvalidSlotCount|1,000,000", "connBeingAbortedCount|1,000,049" },
    };
    for (const ReportCase& c : cases) {
        const QStringList lines = c.lines();
        ASSERT_EQ(lines.size(), c.count) << c.name;
        EXPECT_EQ(lines.first(), c.first) << c.name;
        EXPECT_EQ(lines.last(), c.last) << c.name;
        for (const QString& line : lines) {
            const QString label = line.section(QLatin1Char('|'), 0, 0);
            // Only the cache group's labels end with a colon.
            EXPECT_EQ(label.endsWith(QLatin1Char(':')), c.name == std::string("cache"))
                << line.toStdString();
        }
    }
}

TEST(StatReports, CacheDurationsAndCountsAreWrittenByField)
{
    NWCacheInfo info = numbered<NWCacheInfo>();
    info.currentServerTime = 132168;
    info.vconsoleVersion = 1;
    info.vconsoleRevision = 2;
    info.lruSittingTime = 18;
    info.maxDirtyTime = 0;
    info.numDirtyCacheHits = 1234;
    const QStringList lines = CacheLines(info);
    EXPECT_EQ(lines[0], "Current Server Time:|2 Hours 1 Min ");
    EXPECT_EQ(lines[1], "Vconsole Version:|1");
    EXPECT_EQ(lines[2], "Vconsole Revision:|2");
    EXPECT_EQ(lines[3], "Original Num Of Cache Buffers:|1,000,002");
    EXPECT_EQ(lines[30], "Get Disk No Read Beat Me Count:|1,000,029");
    EXPECT_EQ(lines[42], "Num Dirty Cache Hits:|1,234");
    EXPECT_EQ(lines[48], "LRU Sitting Time:|1 Sec ");
    EXPECT_EQ(lines[56], "Max Dirty Time:|0");
}

TEST(StatReports, ProcessorTextsFollowTheFlags)
{
    struct Case {
        uint32_t type, copro, bus, io, fs;
        const char *typeText, *coproText, *busText, *ioText, *fsText;
    };
    const Case cases[] = {
        { 0, 1, 0x01, 1, 0, "80386", "True", "micro channel", "True", "False" },
        { 1, 0, 0x02, 0, 1, "80486", "False", "EISA", "False", "True" },
        { 2, 2, 0x04, 2, 2, "Pentium", "False", "PCI", "False", "False" },
        { 3, 0, 0x08, 0, 0, "", "False", "PCMCIA", "False", "False" },
        { 9, 0, 0x10, 0, 0, "", "False", "ISA", "False", "False" },
        { 0, 0, 0x03, 0, 0, "80386", "False", "", "False", "False" },
    };
    for (const Case& c : cases) {
        NWCpuInfo info;
        info.numOfCPUs = 2;
        info.pageTableOwnerFlag = 1234;
        info.cpuTypeFlag = c.type;
        info.coProcessorFlag = c.copro;
        info.busTypeFlag = c.bus;
        info.ioEngineFlag = c.io;
        info.fsEngineFlag = c.fs;
        info.nonDedicatedFlag = 1;
        const QStringList l = ProcessorLines("CPU", "FPU", "Bus", info);
        EXPECT_EQ(l,
            (QStringList { "CPU Name|CPU", "Coprocessor|FPU", "Bus|Bus", "Number of CPUs|2",
                "Page Table Owner Flag|1,234", QString("CPU Type|") + c.typeText,
                QString("CoProcessor|") + c.coproText, QString("Bus Type Flag|") + c.busText,
                QString("IO Engine Flag|") + c.ioText, QString("FS Engine Flag|") + c.fsText,
                "Non Dedicated CPU Flag|1" }));
    }
}

TEST(StatReports, LanBoardConfigurationIsWrittenAsTheDriverShowsIt)
{
    NWLanConfigInfo info;
    const uint8_t node[6] = { 0x00, 0x00, 0x1B, 0x12, 0x34, 0x56 };
    std::memcpy(info.driverNodeAddress, node, 6);
    info.driverIoPortsAndLengths[0] = 0x300;
    info.driverIoPortsAndLengths[1] = 0x20;
    info.driverInterrupt[0] = 3;
    info.driverInterrupt[1] = 0xFF;
    info.driverDmaUsage[0] = 5;
    info.driverDmaUsage[1] = 0;
    std::memcpy(info.driverLogicalName, "ETHERNET_802.2", 15);
    info.driverLinearMem[0] = 65536;
    info.driverLinearMem[1] = 4096;
    info.driverMaxSize = 1514;
    const QStringList l = LanConfigLines(info);
    ASSERT_EQ(l.size(), 29);
    EXPECT_EQ(l[0], "DriverCFG_MajorVersion|0");
    EXPECT_EQ(l[1], "DriverNodeAddress|00001B123456");
    EXPECT_EQ(l[6], "DriverMaxSize|1,514");
    EXPECT_EQ(l[19], "DriverIOPortsAndLengths|300-31F");
    EXPECT_EQ(l[24], "DriverInterrupt|Primary: 3, Secondary: 255");
    EXPECT_EQ(l[25], "DriverDMAUsage|Primary: 5, Secondary: 0");
    EXPECT_EQ(l[26], "DriverLogicalName|ETHERNET_802.2");
    EXPECT_EQ(l[27], "DriverLinearMem|65536, 4096");
    EXPECT_EQ(l[28], "DriverChannelNum|0");

    // A name of the full 18 characters has no terminating zero: it stops at the field's end.
    std::memcpy(info.driverLogicalName, "ABCDEFGHIJKLMNOPQR", 18);
    EXPECT_EQ(LanConfigLines(info)[26], "DriverLogicalName|ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(LanCounterLines(NWLanCommonCounters {})[2], "noECBAvailableCount |0");
}

TEST(StatReports, FormatsOfCountsAndCodes)
{
    const std::pair<uint64_t, const char*> counts[] = { { 0, "0" }, { 999, "999" },
        { 1000, "1,000" }, { 123456, "123,456" }, { 4294967295u, "4,294,967,295" } };
    for (const auto& [value, text] : counts)
        EXPECT_EQ(FormatCount(value), text);
    EXPECT_EQ(CodeHex(0x89C6), "89C6");
    EXPECT_EQ(CodeHex(0x5), "05");
    EXPECT_EQ(CodeHex(0x8979), "8979");
}

TEST(StatReports, LeavesSelectReports)
{
    EXPECT_EQ(ReportOfLeaf("Cache"), Cache);
    EXPECT_EQ(ReportOfLeaf("Statistics"), Cache);
    EXPECT_EQ(ReportOfLeaf("Processor"), Processor);
    EXPECT_EQ(ReportOfLeaf("Type 1"), LanBoard1);
    EXPECT_EQ(ReportOfLeaf("Type 4"), LanBoard1 + 3);
    EXPECT_EQ(ReportOfLeaf("LSL - ECB's"), Lsl);
    EXPECT_EQ(ReportOfLeaf("NCP Extensions"), NcpExtensions);
    EXPECT_EQ(ReportOfLeaf("Memory"), -1);
}

} // namespace
