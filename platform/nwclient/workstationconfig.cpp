#include "platform/nwclient/workstationconfig.h"

#include "platform/nwserver/demoworld.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace nwclient {

WorkstationConfig WorkstationConfig::demo(const QString& root)
{
    nwserver::demo::ensure(root);
    WorkstationConfig c;
    for (const QString& name : { QStringLiteral("FS1"), QStringLiteral("FS2") })
        c.servers.push_back({ name, QDir(root).filePath(name), QStringLiteral("ADMIN"),
            QStringLiteral("admin"), true });
    return c;
}

bool WorkstationConfig::load(const QString& file, WorkstationConfig& config)
{
    if (!QFileInfo(file).isFile())
        return false;
    QSettings ini(file, QSettings::IniFormat);
    WorkstationConfig c;
    for (const QString& group : ini.childGroups()) {
        ini.beginGroup(group);
        ServerEntry e;
        e.name = group.toUpper();
        e.dataDir = ini.value("path").toString();
        e.user = ini.value("user").toString();
        e.password = ini.value("password").toString();
        e.login = !e.user.isEmpty();
        ini.endGroup();
        if (!e.dataDir.isEmpty())
            c.servers.push_back(e);
    }
    if (c.servers.empty())
        return false;
    config = c;
    return true;
}

QString WorkstationConfig::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/orvo/workstation.conf");
}

WorkstationConfig WorkstationConfig::startup()
{
    WorkstationConfig c;
    if (load(defaultFile(), c))
        return c;
    const QString root = qEnvironmentVariable("ORVO_SERVERS", nwserver::demo::defaultRoot());
    return demo(root);
}

} // namespace nwclient
