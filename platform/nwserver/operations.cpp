#include "platform/nwserver/dispatcher.h"

namespace nwserver {

void registerAllOperations(Dispatcher& d)
{
    registerSessionOperations(d);
    registerServerOperations(d);
    registerFileSystemOperations(d);
    registerBinderyOperations(d);
    registerDirectoryOperations(d);
    registerStatisticsOperations(d);
}

} // namespace nwserver
