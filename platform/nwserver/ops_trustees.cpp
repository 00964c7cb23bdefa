#include "platform/nwserver/fsrecords.h"
#include "platform/nwserver/ops_filesystem.h"

#include <cstring>

namespace nwserver {

using namespace nwproto;
using fsops::fs;

namespace {

constexpr uint32_t kTrusteesPerRound = 20;

// The entry a trustee operation works on, and whether the caller may see or change its
// trustees (Access Control).
NWCCODE trusteeEntry(RequestContext& ctx, uint8_t dirHandle, const QString& path, FsTarget& t)
{
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, -1, t);
    if (code != cc::Success)
        return code;
    if (!t.entry)
        return fscc::InvalidPath;
    return cc::Success;
}

NWCCODE scanEntryForTrustees(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint32_t iteration = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = trusteeEntry(ctx, dirHandle, path, t);
    if (code != cc::Success)
        return code;
    if (fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry) == 0)
        return fscc::NoSearchRights;
    const auto all = fs(ctx).trustees(t.entry->id);
    if (iteration >= all.size())
        return fscc::NoMoreTrustees;
    NWEntryTrustees info;
    std::memset(&info, 0, sizeof info);
    const QByteArray name = t.entry->dosName.toLatin1().left(15);
    std::memcpy(info.entryName, name.constData(), static_cast<size_t>(name.size()));
    info.creationDateAndTime = fsrec::packed(t.entry->created);
    info.ownerId = t.entry->owner;
    uint16_t count = 0;
    for (size_t i = iteration; i < all.size() && count < kTrusteesPerRound; ++i, ++count) {
        info.trusteeList[count].objectId = all[i].first;
        info.trusteeList[count].objectRights = all[i].second;
    }
    // The next round starts after what this one gave; never 0, so a caller that loops while
    // the iteration is nonzero ends on the closing code.
    const uint32_t next = iteration + count;
    info.sequenceNumber = next;
    out.u32(next).u16(count).raw(&info, sizeof info);
    return cc::Success;
}

NWCCODE addTrustee(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint32_t object = in.u32();
    const uint16_t rights = in.u16();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = trusteeEntry(ctx, dirHandle, path, t);
    if (code != cc::Success)
        return code;
    if (!(fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry) & rights::Access))
        return fscc::NoModifyRights;
    if (!ctx.server.objects().byId(object))
        return cc::NoSuchObject;
    Transaction tx(ctx.server.db());
    fs(ctx).setTrustee(t.entry->id, object, rights & (rights::All | rights::Supervisor));
    tx.commit();
    return cc::Success;
}

NWCCODE deleteTrustee(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint32_t object = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = trusteeEntry(ctx, dirHandle, path, t);
    if (code != cc::Success)
        return code;
    if (!(fs(ctx).effectiveRights(ctx.conn.objectId, *t.entry) & rights::Access))
        return fscc::NoModifyRights;
    Transaction tx(ctx.server.db());
    if (!fs(ctx).removeTrustee(t.entry->id, object))
        return fscc::NoSuchTrustee;
    tx.commit();
    return cc::Success;
}

// The directory of a salvage operation and the right it needs there.
NWCCODE salvageDir(RequestContext& ctx, uint8_t dirHandle, uint16_t right, FsTarget& t)
{
    const NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, {}, -1, t);
    if (code != cc::Success)
        return code;
    if (!(fs(ctx).effectiveRights(ctx.conn.objectId, t.dir) & right))
        return right == rights::FileScan ? fscc::NoSearchRights
            : right == rights::Create    ? fscc::NoCreateRights
                                         : fscc::NoDeleteRights;
    return cc::Success;
}

NWCCODE scanErasedFiles(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const uint32_t iteration = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = salvageDir(ctx, dirHandle, rights::FileScan, t);
    if (code != cc::Success)
        return code;
    const qint64 after = iteration == 0xFFFFFFFF ? 0 : static_cast<qint64>(iteration);
    const auto next = fs(ctx).erased(t.dir.id, after, 1);
    if (next.empty())
        return fscc::NoMoreEntries;
    const NWDeletedInfo info = fsrec::deletedInfo(next.front());
    out.u32(static_cast<uint32_t>(next.front().id)).u32(t.volume);
    out.u32(static_cast<uint32_t>(t.dir.id)).raw(&info, sizeof info);
    return cc::Success;
}

// The erased file a recover or purge names, checked against the directory it came from.
NWCCODE erasedFile(RequestContext& ctx, WireReader& in, uint16_t right, FsErased& e)
{
    const uint8_t dirHandle = in.u8();
    const uint32_t iteration = in.u32();
    const uint32_t volume = in.u32();
    const uint32_t dirBase = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    const NWCCODE code = salvageDir(ctx, dirHandle, right, t);
    if (code != cc::Success)
        return code;
    const auto found = fs(ctx).erasedById(iteration);
    if (!found || found->entry.volume != volume || found->entry.parent != dirBase
        || static_cast<qint64>(dirBase) != t.dir.id)
        return fscc::NoMoreEntries;
    e = *found;
    return cc::Success;
}

NWCCODE recoverErasedFile(RequestContext& ctx, WireReader& in, WireWriter&)
{
    FsErased e;
    const NWCCODE code = erasedFile(ctx, in, rights::Create, e);
    const QString newName = in.str();
    if (!in.ok())
        return cc::BadRequest;
    if (code != cc::Success)
        return code;
    return fs(ctx).recover(ctx.conn, e, newName);
}

NWCCODE purgeErasedFile(RequestContext& ctx, WireReader& in, WireWriter&)
{
    FsErased e;
    const NWCCODE code = erasedFile(ctx, in, rights::Erase, e);
    if (code != cc::Success)
        return code;
    return fs(ctx).purge(e);
}

} // namespace

void fsops::registerTrustees(Dispatcher& d)
{
    d.add(fn::ScanEntryForTrustees, Access::LoggedIn, scanEntryForTrustees);
    d.add(fn::AddTrustee, Access::LoggedIn, addTrustee);
    d.add(fn::DeleteTrustee, Access::LoggedIn, deleteTrustee);
    d.add(fn::ScanErasedFiles, Access::LoggedIn, scanErasedFiles);
    d.add(fn::RecoverErasedFile, Access::LoggedIn, recoverErasedFile);
    d.add(fn::PurgeErasedFile, Access::LoggedIn, purgeErasedFile);
}

} // namespace nwserver
