#include "netware/nwupdatethread.h"
#include "netware/updateabletree.h"
#include "platform/nwclient/client.h"
#include "platform/nwclient/conninfo.h"
#include "platform/nwclient/serverops.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nwclient;

namespace {

// What a server tells about itself, as a tree: its name and, when it has one, its directory
// tree's name at the top; the version under the name.
class TServerFactsTree : public TUpdateableTreeNT {
public:
    ~TServerFactsTree() override { StopUpdateThread(); }

    TChildList ListChildren(ConnHandle handle, QTreeWidgetItem* node) override
    {
        nwproto::ServerInfo info;
        if (getFileServerInformation(handle, info) != nwproto::cc::Success)
            return {};
        TChildList list;
        if (!node) {
            list.push_back({ info.serverName, nullptr });
            if (!info.treeName.isEmpty())
                list.push_back({ info.treeName, nullptr });
        } else if (node->text(0) == info.serverName) {
            list.push_back(
                { QString("NetWare %1.%2").arg(info.osMajor).arg(info.osMinor, 2, 10, QChar('0')),
                    nullptr });
        }
        return list;
    }
    int LevelImageIndex(int depth) override { return depth == 0 ? 0 : -1; }
    bool LevelExpandable(int depth) override { return depth == 0; }
    void AddPlaceholder(QTreeWidgetItem* node) override
    {
        node->addChild(new QTreeWidgetItem(QStringList { "!" }));
    }
    std::optional<ConnRef> GetConnRef() override { return connRef; }
    NWCCODE OpenPassConnection(ConnRef ref, ConnHandle& handle) override
    {
        const NWCCODE code = TUpdateableTreeNT::OpenPassConnection(ref, handle);
        if (code == nwproto::cc::Success)
            ++openHandles;
        return code;
    }
    void ClosePassConnection(ConnHandle handle) override
    {
        TUpdateableTreeNT::ClosePassConnection(handle);
        --openHandles;
    }

    std::optional<ConnRef> connRef;
    std::atomic<int> openHandles = 0;
};

QStringList TopTexts(const QTreeWidget& tree)
{
    QStringList out;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        out << tree.topLevelItem(i)->text(0);
    return out;
}

class UpdateableTreeClient : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(initialise(WorkstationConfig::demo(dir.path())), nwproto::cc::Success);
        uint32_t it = 0;
        ConnRef ref = 0;
        while (scanConnRefs(it, ref) == nwproto::cc::Success) {
            TNWConnInfo info {};
            ASSERT_EQ(getConnInfo(ref, info), nwproto::cc::Success);
            (QString(info.serverName) == "FS1" ? fs1 : fs2) = ref;
        }
    }
    void TearDown() override { terminate(); }

    void Refresh(TUpdateableTreeNT& tree, QTreeWidgetItem* start = nullptr)
    {
        QSignalSpy finished(&tree, &TUpdateableTreeNT::UpdateFinished);
        tree.RefreshTree(start);
        QDeadlineTimer deadline(30000);
        while (finished.count() == 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ASSERT_EQ(finished.count(), 1);
    }

    QTemporaryDir dir;
    ConnRef fs1 = 0;
    ConnRef fs2 = 0;
};

TEST_F(UpdateableTreeClient, EachPassListsTheServerItIsAskedForAndClosesItsHandle)
{
    TServerFactsTree tree;
    tree.connRef = fs1;
    Refresh(tree);
    EXPECT_EQ(TopTexts(tree), QStringList({ "FS1", "ACME_TREE" }));
    QTreeWidgetItem* server = tree.topLevelItem(0);
    server->setExpanded(true);
    Refresh(tree, server);
    ASSERT_EQ(server->childCount(), 1);
    EXPECT_EQ(server->child(0)->text(0), "NetWare 4.11");
    EXPECT_EQ(tree.openHandles.load(), 0);

    // A server change between passes takes effect at the next pass.
    tree.connRef = fs2;
    Refresh(tree);
    EXPECT_EQ(TopTexts(tree), QStringList({ "FS2" }));
    EXPECT_EQ(tree.openHandles.load(), 0);
}

TEST_F(UpdateableTreeClient, AReferenceThatCannotBeOpenedLeavesTheTreeAsItIs)
{
    TServerFactsTree tree;
    tree.connRef = fs1;
    Refresh(tree);
    tree.connRef = fs1 + fs2 + 100;
    Refresh(tree);
    EXPECT_EQ(TopTexts(tree), QStringList({ "FS1", "ACME_TREE" }));
    EXPECT_EQ(tree.openHandles.load(), 0);
}

} // namespace
