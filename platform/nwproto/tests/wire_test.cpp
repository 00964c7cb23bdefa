#include "platform/nwproto/serverinfo.h"
#include "platform/nwproto/wire.h"

#include <gtest/gtest.h>

using namespace nwproto;

TEST(Wire, RoundTripsEveryKind)
{
    WireWriter w;
    w.u8(0xAB).u16(0xBEEF).u32(0x89FF).i32(-601).u64(1ull << 40).boolean(true);
    w.str(QStringLiteral("SYS:PUBLIC\\ŁÓDŹ")).bytes(QByteArray("\0\1\2", 3));
    WireReader r(w.data());
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.u32(), 0x89FFu);
    EXPECT_EQ(r.i32(), -601);
    EXPECT_EQ(r.u64(), 1ull << 40);
    EXPECT_TRUE(r.boolean());
    EXPECT_EQ(r.str(), QStringLiteral("SYS:PUBLIC\\ŁÓDŹ"));
    EXPECT_EQ(r.bytes(), QByteArray("\0\1\2", 3));
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(Wire, ShortOrHostileBodiesFailWithoutReadingPastTheEnd)
{
    WireWriter w;
    w.u32(0xFFFFFFF0); // a length far beyond the body
    WireReader r(w.data());
    EXPECT_TRUE(r.bytes().isEmpty());
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.u32(), 0u); // stays failed and yields zeros

    QByteArray two("\1\2", 2);
    WireReader s(two);
    EXPECT_EQ(s.u32(), 0u);
    EXPECT_FALSE(s.ok());
}

// File data goes into the body as bytes() writes it, or straight into the caller's fragment,
// never past its capacity; a failed fill leaves nothing behind in either.
TEST(Wire, BulkGoesIntoTheBodyOrTheFragment)
{
    const auto fill = [](int64_t answer) {
        return [answer](char* dest, size_t room) {
            std::fill(dest, dest + room, 'x');
            return std::min<int64_t>(answer, static_cast<int64_t>(room));
        };
    };
    WireWriter body;
    body.u8(7);
    EXPECT_EQ(body.bulk(16, fill(5)), 5);
    WireReader r(body.data());
    EXPECT_EQ(r.u8(), 7);
    EXPECT_EQ(r.bytes(), QByteArray("xxxxx"));
    EXPECT_TRUE(r.atEnd());

    WireWriter failed;
    EXPECT_EQ(failed.bulk(16, fill(-1)), -1);
    EXPECT_EQ(failed.data(), QByteArray(4, '\0'));

    char buffer[8] = {};
    ReplyFragment fragment { buffer, 4, 99 };
    WireWriter direct(&fragment);
    EXPECT_EQ(direct.bulk(16, fill(16)), 4);
    EXPECT_EQ(fragment.used, 4u);
    EXPECT_EQ(QByteArray(buffer, 8), QByteArray("xxxx\0\0\0\0", 8));
    EXPECT_TRUE(direct.data().isEmpty());
    EXPECT_EQ(direct.bulk(16, fill(-1)), -1);
    EXPECT_EQ(fragment.used, 0u);
}

TEST(Wire, ServerDateTimeKeepsTheWeekday)
{
    const QDateTime dt(QDate(2026, 12, 13), QTime(8, 30, 5)); // a Sunday
    const ServerDateTime s = ServerDateTime::fromDateTime(dt);
    EXPECT_EQ(s.dayOfWeek, 0);
    WireWriter w;
    s.write(w);
    WireReader r(w.data());
    EXPECT_EQ(ServerDateTime::read(r).toDateTime(), dt);
}
