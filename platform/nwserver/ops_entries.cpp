#include "platform/nwserver/fsnames.h"
#include "platform/nwserver/fsrecords.h"
#include "platform/nwserver/ops_filesystem.h"

#include <algorithm>
#include <limits>

namespace nwserver {

using namespace nwproto;
using fsops::fs;

namespace {

// The directory a scan runs in: the one dirHandle stands for.
NWCCODE scanDir(RequestContext& ctx, uint8_t dirHandle, int ns, FsTarget& t)
{
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, {}, ns, t);
    if (code != cc::Success)
        return code;
    // A scan is a run of calls on one handle: the rights noted with the handle serve them all.
    const uint16_t r = t.handleRights >= 0 ? static_cast<uint16_t>(t.handleRights)
                                           : fs(ctx).effectiveRights(ctx.conn.objectId, t.dir);
    if (!(r & rights::FileScan))
        return fscc::NoSearchRights;
    return cc::Success;
}

// Up to max children of dir after id `after`, in id order, that the search attributes and the
// pattern admit. A name without wildcards is looked up; a pattern pages through the listing.
std::vector<FsEntry> matches(RequestContext& ctx, const FsEntry& dir, qint64 after,
    uint16_t searchAttr, const QString& pattern, uint8_t ns, size_t max)
{
    std::vector<FsEntry> found;
    if (!pattern.isEmpty() && !fsnames::hasWildcards(pattern)) {
        const auto e = fs(ctx).child(dir.id, pattern, ns);
        if (e && e->id > after && fsrec::searchMeets(*e, searchAttr))
            found.push_back(*e);
        return found;
    }
    // Directories only or files only, as the search attributes ask.
    const bool dirs = searchAttr & search::Subdirectories;
    const auto all = fs(ctx).listing(dir.id);
    auto it = std::upper_bound(
        all->begin(), all->end(), after, [](qint64 a, const FsEntry& e) { return a < e.id; });
    for (; it != all->end() && found.size() < max; ++it)
        if (it->dir == dirs && fsrec::searchMeets(*it, searchAttr)
            && fsnames::matches(it->name(ns), pattern))
            found.push_back(*it);
    return found;
}

// A name-space scan: up to `max` entries after the request's sequence, each written with the
// sequence that continues after it. The batch form carries `max` in the request and the count in
// the reply; the single form answers one entry.
NWCCODE scanNameSpace(RequestContext& ctx, WireReader& in, WireWriter& out, bool batch)
{
    const uint8_t dirHandle = in.u8();
    const uint8_t ns = in.u8();
    const uint16_t searchAttr = in.u16();
    NWSearchSequence seq;
    in.raw(&seq, sizeof seq);
    const QString pattern = in.str();
    const uint32_t mask = in.u32();
    const size_t max = batch ? in.u16() : 1;
    if (!in.ok() || max == 0)
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = scanDir(ctx, dirHandle, ns, t);
    if (code != cc::Success)
        return code;
    qint64 after = seq.searchDirNumber == 0xFFFFFFFF || seq.dirNumber != t.dir.id
        ? 0
        : static_cast<qint64>(seq.searchDirNumber);
    const std::vector<FsEntry> found = matches(ctx, t.dir, after, searchAttr, pattern, t.ns, max);
    if (found.empty())
        return fscc::NoMoreEntries;
    seq.volNumber = static_cast<uint8_t>(t.volume);
    seq.dirNumber = static_cast<uint32_t>(t.dir.id);
    if (batch)
        out.u16(static_cast<uint16_t>(found.size()));
    for (const FsEntry& e : found) {
        seq.searchDirNumber = static_cast<uint32_t>(e.id);
        const NWNSEntryInfo info = fsrec::nsEntryInfo(e, t.ns, mask);
        out.raw(&seq, sizeof seq).raw(&info, sizeof info);
    }
    return cc::Success;
}

NWCCODE scanDirEntries(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    return scanNameSpace(ctx, in, out, false);
}

NWCCODE scanDirEntriesBatch(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    return scanNameSpace(ctx, in, out, true);
}

NWCCODE scanDirEntryInfo(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const uint16_t searchAttr = in.u16();
    const uint32_t sequence = in.u32();
    const QString pattern = in.str();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, {}, -1, t);
    if (code != cc::Success)
        return code;
    const qint64 after = sequence == 0xFFFFFFFF ? 0 : static_cast<qint64>(sequence);
    std::optional<FsEntry> e;
    if (pattern.isEmpty() && (searchAttr & search::Subdirectories)) {
        // The directory of the handle itself, once.
        if (fs(ctx).effectiveRights(ctx.conn.objectId, t.dir) == 0)
            return fscc::NoSearchRights;
        if (after != t.dir.id)
            e = t.dir;
    } else {
        if (!(fs(ctx).effectiveRights(ctx.conn.objectId, t.dir) & rights::FileScan))
            return fscc::NoSearchRights;
        const auto next = matches(ctx, t.dir, after, searchAttr, pattern, t.ns, 1);
        if (!next.empty())
            e = next.front();
    }
    if (!e)
        return fscc::NoMoreEntries;
    const NWEntryInfo info = fsrec::entryInfo(*e);
    out.u32(info.sequence).raw(&info, sizeof info);
    return cc::Success;
}

