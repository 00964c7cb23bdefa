#include "console/shell/mainform.h"
#include "console/shell/page.h"
#include "console/shell/sidepanel.h"
#include "console/shell/timerlist.h"
#include "netware/connrefbox.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwserver/server.h"
#include "platform/registry/registry.h"
#include "platform/shell/recordinglauncher.h"
#include "platform/shell/scripteddialogservice.h"
#include "testsupport/tempdir.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace nwclient;
using shell::Button;

namespace {

// A page that counts what the main window asks of it.
class FakePage : public TPage {
public:
    int updates = 0, periodic = 0, details = 0, refreshes = 0;
    bool updating = false;
    bool closeQuery = false;
    void UpdatePage() override { ++updates; }
    bool HasCloseQuery() const override { return closeQuery; }
    void PeriodicUpdate(bool) override { ++periodic; }
    void DetailUpdate(int) override { ++details; }
    void RefreshPage() override { ++refreshes; }
    bool IsUpdating() const override { return updating; }
};

class FakeSidePanel : public TSidePanel {
public:
    std::function<void()> onUpdate;
    int updates = 0, resets = 0, notAvailable = 0;
    void Reset() override { ++resets; }
    void UpdateUtilization() override
    {
        ++updates;
        if (onUpdate)
            onUpdate();
    }
    void ShowNotAvailable() override { ++notAvailable; }
};

class MainFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        registry::RegKey::setRoot(home.file("registry"));
        shell::DialogService::setInstance(&dialogs);
        shell::ProcessLauncher::setInstance(&launcher);
        initialise(WorkstationConfig::demo(home.file("servers")));
        factories.page = [this](TMainForm*, int index) {
            ++created[index];
            pages[index] = new FakePage;
            return pages[index];
        };
        factories.sidePanel = [this](TMainForm*) { return side = new FakeSidePanel; };
    }
    void TearDown() override
    {
        form.reset();
        terminate();
        shell::ProcessLauncher::setInstance(nullptr);
        shell::DialogService::setInstance(nullptr);
        registry::RegKey::resetRoot();
    }
    TMainForm& open(const TMainForm::Placement& p = {})
    {
        form = std::make_unique<TMainForm>(factories);
        form->SetStartPause(0);
        form->SetPlacement(p);
        form->show();
        return *form;
    }
    void selectServer(const QString& name)
    {
        TNWConnRefBox* box = form->ServerBox();
        box->setCurrentIndex(box->findText(name));
        box->Change();
    }
    QAction* action(const char* caption) { return form->Action(QString::fromLatin1(caption)); }

    testsupport::TempHome home;
    shell::ScriptedDialogService dialogs;
    shell::RecordingLauncher launcher;
    TPageFactories factories;
    FakePage* pages[6] = {};
    int created[6] = {};
    FakeSidePanel* side = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, FirstRunShowsTheServerPageWithDefaults)
{
    TMainForm& f = open();
    EXPECT_EQ(f.CurrentPage(), 0);
    EXPECT_EQ(f.UpdateSpeedTag(), 2500);
    EXPECT_TRUE(action("&Normal")->isChecked());
    EXPECT_TRUE(action("Server u&tilization")->isChecked());
    EXPECT_TRUE(action("&Navigation bar")->isChecked());
    EXPECT_TRUE(action("Text labels")->isChecked());
    EXPECT_TRUE(f.SidePanel()->parentWidget()->isVisible());
    EXPECT_TRUE(action("&Server information")->isChecked());
    EXPECT_EQ(f.ServerBox()->currentText(), "FS1");
    EXPECT_GE(pages[0]->updates, 1);
    EXPECT_EQ(f.windowTitle(), "Tarvo Vizova Vederur");
    EXPECT_TRUE(dialogs.calls().isEmpty());
}

TEST_F(MainFormTest, RestoredPlacementIsApplied)
{
    TMainForm::Placement p;
    p.sidePanel = false;
    p.navigationBar = false;
    p.textLabels = false;
    p.page = 4;
    p.updateSpeed = -1;
    TMainForm& f = open(p);
    EXPECT_EQ(f.CurrentPage(), 4);
    EXPECT_FALSE(action("Server u&tilization")->isChecked());
    EXPECT_FALSE(action("Utilization")->isChecked());
    EXPECT_FALSE(f.SidePanel()->parentWidget()->isVisible());
    EXPECT_FALSE(action("&Navigation bar")->isChecked());
    EXPECT_TRUE(action("&Paused")->isChecked());
    const TMainForm::Placement now = f.CurrentPlacement();
    EXPECT_EQ(now.page, 4);
    EXPECT_EQ(now.updateSpeed, -1);
    EXPECT_FALSE(now.textLabels);
}

