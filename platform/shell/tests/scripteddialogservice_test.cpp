#include "platform/shell/scripteddialogservice.h"

#include <gtest/gtest.h>

using namespace shell;

namespace {

TEST(EscapeButton, ClosingABoxAnswersItsEscapeButton)
{
    struct Case {
        Buttons buttons;
        Button escape;
    } const cases[] = {
        { Button::Ok, Button::Ok },
        { Button::Ok | Button::Cancel, Button::Cancel },
        { Button::Yes | Button::No, Button::No },
        { Button::Yes | Button::No | Button::Cancel, Button::Cancel },
        { Button::Yes | Button::Abort | Button::Retry, Button::Abort },
        { Button::Abort | Button::Retry | Button::Ignore, Button::Abort },
        { Button::Yes | Button::YesToAll | Button::No | Button::NoToAll | Button::Cancel,
            Button::Cancel },
        { Button::Retry | Button::Ignore, Button::Retry },
        { Button::YesToAll | Button::All, Button::All },
    };
    for (const Case& c : cases)
        EXPECT_EQ(escapeButton(c.buttons), c.escape) << c.buttons.toInt();
}

TEST(ScriptedDialogService, AnswersInOrderAndRecordsExactTexts)
{
    ScriptedDialogService dialogs;
    dialogs.pushButton(Button::Retry);
    dialogs.pushButton(Button::Yes);
    const QString question = "No connections found.\rYou have to be logged in and attached to "
                             "server\rDo you want to login now ?";
    const Buttons buttons = Button::Yes | Button::Abort | Button::Retry;
    EXPECT_EQ(dialogs.message(MessageKind::Error, question, buttons), Button::Retry);
    EXPECT_EQ(dialogs.message(MessageKind::Error, question, buttons), Button::Yes);
    dialogs.warning("Connection to server FS1 broken !");

    ASSERT_EQ(dialogs.calls().size(), 3);
    const DialogCall& first = dialogs.calls()[0];
    EXPECT_EQ(first.type, DialogCall::Type::Message);
    EXPECT_EQ(first.kind, MessageKind::Error);
    EXPECT_EQ(first.caption, "Error");
    EXPECT_EQ(first.text, question);
    EXPECT_EQ(first.buttons, buttons);
    EXPECT_EQ(first.result, Button::Retry);
    EXPECT_EQ(dialogs.calls()[2].caption, "Warning");
    EXPECT_EQ(dialogs.calls()[2].buttons, Buttons(Button::Ok));
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST(ScriptedDialogService, MissingOrUnfittingAnswersAreUnexpected)
{
    ScriptedDialogService dialogs;
    // Nothing queued: recorded as unexpected, answered as closed.
    EXPECT_EQ(
        dialogs.confirm("Delete?", Button::Yes | Button::No | Button::Cancel), Button::Cancel);
    // A button the box does not have stays queued for a later box.
    dialogs.pushButton(Button::Ignore);
    EXPECT_EQ(
        dialogs.message(MessageKind::Error, "Down?", Button::Yes | Button::Abort | Button::Retry),
        Button::Abort);
    EXPECT_EQ(dialogs.pendingAnswers(), 1);
    EXPECT_EQ(dialogs.message(
                  MessageKind::Error, "Read error", Button::Abort | Button::Retry | Button::Ignore),
        Button::Ignore);
    // The wrong kind of answer for an input box.
    dialogs.pushPath("/tmp/x");
    QString value = "initial";
    EXPECT_FALSE(dialogs.inputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "initial");

    const QList<DialogCall> unexpected = dialogs.unexpected();
    ASSERT_EQ(unexpected.size(), 3);
    EXPECT_EQ(unexpected[0].text, "Delete?");
    EXPECT_EQ(unexpected[1].text, "Down?");
    EXPECT_EQ(unexpected[2].type, DialogCall::Type::InputQuery);
}

TEST(ScriptedDialogService, CancelClosesEveryKindOfDialog)
{
    ScriptedDialogService dialogs;
    for (int i = 0; i < 4; ++i)
        dialogs.pushCancel();
    EXPECT_EQ(dialogs.message(MessageKind::Error, "x", Button::Yes | Button::Abort | Button::Retry),
        Button::Abort);
    QString value = "old";
    EXPECT_FALSE(dialogs.inputQuery("Caption", "Prompt", value));
    EXPECT_EQ(value, "old");
    EXPECT_EQ(dialogs.openFileName("Open", "/tmp", "All files (*)"), QString());
    EXPECT_EQ(dialogs.chooseFolder("Folder", "/tmp"), QString());
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

TEST(ScriptedDialogService, InputsPathsAndDetailedErrors)
{
    ScriptedDialogService dialogs;
    dialogs.pushInput("NEWNAME.TXT");
    dialogs.pushPath("/home/u/file.txt");
    dialogs.pushPath("/home/u/out.txt");
    dialogs.pushPath("/home/u");
    QString value = "OLD.TXT";
    EXPECT_TRUE(dialogs.inputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "NEWNAME.TXT");
    EXPECT_EQ(dialogs.openFileName("Open", "/home", "Text (*.txt)"), "/home/u/file.txt");
    EXPECT_EQ(dialogs.saveFileName("Save", "/home", "Text (*.txt)"), "/home/u/out.txt");
    EXPECT_EQ(dialogs.chooseFolder("Folder", "/home"), "/home/u");
    dialogs.detailedError("NDS: NWDSRead code FFFFFDA7", "TNDSException");

    ASSERT_EQ(dialogs.calls().size(), 5);
    EXPECT_EQ(dialogs.calls()[0].details, "OLD.TXT");
    EXPECT_EQ(dialogs.calls()[1].filter, "Text (*.txt)");
    EXPECT_EQ(dialogs.calls()[2].type, DialogCall::Type::SaveFileName);
    EXPECT_EQ(dialogs.calls()[3].details, "/home");
    EXPECT_EQ(dialogs.calls()[4].type, DialogCall::Type::DetailedError);
    EXPECT_EQ(dialogs.calls()[4].details, "TNDSException");
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

TEST(DialogServiceInstance, SetAndDefault)
{
    ScriptedDialogService dialogs;
    DialogService::setInstance(&dialogs);
    DialogService::instance().information("Done");
    EXPECT_EQ(dialogs.texts(), QStringList({ "Done" }));
    DialogService::setInstance(nullptr);
    qputenv("ORVO_TEST", "1");
    EXPECT_NE(&DialogService::instance(), &dialogs);
    EXPECT_NE(dynamic_cast<ScriptedDialogService*>(&DialogService::instance()), nullptr);
}

} // namespace
