#include "diskman/namespaces.h"

#include "diskman/pathforms.h"
#include "netware/connqueries.h"
#include "netware/errors.h"
#include "platform/nwclient/pathops.h"
#include "platform/nwclient/volumeops.h"

#include <algorithm>

using namespace nwclient;
using namespace nwproto;

namespace {

uint8_t tempHandle(ConnHandle conn, const QString& path, uint8_t handleNameSpace)
{
    uint8_t dirHandle = 0;
    NWCCODE code = allocTempNSDirHandle(conn, 0, path, ns::Long, dirHandle, handleNameSpace);
    if (code == fscc::InvalidNameSpace)
        code = allocTempDirHandle(conn, 0, path, dirHandle);
    CheckNWResult(QStringLiteral("Error creating directory handle"), static_cast<int32_t>(code));
    return dirHandle;
}

} // namespace

bool NameSpaceLoaded(ConnHandle conn, const QString& volume, uint8_t nameSpace)
{
    QString name = volume;
    if (name.endsWith(u':'))
        name.chop(1);
    uint16_t volNum = 0;
    if (getVolumeNumber(conn, name, volNum) != cc::Success)
        return false;
    std::vector<uint8_t> loaded;
    if (getNSLoadedList(conn, volNum, loaded) != cc::Success)
        return false;
    return std::find(loaded.begin(), loaded.end(), nameSpace) != loaded.end();
}

bool NameSpaceLoadedByRef(ConnRef ref, const QString& volume, uint8_t nameSpace)
{
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return false;
    return NameSpaceLoaded(conn.handle(), volume, nameSpace);
}

uint8_t NameSpaceFor(ConnHandle conn, const QString& path)
{
    return NameSpaceLoaded(conn, VolumePrefix(path), ns::Long) ? ns::Long : ns::Dos;
}

uint8_t TempHandleDOS(ConnHandle conn, const QString& path)
{
    return tempHandle(conn, path, ns::Dos);
}

uint8_t TempHandleLong(ConnHandle conn, const QString& path)
{
    return tempHandle(conn, path, ns::Long);
}

TDirHandleScope::~TDirHandleScope()
{
    deallocateDirHandle(m_conn, m_dirHandle);
}

QStringList VolumeNames(ConnHandle conn)
{
    QStringList names;
    for (uint16_t volNum = 0; volNum <= 64; ++volNum) {
        QString name;
        if (getVolumeName(conn, volNum, name) == cc::Success && !name.isEmpty())
            names << name;
    }
    return names;
}
