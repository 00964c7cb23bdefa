#include "platform/nwclient/ndsops.h"

#include "platform/nwclient/ndscontext.h"
#include "platform/nwclient/ndsnames.h"
#include "platform/nwproto/wire.h"

#include <functional>

namespace nwclient {

using namespace nwproto;

namespace {

NWDSCCODE asDs(NWCCODE code)
{
    return static_cast<NWDSCCODE>(code);
}

// Requests that name no server go to an authenticated connection of the context's tree (any
// tree when the context has none).
NWDSCCODE requestInTree(const nds::Context& c, FnCode fn, const QByteArray& body, QByteArray& reply)
{
    uint32_t it = 0;
    ConnRef ref = 0;
    while (scanConnRefs(it, ref) == cc::Success) {
        TNWConnInfo info {};
        if (getConnInfo(ref, info) != cc::Success || !info.authenticationState || !info.dsFlag)
            continue;
        if (!c.tree.isEmpty() && c.tree.compare(QLatin1String(info.treeName), Qt::CaseInsensitive))
            continue;
        ConnHandle h = 0;
        if (openConnByReference(ref, h) != cc::Success)
            continue;
        const NWCCODE code = request(h, fn, body, reply);
        closeConn(h);
        return asDs(code);
    }
    return ndserr::NoConnection;
}

using Sender = std::function<NWDSCCODE(FnCode, const QByteArray&, QByteArray&)>;

NWDSCCODE resolve(const nds::Context& c, const QString& object, const Sender& send, uint32_t& id)
{
    QString name;
    NWDSCCODE code = ndsnames::absolute(object, c.flags, c.nameContext, name);
    if (code != ndserr::Success)
        return code;
    WireWriter w;
    w.str(name);
    QByteArray reply;
    code = send(fn::NdsResolveName, w.data(), reply);
    if (code == ndserr::Success) {
        WireReader r(reply);
        id = r.u32();
    }
    return code;
}

Sender treeSender(const nds::Context& c)
{
    return [c](FnCode fn, const QByteArray& body, QByteArray& reply) {
        return requestInTree(c, fn, body, reply);
    };
}

Sender connSender(ConnHandle h)
{
    return [h](FnCode fn, const QByteArray& body, QByteArray& reply) {
        return asDs(request(h, fn, body, reply));
    };
}

TObjectInfo readInfo(WireReader& r)
{
    TObjectInfo info;
    info.baseClass = r.str();
    info.objectFlags = r.u32();
    info.subordinateCount = r.u32();
    info.modificationTime = r.u32();
    return info;
}

NWDSCCODE entryInfo(const Sender& send, uint32_t id, QString& dn, TObjectInfo& info)
{
    WireWriter w;
    w.u32(id);
    QByteArray reply;
    const NWDSCCODE code = send(fn::NdsReadEntryInfo, w.data(), reply);
    if (code == ndserr::Success) {
        WireReader r(reply);
        r.u32();
        dn = r.str();
        info = readInfo(r);
    }
    return code;
}

} // namespace

NWDSCCODE NWDSMapNameToID(
    NWDSContextHandle context, ConnHandle handle, const QString& object, uint32_t& id)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    return resolve(*c, object, connSender(handle), id);
}

NWDSCCODE NWDSMapIDToName(
    NWDSContextHandle context, ConnHandle handle, uint32_t id, QString& object)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    QString dn;
    TObjectInfo info;
    const NWDSCCODE code = entryInfo(connSender(handle), id, dn, info);
    if (code == ndserr::Success)
        object = ndsnames::output(dn, c->flags);
    return code;
}

NWDSCCODE NWDSReadObjectInfo(
    NWDSContextHandle context, const QString& object, QString& distinguishedName, TObjectInfo& info)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    const Sender send = treeSender(*c);
    uint32_t id = 0;
    NWDSCCODE code = resolve(*c, object, send, id);
    if (code != ndserr::Success)
        return code;
    QString dn;
    code = entryInfo(send, id, dn, info);
    if (code == ndserr::Success)
        distinguishedName = ndsnames::output(dn, c->flags);
    return code;
}

NWDSCCODE NWDSList(
    NWDSContextHandle context, const QString& object, int32_t& iterationHandle, pBuf_T subordinates)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    if (!subordinates)
        return ndserr::NullPointer;
    const Sender send = treeSender(*c);
    uint32_t id = 0;
    NWDSCCODE code = resolve(*c, object, send, id);
    if (code != ndserr::Success)
        return code;
    WireWriter w;
    w.u32(id).u32(static_cast<uint32_t>(iterationHandle));
    w.u32(static_cast<uint32_t>(subordinates->size));
    QByteArray reply;
    code = send(fn::NdsList, w.data(), reply);
    if (code != ndserr::Success)
        return code;
    subordinates->clearReply();
    WireReader r(reply);
    const auto next = static_cast<int32_t>(r.u32());
    const uint32_t count = r.u32();
    for (uint32_t k = 0; k < count && r.ok(); ++k) {
        nds::ListedObject o;
        r.u32();
        o.name = r.str();
        o.info = readInfo(r);
        subordinates->objects.push_back(o);
    }
    if (!r.ok())
        return asDs(cc::BadRequest);
    iterationHandle = next;
    return ndserr::Success;
}

NWDSCCODE NWDSRead(NWDSContextHandle context, const QString& object, uint32_t infoType,
    bool allAttrs, pBuf_T attrNames, int32_t& iterationHandle, pBuf_T objectInfo)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    if (!objectInfo || (!allAttrs && !attrNames))
        return ndserr::NullPointer;
    if (!allAttrs && attrNames->operation != DSV_READ)
        return ndserr::BadVerb;
    const Sender send = treeSender(*c);
    uint32_t id = 0;
    NWDSCCODE code = resolve(*c, object, send, id);
    if (code != ndserr::Success)
        return code;
    WireWriter w;
    w.u32(id).u8(infoType == DS_ATTRIBUTE_NAMES ? 0 : 1).boolean(allAttrs);
    const QStringList names = allAttrs ? QStringList() : attrNames->attrNames;
    w.u32(static_cast<uint32_t>(names.size()));
    for (const QString& n : names)
        w.str(n);
    w.u32(static_cast<uint32_t>(iterationHandle)).u32(static_cast<uint32_t>(objectInfo->size));
    QByteArray reply;
    code = send(fn::NdsRead, w.data(), reply);
    if (code != ndserr::Success)
        return code;
    objectInfo->clearReply();
    WireReader r(reply);
    const auto next = static_cast<int32_t>(r.u32());
    const uint32_t count = r.u32();
    for (uint32_t k = 0; k < count && r.ok(); ++k) {
        nds::ReadAttribute a;
        a.name = r.str();
        a.syntax = r.u32();
        if (infoType != DS_ATTRIBUTE_NAMES) {
            const uint32_t values = r.u32();
            for (uint32_t v = 0; v < values && r.ok(); ++v)
                a.values << r.str();
        }
        objectInfo->attributes.push_back(a);
    }
    if (!r.ok())
        return asDs(cc::BadRequest);
    iterationHandle = next;
    return ndserr::Success;
}

} // namespace nwclient
