#include "platform/nwclient/client.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/serverops.h"
#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nwclient;
using namespace nwproto;

namespace {

class ClientTest : public testing::Test {
protected:
    void SetUp() override { config = WorkstationConfig::demo(dir.path()); }
    void TearDown() override { terminate(); }

    std::vector<ConnRef> refs()
    {
        std::vector<ConnRef> out;
        uint32_t it = 0;
        ConnRef r = 0;
        while (scanConnRefs(it, r) == cc::Success)
            out.push_back(r);
        return out;
    }
    ConnHandle open(const QString& server)
    {
        for (ConnRef r : refs()) {
            TNWConnInfo info;
            if (getConnInfo(r, info) == cc::Success && server == info.serverName) {
                ConnHandle h = 0;
                EXPECT_EQ(openConnByReference(r, h), cc::Success);
                return h;
            }
        }
        ADD_FAILURE() << "no reference for " << server.toStdString();
        return 0;
    }

    QTemporaryDir dir;
    WorkstationConfig config;
};

TEST_F(ClientTest, DemoServersAreAttachedAndAuthenticated)
{
    ASSERT_EQ(initialise(config), cc::Success);
    const auto all = refs();
    ASSERT_EQ(all.size(), 2u);
    TNWConnInfo fs1 {}, fs2 {};
    ASSERT_EQ(getConnInfo(all[0], fs1), cc::Success);
    ASSERT_EQ(getConnInfo(all[1], fs2), cc::Success);
    EXPECT_NE(fs1.authenticationState, 0u);
    EXPECT_EQ(fs1.connRef, all[0]);
    EXPECT_STREQ(fs1.serverName, "FS1");
    EXPECT_STREQ(fs1.treeName, "ACME_TREE");
    EXPECT_STREQ(fs1.userName, "ADMIN");
    EXPECT_STREQ(fs2.serverName, "FS2");
    EXPECT_STREQ(fs2.treeName, "");
    EXPECT_EQ(fs2.dsFlag, 0u);
}

TEST_F(ClientTest, AServerWithoutCredentialsIsAttachedButNotAuthenticated)
{
    config.servers[1].login = false;
    ASSERT_EQ(initialise(config), cc::Success);
    const auto all = refs();
    ASSERT_EQ(all.size(), 2u);
    TNWConnInfo info {};
    ASSERT_EQ(getConnInfo(all[1], info), cc::Success);
    EXPECT_EQ(info.authenticationState, 0u);
    EXPECT_STREQ(info.userName, "");

    EXPECT_EQ(loginToServer("fs2", "JOHN", "bad"), cc::NoSuchObjectOrBadPassword);
    ConnRef ref = 0;
    EXPECT_EQ(loginToServer("fs2", "JOHN", "john", &ref), cc::Success);
    EXPECT_EQ(ref, all[1]);
    ASSERT_EQ(getConnInfo(ref, info), cc::Success);
    EXPECT_NE(info.authenticationState, 0u);
    EXPECT_EQ(loginToServer("FS9", "JOHN", "john"), cc::NoSuchServer);
}

TEST_F(ClientTest, HandlesMapBackToTheirReferenceUntilClosed)
{
    ASSERT_EQ(initialise(config), cc::Success);
    const ConnRef r = refs().at(0);
    ConnHandle a = 0, b = 0;
    ASSERT_EQ(openConnByReference(r, a), cc::Success);
    ASSERT_EQ(openConnByReference(r, b), cc::Success);
    EXPECT_NE(a, b);
    ConnRef back = 0;
    EXPECT_EQ(getConnRef(b, back), cc::Success);
    EXPECT_EQ(back, r);
    EXPECT_EQ(closeConn(a), cc::Success);
    EXPECT_EQ(closeConn(a), cc::InvalidConnection);
    EXPECT_EQ(getConnRef(a, back), cc::InvalidConnection);
    EXPECT_EQ(openConnByReference(9999, a), cc::InvalidConnection);
    closeConn(b);
}

TEST_F(ClientTest, ADownedServerLeavesItsReferenceUnauthenticated)
{
    ASSERT_EQ(initialise(config), cc::Success);
    const ConnHandle h = open("FS2");
    ASSERT_EQ(downFileServer(h, true), cc::Success);
    ServerInfo info;
    EXPECT_EQ(getFileServerInformation(h, info), cc::InvalidConnection);
    TNWConnInfo ci {};
    ConnRef ref = 0;
    ASSERT_EQ(getConnRef(h, ref), cc::Success);
    ASSERT_EQ(getConnInfo(ref, ci), cc::Success);
    EXPECT_EQ(ci.authenticationState, 0u);
    closeConn(h);
}

TEST_F(ClientTest, VersionCheckTellsNetWare4FromNetWare3)
{
    ASSERT_EQ(initialise(config), cc::Success);
    struct Case {
        const char* server;
        uint8_t flag;
    } cases[] = { { "FS1", 0 }, { "FS2", 1 } };
    for (const Case& c : cases) {
        const ConnHandle h = open(c.server);
        uint8_t flag = 0xFF;
        EXPECT_EQ(checkNetWareVersion(h, 4, 0, 0, 0, 0, flag), cc::Success);
        EXPECT_EQ(flag, c.flag) << c.server;
        closeConn(h);
    }
}

TEST_F(ClientTest, ConsoleCommandsNeedAnOperator)
{
    config.servers[1].user = "JOHN";
    config.servers[1].password = "john";
    ASSERT_EQ(initialise(config), cc::Success);
    const ConnHandle admin = open("FS1");
    const ConnHandle john = open("FS2");
    EXPECT_EQ(checkConsolePrivileges(admin), cc::Success);
    EXPECT_EQ(checkConsolePrivileges(john), cc::NoConsoleRights);
    EXPECT_EQ(disableFileServerLogin(john), cc::NoConsoleRights);
    bool enabled = false;
    EXPECT_EQ(getFileServerLoginStatus(john, enabled), cc::Success);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(disableFileServerLogin(admin), cc::Success);
    EXPECT_EQ(getFileServerLoginStatus(admin, enabled), cc::Success);
    EXPECT_FALSE(enabled);
    uint32_t serial = 0;
    uint16_t app = 0;
    EXPECT_EQ(getNetworkSerialNumber(admin, serial, app), cc::Success);
    EXPECT_EQ(serial, nwserver::demo::fs1Identity().serialNumber);
    closeConn(admin);
    closeConn(john);
}

TEST_F(ClientTest, TransactionTrackingAnswersWithItsCodes)
{
    ASSERT_EQ(initialise(config), cc::Success);
    const ConnHandle h = open("FS2");
    EXPECT_EQ(ttsIsAvailable(h), cc::TtsAvailable);
    EXPECT_EQ(disableTTS(h), cc::Success);
    EXPECT_EQ(ttsIsAvailable(h), cc::TtsDisabled);
    EXPECT_EQ(enableTTS(h), cc::Success);
    EXPECT_EQ(ttsIsAvailable(h), cc::TtsAvailable);
    closeConn(h);
}

TEST_F(ClientTest, DriveMappings)
{
    ASSERT_EQ(initialise(config), cc::Success);
    const ConnHandle h = open("FS1");
    ConnRef ref = 0;
    QString path;
    EXPECT_EQ(getDriveInformation(26, ref, path), cc::DriveNotInUse);
    EXPECT_EQ(getDriveInformation(27, ref, path), cc::InvalidDriveNumber);
    EXPECT_EQ(setDriveBase(26, h, 0, "SYS:", 0), cc::Success);
    ASSERT_EQ(getDriveInformation(26, ref, path), cc::Success);
    ConnRef mine = 0;
    getConnRef(h, mine);
    EXPECT_EQ(ref, mine);
    EXPECT_EQ(path, "SYS:");
    EXPECT_EQ(deleteDriveBase(26), cc::Success);
    EXPECT_EQ(getDriveInformation(26, ref, path), cc::DriveNotInUse);
    closeConn(h);
}

TEST_F(ClientTest, DateAndTimeRoundTrip)
{
    auto clock
        = std::make_shared<nwserver::ManualClock>(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
    embedded::setClock(clock);
    ASSERT_EQ(initialise(config), cc::Success);
    const ConnHandle h = open("FS1");
    ServerDateTime dt;
    ASSERT_EQ(getFileServerDateAndTime(h, dt), cc::Success);
    EXPECT_EQ(dt.toDateTime(), clock->now());
    const QDateTime target(QDate(2027, 2, 3), QTime(4, 5, 6));
    EXPECT_EQ(setFileServerDateAndTime(h, ServerDateTime::fromDateTime(target)), cc::Success);
    ASSERT_EQ(getFileServerDateAndTime(h, dt), cc::Success);
    EXPECT_EQ(dt.toDateTime(), target);
    closeConn(h);
    embedded::setClock(nullptr);
}

} // namespace
