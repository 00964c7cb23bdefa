#include "platform/nwserver/simulatedstations.h"

#include "platform/nwproto/functions.h"
#include "platform/nwproto/wire.h"
#include "platform/nwserver/server.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace nwserver {

using namespace nwproto;

namespace {
const char* const kMetaKey = "simulated_stations";
// Open modes of the file-data requests.
constexpr uint16_t kOpenRead = 0x0001;
constexpr uint16_t kOpenWrite = 0x0002;
constexpr uint16_t kOpenCreate = 0x0004;
constexpr uint32_t kChunk = 4096;
// The network segment of the demo servers' first board and the stations' NCP socket.
constexpr uint32_t kNetwork = 0x1A2B3C4D;
constexpr uint16_t kSocket = 0x4003;

uint32_t fnv1a(const QString& text)
{
    uint32_t h = 2166136261u;
    for (const char c : text.toUtf8()) {
        h ^= static_cast<uint8_t>(c);
        h *= 16777619u;
    }
    return h;
}

QByteArray stationAddress(const QString& server, size_t index)
{
    const uint32_t h = fnv1a(server + QString::number(index));
    QByteArray a;
    for (int shift = 24; shift >= 0; shift -= 8)
        a.append(static_cast<char>((kNetwork >> shift) & 0xFF));
    a.append('\x00').append('\x60').append('\x8C');
    a.append(static_cast<char>(h >> 16)).append(static_cast<char>(h >> 8));
    a.append(static_cast<char>(index + 1));
    a.append(static_cast<char>(kSocket >> 8)).append(static_cast<char>(kSocket & 0xFF));
    return a;
}

QByteArray pattern(const QString& user, uint64_t offset, uint32_t size)
{
    QByteArray data;
    data.reserve(static_cast<qsizetype>(size));
    const QByteArray line
        = QStringLiteral("%1 was here at %2\r\n").arg(user).arg(offset).toLatin1();
    while (data.size() < static_cast<qsizetype>(size))
        data.append(line);
    data.truncate(static_cast<qsizetype>(size));
    return data;
}
} // namespace

SimulatedStations::SimulatedStations(Server& server)
    : m_server(server)
{
}

SimulatedStations::~SimulatedStations() = default;

void SimulatedStations::configure(const std::vector<Plan>& plans)
{
    QJsonArray list;
    for (const Plan& p : plans)
        list.append(QJsonObject { { "user", p.user },
            { "read", QJsonArray::fromStringList(p.readFiles) }, { "work", p.workFile } });
    const QString text = QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    Database& db = m_server.db();
    Transaction t(db);
    if (plans.empty())
        db.run("DELETE FROM meta WHERE key = ?", { QString::fromLatin1(kMetaKey) });
    else
        db.run("INSERT INTO meta(key, value) VALUES(?, ?)"
               " ON CONFLICT(key) DO UPDATE SET value = excluded.value",
            { QString::fromLatin1(kMetaKey), text });
    t.commit();
    m_reload = true;
}

void SimulatedStations::load()
{
    if (m_stations)
        for (Station& st : *m_stations)
            leave(st);
    QVariant stored;
    QString name;
    {
        auto guard = m_server.lock();
        stored = m_server.db().scalar(
            "SELECT value FROM meta WHERE key = ?", { QString::fromLatin1(kMetaKey) });
        name = m_server.identity().name;
    }
    std::vector<Station> stations;
    const QJsonArray list = QJsonDocument::fromJson(stored.toString().toUtf8()).array();
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        Station st;
        st.plan.user = o.value("user").toString();
        for (const QJsonValue& f : o.value("read").toArray())
            st.plan.readFiles << f.toString();
        st.plan.workFile = o.value("work").toString();
        if (!st.plan.user.isEmpty())
            stations.push_back(st);
    }
    m_random.seed(fnv1a(name));
    for (Station& st : stations)
        st.wait = 1 + static_cast<int>(next(5));
    m_stations = std::move(stations);
    m_lastStepMs = -1;
}

void SimulatedStations::tick()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_reload.exchange(false))
        load();
    if (!m_running || m_stations->empty())
        return;
    const int64_t now = m_server.clock().now().toMSecsSinceEpoch();
    if (m_lastStepMs < 0 || now < m_lastStepMs) {
        m_lastStepMs = now;
        return;
    }
    int64_t due = (now - m_lastStepMs) / kStepMs;
    if (due > kMaxCatchUp) {
        m_lastStepMs += (due - kMaxCatchUp) * kStepMs;
        due = kMaxCatchUp;
    }
    for (int64_t i = 0; i < due; ++i) {
        m_lastStepMs += kStepMs;
        for (size_t k = 0; k < m_stations->size(); ++k) {
            Station& st = (*m_stations)[k];
            if (st.conn == 0) {
                if (--st.wait <= 0)
                    arrive(st, k);
            } else {
                step(st);
            }
        }
    }
}

