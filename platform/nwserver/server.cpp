#include "platform/nwserver/server.h"

#include <QDir>
#include <QFileInfo>

namespace nwserver {

using namespace nwproto;

namespace {
const char* const kIdentityKeys[] = { "name", "os_major", "os_minor", "os_revision", "sft_level",
    "tts_level", "max_connections", "max_volumes", "serial_number", "application_number",
    "tree_name", "company", "revision_text" };

std::unique_ptr<Database> openDatabase(const QString& dataDir)
{
    QDir().mkpath(dataDir);
    auto db = std::make_unique<Database>(QDir(dataDir).filePath(QStringLiteral("server.db")));
    db->exec("CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value)");
    return db;
}
} // namespace

Server::Server(const QString& dataDir, std::shared_ptr<Clock> clock)
    : m_dataDir(dataDir)
    , m_clock(clock ? std::move(clock) : std::make_shared<SystemClock>())
    , m_db(openDatabase(dataDir))
    , m_objects(*m_db)
    , m_connections(0)
{
    registerAllOperations(m_dispatcher);
}

Server::~Server() = default;

std::unique_ptr<Server> Server::openOrCreate(
    const QString& dataDir, const ServerIdentity& identity, std::shared_ptr<Clock> clock)
{
    std::unique_ptr<Server> s(new Server(dataDir, std::move(clock)));
    if (!s->meta("name").isValid()) {
        Transaction t(*s->m_db);
        ObjectStore::createSchema(*s->m_db);
        const ServerIdentity& i = identity;
        const QVariant values[]
            = { i.name.toUpper(), i.osMajor, i.osMinor, i.osRevision, i.sftLevel, i.ttsLevel,
                  i.maxConnections, i.maxVolumes, QVariant::fromValue<qint64>(i.serialNumber),
                  i.applicationNumber, i.treeName.toUpper(), i.company, i.revisionText };
        for (size_t k = 0; k < std::size(kIdentityKeys); ++k)
            s->setMeta(kIdentityKeys[k], values[k]);
        s->setMeta("login_enabled", 1);
        s->setMeta("tts_enabled", i.ttsLevel > 0 ? 1 : 0);
        s->setMeta("clock_offset_ms", 0);
        t.commit();
    }
    s->loadState();
    return s;
}

std::unique_ptr<Server> Server::open(const QString& dataDir, std::shared_ptr<Clock> clock)
{
    if (!QFileInfo::exists(QDir(dataDir).filePath(QStringLiteral("server.db"))))
        throw StorageError("no server in " + dataDir.toStdString());
    std::unique_ptr<Server> s(new Server(dataDir, std::move(clock)));
    if (!s->meta("name").isValid())
        throw StorageError("no server in " + dataDir.toStdString());
    s->loadState();
    return s;
}

void Server::loadState()
{
    ObjectStore::createSchema(*m_db);
    m_fileSystem.load();
    ServerIdentity& i = m_identity;
    i.name = meta("name").toString();
    i.osMajor = static_cast<uint8_t>(meta("os_major").toUInt());
    i.osMinor = static_cast<uint8_t>(meta("os_minor").toUInt());
    i.osRevision = static_cast<uint8_t>(meta("os_revision").toUInt());
    i.sftLevel = static_cast<uint8_t>(meta("sft_level").toUInt());
    i.ttsLevel = static_cast<uint8_t>(meta("tts_level").toUInt());
    i.maxConnections = static_cast<uint16_t>(meta("max_connections").toUInt());
    i.maxVolumes = static_cast<uint16_t>(meta("max_volumes").toUInt());
    i.serialNumber = static_cast<uint32_t>(meta("serial_number").toLongLong());
    i.applicationNumber = static_cast<uint16_t>(meta("application_number").toUInt());
    i.treeName = meta("tree_name").toString();
    i.company = meta("company").toString();
    i.revisionText = meta("revision_text").toString();
    m_loginEnabled = meta("login_enabled").toInt() != 0;
    m_ttsEnabled = meta("tts_enabled").toInt() != 0;
    m_clockOffsetMs = meta("clock_offset_ms").toLongLong();
    m_connections = ConnectionTable(i.maxConnections);
}

void Server::setMeta(const char* key, const QVariant& value)
{
    m_db->run("INSERT INTO meta(key, value) VALUES(?, ?)"
              " ON CONFLICT(key) DO UPDATE SET value = excluded.value",
        { QString::fromLatin1(key), value });
}

QVariant Server::meta(const char* key) const
{
    return m_db->scalar("SELECT value FROM meta WHERE key = ?", { QString::fromLatin1(key) });
}

NWCCODE Server::attach(const QByteArray& address, uint32_t& connNumber)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_down)
        return cc::ServerUnreachable;
    const auto n = m_connections.allocate(address, serverTime());
    m_statistics.countAttach(n ? cc::Success : cc::ConnectionLimit);
    if (!n)
        return cc::ConnectionLimit;
    connNumber = *n;
    return cc::Success;
}

