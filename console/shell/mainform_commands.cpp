// The server commands the main window carries out itself.
#include "console/shell/mainform.h"
#include "console/shell/page.h"
#include "console/shell/timerlist.h"
#include "netware/connqueries.h"
#include "netware/connrefbox.h"
#include "platform/nwclient/serverops.h"
#include "platform/shell/dialogservice.h"
#include "platform/shell/processlauncher.h"

#include <QToolButton>

namespace {

QString hex4(nwclient::NWCCODE code)
{
    return QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

void reportFailure(nwclient::NWCCODE code)
{
    shell::DialogService::instance().message(shell::MessageKind::Error,
        QStringLiteral("Operation not performed due to the error\rError number %1").arg(hex4(code)),
        shell::Button::Cancel);
}

} // namespace

void TMainForm::LoginToCommand()
{
    showMinimized();
    struct Restore {
        TMainForm* w;
        ~Restore() { w->showNormal(); }
    } restore { this };
    RunLoginDialog();
}

void TMainForm::LoginStatusCommand()
{
    TConnHandleScope conn;
    nwclient::NWCCODE code = conn.open(CurrentConnRef());
    if (code == nwproto::cc::Success)
        code = m_loginEnabled ? nwclient::disableFileServerLogin(conn.handle())
                              : nwclient::enableFileServerLogin(conn.handle());
    if (code != nwproto::cc::Success) {
        reportFailure(code);
        return;
    }
    shell::DialogService::instance().information(
        (m_loginEnabled ? QStringLiteral("Login to server %1 is now disabled")
                        : QStringLiteral("Login to server %1 is now enabled"))
            .arg(m_serverBox->currentText()));
    UpdateServerCommands();
}

void TMainForm::TtsStatusCommand()
{
    TConnHandleScope conn;
    nwclient::NWCCODE code = conn.open(CurrentConnRef());
    if (code == nwproto::cc::Success)
        code = m_ttsEnabled ? nwclient::disableTTS(conn.handle())
                            : nwclient::enableTTS(conn.handle());
    if (code != nwproto::cc::Success) {
        reportFailure(code);
        return;
    }
    shell::DialogService::instance().information(
        (m_ttsEnabled ? QStringLiteral("TTS system on %1 is now disabled")
                      : QStringLiteral("TTS system on %1 is now enabled"))
            .arg(m_serverBox->currentText()));
    UpdateServerCommands();
}

void TMainForm::RemoteConsoleCommand()
{
    const QString server = m_serverBox->currentText();
    const QString program = m_netWare4 ? QStringLiteral("\\SYS\\PUBLIC\\RCONSOLE.EXE ")
                                       : QStringLiteral("\\SYS\\SYSTEM\\RCONSOLE.EXE ");
    const shell::LaunchResult r
        = shell::startProgram(QStringLiteral("\\\\") + server + program + server);
    // A program that could not be started is said so, not passed over in silence.
    if (!r.ok)
        shell::DialogService::instance().error(r.error);
}

void TMainForm::RefreshCommand()
{
    TPage* page = Page(m_currentPage);
    if (!page)
        return;
    switch (m_currentPage) {
    case 1:
        m_timers->fire(ConnInfoTimer);
        break;
    case 2:
        m_timers->fire(OpenFilesTimer);
        break;
    case 3:
        SelectPage(m_navButtons[3]);
        break;
    case 5:
        page->PeriodicUpdate(false);
        break;
    default:
        page->RefreshPage();
        break;
    }
}
