#include "diskman/entrywrite.h"

#include "diskman/listing.h"
#include "diskman/namespaces.h"
#include "diskman/pathforms.h"
#include "netware/connqueries.h"
#include "netware/errors.h"
#include "netware/nwexception.h"
#include "platform/nwclient/fileops.h"

using namespace nwclient;
using namespace nwproto;

namespace {

QString withPath(const char* context, const QString& path)
{
    return QString::fromLatin1(context) + u'\r' + path;
}

uint16_t searchFor(bool isFile)
{
    return isFile ? search::Files : search::Directories;
}

void check(const QString& context, NWCCODE code)
{
    CheckNWResult(context, static_cast<int32_t>(code));
}

// A connection of its own for one write; a connection that cannot be opened fails the write.
template <typename Work> void onConnection(ConnRef ref, const QString& context, Work work)
{
    TConnHandleScope conn;
    check(context, conn.open(ref));
    work(conn.handle());
}

void setDosInfo(ConnHandle conn, const QString& path, uint16_t searchAttributes,
    uint32_t modifyMask, const NWModifyDosInfo& info, const QString& context)
{
    check(context,
        setNSEntryDOSInfo(
            conn, 0, path, NameSpaceFor(conn, path), searchAttributes, modifyMask, info));
}

void setOwnerConn(ConnHandle conn, const QString& path, bool isFile, uint32_t objectId)
{
    NWModifyDosInfo info {};
    info.creatorId = objectId;
    setDosInfo(conn, path, searchFor(isFile), modify::CreatorId, info,
        QStringLiteral("Error modifing owner id"));
}

// One of the three date-times the record keeps as date and time.
void setDateTime(ConnRef ref, const QString& path, bool isFile, uint32_t modifyMask,
    uint16_t NWModifyDosInfo::*date, uint16_t NWModifyDosInfo::*time, uint32_t dateTime,
    const QString& context)
{
    NWModifyDosInfo info {};
    info.*date = static_cast<uint16_t>(dateTime >> 16);
    info.*time = static_cast<uint16_t>(dateTime);
    onConnection(ref, context, [&](ConnHandle conn) {
        setDosInfo(conn, path, searchFor(isFile), modifyMask, info, context);
    });
}

} // namespace

void SetFileAttributesConn(ConnHandle conn, const QString& path, uint32_t attributes)
{
    NWModifyDosInfo info {};
    info.attributes = attributes;
    setDosInfo(conn, path, search::Files, modify::Attributes, info,
        withPath("Error setting attribute of", path));
}

void SetFileAttributes(ConnRef ref, const QString& path, uint32_t attributes)
{
    onConnection(ref, withPath("Error setting attribute of", path),
        [&](ConnHandle conn) { SetFileAttributesConn(conn, path, attributes); });
}

void SetDirectoryAttributesConn(ConnHandle conn, const QString& path, uint32_t attributes)
{
    const uint8_t nameSpace = NameSpaceFor(conn, path);
    const QString p = nameSpace == ns::Dos ? path.toUpper() : path;
    NWModifyDosInfo info {};
    info.attributes = attributes;
    check(withPath("Error setting attribute of", p),
        setNSEntryDOSInfo(conn, 0, p, nameSpace, search::Directories, modify::Attributes, info));
}

void SetDirectoryAttributes(
    ConnRef ref, const QString& path, uint32_t attributes, bool wholeSubtree)
{
    onConnection(ref, withPath("Error setting attribute of", path), [&](ConnHandle conn) {
        if (!wholeSubtree) {
            SetDirectoryAttributesConn(conn, path, attributes);
            return;
        }
        WalkTree(conn, path, [attributes](ConnHandle c, const QString& directory) {
            SetDirectoryAttributesConn(c, directory, attributes);
        });
    });
}