TEST_F(MainFormTest, AServerChangeThatDisallowsTheNlmPageSwitchesToConnections)
{
    TMainForm& f = open();
    ASSERT_TRUE(action("&Loaded NLM's")->isEnabled());
    action("&Loaded NLM's")->trigger();
    ASSERT_EQ(f.CurrentPage(), 3);
    const int infoPages = created[0];
    selectServer("FS2");
    EXPECT_EQ(f.CurrentPage(), 1);
    EXPECT_FALSE(action("&Loaded NLM's")->isEnabled());
    EXPECT_TRUE(action("&Active connections")->isChecked());
    EXPECT_EQ(created[0], infoPages + 1); // the information page is built anew per server
    EXPECT_GE(side->resets, 2);
}

TEST_F(MainFormTest, UpdateSpeedRules)
{
    TMainForm& f = open();
    TTimerList* t = f.Timers();
    action("&Paused")->trigger();
    EXPECT_FALSE(t->isEnabled(TMainForm::OpenFilesTimer));
    EXPECT_FALSE(t->isEnabled(TMainForm::ConnInfoTimer));
    action("&Opened files")->trigger();
    EXPECT_FALSE(t->isEnabled(TMainForm::OpenFilesTimer)); // paused stays paused
    action("&Fast")->trigger();
    EXPECT_TRUE(t->isEnabled(TMainForm::OpenFilesTimer));
    EXPECT_FALSE(t->isEnabled(TMainForm::ConnInfoTimer));
    EXPECT_EQ(t->interval(TMainForm::OpenFilesTimer), 1000);
    EXPECT_EQ(f.UpdateSpeedTag(), 1000);
    EXPECT_TRUE(action("&Update speed")->isEnabled());
    action("&Server information")->trigger();
    EXPECT_FALSE(t->isEnabled(TMainForm::OpenFilesTimer));
}

TEST_F(MainFormTest, ASecondUtilizationTickWhileOneRunsDoesNothing)
{
    TMainForm& f = open();
    int nested = 0;
    side->onUpdate = [&] {
        ++nested;
        f.UtilizationTick();
    };
    const int before = side->updates;
    f.UtilizationTick();
    EXPECT_EQ(side->updates, before + 1);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(pages[0]->periodic >= 1, true);
}

TEST_F(MainFormTest, NetWare3GivesNotAvailableInsteadOfCharts)
{
    TMainForm& f = open();
    selectServer("FS2");
    const int before = side->notAvailable;
    f.UtilizationTick();
    EXPECT_EQ(side->notAvailable, before + 1);
    EXPECT_EQ(f.StatusText(1), "");
}

