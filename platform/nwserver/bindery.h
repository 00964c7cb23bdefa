#pragma once

#include "platform/nwserver/objectstore.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace nwserver {

// The remaining bindery object types in the server's order.
namespace objtype {
constexpr uint16_t JobServer = 0x0005;
constexpr uint16_t Gateway = 0x0006;
constexpr uint16_t PrintServer = 0x0007;
constexpr uint16_t ArchiveServer = 0x0009;
} // namespace objtype

struct BinderyProperty {
    QString name;
    uint8_t flags = 0; // nwproto::bindery::PropertySet, PropertyDynamic
    uint8_t security = 0x31; // read: logged in; write: object itself
    bool hasValue = false;
};

// The bindery view of a server's objects: scans, properties and their 128-byte segments.
// The sets GROUPS_I'M_IN, GROUP_MEMBERS and SECURITY_EQUALS are read from the memberships and
// equivalences of the object store, so the rights code and the bindery can never disagree;
// every other property is stored here.
class Bindery {
public:
    Bindery(Database& db, ObjectStore& objects);

    static void createSchema(Database& db);

    // The first object after lastId (0xFFFFFFFF starts) whose type and name match.
    std::optional<ServerObject> scan(uint32_t lastId, uint16_t type, const QString& pattern) const;
    bool hasProperties(const ServerObject& o) const;

    std::vector<BinderyProperty> properties(const ServerObject& o) const;
    // One 128-byte segment (1-based) of a property: nwproto code, more = segments follow.
    uint32_t readSegment(const ServerObject& o, const QString& property, uint8_t segment,
        QByteArray& data, bool& more, uint8_t& flags) const;

    void setItemProperty(uint32_t id, const QString& property, const QByteArray& value);
    void setTextProperty(uint32_t id, const QString& property, const QString& text);
    void setSetProperty(uint32_t id, const QString& property, const std::vector<uint32_t>& ids);

    // Object ids as a set property's segment holds them: 32 ids per segment, high byte first,
    // zero-filled.
    static QByteArray segmentOfIds(const std::vector<uint32_t>& ids, int segment);
    static bool matchesWildcard(const QString& name, const QString& pattern);

private:
    // The three derived sets cannot be written here: that would make a second truth.
    static void refuseDerived(const QString& property);
    std::optional<std::vector<uint32_t>> derivedSet(
        const ServerObject& o, const QString& property) const;

    Database& m_db;
    ObjectStore& m_objects;
};

} // namespace nwserver
