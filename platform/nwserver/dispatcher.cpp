#include "platform/nwserver/dispatcher.h"

#include "platform/nwserver/server.h"

#include <cassert>

namespace nwserver {

using namespace nwproto;

void Dispatcher::add(FnCode fn, Access access, Handler handler)
{
    [[maybe_unused]] const bool fresh
        = m_ops.emplace(fn, Operation { access, std::move(handler) }).second;
    assert(fresh && "function number registered twice");
}

NWCCODE Dispatcher::dispatch(
    RequestContext& ctx, FnCode fn, const QByteArray& body, QByteArray& reply) const
{
    const auto it = m_ops.find(fn);
    if (it == m_ops.end())
        return cc::UnknownRequest;
    const Operation& op = it->second;
    const Connection& c = ctx.conn;
    switch (op.access) {
    case Access::Anyone:
        break;
    case Access::LoggedIn:
        if (!c.loggedIn())
            return cc::AccessDenied;
        break;
    case Access::ConsoleOperator:
        if (!c.loggedIn() || !ctx.server.objects().isConsoleOperator(c.objectId))
            return cc::NoConsoleRights;
        break;
    case Access::Supervisor:
        if (!c.loggedIn() || !ctx.server.objects().isSupervisor(c.objectId))
            return cc::NoConsoleRights;
        break;
    }
    WireReader in(body);
    WireWriter out;
    const NWCCODE code = op.handler(ctx, in, out);
    if (!in.ok())
        return cc::BadRequest;
    if (code == cc::Success)
        reply = out.take();
    return code;
}

} // namespace nwserver