void SetDirectoryEntryAttributes(ConnRef ref, const QString& path, const TEntryInfo& record)
{
    const QString context = withPath("Error setting attribute of", path);
    onConnection(ref, context, [&](ConnHandle conn) {
        uint16_t r = 0;
        if (getEffectiveRights(conn, 0, path, r) == cc::Success && !(r & rights::Modify))
            check(context, fscc::NoModifyRightsOnDirectory);
        const TDirHandleScope dir(conn, TempHandleLong(conn, path));
        check(context,
            setDirEntryInfo(conn, dir.handle(), search::Directories, record.sequence,
                modify::Attributes, record));
    });
}

void SetOwner(ConnRef ref, const QString& path, bool isFile, uint32_t objectId, bool wholeSubtree)
{
    onConnection(ref, QStringLiteral("Error modifing owner id"), [&](ConnHandle conn) {
        if (isFile || !wholeSubtree) {
            setOwnerConn(conn, path, isFile, objectId);
            return;
        }
        WalkTree(conn, path, [objectId](ConnHandle c, const QString& directory) {
            setOwnerConn(c, directory, false, objectId);
            for (const QString& file : ListFiles(c, QStringLiteral("*"), directory, false)) {
                try {
                    setOwnerConn(c, JoinPath(directory, file), true, objectId);
                } catch (const TNWException&) {
                    // A file that refuses keeps its owner; the rest of the subtree goes on.
                }
            }
        });
    });
}

void SetModifier(ConnRef ref, const QString& path, bool isFile, uint32_t objectId)
{
    const QString context = QStringLiteral("Error modifing modifier id");
    NWModifyDosInfo info {};
    info.modifierId = objectId;
    onConnection(ref, context, [&](ConnHandle conn) {
        setDosInfo(conn, path, searchFor(isFile), modify::ModifierId, info, context);
    });
}

void SetCreationDate(ConnRef ref, const QString& path, bool isFile, uint32_t dateTime)
{
    setDateTime(ref, path, isFile, modify::CreateDate | modify::CreateTime,
        &NWModifyDosInfo::createDate, &NWModifyDosInfo::createTime, dateTime,
        withPath("Error modifing creation date", path));
}

void SetModifyDate(ConnRef ref, const QString& path, bool isFile, uint32_t dateTime)
{
    setDateTime(ref, path, isFile, modify::ModifyDate | modify::ModifyTime,
        &NWModifyDosInfo::modifyDate, &NWModifyDosInfo::modifyTime, dateTime,
        withPath("Error modifing last modification date", path));
}

void SetArchiveDate(ConnRef ref, const QString& path, bool isFile, uint32_t dateTime)
{
    setDateTime(ref, path, isFile, modify::ArchiveDate | modify::ArchiveTime,
        &NWModifyDosInfo::archiveDate, &NWModifyDosInfo::archiveTime, dateTime,
        withPath("Error modifing archive date", path));
}

void SetLastAccessDate(ConnRef ref, const QString& path, uint32_t dateTime)
{
    const QString context = withPath("Error modifing last access date", path);
    NWModifyDosInfo info {};
    info.lastAccessDate = static_cast<uint16_t>(dateTime >> 16);
    onConnection(ref, context, [&](ConnHandle conn) {
        setDosInfo(conn, path, search::Files, modify::LastAccessDate, info, context);
    });
}

void SetMaximumSpace(ConnRef ref, const QString& path, uint32_t blocks)
{
    const QString context = withPath("Error setting maximum space restriction", path);
    NWModifyDosInfo info {};
    info.maximumSpace = blocks;
    onConnection(ref, context, [&](ConnHandle conn) {
        setDosInfo(conn, path, search::Directories, modify::MaximumSpace, info, context);
    });
}

void RenameFile(ConnRef ref, const QString& oldPath, const QString& newPath)
{
    const QString context = withPath("Unable to rename file", oldPath);
    onConnection(ref, context, [&](ConnHandle conn) {
        check(context, renameFile(conn, 0, oldPath, search::Files, 0, newPath));
    });
}

bool RenameDirectory(ConnRef ref, const QString& path, const QString& newName)
{
    TConnHandleScope conn;
    if (conn.open(ref) != cc::Success)
        return false;
    return renameDirectory(conn.handle(), 0, path, newName) == cc::Success;
}
