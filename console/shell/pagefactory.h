#pragma once

#include <functional>

class QWidget;
class TPage;
class TSidePanel;
class TMainForm;

// The pages and the side panel come from higher layers than the main window; the program's
// start-up hands their factories over. A missing factory gives the "not available" page.
struct TPageFactories {
    std::function<TPage*(TMainForm*, int index)> page;
    std::function<TSidePanel*(TMainForm*)> sidePanel;
};
