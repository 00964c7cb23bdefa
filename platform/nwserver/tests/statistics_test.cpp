#include "platform/nwproto/statsrecords.h"
#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nwserver;
using namespace nwproto;

namespace {

struct Station {
    Server* server = nullptr;
    uint32_t conn = 0;

    NWCCODE call(FnCode fn, const QByteArray& body = {}, QByteArray* reply = nullptr)
    {
        QByteArray r;
        const NWCCODE code = server->request(conn, fn, body, r);
        if (reply)
            *reply = r;
        return code;
    }
    template <typename T> NWCCODE record(FnCode fn, T& out, const QByteArray& body = {})
    {
        QByteArray r;
        const NWCCODE code = call(fn, body, &r);
        if (code == cc::Success) {
            WireReader rd(r);
            EXPECT_TRUE(rd.raw(&out, sizeof out));
        }
        return code;
    }
    NWFileServerStats stats()
    {
        NWFileServerStats s;
        EXPECT_EQ(record(fn::GetFileServerStats, s), cc::Success);
        return s;
    }
    NWCacheInfo cache()
    {
        NWCacheInfo c;
        EXPECT_EQ(record(fn::GetCacheInfo, c), cc::Success);
        return c;
    }
};

QByteArray u32s(std::initializer_list<uint32_t> values)
{
    WireWriter w;
    for (uint32_t v : values)
        w.u32(v);
    return w.take();
}

class StatisticsTest : public testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        fs1 = open("FS1");
        fs2 = open("FS2");
    }
    std::unique_ptr<Server> open(const QString& name, const QString& sub = QString())
    {
        const ServerIdentity id = name == "FS1" ? demo::fs1Identity() : demo::fs2Identity();
        auto s = Server::openOrCreate(dir.filePath(sub + name), id, clock);
        demo::populate(*s);
        return s;
    }
    Station attach(Server& s, const QString& user = {}, const QString& password = {})
    {
        Station st { &s };
        EXPECT_EQ(s.attach(QByteArray(12, '\1'), st.conn), cc::Success);
        if (!user.isEmpty()) {
            WireWriter w;
            w.str(user).str(password);
            EXPECT_EQ(st.call(fn::Login, w.data()), cc::Success);
        }
        return st;
    }

    QTemporaryDir dir;
    std::shared_ptr<ManualClock> clock;
    std::unique_ptr<Server> fs1;
    std::unique_ptr<Server> fs2;
};

TEST_F(StatisticsTest, RequestsAndStationsAreCountedAsTheyHappen)
{
    Station admin = attach(*fs1, "ADMIN", "admin");
    const NWFileServerStats before = admin.stats();
    EXPECT_EQ(before.ncpStationsInUseCount, 1u);
    for (int i = 0; i < 5; ++i)
        admin.call(fn::GetDateTime);
    Station john = attach(*fs1, "JOHN", "john");
    const NWFileServerStats after = admin.stats();
    // Five plus the first query of admin, plus john's login.
    EXPECT_EQ(after.numOfNCPRequests, before.numOfNCPRequests + 7);
    EXPECT_EQ(after.ncpStationsInUseCount, 2u);
    EXPECT_EQ(after.ncpPeakStationsInUseCount, 2u);

    admin.call(0x08FF); // a request the server does not know
    john.call(fn::Detach);
    const NWFileServerStats last = admin.stats();
    EXPECT_EQ(last.ncpStationsInUseCount, 1u);
    EXPECT_EQ(last.ncpPeakStationsInUseCount, 2u);
    EXPECT_EQ(last.invalidRequestTypeCount, after.invalidRequestTypeCount + 1);
}

