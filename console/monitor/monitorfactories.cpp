#include "console/monitor/monitorfactories.h"

#include "console/monitor/infoform.h"
#include "console/monitor/serverinfoform.h"

TPage* CreateMonitorPage(TMainForm* main, int index)
{
    return index == 0 ? TServerInfoForm::Create(main) : nullptr;
}

TSidePanel* CreateMonitorSidePanel(TMainForm* main)
{
    return TInfoForm::Create(main);
}

TPageFactories MonitorPageFactories()
{
    TPageFactories f;
    f.page = CreateMonitorPage;
    f.sidePanel = CreateMonitorSidePanel;
    return f;
}