void SimulatedStations::start()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_running = true;
    m_lastStepMs = -1;
}

void SimulatedStations::stop()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_running = false;
    if (m_stations)
        for (Station& st : *m_stations)
            leave(st);
}

bool SimulatedStations::running()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_running;
}

std::vector<uint32_t> SimulatedStations::connections()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<uint32_t> out;
    if (m_stations)
        for (const Station& st : *m_stations)
            if (st.conn != 0)
                out.push_back(st.conn);
    return out;
}

void SimulatedStations::arrive(Station& st, size_t index)
{
    st.wait = 10 + static_cast<int>(next(40)); // if anything below fails, try again later
    uint32_t conn = 0;
    st.address = stationAddress(m_server.identity().name, index);
    if (m_server.attach(st.address, conn) != cc::Success)
        return;
    st.conn = conn;
    bool loggedIn = false;
    {
        auto guard = m_server.lock();
        Connection* c = m_server.connections().find(conn);
        const auto user = m_server.objects().find(st.plan.user, objtype::User);
        if (c && user && m_server.loginEnabled()) {
            c->objectId = user->id;
            c->objectName = user->name;
            c->objectType = user->type;
            c->loginTime = m_server.serverTime();
            loggedIn = true;
        }
    }
    if (!loggedIn) {
        leave(st);
        return;
    }
    st.sessionLeft = 20 + static_cast<int>(next(60));
}

void SimulatedStations::leave(Station& st)
{
    if (st.conn == 0)
        return;
    closeFile(st);
    if (st.conn != 0)
        send(st, fn::Logout, {});
    if (st.conn != 0)
        send(st, fn::Detach, {});
    st.conn = 0;
    st.wait = 10 + static_cast<int>(next(40));
}

void SimulatedStations::step(Station& st)
{
    if (--st.sessionLeft <= 0) {
        leave(st);
        return;
    }
    if (st.file != 0)
        work(st);
    else if (next(3) != 0)
        openSomething(st);
}

void SimulatedStations::openSomething(Station& st)
{
    const Plan& p = st.plan;
    const bool write = !p.workFile.isEmpty() && (p.readFiles.isEmpty() || next(3) == 0);
    if (!write && p.readFiles.isEmpty())
        return;
    const QString path
        = write ? p.workFile : p.readFiles[static_cast<qsizetype>(next(p.readFiles.size()))];
    WireWriter w;
    w.u8(0).str(path).u16(write ? kOpenRead | kOpenWrite | kOpenCreate : kOpenRead);
    QByteArray reply;
    if (!send(st, fn::OpenFile, w.data(), &reply))
        return;
    WireReader r(reply);
    st.file = r.u32();
    WireWriter sz;
    sz.u32(st.file);
    if (!send(st, fn::GetFileSize, sz.data(), &reply)) {
        closeFile(st);
        return;
    }
    WireReader rs(reply);
    st.size = rs.u64();
    st.writing = write;
    st.offset = 0;
    st.opsLeft = 3 + static_cast<int>(next(8));
}

void SimulatedStations::work(Station& st)
{
    if (st.opsLeft-- <= 0) {
        closeFile(st);
        return;
    }
    if (next(4) == 0)
        return; // the user is reading what came, not asking for more
    WireWriter w;
    if (st.writing) {
        const uint32_t size = 512 + next(kChunk - 512);
        if (st.offset + size > static_cast<uint64_t>(kWorkFileBytes))
            st.offset = 0;
        w.u32(st.file).u64(st.offset).bytes(pattern(st.plan.user, st.offset, size));
        if (send(st, fn::WriteFile, w.data()))
            st.offset += size;
        return;
    }
    if (st.offset >= st.size)
        st.offset = 0;
    w.u32(st.file).u64(st.offset).u32(kChunk);
    if (send(st, fn::ReadFile, w.data()))
        st.offset += kChunk;
}

void SimulatedStations::closeFile(Station& st)
{
    if (st.file == 0)
        return;
    WireWriter w;
    w.u32(st.file);
    st.file = 0;
    send(st, fn::CloseFile, w.data());
}

bool SimulatedStations::send(Station& st, uint16_t fn, const QByteArray& body, QByteArray* reply)
{
    bool ours = false;
    {
        auto guard = m_server.lock();
        const Connection* c = m_server.connections().find(st.conn);
        ours = c && c->address == st.address;
    }
    QByteArray r;
    const NWCCODE code = ours ? m_server.request(st.conn, fn, body, r) : cc::InvalidConnection;
    if (code == cc::InvalidConnection) {
        // Cleared by an operator or the server went down: the station is gone and returns later.
        st.conn = 0;
        st.file = 0;
        return false;
    }
    if (reply)
        *reply = std::move(r);
    return code == cc::Success;
}

} // namespace nwserver
