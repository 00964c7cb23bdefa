#include "platform/nwserver/fsrecords.h"
#include "platform/nwserver/ops_filesystem.h"

#include <cstring>

namespace nwserver {

using namespace nwproto;
using fsops::fs;

namespace {

NWCCODE getVolumeName(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint16_t n = in.u16();
    const auto v = fs(ctx).volume(n);
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    out.str(v->name);
    return cc::Success;
}

NWCCODE getVolumeNumber(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const auto v = fs(ctx).volumeByName(in.str());
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    out.u16(v->number);
    return cc::Success;
}

NWCCODE getExtendedVolumeInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint16_t n = in.u16();
    if (!ctx.server.identity().isNetWare4())
        return cc::UnknownRequest;
    const auto v = fs(ctx).volume(n);
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    const FsSpace s = fs(ctx).space(n);
    NWVolExtendedInfo i;
    std::memset(&i, 0, sizeof i);
    i.sectorSize = 512;
    i.sectorsPerCluster = 8;
    i.volSizeInClusters = s.totalBlocks;
    i.freedClusters = s.totalBlocks - std::min(s.totalBlocks, s.usedBlocks + s.erasedBlocks);
    i.freeableLimboSectors = s.erasedBlocks * 8;
    i.dataStreamsCount = s.files - s.compressedFiles;
    i.limboDataStreamsCount = s.erasedFiles;
    i.compressedDataStreamsCount = s.compressedFiles;
    // A 4 KB directory block holds 32 entries of 128 bytes.
    i.unUsedDirEntries = i.freedClusters * 32;
    i.totalDirEntries = s.files + s.directories + s.erasedFiles + i.unUsedDirEntries;
    const auto object
        = ctx.server.objects().find(ctx.server.identity().name + u'_' + v->name, objtype::Wild);
    i.directoryServicesObjectId = object ? object->id : 0;
    out.raw(&i, sizeof i);
    return cc::Success;
}

NWCCODE getDirSpaceInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    uint16_t n = in.u16();
    FsTarget t;
    if (dirHandle != 0) {
        const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, {}, -1, t);
        if (code != cc::Success)
            return code;
        n = t.volume;
    }
    const auto v = fs(ctx).volume(n);
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    const FsSpace s = fs(ctx).space(n);
    NWDirSpaceInfo i;
    std::memset(&i, 0, sizeof i);
    i.totalBlocks = s.totalBlocks;
    i.availableBlocks = s.totalBlocks - std::min(s.totalBlocks, s.usedBlocks + s.erasedBlocks);
    i.purgeableBlocks = s.erasedBlocks;
    i.availableDirEntries = i.availableBlocks * 32;
    i.totalDirEntries = s.files + s.directories + s.erasedFiles + i.availableDirEntries;
    i.sectorsPerBlock = 8;
    if (dirHandle != 0 && t.entry) {
        uint32_t limit = 0, used = 0;
        fs(ctx).dirLimit(*t.entry, limit, used);
        if (limit) {
            i.totalBlocks = limit;
            i.availableBlocks = std::min(i.availableBlocks, limit - std::min(limit, used));
        }
    }
    const QByteArray name = v->name.toLatin1().left(15);
    i.volLen = static_cast<uint8_t>(name.size());
    std::memcpy(i.volName, name.constData(), static_cast<size_t>(name.size()));
    out.raw(&i, sizeof i);
    return cc::Success;
}

NWCCODE getNSLoadedList(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint16_t n = in.u16();
    const auto v = fs(ctx).volume(n);
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    QByteArray list;
    for (uint8_t s : fs(ctx).nameSpaces(n))
        list.append(static_cast<char>(s));
    out.bytes(list);
    return cc::Success;
}

NWCCODE mountVolume(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    uint16_t n = 0;
    const NWCCODE code = fs(ctx).mount(in.str(), n);
    if (code == cc::Success)
        out.u16(n);
    return code;
}

NWCCODE dismountVolume(RequestContext& ctx, WireReader& in, WireWriter&)
{
    return fs(ctx).dismount(in.str());
}

NWCCODE allocTempDirHandle(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, -1, t);
    if (code != cc::Success)
        return code;
    if (!t.entry || !t.entry->dir)
        return fscc::InvalidPath;
    const uint16_t rights = fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry);
    uint8_t handle = 0;
    code = fs(ctx).allocHandle(ctx.conn, { t.volume, t.entry->id, t.ns, rights }, handle);
    if (code == cc::Success)
        out.u8(handle).u8(static_cast<uint8_t>(rights));
    return code;
}

NWCCODE allocTempNSDirHandle(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint8_t ns = in.u8();
    const uint8_t newNs = in.u8();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, ns, t);
    if (code != cc::Success)
        return code;
    if (!t.entry || !t.entry->dir)
        return fscc::InvalidPath;
    const auto loaded = fs(ctx).nameSpaces(t.volume);
    if (std::find(loaded.begin(), loaded.end(), newNs) == loaded.end())
        return fscc::InvalidNameSpace;
    const uint16_t rights = fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry);
    uint8_t handle = 0;
    code = fs(ctx).allocHandle(ctx.conn, { t.volume, t.entry->id, newNs, rights }, handle);
    if (code == cc::Success)
        out.u8(handle);
    return code;
}