NWCCODE getEffectiveRights(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, -1, t);
    if (code != cc::Success)
        return code;
    if (!t.entry)
        return fscc::InvalidPath;
    out.u16(fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry));
    return cc::Success;
}

NWCCODE createDirectory(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint8_t mask = in.u8();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, -1, t);
    if (code != cc::Success)
        return code;
    // The Supervisor right is never filtered, so it stays in every new mask.
    return fs(ctx).createEntry(ctx.conn, t, true, static_cast<uint16_t>(mask | rights::Supervisor));
}

NWCCODE deleteDirectory(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fsops::existing(ctx, dirHandle, path, -1, search::Directories, t);
    if (code != cc::Success)
        return code;
    return fs(ctx).removeDirectory(ctx.conn, *t.entry);
}

NWCCODE renameDirectory(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const QString newName = in.str();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fsops::existing(ctx, dirHandle, path, -1, search::Directories, t);
    if (code != cc::Success)
        return code;
    const auto parent = t.entry->parent ? fs(ctx).entry(t.entry->parent) : std::nullopt;
    if (!parent || fsnames::isForbidden(newName))
        return fscc::InvalidPath;
    return fs(ctx).move(ctx.conn, *t.entry, *parent, newName, t.ns);
}

NWCCODE eraseFiles(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint16_t searchAttr = static_cast<uint16_t>(in.u16() & ~search::Subdirectories);
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, -1, t);
    if (code != cc::Success)
        return code;
    if (t.leaf.isEmpty())
        return fscc::NoMoreEntries;
    const std::vector<FsEntry> victims
        = matches(ctx, t.dir, 0, searchAttr, t.leaf, t.ns, std::numeric_limits<size_t>::max());
    if (victims.empty())
        return fscc::NoMoreEntries;
    NWCCODE first = cc::Success;
    for (const FsEntry& e : victims) {
        code = fs(ctx).erase(ctx.conn, e);
        if (first == cc::Success)
            first = code;
    }
    return first;
}

NWCCODE renameFile(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString oldPath = in.str();
    const uint16_t searchAttr = in.u16();
    const uint8_t newDirHandle = in.u8();
    const QString newPath = in.str();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget from, to;
    NWCCODE code = fsops::existing(ctx, dirHandle, oldPath, -1, searchAttr, from);
    if (code != cc::Success)
        return code;
    code = fs(ctx).resolve(ctx.conn, newDirHandle, newPath, -1, to);
    if (code != cc::Success)
        return code;
    if (to.leaf.isEmpty() || fsnames::hasWildcards(to.leaf))
        return fscc::InvalidPath;
    if (to.entry && to.entry->id != from.entry->id)
        return fscc::AlreadyExists;
    return fs(ctx).move(ctx.conn, *from.entry, to.dir, to.leaf, to.ns);
}

// Applies the fields of m that mask names, each with the right it needs.
NWCCODE applyModify(RequestContext& ctx, FsEntry e, uint32_t mask, const NWModifyDosInfo& m)
{
    FileSystem& f = fs(ctx);
    const uint16_t r = f.effectiveRights(ctx.conn.objectId, e);
    constexpr uint32_t byModify = modify::Attributes | modify::CreateDate | modify::CreateTime
        | modify::ArchiveDate | modify::ArchiveTime | modify::ArchiverId | modify::ModifyDate
        | modify::ModifyTime | modify::ModifierId | modify::LastAccessDate;
    if ((mask & byModify) && !(r & rights::Modify))
        return fscc::NoModifyRights;
    if ((mask & (modify::CreatorId | modify::MaximumSpace)) && !(r & rights::Supervisor))
        return fscc::NoModifyRights;
    if ((mask & modify::InheritedRightsMask) && !(r & rights::Access))
        return fscc::NoModifyRights;
    auto combine = [](qint64 old, bool setDate, uint16_t date, bool setTime, uint16_t time) {
        const uint16_t d = setDate ? date : fsrec::packedDate(old);
        const uint16_t t = setTime ? time : fsrec::packedTime(old);
        return fsrec::fromPacked(d, t);
    };
    if (mask & modify::Attributes) {
        constexpr uint32_t own = attr::Directory | attr::Compressed;
        e.attributes = (m.attributes & ~own) | (e.attributes & own);
    }
    if (mask & (modify::CreateDate | modify::CreateTime))
        e.created = combine(e.created, mask & modify::CreateDate, m.createDate,
            mask & modify::CreateTime, m.createTime);
    if (mask & (modify::ArchiveDate | modify::ArchiveTime))
        e.archived = combine(e.archived, mask & modify::ArchiveDate, m.archiveDate,
            mask & modify::ArchiveTime, m.archiveTime);
    if (mask & (modify::ModifyDate | modify::ModifyTime))
        e.modified = combine(e.modified, mask & modify::ModifyDate, m.modifyDate,
            mask & modify::ModifyTime, m.modifyTime);
    if (mask & modify::LastAccessDate)
        e.accessed = fsrec::fromPacked(m.lastAccessDate, 0);
    const ObjectStore& objects = ctx.server.objects();
    if (mask & modify::CreatorId) {
        if (m.creatorId != 0 && !objects.byId(m.creatorId))
            return cc::NoSuchObject;
        e.owner = m.creatorId;
    }
    if (mask & modify::ModifierId)
        e.modifier = m.modifierId;
    if (mask & modify::ArchiverId)
        e.archiver = m.archiverId;
    if (mask & modify::InheritedRightsMask)
        e.irm = static_cast<uint16_t>((e.irm & ~m.inheritanceRevokeMask) | m.inheritanceGrantMask);
    if ((mask & modify::MaximumSpace) && e.dir)
        e.maxSpace = static_cast<int32_t>(std::min<uint32_t>(m.maximumSpace, INT32_MAX));
    Transaction t(ctx.server.db());
    f.update(e);
    t.commit();
    return cc::Success;
}

