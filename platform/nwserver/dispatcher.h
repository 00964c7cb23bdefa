#pragma once

#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/functions.h"
#include "platform/nwproto/wire.h"

#include <functional>
#include <unordered_map>

namespace nwserver {

class Server;
struct Connection;

// Who may call an operation. The dispatcher checks it before the handler runs, so handlers only
// check what depends on their arguments (rights on a path, for example).
enum class Access {
    Anyone, // also a station that is attached but not logged in
    LoggedIn,
    ConsoleOperator, // answered with "no console rights" otherwise
    Supervisor,
};

struct RequestContext {
    Server& server;
    Connection& conn;
};

using Handler = std::function<nwproto::NWCCODE(
    RequestContext&, nwproto::WireReader& in, nwproto::WireWriter& out)>;

class Dispatcher {
public:
    void add(nwproto::FnCode fn, Access access, Handler handler);
    // With a fragment, the bulk of the reply (file data) is written into it (see wire.h).
    nwproto::NWCCODE dispatch(RequestContext& ctx, nwproto::FnCode fn, const QByteArray& body,
        QByteArray& reply, nwproto::ReplyFragment* fragment = nullptr) const;

private:
    struct Operation {
        Access access;
        Handler handler;
    };
    std::unordered_map<nwproto::FnCode, Operation> m_ops;
};

// Each area of the server registers its operations; operations.cpp calls them all.
void registerSessionOperations(Dispatcher& d);
void registerServerOperations(Dispatcher& d);
void registerBinderyOperations(Dispatcher& d);
void registerDirectoryOperations(Dispatcher& d);
void registerFileSystemOperations(Dispatcher& d);
void registerStatisticsOperations(Dispatcher& d);
void registerAllOperations(Dispatcher& d);

} // namespace nwserver
