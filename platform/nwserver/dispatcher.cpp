#include "platform/nwserver/dispatcher.h"

#include "platform/nwserver/server.h"

#include <QtGlobal>

namespace nwserver {

using namespace nwproto;

void Dispatcher::add(FnCode fn, Access access, Handler handler)
{
    // Two operations on one number would silently answer for each other in every build.
    if (!m_ops.emplace(fn, Operation { access, std::move(handler) }).second)
        qFatal("request function number 0x%04X registered twice", fn);
}

NWCCODE Dispatcher::dispatch(RequestContext& ctx, FnCode fn, const QByteArray& body,
    QByteArray& reply, ReplyFragment* fragment) const
{
    if (fragment)
        fragment->used = 0;
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
    WireWriter out(fragment);
    NWCCODE code = op.handler(ctx, in, out);
    if (!in.ok())
        code = cc::BadRequest;
    if (code == cc::Success)
        reply = out.take();
    else if (fragment)
        fragment->used = 0;
    return code;
}

} // namespace nwserver
