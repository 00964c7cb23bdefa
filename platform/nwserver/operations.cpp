#include "platform/nwserver/dispatcher.h"

namespace nwserver {

void registerAllOperations(Dispatcher& d)
{
    registerSessionOperations(d);
    registerServerOperations(d);
}

} // namespace nwserver
