#include "console/monitor/fileeditform.h"
#include "console/monitor/serverinfoform.h"
#include "console/monitor/servinfoform.h"
#include "console/monitor/statform.h"
#include "monitorfixture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>

namespace {

QStringList treeOf(const QTreeWidget* tree)
{
    QStringList paths;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* n) {
        paths << TServerInfoForm::PathOf(n);
        for (int i = 0; i < n->childCount(); ++i)
            walk(n->child(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i));
    return paths;
}

class ServerInfoFormTest : public MonitorFixture {
protected:
    std::unique_ptr<TServerInfoForm> page(
        nwclient::ConnRef ref, const QString& name, bool nw4, bool op)
    {
        TServerInfoForm::Server s;
        s.connRef = [ref] { return ref; };
        s.name = [name] { return name; };
        s.netWare4 = nw4;
        s.consoleOperator = op;
        auto p = std::make_unique<TServerInfoForm>(s);
        p->resize(800, 500);
        p->show();
        return p;
    }
    void select(TServerInfoForm& p, const QString& path)
    {
        QTreeWidgetItem* node = p.Node(path);
        ASSERT_NE(node, nullptr) << path.toStdString();
        p.NavigationTree()->setCurrentItem(node);
    }
};

TEST_F(ServerInfoFormTest, TheTreeFollowsVersionAndRights)
{
    const QStringList nw3
        = { "Information", "Configuration files", "Configuration files\\Autoexec.ncf",
              "Configuration files\\Bootconf.sys", "Configuration files\\Bindery login script" };
    EXPECT_EQ(treeOf(page(fs2, "FS2", false, true)->NavigationTree()), nw3);

    const QStringList user = nw3
        + QStringList { "System logs", "System logs\\Console log", "System logs\\TTS errors",
              "System logs\\System errors", "System logs\\Server abend errors",
              "System logs\\Bootstrap errors", "Statistics", "Statistics\\Server",
              "Statistics\\Server\\Processor", "Statistics\\Server\\File Server Info",
              "Statistics\\Server\\NCP Extensions", "Statistics\\Network",
              "Statistics\\Network\\IPX & SPX" };
    EXPECT_EQ(treeOf(page(fs1, "FS1", true, false)->NavigationTree()), user);

    const QStringList op = treeOf(page(fs1, "FS1", true, true)->NavigationTree());
    for (const char* p : { "Statistics\\Memory\\Cache", "Statistics\\Memory\\Directory Cache",
             "Statistics\\Memory\\Garbage Collection", "Statistics\\Network\\LSL - ECB's",
             "Statistics\\Network\\Packet Burst", "Statistics\\Frames\\Type 4" })
        EXPECT_TRUE(op.contains(p)) << p;
    EXPECT_EQ(op.indexOf("Statistics\\Memory"), op.indexOf("Statistics") + 1);
}

TEST_F(ServerInfoFormTest, TheFirstNodeShowsTheInformationView)
{
    auto p = page(fs1, "FS1", true, true);
    auto* info = qobject_cast<TServInfoForm*>(p->HostedView());
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(p->Category(), "Information");
    EXPECT_EQ(p->HeaderText(), "Information");
    EXPECT_EQ(info->Value("Name:"), "FS1");
    EXPECT_TRUE(info->Value("Version:").startsWith("4.11 rev "))
        << info->Value("Version:").toStdString();
    EXPECT_EQ(info->Value("Serial Number:").size(), 8);
    EXPECT_EQ(info->Value("Login Status:"), "Enabled");
    EXPECT_TRUE(info->IsValueShown("Up Time:"));
    EXPECT_TRUE(info->Value("Total memory:").contains(','));
    EXPECT_EQ(info->Value("Server Time:"), "2026.03.02 9:30:00");
}

TEST_F(ServerInfoFormTest, WithoutConsoleRightsUpTimeAndMemoryAreHidden)
{
    auto p = page(john(), "FS1", true, false);
    auto* info = qobject_cast<TServInfoForm*>(p->HostedView());
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Value("Name:"), "FS1");
    EXPECT_FALSE(info->IsValueShown("Up Time:"));
    EXPECT_FALSE(info->IsValueShown("Total memory:"));
}

TEST_F(ServerInfoFormTest, GroupsListTheirChildrenAndLeavesHostViews)
{
    auto p = page(fs1, "FS1", true, true);
    select(*p, "Statistics\\Memory");
    EXPECT_EQ(p->HostedView(), nullptr);
    EXPECT_TRUE(p->IsChildListShown());
    EXPECT_EQ(p->ChildList()->count(), 3);
    EXPECT_EQ(p->HeaderText(), "Memory");

    // Activating a child selects its node.
    emit p->ChildList()->itemClicked(p->ChildList()->item(0));
    auto* stats = qobject_cast<TStatForm*>(p->HostedView());
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->Cell(0, 0), "Stat: Cache");
    EXPECT_FALSE(p->IsChildListShown());

    // The statistics view stays while moving between statistics.
    select(*p, "Statistics\\Server\\Processor");
    EXPECT_EQ(p->HostedView(), stats);
    EXPECT_EQ(stats->Cell(0, 1), "CPU Name");
}

TEST_F(ServerInfoFormTest, AutoexecOpensByUncPathAndReloadsOnlyOnRefresh)
{
    auto p = page(fs1, "FS1", true, true);
    select(*p, "Configuration files\\Autoexec.ncf");
    auto* editor = qobject_cast<TFileEditForm*>(p->HostedView());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->FileName(), "\\\\FS1\\SYS\\SYSTEM\\AUTOEXEC.NCF");
    EXPECT_TRUE(editor->Text()->toPlainText().contains("load", Qt::CaseInsensitive));
    EXPECT_FALSE(editor->IsReadOnly());

    putFile("FS1", "SYS:SYSTEM\\AUTOEXEC.NCF", "changed on the server\r\n");
    p->PeriodicUpdate(true);
    EXPECT_EQ(p->HostedView(), editor);
    EXPECT_NE(editor->Text()->toPlainText(), "changed on the server\n");
    p->RefreshPage();
    EXPECT_EQ(editor->Text()->toPlainText(), "changed on the server\n");
}

TEST_F(ServerInfoFormTest, KeysWalkTheTree)
{
    auto p = page(fs1, "FS1", true, true);
    select(*p, "Configuration files");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(p->NavigationTree(), &enter);
    EXPECT_EQ(TServerInfoForm::PathOf(p->NavigationTree()->currentItem()),
        "Configuration files\\Autoexec.ncf");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(p->NavigationTree(), &escape);
    EXPECT_FALSE(p->Node("Configuration files")->isExpanded());
    EXPECT_EQ(p->NavigationTree()->currentItem(), p->Node("Configuration files"));
}

TEST_F(ServerInfoFormTest, CloseQueryFreesTheViewAndTheTreeWidthIsStored)
{
    {
        auto p = page(fs1, "FS1", true, true);
        auto* splitter = qobject_cast<QSplitter*>(p->NavigationTree()->parentWidget());
        ASSERT_NE(splitter, nullptr);
        splitter->setSizes({ 240, 560 });
        EXPECT_TRUE(p->CloseQuery());
        EXPECT_EQ(p->HostedView(), nullptr);
        EXPECT_TRUE(p->IsChildListShown());
    }
    auto again = page(fs1, "FS1", true, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(again->NavigationTree()->width(), 240);
}

} // namespace
