#include "platform/nwproto/directory.h"
#include "platform/nwserver/directorytree.h"
#include "platform/nwserver/dispatcher.h"
#include "platform/nwserver/server.h"

namespace nwserver {

using namespace nwproto;

namespace {

constexpr uint32_t kEndOfList = 0xFFFFFFFF;
constexpr uint32_t kReplyHeader = 8; // next iteration handle and count

NWCCODE code(NWDSCCODE c)
{
    return static_cast<NWCCODE>(c);
}

// Directory requests reach only a server that holds a tree; a bindery server does not know them.
template <NWCCODE (*Op)(DirectoryTree&, WireReader&, WireWriter&)>
NWCCODE inTree(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    if (ctx.server.identity().treeName.isEmpty())
        return cc::UnknownRequest;
    DirectoryTree tree(ctx.server.db(), ctx.server.objects());
    return Op(tree, in, out);
}

void writeEntry(WireWriter& w, const DirectoryEntry& e, const QString& name)
{
    w.u32(e.id).str(name).str(e.baseClass).u32(e.flags).u32(e.subordinates).u32(e.modified);
}

NWCCODE resolveName(DirectoryTree& tree, WireReader& in, WireWriter& out)
{
    const QString name = in.str();
    if (!in.ok())
        return cc::BadRequest;
    uint32_t id = 0;
    const NWDSCCODE c = tree.resolve(name, id);
    if (c == ndserr::Success)
        out.u32(id);
    return code(c);
}

NWCCODE readEntryInfo(DirectoryTree& tree, WireReader& in, WireWriter& out)
{
    const uint32_t id = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    const auto e = tree.entry(id);
    if (!e)
        return code(ndserr::NoSuchEntry);
    writeEntry(out, *e, tree.distinguishedName(id));
    return cc::Success;
}

// Subordinates in batches that fit the caller's buffer; the iteration handle is the id of the
// last entry given, so a listing needs no state on the server between batches.
NWCCODE list(DirectoryTree& tree, WireReader& in, WireWriter& out)
{
    const uint32_t parent = in.u32();
    const uint32_t after = in.u32();
    const uint32_t budget = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    if (!tree.entry(parent))
        return code(ndserr::NoSuchEntry);
    const auto children = tree.children(parent);
    WireWriter body;
    uint32_t count = 0;
    uint32_t next = kEndOfList;
    for (const DirectoryEntry& e : children) {
        if (after != kEndOfList && e.id <= after)
            continue;
        WireWriter one;
        writeEntry(one, e, DirectoryTree::namingType(e.baseClass) + QLatin1Char('=') + e.name);
        if (kReplyHeader + body.data().size() + one.data().size() > budget) {
            if (count == 0)
                return code(ndserr::BufferFull);
            break;
        }
        body.raw(one.data().constData(), static_cast<size_t>(one.data().size()));
        ++count;
        next = e.id;
    }
    if (count > 0 && next == children.back().id)
        next = kEndOfList;
    out.u32(count == 0 ? kEndOfList : next).u32(count);
    out.raw(body.data().constData(), static_cast<size_t>(body.data().size()));
    return cc::Success;
}

// The values of the asked attributes, flattened; the iteration handle is the index of the
// first value not yet given. With names only, it counts attributes instead.
NWCCODE read(DirectoryTree& tree, WireReader& in, WireWriter& out)
{
    const uint32_t id = in.u32();
    const bool values = in.u8() != 0;
    const bool all = in.boolean();
    const uint32_t n = in.u32();
    QStringList asked;
    for (uint32_t k = 0; k < n && in.ok(); ++k)
        asked << in.str();
    const uint32_t from = in.u32();
    const uint32_t budget = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    if (!tree.entry(id))
        return code(ndserr::NoSuchEntry);
    std::vector<DirectoryAttribute> attrs;
    for (DirectoryAttribute& a : tree.attributes(id))
        if (all || asked.contains(a.name, Qt::CaseInsensitive))
            attrs.push_back(std::move(a));
    if (attrs.empty())
        return code(all ? ndserr::NoSuchValue : ndserr::NoSuchAttribute);

    const uint32_t start = from == kEndOfList ? 0 : from;
    const auto sizeOf = [](const QString& t) { return 4 + t.toUtf8().size(); };
    WireWriter body;
    qsizetype used = kReplyHeader;
    uint32_t index = 0; // running position of values (or attributes)
    uint32_t written = 0;
    bool full = false;
    for (const DirectoryAttribute& a : attrs) {
        QStringList part;
        qsizetype size = sizeOf(a.name) + 4 + (values ? 4 : 0);
        if (!values) {
            if (index < start) {
                ++index;
                continue;
            }
            full = used + size > budget;
            if (full)
                break;
            ++index;
        } else {
            for (const QString& v : a.values) {
                if (index < start) {
                    ++index;
                    continue;
                }
                full = used + size + sizeOf(v) > budget;
                if (full)
                    break;
                part << v;
                size += sizeOf(v);
                ++index;
            }
            if (part.isEmpty()) {
                if (full)
                    break;
                continue;
            }
        }
        body.str(a.name).u32(a.syntax);
        if (values) {
            body.u32(static_cast<uint32_t>(part.size()));
            for (const QString& v : part)
                body.str(v);
        }
        used += size;
        ++written;
        if (full)
            break;
    }
    if (written == 0 && full)
        return code(ndserr::BufferFull);
    out.u32(full ? index : kEndOfList).u32(written);
    out.raw(body.data().constData(), static_cast<size_t>(body.data().size()));
    return cc::Success;
}

} // namespace

void registerDirectoryOperations(Dispatcher& d)
{
    d.add(fn::NdsResolveName, Access::LoggedIn, inTree<resolveName>);
    d.add(fn::NdsReadEntryInfo, Access::LoggedIn, inTree<readEntryInfo>);
    d.add(fn::NdsList, Access::LoggedIn, inTree<list>);
    d.add(fn::NdsRead, Access::LoggedIn, inTree<read>);
}

} // namespace nwserver
