#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/server.h"

namespace nwserver {

using namespace nwproto;

namespace {

NWCCODE login(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const QString name = in.str();
    const QString password = in.str();
    if (!in.ok())
        return cc::BadRequest;
    Server& s = ctx.server;
    const auto user = s.objects().find(name, objtype::User);
    if (!user || !s.objects().verifyPassword(user->id, password))
        return cc::NoSuchObjectOrBadPassword;
    if (!s.loginEnabled() && !s.objects().isSupervisor(user->id))
        return cc::LoginLocked;
    Connection& c = ctx.conn;
    c.objectId = user->id;
    c.objectName = user->name;
    c.objectType = user->type;
    c.loginTime = s.serverTime();
    out.u32(user->id);
    return cc::Success;
}

NWCCODE logout(RequestContext& ctx, WireReader&, WireWriter&)
{
    Connection& c = ctx.conn;
    c.objectId = 0;
    c.objectName.clear();
    c.objectType = 0;
    c.loginTime = {};
    return cc::Success;
}

NWCCODE detach(RequestContext& ctx, WireReader&, WireWriter&)
{
    ctx.server.connections().release(ctx.conn.number);
    return cc::Success;
}

NWCCODE whoAmI(RequestContext& ctx, WireReader&, WireWriter& out)
{
    const Connection& c = ctx.conn;
    out.u32(c.number).u32(c.objectId).str(c.objectName).u16(c.objectType);
    out.i64(c.loginTime.isValid() ? c.loginTime.toMSecsSinceEpoch() : 0);
    return cc::Success;
}

} // namespace

void registerSessionOperations(Dispatcher& d)
{
    d.add(fn::Login, Access::Anyone, login);
    d.add(fn::Logout, Access::Anyone, logout);
    d.add(fn::Detach, Access::Anyone, detach);
    d.add(fn::WhoAmI, Access::Anyone, whoAmI);
}

} // namespace nwserver
