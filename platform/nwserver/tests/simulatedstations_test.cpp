#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace nwserver;
using namespace nwproto;

namespace {

const QDateTime kStart(QDate(2026, 12, 11), QTime(9, 0));

struct Demo {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(kStart);
    std::unique_ptr<Server> server;

    Demo(const QString& dir, const ServerIdentity& id)
        : server(Server::openOrCreate(dir, id, clock))
    {
        demo::populate(*server);
    }

    // Who is attached after each of steps seconds: "number:user" per connection.
    std::vector<QStringList> run(int steps)
    {
        std::vector<QStringList> seen;
        server->stations().tick();
        for (int i = 0; i < steps; ++i) {
            clock->advance(SimulatedStations::kStepMs);
            server->stations().tick();
            seen.push_back(table());
        }
        return seen;
    }
    QStringList table()
    {
        auto guard = server->lock();
        QStringList rows;
        for (uint32_t n : server->connections().numbers())
            rows << QStringLiteral("%1:%2").arg(n).arg(server->connections().find(n)->objectName);
        return rows;
    }
};

TEST(SimulatedStationsTest, TheSameClockGivesTheSameVisitsEveryRun)
{
    QTemporaryDir dir;
    for (const ServerIdentity& id : { demo::fs1Identity(), demo::fs2Identity() }) {
        Demo a(dir.filePath("a" + id.name), id);
        Demo b(dir.filePath("b" + id.name), id);
        const auto seenA = a.run(240);
        EXPECT_EQ(seenA, b.run(240)) << id.name.toStdString();

        // Every user came, and somebody also left again.
        std::map<QString, int> arrivals;
        QSet<QString> present;
        bool someoneLeft = false;
        for (const QStringList& rows : seenA) {
            QSet<QString> now;
            for (const QString& r : rows)
                now.insert(r.section(':', 1));
            for (const QString& u : now)
                arrivals[u] += present.contains(u) ? 0 : 1;
            someoneLeft = someoneLeft || !(present - now).isEmpty();
            present = now;
        }
        const QStringList users = id.isNetWare4() ? QStringList { "JOHN", "MARY", "PETER" }
                                                  : QStringList { "JOHN", "ANNA" };
        for (const QString& u : users)
            EXPECT_GE(arrivals[u], 1) << u.toStdString();
        EXPECT_EQ(arrivals.size(), static_cast<size_t>(users.size()));
        EXPECT_TRUE(someoneLeft) << id.name.toStdString();
        EXPECT_GT(a.server->statistics().totals().readRequests, 0u);
        EXPECT_GT(a.server->statistics().totals().writeRequests, 0u);
    }
}

TEST(SimulatedStationsTest, StationsLeaveOnStopAndComeBackAfterStart)
{
    QTemporaryDir dir;
    Demo d(dir.filePath("FS1"), demo::fs1Identity());
    d.run(10);
    ASSERT_FALSE(d.server->stations().connections().empty());
    d.server->stations().stop();
    EXPECT_FALSE(d.server->stations().running());
    EXPECT_TRUE(d.table().isEmpty());
    EXPECT_TRUE(d.run(30).back().isEmpty()) << "stopped stations stay away";

    d.server->stations().start();
    const auto seen = d.run(60);
    EXPECT_FALSE(seen.back().isEmpty());
}

TEST(SimulatedStationsTest, AClearedStationReturnsLaterAndLongPausesAreNotReplayed)
{
    QTemporaryDir dir;
    Demo d(dir.filePath("FS1"), demo::fs1Identity());
    d.run(10);
    const auto present = d.server->stations().connections();
    ASSERT_FALSE(present.empty());
    {
        auto guard = d.server->lock();
        d.server->connections().release(present.front());
    }
    // A newcomer takes the freed number: the cleared station must not speak on its connection.
    uint32_t newcomer = 0;
    ASSERT_EQ(d.server->attach(QByteArray(12, '\7'), newcomer), cc::Success);
    ASSERT_EQ(newcomer, present.front());
    d.run(3);
    {
        auto guard = d.server->lock();
        EXPECT_EQ(d.server->connections().find(newcomer)->requests, 0u);
        EXPECT_FALSE(d.server->connections().find(newcomer)->loggedIn());
    }
    const uint64_t before = d.server->statistics().totals().requests;
    d.clock->advance(24 * 3600 * 1000);
    d.server->stations().tick();
    // At most kMaxCatchUp steps of a few requests per station, not a day's worth.
    EXPECT_LT(d.server->statistics().totals().requests - before,
        static_cast<uint64_t>(SimulatedStations::kMaxCatchUp) * 3 * 4);
    const auto later = d.run(120);
    bool back = false;
    for (const QStringList& rows : later)
        back = back || !rows.isEmpty();
    EXPECT_TRUE(back);
}

TEST(SimulatedStationsTest, AServerWithoutStationsIsLeftAlone)
{
    QTemporaryDir dir;
    auto clock = std::make_shared<ManualClock>(kStart);
    auto s = Server::openOrCreate(dir.filePath("X"), demo::fs2Identity(), clock);
    s->stations().tick();
    clock->advance(60000);
    s->stations().tick();
    EXPECT_EQ(s->connections().inUse(), 0u);
    EXPECT_EQ(s->statistics().totals().requests, 0u);
}

} // namespace
