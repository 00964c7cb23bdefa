#include "diskman/entryinfo.h"

#include "diskman/namespaces.h"
#include "netware/connqueries.h"
#include "netware/errors.h"
#include "netware/nwexception.h"
#include "platform/nwclient/fileops.h"
#include "platform/nwclient/pathops.h"

using namespace nwclient;
using namespace nwproto;

namespace {

// "SYS:PUBLIC\NDIR.EXE" into "SYS:PUBLIC" and "NDIR.EXE"; "SYS:PUBLIC" into "SYS:" and
// "PUBLIC". A path ending in a separator has no name.
void splitPath(const QString& path, QString& directory, QString& name)
{
    qsizetype i = path.size() - 1;
    while (i >= 0 && path[i] != u'\\' && path[i] != u'/' && path[i] != u':')
        --i;
    name = path.mid(i + 1);
    directory = i >= 0 && path[i] == u':' ? path.left(i + 1) : path.left(std::max<qsizetype>(i, 0));
}

// The first entry matching name in the directory of dirHandle, attributes only.
NWCCODE scanOne(ConnHandle conn, uint8_t dirHandle, uint8_t nameSpace, uint16_t searchAttributes,
    const QString& name, NWNSEntryInfo& info)
{
    NWSearchSequence sequence {};
    sequence.searchDirNumber = 0xFFFFFFFF;
    return scanDirEntries(
        conn, dirHandle, nameSpace, searchAttributes, sequence, name, info::Attributes, info);
}

} // namespace

bool ReadEntryInfo(
    ConnHandle conn, const QString& directory, const QString& name, TEntryInfo& record)
{
    uint8_t dirHandle = 0;
    try {
        dirHandle = TempHandleLong(conn, directory);
    } catch (const TNWException&) {
        return false;
    }
    const TDirHandleScope scope(conn, dirHandle);
    const uint16_t searchAttributes = name.isEmpty() ? search::Directories : search::Files;
    record = TEntryInfo {};
    uint32_t sequence = 0xFFFFFFFF;
    const NWCCODE code
        = scanDirEntryInfo(conn, dirHandle, searchAttributes, sequence, name, record);
    const QString where = directory + u'\\' + name;
    CheckNWResult((name.isEmpty() ? QStringLiteral("Error reading directory information\r%1")
                                  : QStringLiteral("Error reading file information\r%1"))
                      .arg(where),
        static_cast<int32_t>(code));
    return true;
}

bool ReadEntryInfoByRef(
    ConnRef ref, const QString& directory, const QString& name, TEntryInfo& record)
{
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return false;
    return ReadEntryInfo(conn.handle(), directory, name, record);
}

uint32_t EntryAttributes(ConnHandle conn, const QString& path, uint16_t searchAttributes)
{
    QString directory, name;
    splitPath(path, directory, name);
    try {
        const TDirHandleScope dir(conn, TempHandleLong(conn, directory));
        NWNSEntryInfo info {};
        if (scanOne(conn, dir.handle(), NameSpaceFor(conn, path), searchAttributes, name, info)
            != cc::Success)
            return 0;
        return info.attributes;
    } catch (const TNWException&) {
        return 0;
    }
}

uint32_t FileAttributes(ConnHandle conn, const QString& path)
{
    return EntryAttributes(conn, path, search::Files);
}

uint32_t DirectoryAttributes(ConnHandle conn, const QString& path)
{
    return EntryAttributes(conn, path, search::Directories);
}

int32_t EffectiveRights(ConnRef ref, const QString& path)
{
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return NoRights;
    uint16_t rights = 0;
    if (getEffectiveRights(conn.handle(), 0, path, rights) != cc::Success)
        return NoRights;
    return rights;
}

bool HasModifyRight(ConnRef ref, const QString& path)
{
    const int32_t r = EffectiveRights(ref, path);
    return r >= 0 && (r & rights::Modify);
}

bool HasAnyRight(ConnRef ref, const QString& path)
{
    return EffectiveRights(ref, path) > 0;
}

bool PathExists(ConnRef ref, const QString& path)
{
    return EffectiveRights(ref, path) >= 0;
}

bool FileExistsIn(ConnHandle conn, const QString& directory, const QString& name)
{
    uint8_t dirHandle = 0;
    if (allocTempDirHandle(conn, 0, directory, dirHandle) != cc::Success)
        return false;
    const TDirHandleScope scope(conn, dirHandle);
    NWNSEntryInfo info {};
    NWCCODE code
        = scanOne(conn, dirHandle, NameSpaceFor(conn, directory), search::Files, name, info);
    if (code == fscc::InvalidNameSpace)
        code = scanOne(conn, dirHandle, ns::Dos, search::Files, name, info);
    return code == cc::Success;
}

bool FileExistsInByRef(ConnRef ref, const QString& directory, const QString& name)
{
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return false;
    return FileExistsIn(conn.handle(), directory, name);
}
