// A failure that escapes a menu command reaches the application's exception handler through
// the console's own application object, not the test's: hence a program of its own.
#include "console/shell/mainform.h"
#include "console/shell/orvoapplication.h"
#include "console/shell/timerlist.h"
#include "netware/errors.h"
#include "netware/nwexception.h"
#include "platform/nwclient/client.h"
#include "platform/registry/registry.h"
#include "platform/shell/scripteddialogservice.h"
#include "testsupport/tempdir.h"

#include <QAction>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Notes whether the timers were paused while each box was up.
class WatchingDialogs : public shell::ScriptedDialogService {
public:
    TTimerList* timers = nullptr;
    QList<bool> pausedWhileShown;
    shell::Button messageBox(shell::MessageKind kind, const QString& caption, const QString& text,
        shell::Buttons buttons, shell::Button def) override
    {
        pausedWhileShown << (timers && timers->isPaused());
        return ScriptedDialogService::messageBox(kind, caption, text, buttons, def);
    }
    void detailedError(const QString& message, const QString& details) override
    {
        pausedWhileShown << (timers && timers->isPaused());
        ScriptedDialogService::detailedError(message, details);
    }
};

class EscapingFailures : public testing::Test {
protected:
    void SetUp() override
    {
        registry::RegKey::setRoot(home.file("registry"));
        shell::DialogService::setInstance(&dialogs);
        nwclient::initialise(nwclient::WorkstationConfig::demo(home.file("servers")));
        form = std::make_unique<TMainForm>();
        form->SetStartPause(0);
        form->show();
        dialogs.timers = form->Timers();
        dialogs.clear();
    }
    void TearDown() override
    {
        form.reset();
        nwclient::terminate();
        shell::DialogService::setInstance(nullptr);
        registry::RegKey::resetRoot();
    }
    // Triggers the command from the event loop, as a click would.
    void runCommand(std::function<void()> handler)
    {
        form->setCommandHandler(TMainForm::Command::Down, std::move(handler));
        QMetaObject::invokeMethod(form->Action("&Down"), "trigger", Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }

    testsupport::TempHome home;
    WatchingDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(EscapingFailures, ANetWareFailureGivesOnePlainBoxWithTimersPausedMeanwhile)
{
    runCommand([] { CheckNWResult("Error downing the server", 0x89C6); });
    ASSERT_EQ(dialogs.calls().size(), 1);
    EXPECT_EQ(dialogs.calls()[0].type, shell::DialogCall::Type::Message);
    EXPECT_EQ(dialogs.calls()[0].text,
        "Error downing the server\rAttempt to use console without operator privileges (89C6)");
    EXPECT_EQ(dialogs.pausedWhileShown, QList<bool> { true });
    EXPECT_FALSE(form->Timers()->isPaused());
}

TEST_F(EscapingFailures, OtherFailuresGoToTheDetailedDialog)
{
    runCommand([] { CheckNDSResult("NWDSRead", -601); });
    runCommand([] { throw std::runtime_error("disk on fire"); });
    ASSERT_EQ(dialogs.calls().size(), 2);
    EXPECT_EQ(dialogs.calls()[0].type, shell::DialogCall::Type::DetailedError);
    EXPECT_EQ(dialogs.calls()[0].text, "NDS: NWDSRead code FFFFFDA7");
    EXPECT_EQ(dialogs.calls()[1].type, shell::DialogCall::Type::DetailedError);
    EXPECT_FALSE(form->Timers()->isPaused());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TOrvoApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
