#include "netware/connqueries.h"
#include "netware/directoryobjects.h"
#include "netware/nwexception.h"
#include "netware/objectstree.h"
#include "platform/nwclient/binderyops.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwserver/directorytree.h"
#include "platform/nwserver/server.h"
#include "platform/shell/scripteddialogservice.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nwclient;

namespace {

class DirectoryObjectsTest : public testing::Test {
protected:
    void SetUp() override
    {
        shell::DialogService::setInstance(&dialogs);
        ASSERT_EQ(initialise(WorkstationConfig::demo(dir.path())), nwproto::cc::Success);
        uint32_t it = 0;
        ConnRef ref = 0;
        while (scanConnRefs(it, ref) == nwproto::cc::Success) {
            TNWConnInfo info {};
            getConnInfo(ref, info);
            (QLatin1String(info.serverName) == QLatin1String("FS1") ? fs1Ref : fs2Ref) = ref;
        }
        ASSERT_EQ(fs1.open(fs1Ref), 0u);
        ASSERT_EQ(fs2.open(fs2Ref), 0u);
        SetPreferredNDSTree("ACME_TREE");
        SetCanonicalNames(true);
        SetNDSNameContext(QString());
    }
    void TearDown() override
    {
        fs1.close();
        fs2.close();
        SetPreferredNDSTree(QString());
        SetNDSNameContext(QString());
        terminate();
        shell::DialogService::setInstance(nullptr);
    }
    uint32_t id(TConnHandleScope& conn, const QString& name, ObjectType type)
    {
        uint32_t out = 0;
        EXPECT_EQ(getBinderyObjectID(conn.handle(), name, type, out), 0u) << name.toStdString();
        return out;
    }
    uint32_t entryId(const QString& name)
    {
        auto s = embedded::findServer("FS1");
        auto guard = s->lock();
        uint32_t out = 0;
        EXPECT_EQ(nwserver::DirectoryTree(s->db(), s->objects()).resolve(name, out), 0);
        return out;
    }
    static QStringList texts(QTreeWidgetItem* parent, TNWObjectsTree& tree)
    {
        QStringList out;
        const int n = parent ? parent->childCount() : tree.topLevelItemCount();
        for (int k = 0; k < n; ++k)
            out << (parent ? parent->child(k) : tree.topLevelItem(k))->text(0);
        return out;
    }
    static QTreeWidgetItem* child(QTreeWidgetItem* parent, TNWObjectsTree& tree, const QString& t)
    {
        const int n = parent ? parent->childCount() : tree.topLevelItemCount();
        for (int k = 0; k < n; ++k) {
            QTreeWidgetItem* c = parent ? parent->child(k) : tree.topLevelItem(k);
            if (c->text(0) == t)
                return c;
        }
        return nullptr;
    }

