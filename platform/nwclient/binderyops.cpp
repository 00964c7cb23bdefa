#include "platform/nwclient/binderyops.h"

#include "platform/nwproto/directory.h"
#include "platform/nwproto/wire.h"

#include <QtEndian>

namespace nwclient {

using namespace nwproto;

namespace {
// The server keeps types in its own order; the console sees them byte-swapped.
uint16_t toServer(ObjectType t)
{
    return qbswap(t);
}

ObjectType toClient(uint16_t t)
{
    return qbswap(t);
}
} // namespace

NWCCODE getBinderyObjectID(ConnHandle handle, const QString& name, ObjectType type, uint32_t& id)
{
    WireWriter w;
    w.str(name).u16(toServer(type));
    QByteArray reply;
    const NWCCODE code = request(handle, fn::GetBinderyObjectId, w.data(), reply);
    if (code == cc::Success) {
        WireReader r(reply);
        id = r.u32();
    }
    return code;
}

NWCCODE getBinderyObjectName(ConnHandle handle, uint32_t id, QString& name, ObjectType& type)
{
    WireWriter w;
    w.u32(id);
    QByteArray reply;
    const NWCCODE code = request(handle, fn::GetBinderyObjectName, w.data(), reply);
    if (code == cc::Success) {
        WireReader r(reply);
        name = r.str();
        type = toClient(r.u16());
    }
    return code;
}

NWCCODE scanBinderyObject(ConnHandle handle, const QString& pattern, ObjectType type,
    uint32_t& objectId, TBinderyObject& object)
{
    WireWriter w;
    w.u32(objectId).u16(toServer(type)).str(pattern);
    QByteArray reply;
    const NWCCODE code = request(handle, fn::ScanBinderyObject, w.data(), reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    object.id = r.u32();
    object.name = r.str();
    object.type = toClient(r.u16());
    object.hasProperties = r.boolean();
    object.flags = r.u8();
    object.security = r.u8();
    objectId = object.id;
    return cc::Success;
}

NWCCODE readPropertyValue(ConnHandle handle, const QString& objectName, ObjectType type,
    const QString& property, uint8_t segment, QByteArray& value, bool& moreSegments,
    uint8_t& propertyFlags)
{
    WireWriter w;
    w.str(objectName).u16(toServer(type)).str(property).u8(segment);
    QByteArray reply;
    const NWCCODE code = request(handle, fn::ReadPropertyValue, w.data(), reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    value = QByteArray(bindery::kSegmentSize, '\0');
    r.raw(value.data(), bindery::kSegmentSize);
    moreSegments = r.boolean();
    propertyFlags = r.u8();
    return r.ok() ? cc::Success : cc::BadRequest;
}

NWCCODE scanProperty(ConnHandle handle, const QString& objectName, ObjectType type,
    const QString& pattern, uint32_t& sequence, TBinderyProperty& property)
{
    WireWriter w;
    w.str(objectName).u16(toServer(type)).u32(sequence).str(pattern);
    QByteArray reply;
    const NWCCODE code = request(handle, fn::ScanProperty, w.data(), reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    sequence = r.u32();
    property.name = r.str();
    property.flags = r.u8();
    property.security = r.u8();
    property.hasValue = r.boolean();
    property.moreProperties = r.boolean();
    return cc::Success;
}

std::vector<uint32_t> objectIdsOfSegment(const QByteArray& segment)
{
    std::vector<uint32_t> ids;
    for (qsizetype i = 0; i + 4 <= segment.size(); i += 4) {
        const auto id = qFromBigEndian<uint32_t>(segment.constData() + i);
        if (id != 0)
            ids.push_back(id);
    }
    return ids;
}

NWCCODE readSetProperty(ConnHandle handle, const QString& objectName, ObjectType type,
    const QString& property, std::vector<uint32_t>& ids)
{
    ids.clear();
    bool more = true;
    for (int segment = 1; more && segment <= 255; ++segment) {
        QByteArray value;
        uint8_t flags = 0;
        const NWCCODE code = readPropertyValue(
            handle, objectName, type, property, static_cast<uint8_t>(segment), value, more, flags);
        if (code != cc::Success)
            return code;
        for (uint32_t id : objectIdsOfSegment(value))
            ids.push_back(id);
    }
    return cc::Success;
}

} // namespace nwclient
