#include "platform/nwclient/client.h"

#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/transport.h"
#include "platform/nwproto/serverinfo.h"
#include "platform/nwproto/wire.h"
#include "platform/nwserver/database.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace nwclient {

using namespace nwproto;

namespace {

struct Attachment {
    ConnRef ref = 0;
    ServerEntry entry;
    std::shared_ptr<Transport> transport;
    uint32_t connNumber = 0;
    bool nds = false;
    QString treeName;
    QString userName;
};

struct Drive {
    ConnRef ref = 0;
    QString path;
};

// The workstation's state. One lock guards the tables; it is never held across a request, so a
// slow server does not stall other threads' bookkeeping.
struct Workstation {
    std::mutex mutex;
    bool initialised = false;
    std::vector<std::shared_ptr<Attachment>> attachments; // in attach order
    std::map<ConnHandle, ConnRef> handles;
    Drive drives[27];
    ConnRef nextRef = 1;
    ConnHandle nextHandle = 0x1001;
};

Workstation& ws()
{
    static Workstation w;
    return w;
}

std::shared_ptr<Attachment> byRef(ConnRef ref)
{
    for (const auto& a : ws().attachments)
        if (a->ref == ref)
            return a;
    return nullptr;
}

std::shared_ptr<Attachment> byHandle(ConnHandle handle)
{
    const auto it = ws().handles.find(handle);
    return it == ws().handles.end() ? nullptr : byRef(it->second);
}

std::shared_ptr<Attachment> byName(const QString& server)
{
    for (const auto& a : ws().attachments)
        if (a->entry.name.compare(server, Qt::CaseInsensitive) == 0)
            return a;
    return nullptr;
}

void copyName(char* field, size_t size, const QString& text)
{
    const QByteArray b = text.toLatin1();
    std::memset(field, 0, size);
    std::memcpy(field, b.constData(), std::min(size - 1, static_cast<size_t>(b.size())));
}

NWCCODE send(Attachment& a, FnCode fn, const QByteArray& body, QByteArray& reply,
    ReplyFragment* fragment = nullptr)
{
    return a.transport->request(a.connNumber, fn, body, reply, fragment);
}

NWCCODE doLogin(Attachment& a, const QString& user, const QString& password)
{
    WireWriter w;
    w.str(user).str(password);
    QByteArray reply;
    const NWCCODE code = send(a, fn::Login, w.data(), reply);
    if (code == cc::Success)
        a.userName = user.toUpper();
    return code;
}

// Attaches a configured server (not yet in the table) and logs in when the entry says so.
NWCCODE attachEntry(const ServerEntry& entry, std::shared_ptr<Attachment>& out)
{
    auto a = std::make_shared<Attachment>();
    a->entry = entry;
    try {
        a->transport = std::make_shared<EmbeddedTransport>(embedded::serverFor(entry.dataDir));
    } catch (const nwserver::StorageError&) {
        return cc::NoSuchServer;
    }
    NWCCODE code = a->transport->attach(a->connNumber);
    if (code != cc::Success)
        return code;
    QByteArray reply;
    code = send(*a, fn::GetServerInfo, {}, reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    const ServerInfo info = ServerInfo::read(r);
    a->treeName = info.treeName;
    a->nds = !info.treeName.isEmpty();
    a->entry.name = info.serverName;
    if (entry.login && !entry.user.isEmpty())
        doLogin(*a, entry.user, entry.password);
    out = a;
    return cc::Success;
}

} // namespace

NWCCODE initialise()
{
    return isInitialised() ? cc::Success : initialise(WorkstationConfig::startup());
}

NWCCODE initialise(const WorkstationConfig& config)
{
    {
        std::lock_guard<std::mutex> guard(ws().mutex);
        if (ws().initialised)
            return cc::Success;
        ws().initialised = true;
    }
    for (const ServerEntry& e : config.servers) {
        std::shared_ptr<Attachment> a;
        if (attachEntry(e, a) != cc::Success) {
            // A configured server that cannot be reached is still known to the login dialog.
            a = std::make_shared<Attachment>();
            a->entry = e;
        }
        std::lock_guard<std::mutex> guard(ws().mutex);
        a->ref = ws().nextRef++;
        ws().attachments.push_back(a);
    }
    return cc::Success;
}

void terminate()
{
    std::vector<std::shared_ptr<Attachment>> gone;
    {
        std::lock_guard<std::mutex> guard(ws().mutex);
        gone.swap(ws().attachments);
        ws().handles.clear();
        for (Drive& d : ws().drives)
            d = Drive {};
        ws().initialised = false;
    }
    for (const auto& a : gone) {
        if (!a->transport)
            continue;
        QByteArray reply;
        send(*a, fn::Detach, {}, reply);
    }
    gone.clear();
    embedded::releaseAll();
}

bool isInitialised()
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    return ws().initialised;
}

NWCCODE scanConnRefs(uint32_t& iterator, ConnRef& ref)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    // Only references with a live transport count as attached.
    while (iterator < ws().attachments.size()) {
        const auto& a = ws().attachments[iterator++];
        if (a->transport) {
            ref = a->ref;
            return cc::Success;
        }
    }
    return cc::NoMoreEntries;
}

