#include "directoryfixture.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/statsops.h"
#include "platform/nwserver/server.h"

#include <gtest/gtest.h>

using namespace nwclient;
using namespace nwproto;

namespace {

class StatsOpsTest : public DirectoryFixture {
protected:
    void SetUp() override
    {
        clock
            = std::make_shared<nwserver::ManualClock>(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        embedded::setClock(clock);
        DirectoryFixture::SetUp();
    }
    void TearDown() override
    {
        DirectoryFixture::TearDown();
        embedded::setClock(nullptr);
    }
    // A handle of JOHN on FS1: logged in, no console operator.
    ConnHandle john()
    {
        ConnRef ref = 0;
        EXPECT_EQ(loginToServer("FS1", "JOHN", "john", &ref), cc::Success);
        ConnHandle h = 0;
        EXPECT_EQ(openConnByReference(ref, h), cc::Success);
        return h;
    }

    std::shared_ptr<nwserver::ManualClock> clock;
};

TEST_F(StatsOpsTest, EveryGroupOfANetWare4ServerReadsForAnOperator)
{
    clock->advance(60000);
    NWCacheInfo cache;
    ASSERT_EQ(getCacheInfo(fs1, cache), cc::Success);
    EXPECT_GE(cache.currentServerTime, 1092u);
    EXPECT_GT(cache.originalNumOfCacheBuffers, cache.currentNumOfCacheBuffers);
    const int used = usedMemoryPercent(cache);
    EXPECT_GT(used, 0);
    EXPECT_LT(used, 100);

    QString name, copro, bus;
    NWCpuInfo cpu;
    ASSERT_EQ(getCPUInfo(fs1, 0, name, copro, bus, cpu), cc::Success);
    EXPECT_FALSE(name.isEmpty());
    EXPECT_EQ(cpu.numOfCPUs, 1u);
    EXPECT_EQ(getCPUInfo(fs1, 1, name, copro, bus, cpu), statcc::NoSuchItem);

    NWDirCacheInfo dir;
    EXPECT_EQ(getDirCacheInfo(fs1, dir), cc::Success);
    EXPECT_GT(dir.trusteeListNodeCount, 0u);
    NWFileServerStats fsi;
    ASSERT_EQ(getFileServerInfo(fs1, fsi), cc::Success);
    EXPECT_GE(fsi.ncpStationsInUseCount, 1u);
    EXPECT_GT(fsi.numOfNCPRequests, 0u);
    NWGarbageCollectionInfo gc;
    EXPECT_EQ(getGarbageCollectionInfo(fs1, gc), cc::Success);
    EXPECT_EQ(gc.garbageNumOfChecks, 1u);
    NWIpxSpxInfo ipx;
    EXPECT_EQ(getIPXSPXInfo(fs1, ipx), cc::Success);
    NWLslInfo lsl;
    EXPECT_EQ(getLSLInfo(fs1, lsl), cc::Success);
    EXPECT_EQ(lsl.statisticsTableMajorVersion, 1);
    NWPacketBurstInfo burst;
    EXPECT_EQ(getPacketBurstInfo(fs1, burst), cc::Success);
}

TEST_F(StatsOpsTest, BoardsExtensionsRightsAndVersionsGiveTheirCodes)
{
    NWLanConfigInfo board;
    NWLanCommonCounters counters;
    struct Case {
        uint32_t board;
        NWCCODE config;
        NWCCODE counters;
    } boards[] = { { 1, cc::Success, cc::Success }, { 2, cc::Success, cc::Success },
        { 3, statcc::NoSuchBoard, statcc::NoSuchBoard },
        { 4, statcc::NoSuchBoard, statcc::NoSuchBoard } };
    for (const Case& c : boards) {
        EXPECT_EQ(getLANConfigInfo(fs1, c.board, board), c.config) << c.board;
        EXPECT_EQ(getLANCommonCountersInfo(fs1, c.board, 0, counters), c.counters) << c.board;
    }
    ASSERT_EQ(getLANConfigInfo(fs1, 1, board), cc::Success);
    const uint8_t node[6] = { 0x00, 0x00, 0x1B, 0x12, 0x34, 0x56 };
    EXPECT_EQ(std::memcmp(board.driverNodeAddress, node, 6), 0);

    std::vector<uint32_t> ids;
    ASSERT_EQ(getNCPExtensionsList(fs1, 0, ids), cc::Success);
    ASSERT_FALSE(ids.empty());
    for (uint32_t id : ids) {
        NCPExtensionInfo e;
        ASSERT_EQ(getNCPExtensionInfo(fs1, id, e), cc::Success);
        EXPECT_FALSE(e.name.isEmpty());
    }
    EXPECT_EQ(getNCPExtensionsList(fs2, 0, ids), statcc::NoExtensions);

    NWCacheInfo cache;
    NWFileServerStats fsi;
    EXPECT_EQ(getCacheInfo(fs2, cache), cc::UnknownRequest);
    EXPECT_EQ(getFileServerInfo(fs2, fsi), cc::UnknownRequest);

    const ConnHandle h = john();
    EXPECT_EQ(getCacheInfo(h, cache), cc::NoConsoleRights);
    EXPECT_EQ(usedMemoryPercent(NWCacheInfo()), 0) << "a failed read draws as 0";
    EXPECT_EQ(getLANConfigInfo(h, 1, board), cc::NoConsoleRights);
    EXPECT_EQ(getFileServerInfo(h, fsi), cc::Success);
    EXPECT_EQ(getNCPExtensionsList(h, 0, ids), cc::Success);
    closeConn(h);
}

TEST(UsedMemoryTest, IsTheShareOfCacheBuffersGoneSinceTheStart)
{
    struct Case {
        uint32_t original;
        uint32_t current;
        int used;
    } cases[] = { { 10000, 6500, 35 }, { 10000, 10000, 0 }, { 10000, 0, 100 }, { 3, 2, 33 },
        { 200, 199, 0 }, { 200, 101, 49 }, { 0, 0, 0 }, { 100, 150, 0 } };
    for (const Case& c : cases) {
        NWCacheInfo i;
        i.originalNumOfCacheBuffers = c.original;
        i.currentNumOfCacheBuffers = c.current;
        EXPECT_EQ(usedMemoryPercent(i), c.used) << c.original << "/" << c.current;
    }
}

TEST_F(StatsOpsTest, SimulatedWorkstationsShowInTheCountersWhenTicked)
{
    NWFileServerStats before;
    ASSERT_EQ(getFileServerInfo(fs1, before), cc::Success);
    embedded::tickSimulations();
    for (int i = 0; i < 20; ++i) {
        clock->advance(1000);
        embedded::tickSimulations();
    }
    NWFileServerStats after;
    ASSERT_EQ(getFileServerInfo(fs1, after), cc::Success);
    EXPECT_GT(after.ncpStationsInUseCount, before.ncpStationsInUseCount);
    EXPECT_GT(after.numOfNCPRequests, before.numOfNCPRequests + 10);
    EXPECT_GT(after.serverUtilization, 0u);
    EXPECT_FALSE(server("FS2")->stations().connections().empty());
}

} // namespace
