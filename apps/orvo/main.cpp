// The console. Start-up and shut-down run in the order the console's parts rely on: the client
// library first and last, the main window in between.
#include "console/shell/mainform.h"
#include "console/shell/orvoapplication.h"
#include "platform/nwclient/client.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    TOrvoApplication app(argc, argv);
    nwclient::initialise();
    int rc = 0;
    {
        TMainForm mainForm;
        mainForm.show();
        rc = app.exec();
    }
    nwclient::terminate();
    return rc;
}
