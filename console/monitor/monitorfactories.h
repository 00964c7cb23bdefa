#pragma once

#include "console/shell/pagefactory.h"

// What the server information subsystem gives the main window: page 0 (TServerInfoForm) and
// the side panel (TInfoForm). Other page slots are left to the other subsystems: the page
// factory answers nullptr for them.
TPageFactories MonitorPageFactories();

// The page of the monitor for index (page 0), else nullptr; for programs that combine
// factories of several subsystems.
TPage* CreateMonitorPage(TMainForm* main, int index);
TSidePanel* CreateMonitorSidePanel(TMainForm* main);