    QTemporaryDir dir;
    shell::ScriptedDialogService dialogs;
    ConnRef fs1Ref = 0, fs2Ref = 0;
    TConnHandleScope fs1, fs2;
};

TEST(ClassKindTable, FirstMatchingRowWins)
{
    struct Case {
        const char* className;
        int kind;
    } cases[] = {
        { "Organizational Unit", 3 },
        { "Organization", 2 },
        { "Organizational Role", 22 },
        { "NCP Server", 8 },
        { "Print Server", 11 },
        { "Server", 8 },
        { "User", 5 },
        { "Group", 4 },
        { "LDAP Group", 28 },
        { "Volume", 17 },
        { "Queue", 18 },
        { "Tree Root", 2 },
        { "Alias", 6 },
        { "NLS:License Certificate", 15 },
        { "Comunication Server", 9 },
        { "Printer", 12 },
        { "Unheard Of", 0 },
        { "", 0 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassKind(c.className), c.kind) << c.className;
    EXPECT_FALSE(IsShownKind(objkind::Volume));
    EXPECT_TRUE(IsShownKind(objkind::OrganizationalUnit));
    EXPECT_FALSE(IsShownKind(33));
    EXPECT_FALSE(IsShownKind(255));
    EXPECT_EQ(DisplayName("[ROOT]"), "[Root]");
    EXPECT_EQ(DisplayName("SALES"), "Sales");
    EXPECT_EQ(DisplayName(""), "");
}

TEST_F(DirectoryObjectsTest, NamesOfIdsOnBothKindsOfServer)
{
    const uint32_t john1 = id(fs1, "JOHN", OT_USER);
    EXPECT_EQ(ObjectName(fs1.handle(), john1), "JOHN.SALES.ACME");
    SetNDSNameContext("SALES.ACME");
    EXPECT_EQ(ObjectName(fs1.handle(), john1), "JOHN");
    EXPECT_EQ(ObjectName(fs1.handle(), id(fs1, "PETER", OT_USER)), ".PETER.IT.ACME");
    EXPECT_EQ(RootObjectName(fs1.handle(), john1), "JOHN.SALES.ACME");
    EXPECT_TRUE(CanonicalNames());
    EXPECT_EQ(NDSNameContext(), "SALES.ACME");
    SetCanonicalNames(false);
    EXPECT_EQ(ObjectName(fs1.handle(), john1), "JOHN.SALES.ACME");
    EXPECT_EQ(NDSObjectName(fs1.handle(), 0x7FFFFFF0, false), "");

    EXPECT_EQ(ObjectName(fs2.handle(), id(fs2, "JOHN", OT_USER)), "JOHN");
    EXPECT_EQ(ObjectName(fs2.handle(), 0x7FFFFFF0), "");
    EXPECT_EQ(ObjectNameByRef(fs2Ref, id(fs2, "STAFF", OT_GROUP)), "STAFF");
    EXPECT_EQ(ObjectNameByRef(9999, 1), "");
    EXPECT_EQ(RootObjectNameByRef(fs1Ref, john1), "JOHN.SALES.ACME");
}

TEST_F(DirectoryObjectsTest, ObjectIdTriesTheBinderyAndTheOtherDotBeforeGivingUp)
{
    const int64_t john = id(fs1, "JOHN", OT_USER);
    EXPECT_EQ(ObjectId(fs1.handle(), "john.sales.acme"), john);
    EXPECT_EQ(ObjectId(fs1.handle(), "SUPERVISOR"), 1) << "bindery-only user";
    SetNDSNameContext("SALES.ACME");
    EXPECT_EQ(ObjectId(fs1.handle(), "JOHN.SALES.ACME"), john) << "found with a leading dot";
    EXPECT_EQ(ObjectId(fs1.handle(), "JOHN"), john);
    EXPECT_EQ(ObjectId(fs1.handle(), "NOBODY.NOWHERE"), -1);
    EXPECT_EQ(ObjectId(fs1.handle(), ".NOBODY.ACME"), -1);
    EXPECT_EQ(ObjectId(fs2.handle(), "EVERYONE"), int64_t(id(fs2, "EVERYONE", OT_GROUP)));
    EXPECT_EQ(ObjectId(fs2.handle(), "ANNA"), int64_t(id(fs2, "ANNA", OT_USER)));
    EXPECT_EQ(ObjectId(fs2.handle(), "NOBODY"), -1);
    EXPECT_EQ(ObjectIdByRef(9999, "JOHN"), -1);
    EXPECT_EQ(ObjectIdByRef(fs1Ref, "ADMIN.ACME"), int64_t(id(fs1, "ADMIN", OT_USER)));
}

TEST_F(DirectoryObjectsTest, AttributesClassesAndKinds)
{
    QStringList members;
    ReadAttribute("STAFF.ACME", "Member", members);
    EXPECT_EQ(members, QStringList({ "JOHN.SALES.ACME", "MARY.SALES.ACME", "PETER.IT.ACME" }));
    try {
        ReadAttribute("NOBODY.ACME", "Member", members);
        ADD_FAILURE() << "no exception";
    } catch (const TNDSException& e) {
        EXPECT_EQ(e.code(), -601);
        EXPECT_EQ(e.message(), "NDS: NWDSRead code FFFFFDA7");
    }

    EXPECT_EQ(ObjectClass("JOHN.SALES.ACME"), "User");
    EXPECT_EQ(ObjectClass("[Supervisor]"), "User");
    EXPECT_TRUE(dialogs.calls().isEmpty());
    EXPECT_EQ(ObjectClass("NOBODY.ACME"), "Unknown");
    EXPECT_EQ(dialogs.texts(), QStringList({ "NOBODY.ACME - Error reading object info (-601)" }));

    struct Case {
        TConnHandleScope* conn;
        uint32_t id;
        int kind;
    } cases[] = {
        { &fs1, id(fs1, "JOHN", OT_USER), objkind::User },
        { &fs1, id(fs1, "STAFF", OT_GROUP), objkind::Group },
        { &fs1, entryId("[Root]"), objkind::RootLike },
        { &fs1, entryId("FS1_SYS.ACME"), objkind::Volume },
        { &fs1, entryId("SALES.ACME"), objkind::OrganizationalUnit },
        { &fs1, id(fs1, "FS1", OT_FILE_SERVER), 8 },
        { &fs2, id(fs2, "JOHN", OT_USER), objkind::User },
        { &fs2, id(fs2, "EVERYONE", OT_GROUP), objkind::Group },
        { &fs2, id(fs2, "FS2", OT_FILE_SERVER), objkind::Unknown },
        { &fs2, 0x7FFFFFF0, objkind::Unknown },
    };
    SetNDSNameContext("IT.ACME");
    for (const Case& c : cases)
        EXPECT_EQ(ObjectKind(c.conn->handle(), c.id), c.kind) << std::hex << c.id;
}

TEST_F(DirectoryObjectsTest, BinderyViewIsOneSortedListOfUsersAndGroups)
{
    TNWObjectsTree tree;
    tree.SetServer(fs2Ref);
    EXPECT_FALSE(tree.IsNDS());
    EXPECT_EQ(texts(nullptr, tree),
        QStringList({ "ADMIN", "ANNA", "EVERYONE", "GUEST", "JOHN", "STAFF", "SUPERVISOR" }));
    for (int k = 0; k < tree.topLevelItemCount(); ++k) {
        QTreeWidgetItem* node = tree.topLevelItem(k);
        const bool group = node->text(0) == "EVERYONE" || node->text(0) == "STAFF";
        EXPECT_EQ(TNWObjectsTree::NodeKind(node), group ? objkind::Group : objkind::User);
        EXPECT_FALSE(node->icon(0).isNull());
        EXPECT_EQ(tree.FullName(node), "");
    }
    tree.Locate("john");
    ASSERT_NE(tree.currentItem(), nullptr);
    EXPECT_EQ(tree.currentItem()->text(0), "JOHN");

    // Forcing the bindery view on an NDS server shows its bindery the same way.
    tree.SetForceBindery(true);
    tree.SetServer(fs1Ref);
    EXPECT_TRUE(tree.IsNDS());
    EXPECT_TRUE(texts(nullptr, tree).contains("PETER"));
    EXPECT_FALSE(texts(nullptr, tree).contains("[Root]"));
}

TEST_F(DirectoryObjectsTest, NdsViewLocatesThroughLazilyListedContainers)
{
    TNWObjectsTree tree;
    tree.SetAddSupervisor(true);
    tree.SetServer(fs1Ref);
    ASSERT_TRUE(tree.IsNDS());
    EXPECT_EQ(texts(nullptr, tree), QStringList({ "[Root]", "[Public]", "[Supervisor]", "Acme" }));
    QTreeWidgetItem* acme = child(nullptr, tree, "Acme");
    ASSERT_NE(acme, nullptr);
    EXPECT_EQ(TNWObjectsTree::NodeKind(acme), objkind::Organization);
    EXPECT_EQ(texts(acme, tree), QStringList({ TNWObjectsTree::kPlaceholder }));

    tree.Locate("john.sales.acme");
    ASSERT_NE(tree.currentItem(), nullptr);
    EXPECT_EQ(tree.currentItem()->text(0), "John");
    EXPECT_EQ(tree.FullName(tree.currentItem()), ".John.Sales.Acme");
    EXPECT_TRUE(acme->isExpanded());
    QTreeWidgetItem* sales = child(acme, tree, "Sales");
    ASSERT_NE(sales, nullptr);
    EXPECT_TRUE(sales->isExpanded());
    EXPECT_EQ(texts(sales, tree), QStringList({ "John", "Laser_sales", "Mary", "Q_sales" }));
    EXPECT_EQ(tree.FullName(child(nullptr, tree, "[Root]")), "");

    const QStringList shown = texts(acme, tree);
    EXPECT_TRUE(shown.contains("Helpdesk"));
    EXPECT_TRUE(shown.contains("Sales_admin"));
    EXPECT_FALSE(shown.contains("Fs1_sys")) << "volumes only with show-all";
    tree.SetShowAll(true);
    acme = child(nullptr, tree, "Acme");
    tree.ExpandNode(acme);
    EXPECT_TRUE(texts(acme, tree).contains("Fs1_sys"));
    EXPECT_TRUE(texts(acme, tree).contains("Fs1_vol1"));
}

TEST_F(DirectoryObjectsTest, ContainersOnlyViewHangsEverythingUnderRoot)
{
    TNWObjectsTree tree;
    tree.SetShowOnlyContainers(true);
    tree.SetServer(fs1Ref);
    EXPECT_EQ(texts(nullptr, tree), QStringList({ "[Root]" }));
    QTreeWidgetItem* root = tree.topLevelItem(0);
    EXPECT_EQ(texts(root, tree), QStringList({ "Acme" }));
    QTreeWidgetItem* acme = root->child(0);
    acme->setExpanded(true);
    EXPECT_EQ(texts(acme, tree), QStringList({ "It", "Sales" }));
    EXPECT_EQ(TNWObjectsTree::NodeKind(acme->child(0)), objkind::OrganizationalUnit);
    // IT holds objects, so it can be expanded; none of them is a container.
    tree.ExpandNode(acme->child(0));
    EXPECT_EQ(acme->child(0)->childCount(), 0);
    EXPECT_EQ(child(acme, tree, "Helpdesk"), nullptr) << "a role is no organization";
}

TEST_F(DirectoryObjectsTest, EmptyContainersGetNoPlaceholder)
{
    {
        auto s = embedded::findServer("FS1");
        auto guard = s->lock();
        nwserver::DirectoryTree t(s->db(), s->objects());
        uint32_t acme = 0;
        ASSERT_EQ(t.resolve("ACME", acme), 0);
        t.addEntry(acme, "EMPTY", "Organizational Unit", 0);
    }
    TNWObjectsTree tree;
    tree.SetServer(fs1Ref);
    QTreeWidgetItem* acme = child(nullptr, tree, "Acme");
    tree.ExpandNode(acme);
    QTreeWidgetItem* empty = child(acme, tree, "Empty");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->childCount(), 0);
    EXPECT_EQ(child(acme, tree, "Sales")->childCount(), 1);
}

} // namespace
