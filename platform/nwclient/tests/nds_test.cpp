#include "directoryfixture.h"
#include "platform/nwclient/binderyops.h"
#include "platform/nwclient/ndsnames.h"
#include "platform/nwclient/ndsops.h"
#include "platform/nwserver/directorytree.h"

#include <QSet>

using namespace nwclient;
using namespace nwproto;

namespace {

class NdsTest : public DirectoryFixture {
protected:
    void SetUp() override
    {
        DirectoryFixture::SetUp();
        ASSERT_EQ(NWDSCreateContextHandle(ctx), 0);
    }
    void TearDown() override
    {
        NWDSFreeContext(ctx);
        DirectoryFixture::TearDown();
    }
    QStringList readValues(const QString& object, const QString& attribute, size_t size = 4096)
    {
        pBuf_T in = nullptr;
        pBuf_T out = nullptr;
        EXPECT_EQ(NWDSAllocBuf(size, in), 0);
        EXPECT_EQ(NWDSAllocBuf(size, out), 0);
        EXPECT_EQ(NWDSInitBuf(ctx, DSV_READ, in), 0);
        if (!attribute.isEmpty()) {
            EXPECT_EQ(NWDSPutAttrName(ctx, in, attribute), 0);
        }
        QStringList values;
        int32_t iteration = NO_MORE_ITERATIONS;
        do {
            lastCode = NWDSRead(
                ctx, object, DS_ATTRIBUTE_VALUES, attribute.isEmpty(), in, iteration, out);
            if (lastCode != 0)
                break;
            uint32_t attrs = 0;
            EXPECT_EQ(NWDSGetAttrCount(ctx, out, attrs), 0);
            for (uint32_t a = 0; a < attrs; ++a) {
                QString name;
                uint32_t count = 0, syntax = 0;
                EXPECT_EQ(NWDSGetAttrName(ctx, out, name, count, syntax), 0);
                for (uint32_t v = 0; v < count; ++v) {
                    QString value;
                    EXPECT_EQ(NWDSGetAttrVal(ctx, out, syntax, value), 0);
                    values << name + '=' + value;
                }
            }
        } while (iteration != NO_MORE_ITERATIONS);
        NWDSFreeBuf(in);
        NWDSFreeBuf(out);
        return values;
    }
    uint32_t binderyId(const QString& name, ObjectType type)
    {
        uint32_t id = 0;
        EXPECT_EQ(getBinderyObjectID(fs1, name, type, id), cc::Success);
        return id;
    }

