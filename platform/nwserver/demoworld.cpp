#include "platform/nwserver/demoworld.h"

#include "platform/nwserver/demofiles.h"
#include "platform/nwserver/demostations.h"
#include "platform/nwserver/directorydemo.h"
#include "platform/nwserver/server.h"

#include <QDir>
#include <QStandardPaths>

namespace nwserver::demo {

ServerIdentity fs1Identity()
{
    ServerIdentity i;
    i.name = QStringLiteral("FS1");
    i.osMajor = 4;
    i.osMinor = 11;
    i.osRevision = 0;
    i.sftLevel = 2;
    i.ttsLevel = 1;
    i.maxConnections = 250;
    i.serialNumber = 0x0A1B2C3D;
    i.applicationNumber = 0x0001;
    i.treeName = QStringLiteral("ACME_TREE");
    i.revisionText = QStringLiteral("NetWare 4.11");
    return i;
}

ServerIdentity fs2Identity()
{
    ServerIdentity i;
    i.name = QStringLiteral("FS2");
    i.osMajor = 3;
    i.osMinor = 12;
    i.osRevision = 0;
    i.sftLevel = 2;
    i.ttsLevel = 1;
    i.maxConnections = 100;
    i.serialNumber = 0x00F0BA12;
    i.applicationNumber = 0x0002;
    i.revisionText = QStringLiteral("NetWare 3.12");
    return i;
}

namespace {

void addUsers(Server& s)
{
    ObjectStore& o = s.objects();
    const uint32_t supervisor
        = o.createUser(QStringLiteral("SUPERVISOR"), QStringLiteral("supervisor"), true);
    const uint32_t admin = o.createUser(QStringLiteral("ADMIN"), QStringLiteral("admin"), true);
    o.addEquivalence(admin, supervisor);
    const uint32_t everyone = o.createGroup(QStringLiteral("EVERYONE"));
    const uint32_t staff = o.createGroup(QStringLiteral("STAFF"));
    const bool nw4 = s.identity().isNetWare4();
    const QStringList people
        = nw4 ? QStringList { "JOHN", "MARY", "PETER" } : QStringList { "JOHN", "ANNA" };
    for (const QString& name : people) {
        const uint32_t id = o.createUser(name, name.toLower());
        o.addMember(everyone, id);
        o.addMember(staff, id);
    }
    const uint32_t guest = o.createUser(QStringLiteral("GUEST"), QString());
    o.addMember(everyone, guest);
    o.addMember(everyone, admin);
    o.addMember(everyone, supervisor);
}

} // namespace

void populate(Server& s)
{
    auto guard = s.lock();
    if (s.objects().find(QStringLiteral("ADMIN"), objtype::User))
        return;
    Transaction t(s.db());
    addUsers(s);
    populateDirectory(s);
    t.commit();
    populateFiles(s);
    populateStations(s);
}

QString defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/orvo/servers");
}

void ensure(const QString& root)
{
    for (const ServerIdentity& id : { fs1Identity(), fs2Identity() }) {
        auto server = Server::openOrCreate(QDir(root).filePath(id.name), id);
        populate(*server);
        // Worlds made before the servers had volumes get them now.
        auto guard = server->lock();
        populateFiles(*server);
    }
}

} // namespace nwserver::demo
