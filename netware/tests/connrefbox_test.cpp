#include "netware/connrefbox.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/nwserver/demoworld.h"
#include "platform/nwserver/server.h"
#include "platform/registry/registry.h"
#include "platform/shell/scripteddialogservice.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

using namespace nwclient;
using shell::Button;

namespace {

class ConnRefBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        registry::RegKey::setRoot(home.file("registry"));
        shell::DialogService::setInstance(&dialogs);
        config = WorkstationConfig::demo(home.file("servers"));
        TNWConnRefBox::setExitHandler([this](int code) { exitCode = code; });
    }
    void TearDown() override
    {
        terminate();
        TNWConnRefBox::setExitHandler(nullptr);
        setLoginDialogRunner(nullptr);
        shell::DialogService::setInstance(nullptr);
        registry::RegKey::resetRoot();
    }
    void addServer(const QString& name, bool login)
    {
        nwserver::ServerIdentity id = nwserver::demo::fs2Identity();
        id.name = name;
        const QString dir = home.file("servers/" + name);
        nwserver::demo::populate(*nwserver::Server::openOrCreate(dir, id));
        config.servers.push_back({ name, dir, "ADMIN", "admin", login });
    }
    void setNoMap(const char* value)
    {
        registry::RegKey key;
        ASSERT_TRUE(
            key.open(registry::Hive::LocalMachine, "SOFTWARE\\Tarvo\\DorAzor Ezevive", true));
        if (value)
            key.writeString("NOMAP", value);
    }
    QStringList items(const TNWConnRefBox& box)
    {
        QStringList out;
        for (int i = 0; i < box.count(); ++i)
            out << box.itemText(i);
        return out;
    }
    int drivesOf(ConnRef ref)
    {
        int n = 0;
        for (uint16_t d = 1; d <= 26; ++d) {
            ConnRef r = 0;
            QString path;
            if (getDriveInformation(d, r, path) == 0 && r == ref)
                ++n;
        }
        return n;
    }

    testsupport::TempHome home;
    shell::ScriptedDialogService dialogs;
    WorkstationConfig config;
    int exitCode = -1;
};

TEST_F(ConnRefBoxTest, ListsOnlyAuthenticatedServersInScanOrder)
{
    addServer("FS3", false);
    initialise(config);
    TNWConnRefBox box;
    box.RefreshServers();
    EXPECT_EQ(items(box), (QStringList { "FS1", "FS2" }));
    ASSERT_NE(box.Info(0), nullptr);
    EXPECT_STREQ(box.Info(0)->treeName, "ACME_TREE");
    EXPECT_EQ(box.Info(2), nullptr);
}

TEST_F(ConnRefBoxTest, NoMapRuleAndDriveMapping)
{
    struct Case {
        const char* name;
        bool createKey;
        const char* value;
        int drives;
    } cases[] = {
        { "no key: mapping on", false, nullptr, 1 },
        { "value 0: mapping on", true, "0", 1 },
        { "key without value: mapping off", true, nullptr, 0 },
        { "value 1: mapping off", true, "1", 0 },
    };
    for (const Case& c : cases) {
        registry::RegKey root;
        root.open(registry::Hive::LocalMachine, "", true);
        root.deleteKey("SOFTWARE");
        if (c.createKey)
            setNoMap(c.value);
        initialise(config);
        TNWConnRefBox box;
        EXPECT_EQ(box.NoMap(), c.drives == 0) << c.name;
        const ConnRef ref = box.CurrentConnRef();
        ASSERT_NE(ref, 0u) << c.name;
        EXPECT_EQ(drivesOf(ref), c.drives) << c.name;
        if (c.drives) {
            ConnRef r = 0;
            QString path;
            EXPECT_EQ(getDriveInformation(26, r, path), 0u) << c.name;
            EXPECT_EQ(path, "SYS:");
        }
        box.Change(); // choosing it again maps nothing new
        EXPECT_EQ(drivesOf(ref), c.drives) << c.name;
        terminate();
    }
}

TEST_F(ConnRefBoxTest, FirstServerIsSelectedOnFirstDemandWithOneChange)
{
    initialise(config);
    TNWConnRefBox box;
    int changes = 0;
    QObject::connect(&box, &TNWConnRefBox::changed, [&] { ++changes; });
    const ConnRef ref = box.CurrentConnRef();
    EXPECT_EQ(box.currentText(), "FS1");
    EXPECT_EQ(ref, box.Info(0)->connRef);
    EXPECT_EQ(box.CurrentConnRef(), ref);
    EXPECT_EQ(changes, 1);
    box.setEnabled(false);
    EXPECT_EQ(box.CurrentConnRef(), 0u);
}

TEST_F(ConnRefBoxTest, ABrokenConnectionIsReportedOnceAndTheFirstServerTakesOver)
{
    initialise(config);
    TNWConnRefBox box;
    box.RefreshServers();
    box.setCurrentIndex(1);
    box.Change();
    ASSERT_EQ(box.currentText(), "FS2");
    embedded::findServer("FS2")->down();

    const ConnRef ref = box.CurrentConnRef();
    ASSERT_EQ(dialogs.calls().size(), 1);
    EXPECT_EQ(dialogs.calls()[0].text, "Connection to server FS2 broken !");
    EXPECT_EQ(dialogs.calls()[0].kind, shell::MessageKind::Warning);
    EXPECT_EQ(items(box), QStringList { "FS1" });
    EXPECT_EQ(box.currentText(), "FS1");
    EXPECT_EQ(ref, box.Info(0)->connRef);
    EXPECT_EQ(box.CurrentConnRef(), ref);
    EXPECT_EQ(dialogs.calls().size(), 1);
}

TEST_F(ConnRefBoxTest, LoginQuestionRetriesLogsInOrEnds)
{
    for (auto& s : config.servers)
        s.login = false;
    initialise(config);
    TNWConnRefBox box;
    dialogs.pushButton(Button::Retry);
    dialogs.pushButton(Button::Yes);
    setLoginDialogRunner([] { loginToServer("FS2", "JOHN", "john"); });
    EXPECT_NE(box.CurrentConnRef(), 0u);
    ASSERT_EQ(dialogs.calls().size(), 2);
    EXPECT_EQ(dialogs.calls()[0].text,
        "No connections found.\rYou have to be logged in and "
        "attached to server\rDo you want to login now ?");
    EXPECT_EQ(dialogs.calls()[0].buttons, Button::Yes | Button::Abort | Button::Retry);
    EXPECT_EQ(box.currentText(), "FS2");
    EXPECT_EQ(exitCode, -1);
}

TEST_F(ConnRefBoxTest, DropDownKeepsTheSelectedServer)
{
    config.servers[0].login = false;
    initialise(config);
    TNWConnRefBox box;
    box.CurrentConnRef();
    ASSERT_EQ(box.currentText(), "FS2");
    loginToServer("FS1", "ADMIN", "admin");
    box.showPopup();
    box.hidePopup();
    EXPECT_EQ(items(box), (QStringList { "FS1", "FS2" }));
    EXPECT_EQ(box.currentText(), "FS2");
}

using ConnRefBoxDeathTest = ConnRefBoxTest;

TEST_F(ConnRefBoxDeathTest, AbortAtTheLoginQuestionEndsTheProgramWithCode2)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (auto& s : config.servers)
        s.login = false;
    EXPECT_EXIT(
        {
            TNWConnRefBox::setExitHandler(nullptr);
            initialise(config);
            TNWConnRefBox box;
            dialogs.pushButton(Button::Abort);
            box.CurrentConnRef();
        },
        testing::ExitedWithCode(2), "");
}

} // namespace