NWCCODE deallocateDirHandle(RequestContext& ctx, WireReader& in, WireWriter&)
{
    return fs(ctx).freeHandle(ctx.conn, in.u8());
}

NWCCODE convertNSPath(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const bool isFile = in.boolean();
    const uint8_t src = in.u8();
    const uint8_t dst = in.u8();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fsops::existing(
        ctx, dirHandle, path, src, isFile ? search::Files : search::Directories, t);
    if (code != cc::Success)
        return code;
    const auto loaded = fs(ctx).nameSpaces(t.volume);
    if (std::find(loaded.begin(), loaded.end(), dst) == loaded.end())
        return fscc::InvalidNameSpace;
    out.str(fs(ctx).fullPath(*t.entry, dst));
    return cc::Success;
}

NWCCODE getPathFromDirEntry(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint16_t volume = in.u16();
    const uint32_t number = in.u32();
    const auto e = fs(ctx).entry(number);
    if (!e || e->volume != volume)
        return fscc::InvalidPath;
    // Names are only told to those with some right on the entry or beside it.
    const auto parent = e->parent ? fs(ctx).entry(e->parent) : std::nullopt;
    if (fs(ctx).effectiveRights(ctx.conn.objectId, *e) == 0
        && (!parent || fs(ctx).effectiveRights(ctx.conn.objectId, *parent) == 0))
        return fscc::InvalidPath;
    const auto v = fs(ctx).volume(volume);
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    out.str(fs(ctx).fullPath(*e, v->longNames ? ns::Long : ns::Dos));
    return cc::Success;
}

NWCCODE getLongName(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint8_t src = in.u8();
    const uint8_t dst = in.u8();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, src, t);
    if (code != cc::Success)
        return code;
    if (!t.entry)
        return fscc::NoMoreEntries;
    const auto loaded = fs(ctx).nameSpaces(t.volume);
    if (std::find(loaded.begin(), loaded.end(), dst) == loaded.end())
        return fscc::InvalidNameSpace;
    out.str(t.entry->name(dst));
    return cc::Success;
}

NWCCODE getNSEntryInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint8_t src = in.u8();
    const uint8_t dst = in.u8();
    const uint16_t searchAttr = in.u16();
    const uint32_t mask = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fsops::existing(ctx, dirHandle, path, src, searchAttr, t);
    if (code != cc::Success)
        return code;
    const auto loaded = fs(ctx).nameSpaces(t.volume);
    if (std::find(loaded.begin(), loaded.end(), dst) == loaded.end())
        return fscc::InvalidNameSpace;
    const NWNSEntryInfo info = fsrec::nsEntryInfo(*t.entry, dst, mask);
    out.raw(&info, sizeof info);
    return cc::Success;
}

} // namespace

NWCCODE fsops::existing(RequestContext& ctx, uint8_t dirHandle, const QString& path, int ns,
    uint16_t searchAttr, FsTarget& t)
{
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, ns, t);
    if (code != cc::Success)
        return code;
    const bool wantDirs = searchAttr & search::Subdirectories;
    const NWCCODE missing = wantDirs ? fscc::InvalidPath : fscc::NoMoreEntries;
    if (!t.entry)
        return missing;
    if (t.leaf.isEmpty() ? !wantDirs : !fsrec::searchMeets(*t.entry, searchAttr))
        return missing;
    // Nothing at all is visible to a station without a single right on the entry.
    if (fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry) == 0
        && fs(ctx).effectiveRights(ctx.conn.objectId, t.dir) == 0)
        return missing;
    return cc::Success;
}

void fsops::registerVolumes(Dispatcher& d)
{
    d.add(fn::GetVolumeName, Access::LoggedIn, getVolumeName);
    d.add(fn::GetVolumeNumber, Access::LoggedIn, getVolumeNumber);
    d.add(fn::GetExtendedVolumeInfo, Access::LoggedIn, getExtendedVolumeInfo);
    d.add(fn::GetDirSpaceInfo, Access::LoggedIn, getDirSpaceInfo);
    d.add(fn::GetNSLoadedList, Access::LoggedIn, getNSLoadedList);
    d.add(fn::MountVolume, Access::ConsoleOperator, mountVolume);
    d.add(fn::DismountVolume, Access::ConsoleOperator, dismountVolume);
    d.add(fn::AllocTempDirHandle, Access::LoggedIn, allocTempDirHandle);
    d.add(fn::AllocTempNSDirHandle, Access::LoggedIn, allocTempNSDirHandle);
    d.add(fn::DeallocateDirHandle, Access::LoggedIn, deallocateDirHandle);
    d.add(fn::ConvertNSPath, Access::LoggedIn, convertNSPath);
    d.add(fn::GetPathFromDirEntry, Access::LoggedIn, getPathFromDirEntry);
    d.add(fn::GetLongName, Access::LoggedIn, getLongName);
    d.add(fn::GetNSEntryInfo, Access::LoggedIn, getNSEntryInfo);
}

void registerFileSystemOperations(Dispatcher& d)
{
    fsops::registerVolumes(d);
    fsops::registerEntries(d);
    fsops::registerTrustees(d);
    fsops::registerFileData(d);
}

} // namespace nwserver