NWCCODE getConnInfo(ConnRef ref, TNWConnInfo& info)
{
    std::shared_ptr<Attachment> a;
    {
        std::lock_guard<std::mutex> guard(ws().mutex);
        a = byRef(ref);
    }
    if (!a || !a->transport)
        return cc::InvalidConnection;
    std::memset(&info, 0, sizeof info);
    const Transport::State state = a->transport->state(a->connNumber);
    info.authenticationState = state == Transport::State::Authenticated ? 1 : 0;
    info.connRef = ref;
    info.dsFlag = a->nds ? 1 : 0;
    info.connNumber = state == Transport::State::Gone ? 0 : a->connNumber;
    copyName(info.treeName, sizeof info.treeName, a->treeName);
    copyName(info.serverName, sizeof info.serverName, a->entry.name);
    copyName(
        info.userName, sizeof info.userName, info.authenticationState ? a->userName : QString());
    return cc::Success;
}

NWCCODE openConnByReference(ConnRef ref, ConnHandle& handle)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    const auto a = byRef(ref);
    if (!a || !a->transport)
        return cc::InvalidConnection;
    handle = ws().nextHandle++;
    ws().handles.emplace(handle, ref);
    return cc::Success;
}

NWCCODE closeConn(ConnHandle handle)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    return ws().handles.erase(handle) ? cc::Success : cc::InvalidConnection;
}

NWCCODE getConnRef(ConnHandle handle, ConnRef& ref)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    const auto it = ws().handles.find(handle);
    if (it == ws().handles.end())
        return cc::InvalidConnection;
    ref = it->second;
    return cc::Success;
}

NWCCODE getDirectoryServicesFlag(ConnHandle handle, uint32_t& flag)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    const auto a = byHandle(handle);
    if (!a)
        return cc::InvalidConnection;
    flag = a->nds ? 1 : 0;
    return cc::Success;
}

NWCCODE getDirectoryServicesFlagByRef(ConnRef ref, uint32_t& flag)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    const auto a = byRef(ref);
    if (!a || !a->transport)
        return cc::InvalidConnection;
    flag = a->nds ? 1 : 0;
    return cc::Success;
}

NWCCODE getTreeName(ConnHandle handle, QString& tree)
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    const auto a = byHandle(handle);
    if (!a)
        return cc::InvalidConnection;
    tree = a->treeName.left(32);
    return cc::Success;
}

QStringList knownServers()
{
    std::lock_guard<std::mutex> guard(ws().mutex);
    QStringList names;
    for (const auto& a : ws().attachments)
        names << a->entry.name;
    return names;
}

NWCCODE loginToServer(
    const QString& server, const QString& user, const QString& password, ConnRef* ref)
{
    std::shared_ptr<Attachment> a;
    {
        std::lock_guard<std::mutex> guard(ws().mutex);
        a = byName(server);
    }
    if (!a)
        return cc::NoSuchServer;
    if (!a->transport || a->transport->state(a->connNumber) == Transport::State::Gone) {
        // Attach anew: the old connection (if any) is gone, so is its reference.
        ServerEntry e = a->entry;
        e.login = false;
        std::shared_ptr<Attachment> fresh;
        const NWCCODE code = attachEntry(e, fresh);
        if (code != cc::Success)
            return code;
        std::lock_guard<std::mutex> guard(ws().mutex);
        fresh->ref = ws().nextRef++;
        std::replace(ws().attachments.begin(), ws().attachments.end(), a, fresh);
        a = fresh;
    }
    const NWCCODE code = doLogin(*a, user, password);
    if (code == cc::Success && ref)
        *ref = a->ref;
    return code;
}

NWCCODE logoutFromServer(ConnRef ref)
{
    std::shared_ptr<Attachment> a;
    {
        std::lock_guard<std::mutex> guard(ws().mutex);
        a = byRef(ref);
    }
    if (!a || !a->transport)
        return cc::InvalidConnection;
    QByteArray reply;
    return send(*a, fn::Logout, {}, reply);
}

NWCCODE getDriveInformation(uint16_t drive, ConnRef& ref, QString& path)
{
    if (drive < 1 || drive > 26)
        return cc::InvalidDriveNumber;
    std::lock_guard<std::mutex> guard(ws().mutex);
    const Drive& d = ws().drives[drive];
    if (d.ref == 0)
        return cc::DriveNotInUse;
    ref = d.ref;
    path = d.path;
    return cc::Success;
}

NWCCODE setDriveBase(
    uint16_t drive, ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t scope)
{
    Q_UNUSED(scope);
    if (drive < 1 || drive > 26)
        return cc::InvalidDriveNumber;
    std::lock_guard<std::mutex> guard(ws().mutex);
    const auto a = byHandle(handle);
    if (!a)
        return cc::InvalidConnection;
    // Only a path from a volume root can be mapped until directory handles exist.
    if (dirHandle != 0 || !path.contains(QLatin1Char(':')))
        return 0x899C;
    ws().drives[drive] = Drive { a->ref, path.toUpper() };
    return cc::Success;
}

NWCCODE deleteDriveBase(uint16_t drive)
{
    if (drive < 1 || drive > 26)
        return cc::InvalidDriveNumber;
    std::lock_guard<std::mutex> guard(ws().mutex);
    if (ws().drives[drive].ref == 0)
        return cc::DriveNotInUse;
    ws().drives[drive] = Drive {};
    return cc::Success;
}

NWCCODE request(ConnHandle handle, FnCode fn, const QByteArray& body, QByteArray& reply,
    ReplyFragment* fragment)
{
    std::shared_ptr<Attachment> a;
    {
        std::lock_guard<std::mutex> guard(ws().mutex);
        a = byHandle(handle);
    }
    if (!a)
        return cc::InvalidConnection;
    return send(*a, fn, body, reply, fragment);
}

} // namespace nwclient
