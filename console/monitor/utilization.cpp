#include "console/monitor/utilization.h"

#include "netware/connqueries.h"
#include "platform/nwclient/statsops.h"

TUtilizationSample ReadUtilizationSample(nwclient::ConnRef ref)
{
    TUtilizationSample s;
    TConnHandleScope conn;
    if (conn.open(ref) != 0)
        return s;
    nwclient::NWFileServerStats stats;
    if (nwclient::getFileServerInfo(conn.handle(), stats) == 0) {
        s.connections = static_cast<int>(stats.ncpStationsInUseCount);
        s.utilization = static_cast<int>(stats.serverUtilization);
    }
    nwclient::NWCacheInfo cache;
    if (nwclient::getCacheInfo(conn.handle(), cache) == 0)
        s.usedMemory = nwclient::usedMemoryPercent(cache);
    return s;
}
