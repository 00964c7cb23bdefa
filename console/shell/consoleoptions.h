#pragma once

// The options the main window reads from the options dialog. Until the dialog has stored
// values, these are the values a first run starts with.
struct TConsoleOptions {
    bool canonicalNames = true; // "Use short object names"
    bool showTips = true; // "Show tips on the startup"
    int chartIntervalSeconds = 2; // "Update utilization charts every" (1 to 15)
    bool licensedOnly = false; // "Show licensed connections only"
};
