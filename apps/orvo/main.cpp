// The console. Start-up and shut-down run in the order the console's parts rely on: the client
// library first and last, then the options (every later part reads them), the splash, the main
// window; shut-down in the reverse order.
#include "console/monitor/monitorfactories.h"
#include "console/shell/aboutbox.h"
#include "console/shell/mainform.h"
#include "console/shell/orvoapplication.h"
#include "console/shell/settingsdlg.h"
#include "console/shell/shellcommands.h"
#include "console/shell/splash.h"
#include "platform/nwclient/client.h"
#include "platform/nwclient/embeddedhost.h"
#include "setup/archive/embeddedversion.h"
#include "setup/archive/fileversion.h"

#include <QTimer>

ORVO_EMBED_VERSION(ORVO_VERSION_TEXT);

int main(int argc, char** argv)
{
    TOrvoApplication app(argc, argv);
    nwclient::initialise();
    // The embedded servers' simulated workstations take their steps once a second.
    QTimer stations;
    QObject::connect(&stations, &QTimer::timeout, [] { nwclient::embedded::tickSimulations(); });
    stations.start(1000);
    // The about box shows the version the program file carries, as the setup reads it.
    TAboutBox::SetProgramVersion(QString::fromStdString(
        orvo::ReadFileVersion(QCoreApplication::applicationFilePath().toStdString())));
    int rc = 0;
    {
        TSettingsDlg settings;
        TSplash* splash = TSplash::Start();
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Tarvo Vizova Vederur"));
        TMainForm mainForm(MonitorPageFactories(), settings.Options());
        InstallShellCommands(mainForm, settings);
        mainForm.show();
        splash->Finish(&mainForm);
        mainForm.activateWindow();
        rc = app.exec();
    }
    nwclient::terminate();
    return rc;
}
