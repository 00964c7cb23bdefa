#pragma once

#include "platform/nwserver/database.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace nwserver {

// Object types in the server's own order (a client in Intel byte order reads user as 256).
namespace objtype {
constexpr uint16_t User = 0x0001;
constexpr uint16_t Group = 0x0002;
constexpr uint16_t PrintQueue = 0x0003;
constexpr uint16_t FileServer = 0x0004;
constexpr uint16_t Wild = 0xFFFF;
} // namespace objtype

// The supervisor's object id on every server, as on NetWare.
constexpr uint32_t kSupervisorId = 0x00000001;

struct ServerObject {
    uint32_t id = 0;
    QString name;
    uint16_t type = 0;
    bool consoleOperator = false;
};

// Users, groups, memberships and security equivalences of one server. Not thread-safe by itself:
// the server serialises every request.
class ObjectStore {
public:
    explicit ObjectStore(Database& db);

    static void createSchema(Database& db);

    uint32_t createUser(const QString& name, const QString& password, bool consoleOperator = false);
    uint32_t createGroup(const QString& name);
    uint32_t createObject(const QString& name, uint16_t type, uint32_t id = 0);
    void addMember(uint32_t groupId, uint32_t memberId);
    void addEquivalence(uint32_t objectId, uint32_t equalsId);
    void setPassword(uint32_t id, const QString& password);
    void setConsoleOperator(uint32_t id, bool on);

    std::optional<ServerObject> find(const QString& name, uint16_t type) const;
    std::optional<ServerObject> byId(uint32_t id) const;
    bool verifyPassword(uint32_t id, const QString& password) const;

    std::vector<uint32_t> groupsOf(uint32_t id) const;
    std::vector<uint32_t> membersOf(uint32_t groupId) const;
    std::vector<uint32_t> equivalencesOf(uint32_t id) const;

    // The supervisor itself and anyone security-equivalent to it.
    bool isSupervisor(uint32_t id) const;
    bool isConsoleOperator(uint32_t id) const;

private:
    std::vector<uint32_t> ids(const char* sql, uint32_t key) const;

    Database& m_db;
};

} // namespace nwserver
