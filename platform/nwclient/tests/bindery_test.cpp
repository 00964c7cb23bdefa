#include "directoryfixture.h"
#include "platform/nwclient/binderyops.h"
#include "platform/nwproto/directory.h"
#include "platform/nwserver/bindery.h"

#include <QStringList>

using namespace nwclient;
using namespace nwproto;

namespace {

class BinderyTest : public DirectoryFixture {
protected:
    QStringList scanNames(ConnHandle h, ObjectType type, const QString& pattern)
    {
        QStringList names;
        uint32_t last = kScanStart;
        TBinderyObject o;
        NWCCODE code;
        while ((code = scanBinderyObject(h, pattern, type, last, o)) == cc::Success) {
            EXPECT_TRUE(type == OT_WILD || o.type == type) << o.name.toStdString();
            names << o.name;
        }
        EXPECT_EQ(code, cc::NoSuchObject);
        return names;
    }
};

TEST_F(BinderyTest, NamesAndIdsRoundTripInTheClientsByteOrder)
{
    struct Case {
        ConnHandle* conn;
        const char* name;
        ObjectType type;
    } cases[] = {
        { &fs2, "JOHN", OT_USER },
        { &fs2, "EVERYONE", OT_GROUP },
        { &fs2, "FS2", OT_FILE_SERVER },
        { &fs1, "MARY", OT_USER },
        { &fs1, "Q_SALES", OT_PRINT_QUEUE },
        { &fs1, "PS_SALES", OT_PRINT_SERVER },
    };
    for (const Case& c : cases) {
        uint32_t id = 0;
        ASSERT_EQ(getBinderyObjectID(*c.conn, QString::fromLatin1(c.name).toLower(), c.type, id),
            cc::Success)
            << c.name;
        QString name;
        ObjectType type = 0;
        ASSERT_EQ(getBinderyObjectName(*c.conn, id, name, type), cc::Success);
        EXPECT_EQ(name, QLatin1String(c.name));
        EXPECT_EQ(type, c.type) << c.name;
    }
    EXPECT_EQ(OT_USER, 256);
    EXPECT_EQ(OT_GROUP, 512);
    uint32_t id = 0;
    EXPECT_EQ(getBinderyObjectID(fs2, "JOHN", OT_GROUP, id), cc::NoSuchObject);
    EXPECT_EQ(getBinderyObjectID(fs2, "NOBODY", OT_WILD, id), cc::NoSuchObject);
    QString name;
    ObjectType type = 0;
    EXPECT_EQ(getBinderyObjectName(fs2, 0x7FFFFFF0, name, type), cc::NoSuchObject);
}

TEST_F(BinderyTest, ScansFilterByTypeAndWildcard)
{
    EXPECT_EQ(scanNames(fs2, OT_USER, "*"),
        QStringList({ "SUPERVISOR", "ADMIN", "JOHN", "ANNA", "GUEST" }));
    EXPECT_EQ(scanNames(fs2, OT_GROUP, "*"), QStringList({ "EVERYONE", "STAFF" }));
    EXPECT_EQ(scanNames(fs2, OT_USER, "j?hn"), QStringList({ "JOHN" }));
    EXPECT_EQ(scanNames(fs2, OT_USER, "*N*"), QStringList({ "ADMIN", "JOHN", "ANNA" }));
    EXPECT_EQ(scanNames(fs2, OT_PRINT_QUEUE, "*"), QStringList({ "Q_FS2" }));
    EXPECT_EQ(scanNames(fs2, OT_USER, "X*"), QStringList());
    EXPECT_EQ(scanNames(fs2, OT_WILD, "*").size(), 10);
}

TEST_F(BinderyTest, SetPropertiesComeIn32IdSegmentsFromTheMembershipTables)
{
    auto s = server("FS2");
    uint32_t group = 0;
    std::vector<uint32_t> users;
    {
        auto guard = s->lock();
        group = s->objects().createGroup("PROJECT");
        for (int k = 0; k < 40; ++k) {
            users.push_back(s->objects().createUser(QStringLiteral("U%1").arg(k), "x"));
            s->objects().addMember(group, users.back());
        }
    }
    QByteArray seg;
    bool more = false;
    uint8_t flags = 0;
    ASSERT_EQ(readPropertyValue(fs2, "PROJECT", OT_GROUP, "GROUP_MEMBERS", 1, seg, more, flags),
        cc::Success);
    EXPECT_EQ(seg.size(), 128);
    EXPECT_TRUE(more);
    EXPECT_EQ(flags & bindery::PropertySet, bindery::PropertySet);
    EXPECT_EQ(objectIdsOfSegment(seg), std::vector<uint32_t>(users.begin(), users.begin() + 32));
    ASSERT_EQ(readPropertyValue(fs2, "PROJECT", OT_GROUP, "GROUP_MEMBERS", 2, seg, more, flags),
        cc::Success);
    EXPECT_FALSE(more);
    EXPECT_EQ(objectIdsOfSegment(seg), std::vector<uint32_t>(users.begin() + 32, users.end()));
    EXPECT_EQ(seg.mid(32), QByteArray(96, '\0'));
    EXPECT_EQ(readPropertyValue(fs2, "PROJECT", OT_GROUP, "GROUP_MEMBERS", 3, seg, more, flags),
        bindery::NoSuchSegment);

    // The member's side and its equivalences read the same table.
    std::vector<uint32_t> ids;
    ASSERT_EQ(readSetProperty(fs2, "U7", OT_USER, "GROUPS_I'M_IN", ids), cc::Success);
    EXPECT_EQ(ids, std::vector<uint32_t>({ group }));
    ASSERT_EQ(readSetProperty(fs2, "U7", OT_USER, "SECURITY_EQUALS", ids), cc::Success);
    EXPECT_EQ(ids, std::vector<uint32_t>({ group }));
    ASSERT_EQ(readSetProperty(fs2, "ADMIN", OT_USER, "SECURITY_EQUALS", ids), cc::Success);
    EXPECT_NE(std::find(ids.begin(), ids.end(), 1u), ids.end()) << "SUPERVISOR";
    ASSERT_EQ(readSetProperty(fs2, "GUEST", OT_USER, "GROUPS_I'M_IN", ids), cc::Success);
    EXPECT_EQ(ids.size(), 1u);
    {
        auto guard = s->lock();
        s->objects().addMember(group, s->objects().find("GUEST", nwserver::objtype::User)->id);
    }
    ASSERT_EQ(readSetProperty(fs2, "GUEST", OT_USER, "GROUPS_I'M_IN", ids), cc::Success);
    EXPECT_EQ(ids.size(), 2u);
}

TEST_F(BinderyTest, ItemPropertiesAndPropertyScans)
{
    QByteArray seg;
    bool more = true;
    uint8_t flags = 0xFF;
    ASSERT_EQ(readPropertyValue(fs2, "JOHN", OT_USER, "IDENTIFICATION", 1, seg, more, flags),
        cc::Success);
    EXPECT_EQ(QString::fromLatin1(seg.constData()), "John Carter");
    EXPECT_FALSE(more);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(readPropertyValue(fs2, "JOHN", OT_USER, "PASSWORD", 1, seg, more, flags),
        bindery::NoSuchProperty);
    EXPECT_EQ(readPropertyValue(fs2, "NOBODY", OT_USER, "IDENTIFICATION", 1, seg, more, flags),
        cc::NoSuchObject);
    std::vector<uint32_t> ids;
    EXPECT_EQ(
        readSetProperty(fs2, "EVERYONE", OT_GROUP, "GROUPS_I'M_IN", ids), bindery::NoSuchProperty);

    QStringList names;
    uint32_t seq = kScanStart;
    TBinderyProperty p;
    while (scanProperty(fs2, "JOHN", OT_USER, "*", seq, p) == cc::Success)
        names << p.name;
    EXPECT_EQ(names, QStringList({ "GROUPS_I'M_IN", "IDENTIFICATION", "SECURITY_EQUALS" }));
}

TEST(BinderyServer, DerivedSetsCannotBeStoredSeparately)
{
    QTemporaryDir dir;
    nwserver::ServerIdentity identity;
    identity.name = QStringLiteral("T");
    auto s = nwserver::Server::openOrCreate(dir.path(), identity);
    nwserver::Bindery b(s->db(), s->objects());
    const uint32_t g = s->objects().createGroup("G");
    EXPECT_THROW(b.setSetProperty(g, "group_members", { 5 }), std::logic_error);
    EXPECT_THROW(b.setItemProperty(g, "SECURITY_EQUALS", "x"), std::logic_error);
}

} // namespace
