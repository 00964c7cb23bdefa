#include "platform/nwproto/serverinfo.h"
#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

using namespace nwserver;
using namespace nwproto;

namespace {

struct Station {
    Server& server;
    uint32_t conn = 0;

    NWCCODE call(FnCode fn, const QByteArray& body = {}, QByteArray* reply = nullptr)
    {
        QByteArray r;
        const NWCCODE code = server.request(conn, fn, body, r);
        if (reply)
            *reply = r;
        return code;
    }
    NWCCODE login(const QString& user, const QString& password)
    {
        WireWriter w;
        w.str(user).str(password);
        return call(fn::Login, w.data());
    }
};

class ServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        fs2 = Server::openOrCreate(dir.filePath("FS2"), demo::fs2Identity(), clock);
        demo::populate(*fs2);
    }
    Station attach()
    {
        Station st { *fs2 };
        EXPECT_EQ(fs2->attach(QByteArray(12, '\1'), st.conn), cc::Success);
        return st;
    }

    QTemporaryDir dir;
    std::shared_ptr<ManualClock> clock;
    std::unique_ptr<Server> fs2;
};

TEST_F(ServerTest, LoginChecksPasswordsCaseInsensitivelyAndStoresNoClearText)
{
    Station st = attach();
    EXPECT_EQ(st.login("john", "wrong"), cc::NoSuchObjectOrBadPassword);
    EXPECT_EQ(st.login("nobody", "x"), cc::NoSuchObjectOrBadPassword);
    EXPECT_EQ(st.login("john", "JOHN"), cc::Success);
    EXPECT_EQ(fs2->connections().find(st.conn)->objectName, "JOHN");
    EXPECT_EQ(fs2->connections().find(st.conn)->loginTime, clock->now());

    const QVariant stored = fs2->db().scalar("SELECT COUNT(*) FROM objects"
                                             " WHERE password_hash LIKE '%john%'");
    EXPECT_EQ(stored.toInt(), 0);
}

TEST_F(ServerTest, AccessLevelsAreCheckedBeforeTheOperation)
{
    Station anon = attach();
    Station john = attach();
    Station admin = attach();
    ASSERT_EQ(john.login("JOHN", "john"), cc::Success);
    ASSERT_EQ(admin.login("ADMIN", "admin"), cc::Success);

    struct Case {
        Station* who;
        FnCode fn;
        NWCCODE expected;
    } cases[] = {
        { &anon, fn::GetServerInfo, cc::Success },
        { &anon, fn::GetLoginStatus, cc::AccessDenied },
        { &john, fn::GetLoginStatus, cc::Success },
        { &john, fn::CheckConsolePrivileges, cc::NoConsoleRights },
        { &admin, fn::CheckConsolePrivileges, cc::Success },
        { &anon, 0x7FFF, cc::UnknownRequest },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.who->call(c.fn), c.expected) << std::hex << c.fn;
}

TEST_F(ServerTest, LoginsAndTransactionTrackingToggleAndPersist)
{
    Station admin = attach();
    ASSERT_EQ(admin.login("ADMIN", "admin"), cc::Success);
    EXPECT_EQ(admin.call(fn::TtsIsAvailable), cc::TtsAvailable);
    WireWriter off;
    off.boolean(false);
    EXPECT_EQ(admin.call(fn::SetTtsStatus, off.data()), cc::Success);
    EXPECT_EQ(admin.call(fn::TtsIsAvailable), cc::TtsDisabled);
    EXPECT_EQ(admin.call(fn::SetLoginStatus, off.data()), cc::Success);

    Station john = attach();
    EXPECT_EQ(john.login("JOHN", "john"), cc::LoginLocked);
    Station sup = attach();
    EXPECT_EQ(sup.login("SUPERVISOR", "supervisor"), cc::Success);

    fs2.reset();
    fs2 = Server::open(dir.filePath("FS2"), clock);
    EXPECT_FALSE(fs2->loginEnabled());
    EXPECT_FALSE(fs2->ttsEnabled());
}

