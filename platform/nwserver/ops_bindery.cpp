#include "platform/nwproto/directory.h"
#include "platform/nwserver/bindery.h"
#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/server.h"

namespace nwserver {

using namespace nwproto;

namespace {

Bindery binderyOf(RequestContext& ctx)
{
    return Bindery(ctx.server.db(), ctx.server.objects());
}

NWCCODE getObjectId(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const QString name = in.str();
    const uint16_t type = in.u16();
    if (!in.ok())
        return cc::BadRequest;
    const auto o = ctx.server.objects().find(name, type);
    if (!o)
        return cc::NoSuchObject;
    out.u32(o->id).str(o->name).u16(o->type);
    return cc::Success;
}

NWCCODE getObjectName(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t id = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    const auto o = ctx.server.objects().byId(id);
    if (!o)
        return cc::NoSuchObject;
    out.str(o->name).u16(o->type);
    return cc::Success;
}

NWCCODE scanObject(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t lastId = in.u32();
    const uint16_t type = in.u16();
    const QString pattern = in.str();
    if (!in.ok())
        return cc::BadRequest;
    const Bindery b = binderyOf(ctx);
    const auto o = b.scan(lastId, type, pattern);
    if (!o)
        return cc::NoSuchObject;
    out.u32(o->id).str(o->name).u16(o->type);
    out.boolean(b.hasProperties(*o)).u8(0).u8(0x31);
    return cc::Success;
}

NWCCODE readPropertyValue(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const QString name = in.str();
    const uint16_t type = in.u16();
    const QString property = in.str();
    const uint8_t segment = in.u8();
    if (!in.ok())
        return cc::BadRequest;
    const auto o = ctx.server.objects().find(name, type);
    if (!o)
        return cc::NoSuchObject;
    QByteArray data;
    bool more = false;
    uint8_t flags = 0;
    const NWCCODE code = binderyOf(ctx).readSegment(*o, property, segment, data, more, flags);
    if (code != cc::Success)
        return code;
    out.raw(data.constData(), static_cast<size_t>(data.size()));
    out.boolean(more).u8(flags);
    return cc::Success;
}

NWCCODE scanProperty(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const QString name = in.str();
    const uint16_t type = in.u16();
    const uint32_t sequence = in.u32();
    const QString pattern = in.str();
    if (!in.ok())
        return cc::BadRequest;
    const auto o = ctx.server.objects().find(name, type);
    if (!o)
        return cc::NoSuchObject;
    const auto props = binderyOf(ctx).properties(*o);
    for (size_t k = sequence == 0xFFFFFFFF ? 0 : sequence + 1; k < props.size(); ++k) {
        const BinderyProperty& p = props[k];
        if (!Bindery::matchesWildcard(p.name, pattern))
            continue;
        out.u32(static_cast<uint32_t>(k)).str(p.name).u8(p.flags).u8(p.security);
        out.boolean(p.hasValue).boolean(k + 1 < props.size());
        return cc::Success;
    }
    return bindery::NoSuchProperty;
}

} // namespace

void registerBinderyOperations(Dispatcher& d)
{
    d.add(fn::GetBinderyObjectId, Access::LoggedIn, getObjectId);
    d.add(fn::GetBinderyObjectName, Access::LoggedIn, getObjectName);
    d.add(fn::ScanBinderyObject, Access::LoggedIn, scanObject);
    d.add(fn::ReadPropertyValue, Access::LoggedIn, readPropertyValue);
    d.add(fn::ScanProperty, Access::LoggedIn, scanProperty);
}

} // namespace nwserver
