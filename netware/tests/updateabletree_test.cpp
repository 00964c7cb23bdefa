#include "netware/nwexception.h"
#include "netware/nwupdatethread.h"
#include "netware/updateabletree.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QSignalSpy>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>

namespace {

bool WaitUntil(const std::function<bool()>& pred)
{
    QDeadlineTimer deadline(30000);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// The path of a node in the scripted server: "" for the top, "A/B" below.
class TPathData : public TNodeData {
public:
    explicit TPathData(QString path)
        : path(std::move(path))
    {
    }
    const QString path;
};

// Top-level nodes and their children are expandable; their children (depth 1) show image 1,
// depth 2 nodes have no image and no placeholder. Listings come from a scripted server that
// the worker reads under a lock; a test can hold the worker inside one listing.
class TScriptedTree : public TUpdateableTreeNT {
public:
    TScriptedTree() { setHeaderLabel("Name"); }
    ~TScriptedTree() override { StopUpdateThread(); }

    void SetChildren(const QString& path, const QStringList& names)
    {
        std::lock_guard lock(m_mutex);
        m_server[path] = names;
    }
    // The next listing of path waits until Release.
    void HoldListing(const QString& path)
    {
        std::lock_guard lock(m_mutex);
        m_held = path;
        m_holding = false;
        m_released = false;
    }
    bool Holding()
    {
        std::lock_guard lock(m_mutex);
        return m_holding;
    }
    void Release()
    {
        {
            std::lock_guard lock(m_mutex);
            m_released = true;
        }
        m_cv.notify_all();
    }
    int Listings(const QString& path)
    {
        std::lock_guard lock(m_mutex);
        return m_listings.value(path);
    }
    void FailListingsWith(std::function<void()> fail)
    {
        std::lock_guard lock(m_mutex);
        m_fail = std::move(fail);
    }

    static QString PathOf(const QTreeWidgetItem* node)
    {
        auto* data = node ? dynamic_cast<TPathData*>(NodeData(node)) : nullptr;
        return data ? data->path : QString();
    }

    TChildList ListChildren(nwclient::ConnHandle, QTreeWidgetItem* node) override
    {
        const QString path = PathOf(node);
        std::unique_lock lock(m_mutex);
        ++m_listings[path];
        if (m_fail)
            m_fail();
        if (!m_held.isNull() && m_held == path) {
            m_holding = true;
            m_cv.wait(lock, [this] { return m_released; });
            m_held = QString();
        }
        TChildList list;
        for (const QString& name : m_server.value(path))
            list.push_back(
                { name, std::make_unique<TPathData>(path.isEmpty() ? name : path + "/" + name) });
        return list;
    }
    int LevelImageIndex(int depth) override { return depth < 2 ? depth : -1; }
    bool LevelExpandable(int depth) override { return depth < 2; }
    void AddPlaceholder(QTreeWidgetItem* node) override
    {
        node->addChild(new QTreeWidgetItem(QStringList { "!" }));
    }
    void RefreshCollapsed(nwclient::ConnHandle, QTreeWidgetItem*) override { ++collapsedRefreshes; }
    std::optional<nwclient::ConnRef> GetConnRef() override { return connRef; }
    void RemoveNode(QTreeWidgetItem* node) override
    {
        removed << node->text(0);
        TUpdateableTreeNT::RemoveNode(node);
    }
    nwclient::NWCCODE OpenPassConnection(nwclient::ConnRef, nwclient::ConnHandle& h) override
    {
        h = 7;
        ++opened;
        return nwproto::cc::Success;
    }
    void ClosePassConnection(nwclient::ConnHandle h) override { closed += h == 7; }
    void BeginUpdate() override
    {
        ++brackets;
        TUpdateableTreeNT::BeginUpdate();
    }
    void EndUpdate() override
    {
        ++bracketsClosed;
        TUpdateableTreeNT::EndUpdate();
    }

    std::optional<nwclient::ConnRef> connRef = 1;
    std::atomic<int> collapsedRefreshes = 0;
    std::atomic<int> opened = 0;
    std::atomic<int> closed = 0;
    int brackets = 0;
    int bracketsClosed = 0;
    QStringList removed;

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    QHash<QString, QStringList> m_server;
    QHash<QString, int> m_listings;
    QString m_held;
    bool m_holding = false;
    bool m_released = false;
    std::function<void()> m_fail;
};

QStringList Texts(const QTreeWidgetItem* parent)
{
    QStringList out;
    for (int i = 0; i < parent->childCount(); ++i)
        out << parent->child(i)->text(0);
    return out;
}

QStringList TopTexts(const QTreeWidget& tree)
{
    return Texts(tree.invisibleRootItem());
}

QStringList Names(const QString& prefix, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QString("%1%2").arg(prefix).arg(i, 2, 10, QChar('0'));
    return out;
}

class UpdateableTree : public testing::Test {
protected:
    // Runs a refresh to its end.
    void Refresh(QTreeWidgetItem* start = nullptr)
    {
        QSignalSpy finished(&tree, &TUpdateableTreeNT::UpdateFinished);
        tree.RefreshTree(start);
        ASSERT_TRUE(WaitUntil([&] { return finished.count() > 0; }));
        EXPECT_FALSE(tree.Busy());
    }
    // Fills the tree with two servers' worth of nodes and expands the first one.
    void FillAndExpand()
    {
        tree.SetChildren("", { "ADMIN", "GUEST" });
        tree.SetChildren("ADMIN", { "1", "2" });
        Refresh();
        admin = tree.topLevelItem(0);
        admin->setExpanded(true);
        Refresh(admin);
        tree.brackets = tree.bracketsClosed = 0;
        tree.removed.clear();
    }

    TScriptedTree tree;
    QTreeWidgetItem* admin = nullptr;
};

TEST_F(UpdateableTree, FillingAnEmptyTreeIsOneBracketWithPlaceholders)
{
    tree.SetChildren("", { "ADMIN", "GUEST" });
    Refresh();
    EXPECT_EQ(TopTexts(tree), QStringList({ "ADMIN", "GUEST" }));
    EXPECT_EQ(tree.brackets, 1);
    EXPECT_EQ(tree.bracketsClosed, 1);
    EXPECT_TRUE(tree.updatesEnabled());
    QTreeWidgetItem* first = tree.topLevelItem(0);
    EXPECT_EQ(Texts(first), QStringList({ "!" }));
    EXPECT_EQ(first->data(0, TUpdateableTreeNT::ImageIndexRole).toInt(), 0);
    EXPECT_EQ(TScriptedTree::PathOf(first), "ADMIN");
    EXPECT_EQ(tree.opened.load(), 1);
    EXPECT_EQ(tree.closed.load(), 1);
}

TEST_F(UpdateableTree, ExpandedNodesAreMergedAndCollapsedOnesOnlyRefreshed)
{
    FillAndExpand();
    EXPECT_EQ(Texts(admin), QStringList({ "1", "2" }));
    EXPECT_EQ(tree.removed, QStringList());
    // Depth 1 nodes show image 1 and their placeholder; the placeholder of ADMIN went.
    EXPECT_EQ(admin->child(0)->data(0, TUpdateableTreeNT::ImageIndexRole).toInt(), 1);
    EXPECT_EQ(Texts(admin->child(0)), QStringList({ "!" }));

    tree.SetChildren("ADMIN", { "1", "2", "3" });
    tree.collapsedRefreshes = 0;
    Refresh();
    EXPECT_EQ(Texts(admin), QStringList({ "1", "2", "3" }));
    EXPECT_EQ(tree.collapsedRefreshes.load(), 3); // GUEST, 1 and 2 exist and are collapsed
}

TEST_F(UpdateableTree, AnUnchangedServerChangesNoNodeAndOpensNoBracket)
{
    FillAndExpand();
    tree.setCurrentItem(admin->child(1));
    const QTreeWidgetItem* selected = tree.currentItem();
    QAbstractItemModel* model = tree.model();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removedRows(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    Refresh();
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(removedRows.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(tree.brackets, 0);
    EXPECT_EQ(tree.topLevelItem(0), admin);
    EXPECT_TRUE(admin->isExpanded());
    EXPECT_EQ(tree.currentItem(), selected);
}

struct LevelChange {
    const char* name;
    QStringList before;
    QStringList after;
    QStringList expected; // the level's texts afterwards, in order
    QStringList removed;
    int brackets;
};

TEST_F(UpdateableTree, ChangesAtOneLevel)
{
    const QStringList twelve = Names("C", 12);
    const QStringList kept = { "K1", "K2" };
    const LevelChange cases[] = {
        { "twelve gone at once", kept + twelve, kept, kept, twelve, 1 },
        { "three gone", kept + twelve.mid(0, 3), kept, kept, twelve.mid(0, 3), 0 },
        { "twelve new", kept, kept + twelve, kept + twelve, {}, 1 },
        { "eleven new", kept, kept + twelve.mid(0, 11), kept + twelve.mid(0, 11), {}, 1 },
        { "ten new", kept, kept + twelve.mid(0, 10), kept + twelve.mid(0, 10), {}, 0 },
        { "twelve replaced", twelve, Names("D", 12), Names("D", 12), twelve, 1 },
        { "letter case only", { "alice", "bob" }, { "Alice", "bob" }, { "bob", "Alice" },
            { "alice" }, 0 },
        { "duplicate names", { "x", "x" }, { "x" }, { "x" }, { "x" }, 0 },
    };
    for (const LevelChange& c : cases) {
        SCOPED_TRACE(c.name);
        TScriptedTree t;
        t.SetChildren("", { "S" });
        t.SetChildren("S", c.before);
        QSignalSpy finished(&t, &TUpdateableTreeNT::UpdateFinished);
        t.RefreshTree();
        ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
        QTreeWidgetItem* s = t.topLevelItem(0);
        s->setExpanded(true);
        t.RefreshTree(s);
        ASSERT_TRUE(WaitUntil([&] { return finished.count() == 2; }));
        ASSERT_EQ(Texts(s), c.before);
        t.brackets = t.bracketsClosed = 0;
        t.removed.clear();

        t.SetChildren("S", c.after);
        t.RefreshTree();
        ASSERT_TRUE(WaitUntil([&] { return finished.count() == 3; }));
        EXPECT_EQ(Texts(s), c.expected);
        EXPECT_EQ(t.removed, c.removed);
        EXPECT_EQ(t.brackets, c.brackets);
        EXPECT_EQ(t.bracketsClosed, c.brackets);
        EXPECT_TRUE(t.updatesEnabled());
    }
}

TEST_F(UpdateableTree, ALevelThatLosesAllChildrenGetsAPlaceholder)
{
    FillAndExpand();
    tree.SetChildren("ADMIN", {});
    Refresh();
    EXPECT_EQ(Texts(admin), QStringList({ "!" }));
    EXPECT_EQ(tree.removed, QStringList({ "1", "2" }));
}

TEST_F(UpdateableTree, ARefreshDuringAPassRunsOneNewPassAfterTheCompletion)
{
    tree.SetChildren("", { "ADMIN", "GUEST" });
    QSignalSpy finished(&tree, &TUpdateableTreeNT::UpdateFinished);
    QSignalSpy completed(&tree.UpdateThread(), &TRestartableThread::PassCompleted);
    tree.HoldListing("");
    tree.RefreshTree();
    ASSERT_TRUE(WaitUntil([&] { return tree.Holding(); }));
    tree.RefreshTree();
    tree.RefreshTree();
    tree.Release();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(completed.count(), 2);
    EXPECT_EQ(tree.Listings(""), 2);
    EXPECT_EQ(TopTexts(tree), QStringList({ "ADMIN", "GUEST" }));
    // The aborted pass had opened the bracket of the empty tree; it was closed all the same.
    EXPECT_EQ(tree.brackets, 2);
    EXPECT_EQ(tree.bracketsClosed, 2);
}

TEST_F(UpdateableTree, CollapsingANodeWhileItsLevelIsMergedStopsThatLevel)
{
    tree.SetChildren("", { "ADMIN", "GUEST" });
    tree.SetChildren("ADMIN", { "A", "B", "C" });
    Refresh();
    admin = tree.topLevelItem(0);
    admin->setExpanded(true);
    Refresh(admin);
    ASSERT_EQ(Texts(admin), QStringList({ "A", "B", "C" }));
    tree.removed.clear();

    tree.SetChildren("ADMIN", { "A", "D" });
    tree.SetChildren("", { "ADMIN", "GUEST", "OPERATOR" });
    tree.HoldListing("ADMIN");
    QSignalSpy finished(&tree, &TUpdateableTreeNT::UpdateFinished);
    tree.RefreshTree();
    ASSERT_TRUE(WaitUntil([&] { return tree.Holding(); }));
    admin->setExpanded(false);
    tree.Release();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(Texts(admin), QStringList({ "A", "B", "C" }));
    EXPECT_EQ(tree.removed, QStringList());
    // The level above goes on.
    EXPECT_EQ(TopTexts(tree), QStringList({ "ADMIN", "GUEST", "OPERATOR" }));
}

TEST_F(UpdateableTree, RequestsForTwoNodesDuringAPassBecomeOnePassOverBoth)
{
    FillAndExpand();
    QTreeWidgetItem* one = admin->child(0);
    QTreeWidgetItem* two = admin->child(1);
    tree.SetChildren("ADMIN/1", { "x" });
    tree.SetChildren("ADMIN/2", { "y" });
    one->setExpanded(true);
    two->setExpanded(true);
    tree.HoldListing("");
    QSignalSpy finished(&tree, &TUpdateableTreeNT::UpdateFinished);
    tree.RefreshTree();
    ASSERT_TRUE(WaitUntil([&] { return tree.Holding(); }));
    tree.RefreshTree(one);
    tree.RefreshTree(two);
    tree.Release();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(Texts(one), QStringList({ "x" }));
    EXPECT_EQ(Texts(two), QStringList({ "y" }));
    // One pass from ADMIN, the node above both, not from the top.
    EXPECT_EQ(tree.Listings(""), 2);
    EXPECT_EQ(tree.Listings("ADMIN"), 2);
}

TEST_F(UpdateableTree, CancelDropsTheWantedPass)
{
    tree.SetChildren("", { "ADMIN" });
    QSignalSpy finished(&tree, &TUpdateableTreeNT::UpdateFinished);
    tree.HoldListing("");
    tree.RefreshTree();
    ASSERT_TRUE(WaitUntil([&] { return tree.Holding(); }));
    tree.RefreshTree();
    tree.CancelRefresh();
    tree.Release();
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(tree.Listings(""), 1);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST_F(UpdateableTree, AFailingListingEndsThePassAndClosesEverything)
{
    std::exception_ptr reported;
    const auto previous = TRestartableThread::SetPassExceptionHandler(
        [&](TRestartableThread&, std::exception_ptr e) { reported = e; });
    tree.SetChildren("", { "ADMIN" });
    tree.FailListingsWith([] { throw TNWException("Cannot list", 0x89FF); });
    Refresh();
    TRestartableThread::SetPassExceptionHandler(previous);
    EXPECT_TRUE(reported);
    EXPECT_EQ(tree.brackets, 1);
    EXPECT_EQ(tree.bracketsClosed, 1);
    EXPECT_TRUE(tree.updatesEnabled());
    EXPECT_EQ(tree.closed.load(), 1);
}

TEST_F(UpdateableTree, NoServerEndsThePassWithoutTouchingTheTree)
{
    FillAndExpand();
    tree.connRef.reset();
    tree.SetChildren("", {});
    Refresh();
    EXPECT_EQ(TopTexts(tree), QStringList({ "ADMIN", "GUEST" }));
    EXPECT_EQ(tree.opened.load(), 2);
}

TEST_F(UpdateableTree, AFullReloadRebuildsTheNodes)
{
    FillAndExpand();
    tree.SetFullReload();
    Refresh();
    EXPECT_NE(tree.topLevelItem(0), admin);
    EXPECT_EQ(TopTexts(tree), QStringList({ "ADMIN", "GUEST" }));
    EXPECT_EQ(tree.brackets, 1);
}

TEST_F(UpdateableTree, DestroyingTheTreeDuringAPassEndsThePass)
{
    auto doomed = std::make_unique<TScriptedTree>();
    doomed->SetChildren("", { "ADMIN" });
    doomed->HoldListing("");
    doomed->RefreshTree();
    ASSERT_TRUE(WaitUntil([&] { return doomed->Holding(); }));
    doomed->Release();
    doomed.reset();
}

} // namespace