TEST_F(ServerTest, CountersCountRequestsAndBytes)
{
    Station st = attach();
    QByteArray reply;
    ASSERT_EQ(st.call(fn::GetServerInfo, {}, &reply), cc::Success);
    ASSERT_EQ(st.login("GUEST", ""), cc::Success);
    const Connection* c = fs2->connections().find(st.conn);
    EXPECT_EQ(c->requests, 2u);
    EXPECT_GE(c->bytesRead, static_cast<uint64_t>(reply.size()));
    EXPECT_GT(c->bytesWritten, 0u);
}

TEST_F(ServerTest, SetTimeKeepsAnOffsetFromTheClock)
{
    Station admin = attach();
    ASSERT_EQ(admin.login("ADMIN", "admin"), cc::Success);
    WireWriter w;
    ServerDateTime::fromDateTime(QDateTime(QDate(2027, 1, 1), QTime(0, 0))).write(w);
    ASSERT_EQ(admin.call(fn::SetDateTime, w.data()), cc::Success);
    clock->advance(60'000);
    QByteArray reply;
    ASSERT_EQ(admin.call(fn::GetDateTime, {}, &reply), cc::Success);
    WireReader r(reply);
    EXPECT_EQ(ServerDateTime::read(r).toDateTime(), QDateTime(QDate(2027, 1, 1), QTime(0, 1)));
}

TEST_F(ServerTest, DownClearsEveryConnectionAndLaterCallsAreInvalid)
{
    Station admin = attach();
    Station other = attach();
    ASSERT_EQ(admin.login("ADMIN", "admin"), cc::Success);
    WireWriter w;
    w.boolean(true);
    EXPECT_EQ(admin.call(fn::DownServer, w.data()), cc::Success);
    EXPECT_EQ(other.call(fn::GetServerInfo), cc::InvalidConnection);
    EXPECT_EQ(fs2->connections().inUse(), 0);
    uint32_t n = 0;
    EXPECT_NE(fs2->attach(QByteArray(12, 0), n), cc::Success);
}

TEST_F(ServerTest, ConnectionSlotsRunOutAndAreReused)
{
    std::vector<uint32_t> conns;
    uint32_t n = 0;
    while (fs2->attach(QByteArray(12, 0), n) == cc::Success)
        conns.push_back(n);
    EXPECT_EQ(conns.size(), demo::fs2Identity().maxConnections);
    Station st { *fs2, conns[5] };
    EXPECT_EQ(st.call(fn::Detach), cc::Success);
    EXPECT_EQ(fs2->attach(QByteArray(12, 0), n), cc::Success);
    EXPECT_EQ(n, conns[5]);
}

TEST_F(ServerTest, ConcurrentStationsAreSerialised)
{
    std::vector<std::thread> threads;
    std::atomic<int> failures { 0 };
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            Station st = attach();
            if (st.login("JOHN", "john") != cc::Success)
                ++failures;
            for (int i = 0; i < 200; ++i)
                if (st.call(fn::GetServerInfo) != cc::Success)
                    ++failures;
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST(DemoWorld, IsBuiltOnceAndReproducibly)
{
    QTemporaryDir a, b;
    demo::ensure(a.path());
    demo::ensure(a.path());
    demo::ensure(b.path());
    auto fa = Server::open(a.filePath("FS1"));
    auto fb = Server::open(b.filePath("FS1"));
    EXPECT_EQ(fa->identity().treeName, "ACME_TREE");
    EXPECT_EQ(fa->identity().osMinor, 11);
    const char* sql = "SELECT group_concat(id || name || type, ',') FROM objects";
    EXPECT_EQ(fa->db().scalar(sql), fb->db().scalar(sql));
    EXPECT_TRUE(fa->objects().isConsoleOperator(fa->objects().find("ADMIN", objtype::User)->id));
    EXPECT_FALSE(fa->objects().isConsoleOperator(fa->objects().find("JOHN", objtype::User)->id));
    auto f2 = Server::open(a.filePath("FS2"));
    EXPECT_TRUE(f2->identity().treeName.isEmpty());
    EXPECT_EQ(f2->identity().osMajor, 3);
}

} // namespace