TEST_F(MainFormTest, ClosingWaitsForARunningRefresh)
{
    TMainForm& f = open();
    action("&Active connections")->trigger();
    pages[1]->updating = true;
    bool disabledMeanwhile = false;
    QTimer::singleShot(150, [&] {
        disabledMeanwhile = !f.isEnabled();
        pages[1]->updating = false;
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(f.close());
    EXPECT_GE(clock.elapsed(), 140);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_FALSE(f.Timers()->isActive());
}

TEST_F(MainFormTest, TransactionTrackingTogglesOnNetWare3AndIsOffOnNetWare4)
{
    TMainForm& f = open();
    EXPECT_FALSE(action("&TTS status")->isEnabled()); // FS1, NetWare 4
    selectServer("FS2");
    QAction* tts = action("&TTS status");
    ASSERT_TRUE(tts->isEnabled());
    EXPECT_EQ(tts->text(), "Disable &TTS");
    tts->trigger();
    EXPECT_EQ(dialogs.calls().last().text, "TTS system on FS2 is now disabled");
    EXPECT_EQ(dialogs.calls().last().kind, shell::MessageKind::Information);
    EXPECT_EQ(tts->text(), "Enable &TTS");
    tts->trigger();
    EXPECT_EQ(dialogs.calls().last().text, "TTS system on FS2 is now enabled");
    EXPECT_EQ(tts->text(), "Disable &TTS");
    EXPECT_TRUE(f.TtsEnabled());
}

TEST_F(MainFormTest, LoginStatusTogglesAndReportsFailuresWithTheCode)
{
    TMainForm& f = open();
    QAction* login = action("&Login status");
    ASSERT_TRUE(login->isEnabled());
    EXPECT_EQ(login->text(), "Disable &login");
    login->trigger();
    EXPECT_EQ(dialogs.calls().last().text, "Login to server FS1 is now disabled");
    EXPECT_EQ(login->text(), "Enable &login");
    EXPECT_FALSE(f.LoginEnabled());

    // A server that went down answers with a code the command reports itself.
    login->trigger();
    ASSERT_EQ(dialogs.calls().size(), 2);
    embedded::findServer("FS1")->down();
    dialogs.clear();
    f.LoginStatusCommand();
    ASSERT_FALSE(dialogs.calls().isEmpty());
    EXPECT_EQ(dialogs.calls().first().text, "Connection to server FS1 broken !");
}

TEST_F(MainFormTest, RemoteConsoleRunsTheServersOwnProgram)
{
    TMainForm& f = open();
    f.RemoteConsoleCommand();
    selectServer("FS2");
    f.RemoteConsoleCommand();
    EXPECT_EQ(launcher.commandLines(),
        (QStringList {
            "\\\\FS1\\SYS\\PUBLIC\\RCONSOLE.EXE FS1", "\\\\FS2\\SYS\\SYSTEM\\RCONSOLE.EXE FS2" }));
    EXPECT_EQ(launcher.launches().first().mode, shell::ShowMode::Normal);

    launcher.setResult(shell::LaunchResult::failure("no remote console program"));
    f.RemoteConsoleCommand();
    EXPECT_EQ(dialogs.calls().last().text, "no remote console program");
}

TEST_F(MainFormTest, CommandsWithoutTheirWorkStayDisabled)
{
    TMainForm& f = open();
    for (const char* c : { "&Broadcast", "&Down", "&Execute...", "O&ptions", "Message" })
        EXPECT_FALSE(action(c)->isEnabled()) << c;
    int downs = 0;
    f.setCommandHandler(TMainForm::Command::Down, [&] { ++downs; });
    EXPECT_TRUE(action("&Down")->isEnabled());
    action("&Down")->trigger();
    EXPECT_EQ(downs, 1);
    // Console operator only: JOHN on FS2 may not down it.
    ASSERT_EQ(loginToServer("FS2", "JOHN", "john"), 0u);
    selectServer("FS2");
    EXPECT_FALSE(action("&Down")->isEnabled());
    EXPECT_FALSE(action("&Remote console")->isEnabled());
}

TEST_F(MainFormTest, MessageStaysDisabledWithoutItsWork)
{
    TMainForm& f = open();
    for (FakePage* p : pages)
        p->closeQuery = true; // leaving a page disables and enables the window
    for (int page : { 0, 1, 2, 3, 4, 5, 0 }) {
        f.SelectPageIndex(page);
        QCoreApplication::processEvents();
        EXPECT_FALSE(action("Message")->isEnabled()) << page;
    }
}

TEST_F(MainFormTest, RefreshRoutesToTheCurrentPage)
{
    TMainForm& f = open();
    action("&Refresh")->trigger();
    EXPECT_EQ(pages[0]->refreshes, 1);
    action("&Active connections")->trigger();
    const int periodic = pages[1]->periodic;
    action("&Refresh")->trigger();
    EXPECT_EQ(pages[1]->periodic, periodic + 1);
    action("Server &Tools")->trigger();
    EXPECT_EQ(action("&Refresh")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(f.CurrentPage(), 5);
}

TEST_F(MainFormTest, StatusPanels)
{
    TMainForm& f = open();
    f.SetStatus(12, 50, -1);
    EXPECT_EQ(f.StatusText(0), "Connections: 12");
    EXPECT_EQ(f.StatusText(1), "Utilization: 50%");
    EXPECT_EQ(f.StatusText(2), "");
}

} // namespace