TEST_F(StatisticsTest, UtilizationRisesWithLoadAndFallsWhenIdle)
{
    Station admin = attach(*fs1, "ADMIN", "admin");
    clock->advance(Statistics::kWindowMs + 1000);
    EXPECT_EQ(admin.stats().serverUtilization, 0u) << "nothing happened in the last seconds";

    struct Case {
        int requests;
        int64_t spreadMs; // over how long they arrive
    } cases[] = { { 10, 1000 }, { 100, 2000 }, { 1000, 1000 } };
    uint32_t previous = 0;
    for (const Case& c : cases) {
        clock->advance(Statistics::kWindowMs + 1000);
        const int64_t gap = c.spreadMs / c.requests;
        double busy = Statistics::costMs(0, 0); // the query before the load, still in the window
        admin.stats();
        for (int i = 0; i < c.requests; ++i) {
            QByteArray reply;
            admin.call(fn::GetDateTime, {}, &reply);
            busy += Statistics::costMs(0, reply.size());
            clock->advance(gap);
        }
        const uint32_t expected = std::min<uint32_t>(
            100, static_cast<uint32_t>(std::lround(100 * busy / Statistics::kWindowMs)));
        const uint32_t u = admin.stats().serverUtilization;
        EXPECT_NEAR(u, expected, 1u) << c.requests;
        EXPECT_GT(u, previous) << c.requests;
        previous = u;
    }
    EXPECT_EQ(previous, 100u);
    clock->advance(Statistics::kWindowMs + 200);
    EXPECT_EQ(admin.stats().serverUtilization, 0u);
}

TEST_F(StatisticsTest, UpTimeCountsTimerTicksOfTheServerClockOnly)
{
    Station admin = attach(*fs1, "ADMIN", "admin");
    clock->advance(10000);
    EXPECT_EQ(admin.cache().currentServerTime, 182u);
    fs1->setServerTime(QDateTime(QDate(2030, 1, 1), QTime(0, 0)));
    clock->advance(60000);
    EXPECT_EQ(admin.cache().currentServerTime, 1274u); // 70 s
}

TEST_F(StatisticsTest, CacheBuffersGoToConnectionsAndOpenFiles)
{
    Station admin = attach(*fs1, "ADMIN", "admin");
    const NWCacheInfo start = admin.cache();
    EXPECT_GT(start.originalNumOfCacheBuffers, start.currentNumOfCacheBuffers);

    Station john = attach(*fs1, "JOHN", "john");
    const NWCacheInfo withJohn = admin.cache();
    EXPECT_LT(withJohn.currentNumOfCacheBuffers, start.currentNumOfCacheBuffers);

    WireWriter w;
    w.u8(0).str("VOL1:USERS\\JOHN\\REPORT.DOC").u16(1);
    QByteArray reply;
    ASSERT_EQ(john.call(fn::OpenFile, w.data(), &reply), cc::Success);
    const uint32_t handle = WireReader(reply).u32();
    WireWriter rd;
    rd.u32(handle).u64(0).u32(8192);
    ASSERT_EQ(john.call(fn::ReadFile, rd.data()), cc::Success);
    const NWCacheInfo open = admin.cache();
    EXPECT_LT(open.currentNumOfCacheBuffers, withJohn.currentNumOfCacheBuffers);
    EXPECT_EQ(open.readExistingBlockCount, withJohn.readExistingBlockCount + 2);
    EXPECT_EQ(open.numCacheChecks, withJohn.numCacheChecks + 2);

    john.call(fn::CloseFile, u32s({ handle }));
    john.call(fn::Detach);
    EXPECT_EQ(admin.cache().currentNumOfCacheBuffers, start.currentNumOfCacheBuffers);
}