    NWDSContextHandle ctx = 0;
    NWDSCCODE lastCode = 0;
};

TEST_F(NdsTest, NamesAndIdsRoundTripAndUsersAreTheServersLoginUsers)
{
    struct Case {
        const char* name; // as given to a context at [Root]
        const char* typeless;
        const char* typed;
    } cases[] = {
        { "john.sales.acme", "JOHN.SALES.ACME", "CN=JOHN.OU=SALES.O=ACME" },
        { "CN=ADMIN.O=ACME", "ADMIN.ACME", "CN=ADMIN.O=ACME" },
        { ".sales.acme", "SALES.ACME", "OU=SALES.O=ACME" },
        { "FS1_SYS.ACME", "FS1_SYS.ACME", "CN=FS1_SYS.O=ACME" },
        { "[Root]", "[Root]", "[Root]" },
    };
    for (const Case& c : cases) {
        uint32_t id = 0;
        ASSERT_EQ(NWDSMapNameToID(ctx, fs1, c.name, id), 0) << c.name;
        QString name;
        EXPECT_EQ(NWDSMapIDToName(ctx, fs1, id, name), 0);
        EXPECT_EQ(name, QLatin1String(c.typeless));
        ASSERT_EQ(NWDSSetContext(ctx, DCK_FLAGS, DCV_CANONICALIZE_NAMES), 0);
        EXPECT_EQ(NWDSMapIDToName(ctx, fs1, id, name), 0);
        EXPECT_EQ(name, QLatin1String(c.typed));
        ASSERT_EQ(NWDSSetContext(ctx, DCK_FLAGS, DCV_TYPELESS_NAMES | DCV_CANONICALIZE_NAMES), 0);
    }
    uint32_t id = 0;
    ASSERT_EQ(NWDSMapNameToID(ctx, fs1, "JOHN.SALES.ACME", id), 0);
    EXPECT_EQ(id, binderyId("JOHN", OT_USER));
    ASSERT_EQ(NWDSMapNameToID(ctx, fs1, "FS1.ACME", id), 0);
    EXPECT_EQ(id, binderyId("FS1", OT_FILE_SERVER));
}

TEST_F(NdsTest, MissingEntriesAnswerNoSuchEntry)
{
    uint32_t id = 0;
    for (const char* name : { "NOBODY.ACME", "JOHN.IT.ACME", "OU=JOHN.OU=SALES.O=ACME", "ACME.X" })
        EXPECT_EQ(NWDSMapNameToID(ctx, fs1, name, id), ndserr::NoSuchEntry) << name;
    QString name;
    EXPECT_EQ(NWDSMapIDToName(ctx, fs1, 0x7FFFFFF0, name), ndserr::NoSuchEntry);
    TObjectInfo info;
    EXPECT_EQ(NWDSReadObjectInfo(ctx, "NOBODY.ACME", name, info), ndserr::NoSuchEntry);
    EXPECT_TRUE(readValues("NOBODY.ACME", "Member").isEmpty());
    EXPECT_EQ(lastCode, ndserr::NoSuchEntry);
    readValues("JOHN.SALES.ACME", "Member");
    EXPECT_EQ(lastCode, ndserr::NoSuchAttribute);
    // A bindery server knows no directory requests at all.
    EXPECT_EQ(NWDSMapNameToID(ctx, fs2, "ACME", id), static_cast<NWDSCCODE>(cc::UnknownRequest));
}

TEST_F(NdsTest, NameContextShortensAndCompletesNames)
{
    ASSERT_EQ(NWDSSetContext(ctx, DCK_NAME_CONTEXT, QStringLiteral("SALES.ACME")), 0);
    struct Case {
        const char* full;
        const char* abbreviated;
    } cases[] = {
        { "JOHN.SALES.ACME", "JOHN" },
        { "ADMIN.ACME", ".ADMIN.ACME" },
        { "PETER.IT.ACME", ".PETER.IT.ACME" },
    };
    for (const Case& c : cases) {
        QString shortName;
        ASSERT_EQ(NWDSAbbreviateName(ctx, c.full, shortName), 0);
        EXPECT_EQ(shortName, QLatin1String(c.abbreviated));
        uint32_t viaShort = 0, viaFull = 0;
        ASSERT_EQ(NWDSMapNameToID(ctx, fs1, shortName, viaShort), 0) << c.abbreviated;
        ASSERT_EQ(NWDSMapNameToID(ctx, fs1, QStringLiteral(".") + c.full, viaFull), 0);
        EXPECT_EQ(viaShort, viaFull);
    }
    uint32_t id = 0;
    EXPECT_EQ(NWDSMapNameToID(ctx, fs1, "PETER.IT.", id), 0) << "one level up, then down";
    EXPECT_EQ(id, binderyId("PETER", OT_USER));

    // Without canonicalizing, names are taken from the root and kept whole.
    ASSERT_EQ(NWDSSetContext(ctx, DCK_FLAGS, DCV_TYPELESS_NAMES), 0);
    EXPECT_EQ(NWDSMapNameToID(ctx, fs1, "JOHN", id), ndserr::NoSuchEntry);
    QString name;
    ASSERT_EQ(NWDSAbbreviateName(ctx, "JOHN.SALES.ACME", name), 0);
    EXPECT_EQ(name, "JOHN.SALES.ACME");
    ASSERT_EQ(NWDSGetContext(ctx, DCK_NAME_CONTEXT, name), 0);
    EXPECT_EQ(name, "SALES.ACME");
    ASSERT_EQ(NWDSGetContext(ctx, DCK_TREE_NAME, name), 0);
    EXPECT_EQ(name, "ACME_TREE");
    uint32_t flags = 0;
    EXPECT_EQ(NWDSGetContext(ctx, DCK_NAME_CONTEXT, flags), ndserr::BadKey);
}

TEST_F(NdsTest, ObjectInfoAndAttributesFollowTheMembershipTables)
{
    QString dn;
    TObjectInfo info;
    ASSERT_EQ(NWDSReadObjectInfo(ctx, "sales.acme", dn, info), 0);
    EXPECT_EQ(dn, "SALES.ACME");
    EXPECT_EQ(info.baseClass, "Organizational Unit");
    EXPECT_EQ(info.objectFlags & dsentry::Container, dsentry::Container);
    EXPECT_EQ(info.subordinateCount, 4u);
    ASSERT_EQ(NWDSReadObjectInfo(ctx, "HELPDESK.ACME", dn, info), 0);
    EXPECT_EQ(info.baseClass, "Organizational Role");
    EXPECT_EQ(info.objectFlags & dsentry::Container, 0u);
    ASSERT_EQ(NWDSReadObjectInfo(ctx, "SALES_ADMIN.ACME", dn, info), 0);
    EXPECT_EQ(info.baseClass, "Alias");

    EXPECT_EQ(readValues("JOHN.SALES.ACME", "Group Membership"),
        QStringList({ "Group Membership=EVERYONE.ACME", "Group Membership=STAFF.ACME" }));
    EXPECT_EQ(readValues("STAFF.ACME", "member"),
        QStringList(
            { "Member=JOHN.SALES.ACME", "Member=MARY.SALES.ACME", "Member=PETER.IT.ACME" }));
    EXPECT_EQ(readValues("FS1_VOL1.ACME", "Host Resource Name"),
        QStringList({ "Host Resource Name=VOL1" }));
    EXPECT_EQ(readValues("SALES_ADMIN.ACME", "Aliased Object Name"),
        QStringList({ "Aliased Object Name=JOHN.SALES.ACME" }));

    auto s = server("FS1");
    {
        auto guard = s->lock();
        const auto it = s->objects().find("STAFF", nwserver::objtype::Group);
        s->objects().addMember(it->id, s->objects().find("ADMIN", nwserver::objtype::User)->id);
    }
    EXPECT_TRUE(
        readValues("ADMIN.ACME", "Group Membership").contains("Group Membership=STAFF.ACME"));

    // A reply buffer too small for everything at once is filled across iterations.
    const QStringList whole = readValues("JOHN.SALES.ACME", QString());
    EXPECT_GE(whole.size(), 8);
    EXPECT_EQ(readValues("JOHN.SALES.ACME", QString(), 64), whole);
}

TEST_F(NdsTest, ListingGoesBatchByBatchWithIterationHandles)
{
    auto s = server("FS1");
    QSet<QString> expected { "PETER", "PS_SALES", "PLOTTER_IT" };
    {
        auto guard = s->lock();
        nwserver::DirectoryTree tree(s->db(), s->objects());
        uint32_t it = 0;
        ASSERT_EQ(tree.resolve("IT.ACME", it), 0);
        for (int k = 0; k < 150; ++k) {
            const QString name = QStringLiteral("TEMP%1").arg(k, 3, 10, QLatin1Char('0'));
            tree.addObjectEntry(it, s->objects().createUser(name, "x"), "User", 0);
            expected << name;
        }
    }
    pBuf_T buf = nullptr;
    ASSERT_EQ(NWDSAllocBuf(DEFAULT_MESSAGE_LEN, buf), 0);
    QSet<QString> seen;
    int batches = 0;
    int32_t iteration = NO_MORE_ITERATIONS;
    do {
        ASSERT_EQ(NWDSList(ctx, "IT.ACME", iteration, buf), 0);
        ++batches;
        uint32_t count = 0;
        ASSERT_EQ(NWDSGetObjectCount(ctx, buf, count), 0);
        ASSERT_GT(count, 0u);
        for (uint32_t k = 0; k < count; ++k) {
            QString name;
            uint32_t attrs = 0;
            TObjectInfo info;
            ASSERT_EQ(NWDSGetObjectName(ctx, buf, name, attrs, info), 0);
            EXPECT_FALSE(seen.contains(name)) << name.toStdString();
            seen << name;
        }
        QString extra;
        uint32_t attrs = 0;
        TObjectInfo info;
        EXPECT_EQ(NWDSGetObjectName(ctx, buf, extra, attrs, info), ndserr::BufferEmpty);
    } while (iteration != NO_MORE_ITERATIONS && batches < 100);
    EXPECT_GT(batches, 1);
    EXPECT_EQ(seen, expected);
    NWDSFreeBuf(buf);

    // A leaf has nothing below it; the listing of [Root] shows the organization.
    ASSERT_EQ(NWDSAllocBuf(DEFAULT_MESSAGE_LEN, buf), 0);
    iteration = NO_MORE_ITERATIONS;
    ASSERT_EQ(NWDSList(ctx, "JOHN.SALES.ACME", iteration, buf), 0);
    uint32_t count = 9;
    EXPECT_EQ(NWDSGetObjectCount(ctx, buf, count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(iteration, NO_MORE_ITERATIONS);
    ASSERT_EQ(NWDSSetContext(ctx, DCK_FLAGS, DCV_CANONICALIZE_NAMES), 0);
    ASSERT_EQ(NWDSList(ctx, "[Root]", iteration, buf), 0);
    QString name;
    uint32_t attrs = 0;
    TObjectInfo info;
    ASSERT_EQ(NWDSGetObjectName(ctx, buf, name, attrs, info), 0);
    EXPECT_EQ(name, "O=ACME");
    EXPECT_EQ(info.baseClass, "Organization");
    NWDSFreeBuf(buf);
}

TEST(NdsContext, ContextsNeedTheLibraryAndCarryThePreferredTree)
{
    NWDSContextHandle ctx = 0;
    EXPECT_EQ(NWDSCreateContextHandle(ctx), ndserr::ContextCreation);
    QTemporaryDir dir;
    ASSERT_EQ(initialise(WorkstationConfig::demo(dir.path())), cc::Success);
    setPreferredTree("OTHER_TREE");
    ASSERT_EQ(NWDSCreateContextHandle(ctx), 0);
    uint32_t flags = 0;
    ASSERT_EQ(NWDSGetContext(ctx, DCK_FLAGS, flags), 0);
    EXPECT_EQ(
        flags, DCV_DEREF_ALIASES | DCV_XLATE_STRINGS | DCV_TYPELESS_NAMES | DCV_CANONICALIZE_NAMES);
    QString dn;
    TObjectInfo info;
    EXPECT_EQ(NWDSReadObjectInfo(ctx, "ACME", dn, info), ndserr::NoConnection);
    EXPECT_EQ(NWDSSetContext(ctx, DCK_TREE_NAME, QStringLiteral("acme_tree")), 0);
    EXPECT_EQ(NWDSReadObjectInfo(ctx, "ACME", dn, info), 0);
    EXPECT_EQ(NWDSFreeContext(ctx), 0);
    EXPECT_EQ(NWDSFreeContext(ctx), ndserr::BadContext);
    setPreferredTree(QString());
    terminate();
}

TEST(NdsNames, RelativeNamesAgainstAContext)
{
    struct Case {
        const char* name;
        uint32_t flags;
        const char* context;
        NWDSCCODE code;
        const char* absolute;
    } cases[] = {
        { "JOHN", 0x10, "SALES.ACME", 0, "JOHN.SALES.ACME" },
        { "JOHN.SALES.", 0x10, "IT.ACME", 0, "JOHN.SALES.ACME" },
        { "ACME..", 0x10, "IT.ACME", 0, "ACME" },
        { "X...", 0x10, "IT.ACME", ndserr::InvalidObjectName, "" },
        { ".ADMIN.ACME", 0x10, "SALES.ACME", 0, "ADMIN.ACME" },
        { "JOHN.SALES.ACME", 0x10, "[Root]", 0, "JOHN.SALES.ACME" },
        { "JOHN.SALES.ACME", 0x04, "SALES.ACME", 0, "JOHN.SALES.ACME" },
        { "[Root]", 0x10, "SALES.ACME", 0, "[Root]" },
        { "", 0x10, "SALES.ACME", ndserr::InvalidObjectName, "" },
    };
    for (const Case& c : cases) {
        QString out;
        EXPECT_EQ(ndsnames::absolute(c.name, c.flags, c.context, out), c.code) << c.name;
        if (c.code == 0) {
            EXPECT_EQ(out, QLatin1String(c.absolute)) << c.name;
        }
    }
    EXPECT_EQ(ndsnames::typeless("CN=JOHN.OU=SALES.O=ACME"), "JOHN.SALES.ACME");
    EXPECT_EQ(ndsnames::components("A\\.B.C"), QStringList({ "A\\.B", "C" }));
    EXPECT_EQ(ndsnames::abbreviate("CN=JOHN.OU=SALES.O=ACME", 0x10, "SALES.ACME"), "CN=JOHN");
    EXPECT_EQ(ndsnames::abbreviate("SALES.ACME", 0x10, "SALES.ACME"), ".SALES.ACME");
}

} // namespace
