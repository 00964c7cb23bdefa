#include "platform/nwproto/serverinfo.h"
#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/server.h"

namespace nwserver {

using namespace nwproto;

namespace {

NWCCODE getServerInfo(RequestContext& ctx, WireReader&, WireWriter& out)
{
    ctx.server.info().write(out);
    return cc::Success;
}

NWCCODE getServerDescription(RequestContext& ctx, WireReader&, WireWriter& out)
{
    const ServerIdentity& id = ctx.server.identity();
    out.str(id.company).str(id.revisionText);
    return cc::Success;
}

NWCCODE getDateTime(RequestContext& ctx, WireReader&, WireWriter& out)
{
    ServerDateTime::fromDateTime(ctx.server.serverTime()).write(out);
    return cc::Success;
}

NWCCODE setDateTime(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const QDateTime t = ServerDateTime::read(in).toDateTime();
    if (!in.ok() || !t.isValid())
        return cc::BadRequest;
    ctx.server.setServerTime(t);
    return cc::Success;
}

NWCCODE getLoginStatus(RequestContext& ctx, WireReader&, WireWriter& out)
{
    out.boolean(ctx.server.loginEnabled());
    return cc::Success;
}

NWCCODE setLoginStatus(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const bool on = in.boolean();
    if (!in.ok())
        return cc::BadRequest;
    ctx.server.setLoginEnabled(on);
    return cc::Success;
}

// Not an error when nonzero: the answer itself is the code, as NetWare gives it.
NWCCODE ttsIsAvailable(RequestContext& ctx, WireReader&, WireWriter&)
{
    const Server& s = ctx.server;
    if (s.identity().ttsLevel == 0)
        return cc::TtsNotAvailable;
    return s.ttsEnabled() ? cc::TtsAvailable : cc::TtsDisabled;
}

NWCCODE setTtsStatus(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const bool on = in.boolean();
    if (!in.ok())
        return cc::BadRequest;
    if (ctx.server.identity().ttsLevel == 0)
        return 0x89FF;
    ctx.server.setTtsEnabled(on);
    return cc::Success;
}

NWCCODE checkConsolePrivileges(RequestContext&, WireReader&, WireWriter&)
{
    return cc::Success;
}

NWCCODE getNetworkSerialNumber(RequestContext& ctx, WireReader&, WireWriter& out)
{
    const ServerIdentity& id = ctx.server.identity();
    out.u32(id.serialNumber).u16(id.applicationNumber);
    return cc::Success;
}

NWCCODE downServer(RequestContext& ctx, WireReader& in, WireWriter&)
{
    in.boolean(); // force: no open files are tracked that could refuse it
    if (!in.ok())
        return cc::BadRequest;
    ctx.server.down();
    return cc::Success;
}

} // namespace

void registerServerOperations(Dispatcher& d)
{
    d.add(fn::GetServerInfo, Access::Anyone, getServerInfo);
    d.add(fn::GetServerDescription, Access::Anyone, getServerDescription);
    d.add(fn::GetDateTime, Access::Anyone, getDateTime);
    d.add(fn::SetDateTime, Access::ConsoleOperator, setDateTime);
    d.add(fn::GetLoginStatus, Access::LoggedIn, getLoginStatus);
    d.add(fn::SetLoginStatus, Access::ConsoleOperator, setLoginStatus);
    d.add(fn::TtsIsAvailable, Access::Anyone, ttsIsAvailable);
    d.add(fn::SetTtsStatus, Access::ConsoleOperator, setTtsStatus);
    d.add(fn::CheckConsolePrivileges, Access::ConsoleOperator, checkConsolePrivileges);
    d.add(fn::GetNetworkSerialNumber, Access::LoggedIn, getNetworkSerialNumber);
    d.add(fn::DownServer, Access::ConsoleOperator, downServer);
}

} // namespace nwserver