NWCCODE Server::request(uint32_t connNumber, FnCode fn, const QByteArray& body, QByteArray& reply,
    ReplyFragment* fragment)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    reply.clear();
    if (fragment)
        fragment->used = 0;
    if (m_down)
        return cc::InvalidConnection;
    Connection* conn = m_connections.find(connNumber);
    if (!conn)
        return cc::InvalidConnection;
    conn->requests += 1;
    conn->bytesWritten += static_cast<uint64_t>(body.size());
    RequestContext ctx { *this, *conn };
    NWCCODE code;
    try {
        code = m_dispatcher.dispatch(ctx, fn, body, reply, fragment);
    } catch (const StorageError&) {
        reply.clear();
        if (fragment)
            fragment->used = 0;
        code = 0x89A1; // I/O error: the store failed underneath the operation
    }
    const qsizetype replied
        = reply.size() + (fragment ? static_cast<qsizetype>(fragment->used) : 0);
    // The handler may have cleared its own connection (logout, detach, clear).
    if (Connection* still = m_connections.find(connNumber))
        still->bytesRead += static_cast<uint64_t>(replied);
    m_statistics.countRequest(fn, body.size(), replied, code);
    return code;
}

ServerInfo Server::info() const
{
    const ServerIdentity& id = m_identity;
    ServerInfo i;
    i.serverName = id.name;
    i.osMajor = id.osMajor;
    i.osMinor = id.osMinor;
    i.osRevision = id.osRevision;
    i.maxConnections = id.maxConnections;
    i.connectionsInUse = m_connections.inUse();
    i.maxConnectionsEverUsed = m_connections.maxEverUsed();
    i.maxVolumes = id.maxVolumes;
    i.sftLevel = id.sftLevel;
    i.ttsLevel = id.ttsLevel;
    i.treeName = id.treeName;
    return i;
}

QDateTime Server::serverTime() const
{
    return m_clock->now().addMSecs(m_clockOffsetMs);
}

qint64 Server::serverMSecs() const
{
    return m_clock->msecsSinceEpoch() + m_clockOffsetMs;
}

void Server::setServerTime(const QDateTime& t)
{
    const qint64 offset = m_clock->now().msecsTo(t);
    Transaction tx(*m_db);
    setMeta("clock_offset_ms", QVariant::fromValue(offset));
    tx.commit();
    m_clockOffsetMs = offset;
}

void Server::setLoginEnabled(bool on)
{
    Transaction tx(*m_db);
    setMeta("login_enabled", on ? 1 : 0);
    tx.commit();
    m_loginEnabled = on;
}

void Server::setTtsEnabled(bool on)
{
    Transaction tx(*m_db);
    setMeta("tts_enabled", on ? 1 : 0);
    tx.commit();
    m_ttsEnabled = on;
}

void Server::down()
{
    m_connections.clear();
    m_down = true;
}

} // namespace nwserver
