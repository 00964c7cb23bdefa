#pragma once

#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/functions.h"
#include "platform/nwproto/serverinfo.h"
#include "platform/nwserver/clock.h"
#include "platform/nwserver/connectiontable.h"
#include "platform/nwserver/database.h"
#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/filesystem.h"
#include "platform/nwserver/identity.h"
#include "platform/nwserver/objectstore.h"
#include "platform/nwserver/simulatedstations.h"
#include "platform/nwserver/statistics.h"

#include <QString>
#include <memory>
#include <mutex>

namespace nwserver {

// An emulated NetWare server living in one data directory (metadata in server.db, file contents
// under volumes/). Every request from every thread is serialised by one lock, so handlers see
// a consistent server and never need locks of their own.
class Server {
public:
    // Opens the server in dataDir, creating it with the given identity when the directory has
    // none yet. An existing server keeps its stored identity.
    static std::unique_ptr<Server> openOrCreate(
        const QString& dataDir, const ServerIdentity& identity, std::shared_ptr<Clock> clock = {});
    // Opens an existing server; throws StorageError when dataDir holds none.
    static std::unique_ptr<Server> open(const QString& dataDir, std::shared_ptr<Clock> clock = {});
    ~Server();

    // A station attaches: a connection slot is taken (not logged in yet).
    nwproto::NWCCODE attach(const QByteArray& address, uint32_t& connNumber);
    // One request of a station. Counts the request and its bytes on the connection. With a
    // fragment, file data of the reply goes straight into it (see wire.h).
    nwproto::NWCCODE request(uint32_t connNumber, nwproto::FnCode fn, const QByteArray& body,
        QByteArray& reply, nwproto::ReplyFragment* fragment = nullptr);

    // Server-side access for operations, the demo world and tests. Callers outside a handler
    // take lock() first.
    std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(m_mutex); }
    Database& db() { return *m_db; }
    ObjectStore& objects() { return m_objects; }
    ConnectionTable& connections() { return m_connections; }
    FileSystem& fileSystem() { return m_fileSystem; }
    const ServerIdentity& identity() const { return m_identity; }
    const QString& dataDir() const { return m_dataDir; }
    Clock& clock() { return *m_clock; }
    Statistics& statistics() { return m_statistics; }
    SimulatedStations& stations() { return m_stations; }

    // What the server says about itself in the file server information reply. Caller holds
    // the lock.
    nwproto::ServerInfo info() const;

    // The server's own date and time: the clock plus whatever offset an operator set.
    QDateTime serverTime() const;
    // The same instant as a number, without a time-zone conversion (for stamps on entries).
    qint64 serverMSecs() const;
    void setServerTime(const QDateTime& t);

    bool loginEnabled() const { return m_loginEnabled; }
    void setLoginEnabled(bool on);
    bool ttsEnabled() const { return m_ttsEnabled; }
    void setTtsEnabled(bool on);

    // Down: every connection is cleared and the server answers nothing any more.
    void down();
    bool isDown() const { return m_down; }

private:
    Server(const QString& dataDir, std::shared_ptr<Clock> clock);
    void loadState();
    void setMeta(const char* key, const QVariant& value);
    QVariant meta(const char* key) const;

    QString m_dataDir;
    std::shared_ptr<Clock> m_clock;
    std::unique_ptr<Database> m_db;
    ObjectStore m_objects;
    ServerIdentity m_identity;
    ConnectionTable m_connections;
    Dispatcher m_dispatcher;
    std::mutex m_mutex;
    qint64 m_clockOffsetMs = 0;
    bool m_loginEnabled = true;
    bool m_ttsEnabled = true;
    bool m_down = false;
    FileSystem m_fileSystem { *this };
    Statistics m_statistics { *m_clock };
    SimulatedStations m_stations { *this };
};

} // namespace nwserver
