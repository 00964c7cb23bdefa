#include "platform/nwserver/directorydemo.h"

#include "platform/nwserver/bindery.h"
#include "platform/nwserver/directorytree.h"
#include "platform/nwserver/server.h"

namespace nwserver::demo {

namespace {

struct Placement {
    const char* user;
    const char* container; // "" = the organization itself
    const char* fullName;
};

const Placement kPeople[] = {
    { "ADMIN", "", "Administrator" },
    { "GUEST", "", "Guest" },
    { "JOHN", "SALES", "John Carter" },
    { "MARY", "SALES", "Mary Lindqvist" },
    { "PETER", "IT", "Peter Novak" },
    { "ANNA", "", "Anna Berg" },
};

uint32_t idOf(ObjectStore& o, const QString& name, uint16_t type)
{
    const auto found = o.find(name, type);
    return found ? found->id : 0;
}

void addBindery(Server& s)
{
    ObjectStore& o = s.objects();
    Bindery b(s.db(), o);
    const QString server = s.identity().name;
    const uint32_t self = o.createObject(server, objtype::FileServer);
    b.setItemProperty(self, QStringLiteral("NET_ADDRESS"),
        QByteArray::fromHex(s.identity().isNetWare4() ? "0a1b2c3d000000000001"
                                                        "0451"
                                                      : "00f0ba12000000000001"
                                                        "0451"));
    const QString suffix = s.identity().isNetWare4() ? QStringLiteral("SALES") : server;
    const uint32_t queue = o.createObject(QStringLiteral("Q_") + suffix, objtype::PrintQueue);
    const uint32_t printServer
        = o.createObject(QStringLiteral("PS_") + suffix, objtype::PrintServer);
    b.setTextProperty(queue, QStringLiteral("Q_DIRECTORY"),
        QStringLiteral("SYS:SYSTEM\\%1").arg(queue, 8, 16, QLatin1Char('0')).toUpper());
    b.setSetProperty(queue, QStringLiteral("Q_SERVERS"), { printServer });
    b.setSetProperty(queue, QStringLiteral("Q_OPERATORS"), { kSupervisorId });
    for (const Placement& p : kPeople)
        if (const uint32_t id = idOf(o, QLatin1String(p.user), objtype::User))
            b.setTextProperty(id, QStringLiteral("IDENTIFICATION"), QLatin1String(p.fullName));
}

void addTree(Server& s)
{
    ObjectStore& o = s.objects();
    DirectoryTree t(s.db(), o);
    const auto now = static_cast<uint32_t>(s.serverTime().toSecsSinceEpoch());
    const QString server = s.identity().name;
    const uint32_t root = t.createRoot(now);
    const uint32_t acme
        = t.addEntry(root, QStringLiteral("ACME"), QStringLiteral("Organization"), now);
    const uint32_t sales
        = t.addEntry(acme, QStringLiteral("SALES"), QStringLiteral("Organizational Unit"), now);
    const uint32_t it
        = t.addEntry(acme, QStringLiteral("IT"), QStringLiteral("Organizational Unit"), now);
    t.addText(acme, QStringLiteral("Description"), QStringLiteral("Acme Corporation"));

    for (const Placement& p : kPeople) {
        const uint32_t id = idOf(o, QLatin1String(p.user), objtype::User);
        if (id == 0)
            continue;
        const QLatin1String where(p.container);
        const uint32_t parent = where == QLatin1String("SALES") ? sales
            : where == QLatin1String("IT")                      ? it
                                                                : acme;
        t.addObjectEntry(parent, id, QStringLiteral("User"), now);
        t.addText(id, QStringLiteral("Full Name"), QLatin1String(p.fullName));
    }
    for (const char* group : { "EVERYONE", "STAFF" })
        if (const uint32_t id = idOf(o, QLatin1String(group), objtype::Group))
            t.addObjectEntry(acme, id, QStringLiteral("Group"), now);

    const uint32_t fs = idOf(o, server, objtype::FileServer);
    t.addObjectEntry(acme, fs, QStringLiteral("NCP Server"), now);
    for (const char* volume : { "SYS", "VOL1" }) {
        const uint32_t v = t.addEntry(
            acme, server + QLatin1Char('_') + QLatin1String(volume), QStringLiteral("Volume"), now);
        t.addReference(v, QStringLiteral("Host Server"), fs);
        t.addText(v, QStringLiteral("Host Resource Name"), QLatin1String(volume));
    }

    const uint32_t helpdesk
        = t.addEntry(acme, QStringLiteral("HELPDESK"), QStringLiteral("Organizational Role"), now);
    t.addReference(
        helpdesk, QStringLiteral("Occupant"), idOf(o, QStringLiteral("ADMIN"), objtype::User));

    const uint32_t queue = idOf(o, QStringLiteral("Q_SALES"), objtype::PrintQueue);
    t.addObjectEntry(sales, queue, QStringLiteral("Queue"), now);
    t.addReference(queue, QStringLiteral("Host Server"), fs);
    const uint32_t laser
        = t.addEntry(sales, QStringLiteral("LASER_SALES"), QStringLiteral("Printer"), now);
    t.addReference(laser, QStringLiteral("Queue"), queue);
    t.addObjectEntry(it, idOf(o, QStringLiteral("PS_SALES"), objtype::PrintServer),
        QStringLiteral("Print Server"), now);
    t.addEntry(it, QStringLiteral("PLOTTER_IT"), QStringLiteral("Printer"), now);

    const uint32_t alias
        = t.addEntry(acme, QStringLiteral("SALES_ADMIN"), QStringLiteral("Alias"), now);
    t.addReference(alias, QStringLiteral("Aliased Object Name"),
        idOf(o, QStringLiteral("JOHN"), objtype::User));
}

} // namespace

void populateDirectory(Server& s)
{
    addBindery(s);
    if (!s.identity().treeName.isEmpty())
        addTree(s);
}

} // namespace nwserver::demo
