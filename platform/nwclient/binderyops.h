#pragma once

#include "platform/nwclient/client.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// Bindery operations of the client library. Object types are in the client's byte order, as
// the console reads them: a user is 0x0100, a group 0x0200. Object ids are plain numbers.
namespace nwclient {

using ObjectType = uint16_t;

constexpr ObjectType OT_WILD = 0xFFFF;
constexpr ObjectType OT_USER = 0x0100;
constexpr ObjectType OT_GROUP = 0x0200;
constexpr ObjectType OT_PRINT_QUEUE = 0x0300;
constexpr ObjectType OT_FILE_SERVER = 0x0400;
constexpr ObjectType OT_JOB_SERVER = 0x0500;
constexpr ObjectType OT_GATEWAY = 0x0600;
constexpr ObjectType OT_PRINT_SERVER = 0x0700;
constexpr ObjectType OT_ARCHIVE_SERVER = 0x0900;

// Starts a scan of objects or properties.
constexpr uint32_t kScanStart = 0xFFFFFFFF;

struct TBinderyObject {
    uint32_t id = 0;
    QString name;
    ObjectType type = 0;
    bool hasProperties = false;
    uint8_t flags = 0; // 0 static, 1 dynamic
    uint8_t security = 0;
};

struct TBinderyProperty {
    QString name;
    uint8_t flags = 0; // 0x02 set, else item; 0x01 dynamic
    uint8_t security = 0;
    bool hasValue = false;
    bool moreProperties = false;
};

// 0x89FC (no such object) when no object of that name and type exists.
NWCCODE getBinderyObjectID(ConnHandle handle, const QString& name, ObjectType type, uint32_t& id);
NWCCODE getBinderyObjectName(ConnHandle handle, uint32_t id, QString& name, ObjectType& type);
// Next object after objectId (start with kScanStart) whose name matches the wildcard pattern
// ("*", "?") and whose type matches (OT_WILD for any); 0x89FC after the last. objectId is
// advanced to the object found.
NWCCODE scanBinderyObject(ConnHandle handle, const QString& pattern, ObjectType type,
    uint32_t& objectId, TBinderyObject& object);
// One 128-byte segment (numbered from 1) of a property. A set property holds up to 32 ids per
// segment, high byte first, zero-filled (objectIdsOfSegment reads them). 0x89FB: no such
// property; 0x89EC: no such segment.
NWCCODE readPropertyValue(ConnHandle handle, const QString& objectName, ObjectType type,
    const QString& property, uint8_t segment, QByteArray& value, bool& moreSegments,
    uint8_t& propertyFlags);
// The next property of an object (sequence starts with kScanStart); 0x89FB after the last.
NWCCODE scanProperty(ConnHandle handle, const QString& objectName, ObjectType type,
    const QString& pattern, uint32_t& sequence, TBinderyProperty& property);

std::vector<uint32_t> objectIdsOfSegment(const QByteArray& segment);
// All ids of a set property, segment after segment.
NWCCODE readSetProperty(ConnHandle handle, const QString& objectName, ObjectType type,
    const QString& property, std::vector<uint32_t>& ids);

} // namespace nwclient