TEST_F(StatisticsTest, RightsVersionsBoardsAndExtensionsAnswerAsNetWare)
{
    Station admin1 = attach(*fs1, "ADMIN", "admin");
    Station john1 = attach(*fs1, "JOHN", "john");
    Station anon1 = attach(*fs1);
    Station admin2 = attach(*fs2, "SUPERVISOR", "supervisor");
    struct Case {
        Station* who;
        FnCode fn;
        QByteArray body;
        NWCCODE expected;
    } cases[] = {
        { &admin1, fn::GetCacheInfo, {}, cc::Success },
        { &john1, fn::GetCacheInfo, {}, cc::NoConsoleRights },
        { &john1, fn::GetDirCacheInfo, {}, cc::NoConsoleRights },
        { &john1, fn::GetGarbageCollectionInfo, {}, cc::NoConsoleRights },
        { &john1, fn::GetLSLInfo, {}, cc::NoConsoleRights },
        { &john1, fn::GetPacketBurstInfo, {}, cc::NoConsoleRights },
        { &john1, fn::GetLANConfigInfo, u32s({ 1 }), cc::NoConsoleRights },
        { &john1, fn::GetFileServerStats, {}, cc::Success },
        { &john1, fn::GetCPUInfo, u32s({ 0 }), cc::Success },
        { &john1, fn::GetIPXSPXInfo, {}, cc::Success },
        { &john1, fn::GetNCPExtensionsList, u32s({ 0 }), cc::Success },
        { &anon1, fn::GetFileServerStats, {}, cc::AccessDenied },
        { &admin1, fn::GetCPUInfo, u32s({ 1 }), 0x89FF },
        { &admin1, fn::GetLANConfigInfo, u32s({ 1 }), cc::Success },
        { &admin1, fn::GetLANConfigInfo, u32s({ 2 }), cc::Success },
        { &admin1, fn::GetLANConfigInfo, u32s({ 3 }), 0x8979 },
        { &admin1, fn::GetLANConfigInfo, u32s({ 0 }), 0x8979 },
        { &admin1, fn::GetLANCommonCounters, u32s({ 1, 0 }), cc::Success },
        { &admin1, fn::GetLANCommonCounters, u32s({ 4, 0 }), 0x8979 },
        { &admin1, fn::GetLANCommonCounters, u32s({ 1, 1 }), 0x89FF },
        { &admin1, fn::GetLANConfigInfo, {}, cc::BadRequest },
        { &admin1, fn::GetNCPExtensionInfo, u32s({ 0x7777 }), 0x89FF },
        { &admin2, fn::GetCacheInfo, {}, cc::UnknownRequest },
        { &admin2, fn::GetFileServerStats, {}, cc::UnknownRequest },
        { &admin2, fn::GetLANConfigInfo, u32s({ 1 }), cc::UnknownRequest },
        { &admin2, fn::GetNCPExtensionsList, u32s({ 0 }), 0x89FF },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.who->call(c.fn, c.body), c.expected)
            << std::hex << c.fn << " as " << c.who->server->identity().name.toStdString() << ":"
            << c.who->conn;
}

TEST_F(StatisticsTest, BoardsShowTheirNodeAddressAndFrameNames)
{
    Station admin = attach(*fs1, "ADMIN", "admin");
    const char* names[] = { "E82", "EII" };
    for (uint32_t board = 1; board <= 2; ++board) {
        NWLanConfigInfo b;
        ASSERT_EQ(admin.record(fn::GetLANConfigInfo, b, u32s({ board })), cc::Success);
        const uint8_t node[6] = { 0x00, 0x00, 0x1B, 0x12, 0x34, 0x56 };
        EXPECT_EQ(std::memcmp(b.driverNodeAddress, node, 6), 0);
        EXPECT_EQ(b.driverBoardNum, board);
        EXPECT_STREQ(b.driverLogicalName, names[board - 1]);
        EXPECT_EQ(b.driverIoPortsAndLengths[0], 0x300);
    }
    NWLanCommonCounters before, after;
    ASSERT_EQ(admin.record(fn::GetLANCommonCounters, before, u32s({ 1, 0 })), cc::Success);
    clock->advance(2000);
    ASSERT_EQ(admin.record(fn::GetLANCommonCounters, after, u32s({ 1, 0 })), cc::Success);
    EXPECT_EQ(after.totalTxPacketCount, before.totalTxPacketCount + 1);
    EXPECT_EQ(after.totalRxPacketCount, before.totalRxPacketCount + 1 + 2 * 3);
}

TEST_F(StatisticsTest, NcpExtensionsListFromAStartId)
{
    Station admin = attach(*fs1, "ADMIN", "admin");
    QByteArray reply;
    ASSERT_EQ(admin.call(fn::GetNCPExtensionsList, u32s({ 0 }), &reply), cc::Success);
    WireReader r(reply);
    const uint32_t n = r.u32();
    ASSERT_GE(n, 2u);
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < n; ++i)
        ids.push_back(r.u32());
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    ASSERT_EQ(admin.call(fn::GetNCPExtensionsList, u32s({ ids.front() }), &reply), cc::Success);
    EXPECT_EQ(WireReader(reply).u32(), n - 1);
    EXPECT_EQ(admin.call(fn::GetNCPExtensionsList, u32s({ ids.back() })), 0x89FFu);
    ASSERT_EQ(admin.call(fn::GetNCPExtensionInfo, u32s({ ids.front() }), &reply), cc::Success);
    EXPECT_FALSE(WireReader(reply).str().isEmpty());
}

} // namespace