NWCCODE setNSEntryDOSInfo(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint8_t ns = in.u8();
    const uint16_t searchAttr = in.u16();
    const uint32_t mask = in.u32();
    NWModifyDosInfo m;
    in.raw(&m, sizeof m);
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fsops::existing(ctx, dirHandle, path, ns, searchAttr, t);
    if (code != cc::Success)
        return code;
    return applyModify(ctx, *t.entry, mask, m);
}

NWCCODE setDirEntryInfo(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const uint16_t searchAttr = in.u16();
    const uint32_t sequence = in.u32();
    const uint32_t changeBits = in.u32();
    NWEntryInfo info;
    in.raw(&info, sizeof info);
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, {}, -1, t);
    if (code != cc::Success)
        return code;
    const auto e = fs(ctx).entry(sequence);
    if (!e || e->volume != t.volume || (e->id != t.dir.id && e->parent != t.dir.id))
        return fscc::NoMoreEntries;
    if (e->dir != ((searchAttr & search::Subdirectories) != 0))
        return fscc::NoMoreEntries;
    NWModifyDosInfo m {};
    m.attributes = info.attributes;
    m.createDate = static_cast<uint16_t>(info.creationDateAndTime >> 16);
    m.createTime = static_cast<uint16_t>(info.creationDateAndTime);
    m.creatorId = info.ownerId;
    m.archiveDate = static_cast<uint16_t>(info.lastArchiveDateAndTime >> 16);
    m.archiveTime = static_cast<uint16_t>(info.lastArchiveDateAndTime);
    m.archiverId = info.lastArchiverId;
    m.modifyDate = static_cast<uint16_t>(info.updateDateAndTime >> 16);
    m.modifyTime = static_cast<uint16_t>(info.updateDateAndTime);
    m.inheritanceGrantMask
        = e->dir ? info.info.dir.inheritedRightsMask : info.info.file.inheritedRightsMask;
    m.inheritanceRevokeMask = 0xFFFF;
    m.maximumSpace = static_cast<uint32_t>(std::max(0, info.info.dir.maximumSpace));
    if (!e->dir) {
        m.modifierId = info.info.file.lastUpdatorId;
        m.lastAccessDate = info.info.file.lastAccessDate;
    }
    return applyModify(ctx, *e, changeBits, m);
}

} // namespace

void fsops::registerEntries(Dispatcher& d)
{
    d.add(fn::ScanDirEntries, Access::LoggedIn, scanDirEntries);
    d.add(fn::ScanDirEntriesBatch, Access::LoggedIn, scanDirEntriesBatch);
    d.add(fn::ScanDirEntryInfo, Access::LoggedIn, scanDirEntryInfo);
    d.add(fn::GetEffectiveRights, Access::LoggedIn, getEffectiveRights);
    d.add(fn::CreateDirectory, Access::LoggedIn, createDirectory);
    d.add(fn::DeleteDirectory, Access::LoggedIn, deleteDirectory);
    d.add(fn::RenameDirectory, Access::LoggedIn, renameDirectory);
    d.add(fn::EraseFiles, Access::LoggedIn, eraseFiles);
    d.add(fn::RenameFile, Access::LoggedIn, renameFile);
    d.add(fn::SetNSEntryDOSInfo, Access::LoggedIn, setNSEntryDOSInfo);
    d.add(fn::SetDirEntryInfo, Access::LoggedIn, setDirEntryInfo);
}

} // namespace nwserver
