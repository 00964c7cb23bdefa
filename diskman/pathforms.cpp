#include "diskman/pathforms.h"

#include "diskman/namespaces.h"
#include "netware/connqueries.h"
#include "netware/nwexception.h"
#include "platform/nwclient/pathops.h"
#include "platform/nwclient/serverops.h"

using namespace nwclient;
using namespace nwproto;

namespace {

const QString kUncStart = QStringLiteral("\\\\");

QString nameOf(const NWNSEntryInfo& info)
{
    const int n = std::min<int>(info.nameLength, int(sizeof info.entryName));
    return QString::fromLatin1(info.entryName, n);
}

} // namespace

QString JoinPath(const QString& directory, const QString& name)
{
    if (directory.isEmpty())
        return name;
    if (directory.endsWith(u'/') || directory.endsWith(u':') || directory.endsWith(u'\\'))
        return directory + (name.startsWith(u'\\') ? name.mid(1) : name);
    if (!name.isEmpty() && !name.startsWith(u'\\'))
        return directory + u'\\' + name;
    return directory + name;
}

QString VolumePrefix(const QString& path)
{
    const qsizetype colon = path.indexOf(u':');
    return colon < 0 ? QString() : path.left(colon + 1);
}

QString ToUNC(ConnHandle conn, const QString& path)
{
    if (conn == 0 || path.startsWith(kUncStart))
        return path;
    ServerInfo server;
    if (getFileServerInformation(conn, server) != cc::Success)
        return path;
    // Only a "/" before the volume's ":" ends a server name; one after it is a separator.
    const qsizetype slash = path.indexOf(u'/');
    const qsizetype colon = path.indexOf(u':');
    QString p = slash >= 0 && (colon < 0 || slash < colon) ? path.mid(slash + 1) : path;
    for (qsizetype i = p.indexOf(u':'); i >= 0; i = p.indexOf(u':', i)) {
        if (i + 1 == p.size() || p[i + 1] == u'\\')
            p.remove(i, 1);
        else
            p[i] = u'\\';
    }
    return kUncStart + server.serverName + u'\\' + p;
}

QString ToUNCByRef(ConnRef ref, const QString& path)
{
    if (path.startsWith(kUncStart))
        return path;
    if (path.indexOf(u'/') > 0) {
        QString server, volume, directory;
        ConnHandle parsed = 0;
        if (parsePath(path, server, parsed, volume, directory) != cc::Success)
            return path;
        closeConn(parsed);
        return kUncStart + server + u'\\' + JoinPath(volume, directory);
    }
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return path;
    return ToUNC(conn.handle(), path);
}

QString FromUNC(const QString& uncPath)
{
    ConnHandle conn = 0;
    uint8_t dirHandle = 0;
    QString netwarePath;
    if (parseNetWarePath(uncPath, conn, dirHandle, netwarePath) != cc::Success)
        return QString();
    closeConn(conn);
    return netwarePath;
}

QString DOSPath(ConnHandle conn, const QString& path, const QString& name)
{
    if (!name.isEmpty())
        return DOSNameOf(conn, path, name);
    if (path.isEmpty())
        return QString();
    QString p = path;
    if (p.endsWith(u'\\'))
        p.chop(1);
    if (p.endsWith(u':'))
        return p;
    QString dos;
    if (convertNSPath(conn, 0, p, false, ns::Long, ns::Dos, dos) != cc::Success)
        return path;
    return dos;
}

QString DOSNameOf(ConnHandle conn, const QString& directory, const QString& longName)
{
    QString result = longName.toUpper();
    try {
        const TDirHandleScope dir(conn, TempHandleLong(conn, directory));
        NWNSEntryInfo info {};
        if (getNSEntryInfo(
                conn, dir.handle(), longName, ns::Long, ns::Dos, search::Files, info::Name, info)
            == cc::Success)
            result = nameOf(info);
    } catch (const TNWException&) {
    }
    return result;
}

QString DOSNameOfByRef(ConnRef ref, const QString& directory, const QString& longName)
{
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return QString();
    return DOSNameOf(conn.handle(), directory, longName);
}
