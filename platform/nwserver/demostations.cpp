#include "platform/nwserver/demostations.h"

#include "platform/nwserver/server.h"

namespace nwserver::demo {

void populateStations(Server& s)
{
    const bool nw4 = s.identity().isNetWare4();
    const QString homes = nw4 ? QStringLiteral("VOL1:USERS\\") : QStringLiteral("SYS:HOME\\");
    const QStringList users
        = nw4 ? QStringList { "JOHN", "MARY", "PETER" } : QStringList { "JOHN", "ANNA" };
    std::vector<SimulatedStations::Plan> plans;
    for (const QString& user : users) {
        SimulatedStations::Plan p;
        p.user = user;
        p.readFiles << QStringLiteral("SYS:PUBLIC\\NDIR.EXE")
                    << QStringLiteral("SYS:PUBLIC\\SYS$MSG.DAT")
                    << homes + user + QStringLiteral("\\REPORT.DOC");
        if (nw4)
            p.readFiles << QStringLiteral("VOL1:SHARED\\Phone list.txt");
        p.workFile = homes + user + QStringLiteral("\\WORK.DAT");
        plans.push_back(p);
    }
    s.stations().configure(plans);
}

} // namespace nwserver::demo
