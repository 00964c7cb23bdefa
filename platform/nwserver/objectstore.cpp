#include "platform/nwserver/objectstore.h"

#include "platform/nwserver/bindery.h"
#include "platform/nwserver/directorytree.h"
#include "platform/nwserver/passwordhash.h"

namespace nwserver {

ObjectStore::ObjectStore(Database& db)
    : m_db(db)
{
}

void ObjectStore::createSchema(Database& db)
{
    db.exec("CREATE TABLE IF NOT EXISTS objects ("
            " id INTEGER PRIMARY KEY,"
            " name TEXT NOT NULL COLLATE NOCASE,"
            " type INTEGER NOT NULL,"
            " password_salt BLOB, password_hash BLOB,"
            " console_operator INTEGER NOT NULL DEFAULT 0,"
            " UNIQUE(name, type))");
    db.exec("CREATE TABLE IF NOT EXISTS members ("
            " group_id INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,"
            " member_id INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,"
            " PRIMARY KEY(group_id, member_id))");
    db.exec("CREATE TABLE IF NOT EXISTS equivalences ("
            " object_id INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,"
            " equals_id INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,"
            " PRIMARY KEY(object_id, equals_id))");
    Bindery::createSchema(db);
    DirectoryTree::createSchema(db);
}

uint32_t ObjectStore::createObject(const QString& name, uint16_t type, uint32_t id)
{
    if (id == 0) {
        // Ids are handed out in sequence above the supervisor's so that a world built twice
        // from the same steps has the same ids.
        const qint64 top = m_db.scalar("SELECT MAX(id) FROM objects").toLongLong();
        id = static_cast<uint32_t>(std::max<qint64>(top + 1, 0x01000001));
    }
    m_db.run("INSERT INTO objects(id, name, type) VALUES(?, ?, ?)",
        { QVariant::fromValue<qint64>(id), name.toUpper(), type });
    return id;
}

uint32_t ObjectStore::createUser(const QString& name, const QString& password, bool consoleOperator)
{
    const uint32_t id = name.compare(QLatin1String("SUPERVISOR"), Qt::CaseInsensitive) == 0
        ? createObject(name, objtype::User, kSupervisorId)
        : createObject(name, objtype::User);
    setPassword(id, password);
    setConsoleOperator(id, consoleOperator);
    return id;
}

uint32_t ObjectStore::createGroup(const QString& name)
{
    return createObject(name, objtype::Group);
}

void ObjectStore::addMember(uint32_t groupId, uint32_t memberId)
{
    m_db.run("INSERT OR IGNORE INTO members(group_id, member_id) VALUES(?, ?)",
        { QVariant::fromValue<qint64>(groupId), QVariant::fromValue<qint64>(memberId) });
}

void ObjectStore::addEquivalence(uint32_t objectId, uint32_t equalsId)
{
    m_db.run("INSERT OR IGNORE INTO equivalences(object_id, equals_id) VALUES(?, ?)",
        { QVariant::fromValue<qint64>(objectId), QVariant::fromValue<qint64>(equalsId) });
}

void ObjectStore::setPassword(uint32_t id, const QString& password)
{
    const PasswordHash p = PasswordHash::make(password);
    m_db.run("UPDATE objects SET password_salt = ?, password_hash = ? WHERE id = ?",
        { p.salt, p.hash, QVariant::fromValue<qint64>(id) });
}

void ObjectStore::setConsoleOperator(uint32_t id, bool on)
{
    m_db.run("UPDATE objects SET console_operator = ? WHERE id = ?",
        { on ? 1 : 0, QVariant::fromValue<qint64>(id) });
}

namespace {
std::optional<ServerObject> readObject(Statement& st)
{
    if (!st.step())
        return std::nullopt;
    ServerObject o;
    o.id = static_cast<uint32_t>(st.integer(0));
    o.name = st.text(1);
    o.type = static_cast<uint16_t>(st.integer(2));
    o.consoleOperator = st.integer(3) != 0;
    return o;
}
} // namespace

std::optional<ServerObject> ObjectStore::find(const QString& name, uint16_t type) const
{
    Statement st(m_db,
        "SELECT id, name, type, console_operator FROM objects"
        " WHERE name = ? AND (type = ? OR ? = 65535)");
    st.bindAll({ name, type, type });
    return readObject(st);
}

std::optional<ServerObject> ObjectStore::byId(uint32_t id) const
{
    StatementLease l
        = m_db.cached("SELECT id, name, type, console_operator FROM objects WHERE id = ?");
    l.st.bind(1, QVariant::fromValue<qint64>(id));
    return readObject(l.st);
}

bool ObjectStore::verifyPassword(uint32_t id, const QString& password) const
{
    Statement st(m_db, "SELECT password_salt, password_hash FROM objects WHERE id = ?");
    st.bind(1, QVariant::fromValue<qint64>(id));
    if (!st.step() || st.isNull(1))
        return false;
    return PasswordHash { st.blob(0), st.blob(1) }.matches(password);
}

std::vector<uint32_t> ObjectStore::ids(const char* sql, uint32_t key) const
{
    StatementLease l = m_db.cached(sql);
    l.st.bind(1, QVariant::fromValue<qint64>(key));
    std::vector<uint32_t> out;
    while (l.st.step())
        out.push_back(static_cast<uint32_t>(l.st.integer(0)));
    return out;
}

std::vector<uint32_t> ObjectStore::groupsOf(uint32_t id) const
{
    return ids("SELECT group_id FROM members WHERE member_id = ? ORDER BY group_id", id);
}

std::vector<uint32_t> ObjectStore::membersOf(uint32_t groupId) const
{
    return ids("SELECT member_id FROM members WHERE group_id = ? ORDER BY member_id", groupId);
}

std::vector<uint32_t> ObjectStore::equivalencesOf(uint32_t id) const
{
    return ids("SELECT equals_id FROM equivalences WHERE object_id = ? ORDER BY equals_id", id);
}

bool ObjectStore::isSupervisor(uint32_t id) const
{
    if (id == kSupervisorId)
        return true;
    for (uint32_t e : equivalencesOf(id))
        if (e == kSupervisorId)
            return true;
    return false;
}

bool ObjectStore::isConsoleOperator(uint32_t id) const
{
    if (isSupervisor(id))
        return true;
    const auto o = byId(id);
    return o && o->consoleOperator;
}

} // namespace nwserver
