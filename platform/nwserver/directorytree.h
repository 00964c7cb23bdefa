#pragma once

#include "platform/nwproto/directory.h"
#include "platform/nwserver/objectstore.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace nwserver {

struct DirectoryEntry {
    uint32_t id = 0;
    uint32_t parent = 0;
    QString name; // the relative name's value, without its type
    QString baseClass;
    uint32_t flags = 0; // nwproto::dsentry bits
    uint32_t subordinates = 0;
    uint32_t modified = 0; // seconds since the epoch
};

struct DirectoryAttribute {
    QString name;
    uint32_t syntax = 0; // nwproto::dssyntax
    QStringList values; // distinguished names in typed form
};

// The directory tree a NetWare 4 server holds. Entries of users, groups, queues and servers are
// the object store's own objects under the same id (as bindery emulation does it), so their
// names, memberships and equivalences live in one place only; the attributes "Group
// Membership", "Member" and "Security Equals" are read from there. Every other entry has an id
// from a range of its own, far above the object store's.
class DirectoryTree {
public:
    DirectoryTree(Database& db, ObjectStore& objects);

    static void createSchema(Database& db);
    static constexpr uint32_t kFirstEntryId = 0x40000001;

    // 0 until the tree has its root.
    uint32_t rootId() const;
    uint32_t createRoot(uint32_t modified);
    uint32_t addEntry(
        uint32_t parent, const QString& name, const QString& baseClass, uint32_t modified);
    uint32_t addObjectEntry(
        uint32_t parent, uint32_t objectId, const QString& baseClass, uint32_t modified);
    void addText(uint32_t id, const QString& attribute, const QString& value);
    void addReference(uint32_t id, const QString& attribute, uint32_t target);

    std::optional<DirectoryEntry> entry(uint32_t id) const;
    // A distinguished name from the root, typed ("CN=JOHN.OU=SALES.O=ACME") or typeless
    // ("JOHN.SALES.ACME"), or "[Root]".
    nwproto::NWDSCCODE resolve(const QString& name, uint32_t& id) const;
    // Typed distinguished name; "[Root]" for the root, empty for an unknown id.
    QString distinguishedName(uint32_t id) const;
    std::vector<DirectoryEntry> children(uint32_t parent) const; // in id order
    std::vector<DirectoryAttribute> attributes(uint32_t id) const;

    // "O", "OU", "C", "L" for containers, "CN" for everything else.
    static QString namingType(const QString& baseClass);
    static bool isContainerClass(const QString& baseClass);

private:
    std::optional<DirectoryEntry> readEntry(const char* where, uint32_t key) const;
    QStringList namesOf(const std::vector<uint32_t>& ids) const;

    Database& m_db;
    ObjectStore& m_objects;
};

} // namespace nwserver
