#include "platform/nwclient/pathops.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;

namespace {
NWCCODE stringReply(ConnHandle h, FnCode fn, const WireWriter& w, QString& out)
{
    QByteArray reply;
    const NWCCODE code = call(h, fn, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        out = r.str();
    }
    return code;
}

// A connection handle to the attached server called name.
NWCCODE openByServerName(const QString& name, ConnHandle& handle)
{
    uint32_t it = 0;
    ConnRef ref = 0;
    while (scanConnRefs(it, ref) == cc::Success) {
        TNWConnInfo info;
        if (getConnInfo(ref, info) == cc::Success
            && name.compare(QLatin1String(info.serverName), Qt::CaseInsensitive) == 0)
            return openConnByReference(ref, handle);
    }
    return cc::NoSuchServer;
}
} // namespace

NWCCODE allocTempDirHandle(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t& newDirHandle, uint8_t* effectiveRights)
{
    WireWriter w;
    w.u8(dirHandle).str(path);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::AllocTempDirHandle, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        newDirHandle = r.u8();
        const uint8_t rights = r.u8();
        if (effectiveRights)
            *effectiveRights = rights;
    }
    return code;
}

NWCCODE allocTempNSDirHandle(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t nameSpace, uint8_t& newDirHandle, uint8_t newNameSpace)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u8(nameSpace).u8(newNameSpace);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::AllocTempNSDirHandle, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        newDirHandle = r.u8();
    }
    return code;
}

NWCCODE deallocateDirHandle(ConnHandle handle, uint8_t dirHandle)
{
    WireWriter w;
    w.u8(dirHandle);
    return call(handle, fn::DeallocateDirHandle, w);
}

NWCCODE convertNSPath(ConnHandle handle, uint8_t dirHandle, const QString& path, bool isFile,
    uint8_t srcNameSpace, uint8_t dstNameSpace, QString& result)
{
    WireWriter w;
    w.u8(dirHandle).str(path).boolean(isFile).u8(srcNameSpace).u8(dstNameSpace);
    return stringReply(handle, fn::ConvertNSPath, w, result);
}

NWCCODE getPathFromDirEntry(ConnHandle handle, uint16_t volNum, uint32_t dirEntry, QString& path)
{
    WireWriter w;
    w.u16(volNum).u32(dirEntry);
    return stringReply(handle, fn::GetPathFromDirEntry, w, path);
}

NWCCODE getLongName(ConnHandle handle, uint8_t dirHandle, const QString& path, uint8_t srcNameSpace,
    uint8_t dstNameSpace, QString& name)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u8(srcNameSpace).u8(dstNameSpace);
    return stringReply(handle, fn::GetLongName, w, name);
}

NWCCODE getNSEntryInfo(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t srcNameSpace, uint8_t dstNameSpace, uint16_t searchAttr, uint32_t infoMask,
    NWNSEntryInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u8(srcNameSpace).u8(dstNameSpace).u16(searchAttr).u32(infoMask);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetNSEntryInfo, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    return detail::readRecord(r, info);
}

NWCCODE parseNetWarePath(
    const QString& path, ConnHandle& handle, uint8_t& dirHandle, QString& netwarePath)
{
    QString server, rest;
    if (path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//"))) {
        const QStringList parts = path.mid(2).replace(u'/', u'\\').split(u'\\', Qt::SkipEmptyParts);
        if (parts.size() < 2)
            return fscc::InvalidPath;
        server = parts[0];
        rest = parts[1] + u':' + parts.mid(2).join(u'\\');
    } else {
        const qsizetype slash = path.indexOf(u'/');
        const qsizetype colon = path.indexOf(u':');
        if (slash <= 0 || colon < slash)
            return fscc::InvalidPath;
        server = path.left(slash);
        rest = path.mid(slash + 1);
    }
    const NWCCODE code = openByServerName(server, handle);
    if (code != cc::Success)
        return code;
    dirHandle = 0;
    netwarePath = rest;
    return cc::Success;
}

NWCCODE parsePath(
    const QString& path, QString& server, ConnHandle& handle, QString& volume, QString& directory)
{
    const qsizetype slash = path.indexOf(u'/');
    const qsizetype colon = path.indexOf(u':');
    if (slash <= 0 || colon < slash)
        return fscc::InvalidPath;
    const NWCCODE code = openByServerName(path.left(slash), handle);
    if (code != cc::Success)
        return code;
    server = path.left(slash).toUpper();
    volume = path.mid(slash + 1, colon - slash - 1).toUpper();
    directory = path.mid(colon + 1);
    while (directory.startsWith(u'\\') || directory.startsWith(u'/'))
        directory.remove(0, 1);
    return cc::Success;
}

} // namespace nwclient
