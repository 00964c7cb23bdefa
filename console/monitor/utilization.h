#pragma once

#include "platform/nwclient/client.h"

// One sample of the side panel: connections in use, utilization and used memory in percent.
struct TUtilizationSample {
    int connections = 0;
    int utilization = 0;
    int usedMemory = 0;
};

// Reads a sample of a NetWare 4 server: the file server counters give connections and
// utilization, the cache counters the used memory. A value that cannot be read is 0, and with
// no handle at all the sample is 0, 0, 0; nothing here raises.
TUtilizationSample ReadUtilizationSample(nwclient::ConnRef ref);
