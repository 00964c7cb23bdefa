#include "netware/errors.h"
#include "netware/exceptionhandler.h"
#include "netware/nwexception.h"
#include "netware/restartablethread.h"
#include "platform/shell/scripteddialogservice.h"

#include <gtest/gtest.h>
#include <stdexcept>

using shell::DialogCall;
using shell::ScriptedDialogService;

namespace {

template <typename E> std::exception_ptr raised(const E& e)
{
    return std::make_exception_ptr(e);
}

class ExceptionHandlerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::DialogService::setInstance(&m_dialogs);
        ApplicationExceptionHandler::setPauseHooks(
            [this] { m_events << "pause"; }, [this] { m_events << "resume"; });
    }
    void TearDown() override
    {
        ApplicationExceptionHandler::clearPauseHooks();
        shell::DialogService::setInstance(nullptr);
    }

    ScriptedDialogService m_dialogs;
    QStringList m_events;
};

TEST_F(ExceptionHandlerTest, NetWareFailureShowsOnePlainErrorBoxAndResumes)
{
    try {
        CheckNWResult("Error creating directory handle", 35263);
    } catch (...) {
        ApplicationExceptionHandler::handleCurrent();
    }
    ASSERT_EQ(m_dialogs.calls().size(), 1);
    const DialogCall& call = m_dialogs.calls()[0];
    EXPECT_EQ(call.type, DialogCall::Type::Message);
    EXPECT_EQ(call.kind, shell::MessageKind::Error);
    EXPECT_EQ(call.buttons, shell::Buttons(shell::Button::Ok));
    EXPECT_EQ(call.text, "Error creating directory handle\rInvalid name space (89BF)");
    EXPECT_EQ(m_events, QStringList({ "pause", "resume" }));
    EXPECT_TRUE(m_dialogs.unexpected().isEmpty());
}

TEST_F(ExceptionHandlerTest, TheSilentAbortShowsNothing)
{
    ApplicationExceptionHandler::handle(std::make_exception_ptr(EAbortPass()));
    EXPECT_TRUE(m_dialogs.calls().isEmpty());
    EXPECT_TRUE(m_events.isEmpty());
}

TEST_F(ExceptionHandlerTest, EverythingElseGoesToTheDetailedDialog)
{
    struct Case {
        std::exception_ptr error;
        QString message;
        QString detailsStart;
        bool plain;
    } const cases[] = {
        { raised(TNDSException("NDS: NWDSRead code FFFFFDA7", -601)), "NDS: NWDSRead code FFFFFDA7",
            "Exception class: TNDSException\rCode: -601 (FFFFFDA7)\rHelp context: 0", false },
        { raised(std::runtime_error("disk full")), "disk full",
            "Exception class: std::runtime_error", false },
        { raised(TException("Something", 17)), "Something",
            "Exception class: TException\rHelp context: 17", false },
        { raised(TInputError("'13' is not a valid month")), "'13' is not a valid month",
            "Exception class: TInputError", true },
        { raised(42), "An unknown error occurred.", "The exception is of no known class.", false },
    };
    for (const Case& c : cases) {
        m_dialogs.clear();
        m_events.clear();
        ApplicationExceptionHandler::handle(c.error);
        ASSERT_EQ(m_dialogs.calls().size(), 1);
        const DialogCall& call = m_dialogs.calls()[0];
        EXPECT_EQ(call.type, c.plain ? DialogCall::Type::Message : DialogCall::Type::DetailedError)
            << c.message.toStdString();
        EXPECT_EQ(call.text, c.message);
        if (!c.plain) {
            EXPECT_TRUE(call.details.startsWith(c.detailsStart)) << call.details.toStdString();
        }
        EXPECT_EQ(m_events, QStringList({ "pause", "resume" }));
    }
}

// A dialog service that fails while showing, and one that meets a second failure meanwhile.
class FailingDialogs : public ScriptedDialogService {
public:
    std::function<void()> onError;
    shell::Button messageBox(shell::MessageKind kind, const QString& caption, const QString& text,
        shell::Buttons buttons, shell::Button defaultButton) override
    {
        ScriptedDialogService::messageBox(kind, caption, text, buttons, defaultButton);
        onError();
        return shell::Button::Ok;
    }
};

TEST_F(ExceptionHandlerTest, ResumesWhenShowingFailsAndOnceForNestedFailures)
{
    FailingDialogs dialogs;
    shell::DialogService::setInstance(&dialogs);
    dialogs.onError = [] { throw std::runtime_error("no screen"); };
    EXPECT_NO_THROW(ApplicationExceptionHandler::handle(raised(TNWException("x", 1))));
    EXPECT_EQ(m_events, QStringList({ "pause", "resume" }));

    m_events.clear();
    int nested = 0;
    dialogs.onError = [&] {
        if (nested++ == 0) {
            ApplicationExceptionHandler::handle(raised(TNWException("second", 2)));
            EXPECT_EQ(m_events, QStringList({ "pause" })); // still paused: a box is open
        }
    };
    ApplicationExceptionHandler::handle(raised(TNWException("first", 1)));
    EXPECT_EQ(m_events, QStringList({ "pause", "resume" }));
    EXPECT_EQ(dialogs.texts(), QStringList({ "x", "first", "second" }));

    ApplicationExceptionHandler::handle(nullptr);
    EXPECT_EQ(dialogs.calls().size(), 3);
    shell::DialogService::setInstance(&m_dialogs);
}

} // namespace
