#include "platform/nwserver/filesystem.h"
#include "platform/nwserver/fsnames.h"
#include "platform/nwserver/fsrecords.h"
#include "platform/nwserver/server.h"

#include <QDir>
#include <fcntl.h>
#include <unistd.h>

namespace nwserver {

using namespace nwproto;

namespace {
QVariant id64(qint64 v)
{
    return QVariant::fromValue(v);
}
} // namespace

std::vector<FsErased> FileSystem::erased(qint64 dir, qint64 after, int limit) const
{
    Statement st(m_server.db(),
        "SELECT id, volume, parent, long_name, dos_name, attributes, owner, modifier, archiver,"
        " created, modified, archived, accessed, irm, size, deleted, deletor FROM fs_erased"
        " WHERE (parent = ? OR ? = 0) AND id > ? ORDER BY id LIMIT ?");
    st.bindAll({ id64(dir), id64(dir), id64(after), limit });
    std::vector<FsErased> out;
    while (st.step()) {
        FsErased r;
        r.id = st.integer(0);
        FsEntry& e = r.entry;
        e.volume = static_cast<uint16_t>(st.integer(1));
        e.parent = st.integer(2);
        e.longName = st.text(3);
        e.dosName = st.text(4);
        e.attributes = static_cast<uint32_t>(st.integer(5));
        e.owner = static_cast<uint32_t>(st.integer(6));
        e.modifier = static_cast<uint32_t>(st.integer(7));
        e.archiver = static_cast<uint32_t>(st.integer(8));
        e.created = st.integer(9);
        e.modified = st.integer(10);
        e.archived = st.integer(11);
        e.accessed = st.integer(12);
        e.irm = static_cast<uint16_t>(st.integer(13));
        e.size = st.integer(14);
        r.deleted = st.integer(15);
        r.deletor = static_cast<uint32_t>(st.integer(16));
        out.push_back(r);
    }
    return out;
}

std::optional<FsErased> FileSystem::erasedById(qint64 id) const
{
    const QVariant parent
        = m_server.db().scalar("SELECT parent FROM fs_erased WHERE id = ?", { id64(id) });
    if (!parent.isValid())
        return std::nullopt;
    const auto list = erased(parent.toLongLong(), id - 1, 1);
    if (list.empty() || list.front().id != id)
        return std::nullopt;
    return list.front();
}

NWCCODE FileSystem::recover(const Connection& c, const FsErased& er, const QString& newName)
{
    const auto v = volume(er.entry.volume);
    auto dir = entry(er.entry.parent);
    if (!v)
        return fscc::NoSuchVolume;
    if (!dir)
        dir = entry(v->root);
    if (!dir)
        return fscc::IoError;
    if (!(effectiveRights(c.objectId, *dir) & rights::Create))
        return fscc::NoCreateRights;
    FsEntry e = er.entry;
    const QString name = newName.isEmpty() ? er.entry.longName : newName;
    const NWCCODE code
        = namesFor(*dir, v->longNames ? ns::Long : ns::Dos, name, 0, e.longName, e.dosName);
    if (code != cc::Success)
        return code;
    uint32_t limit = 0, used = 0;
    dirLimit(*dir, limit, used);
    if (limit && used + blocksOf(e.size) > limit)
        return fscc::InsufficientSpace;
    e.parent = dir->id;
    e.dir = false;
    Database& db = m_server.db();
    HostChange change(
        *this, HostOp::Rename, salvageName(e.volume, er.id), hostName(*dir, e.longName));
    Transaction t(db);
    change.settle();
    db.run("DELETE FROM fs_erased WHERE id = ?", { id64(er.id) });
    e.id = insertEntry(e);
    if (!safefs::rename(safefs::openRoot(salvageFolder(v->name)), QString::number(er.id),
            hostDir(*dir), e.longName))
        return fscc::IoError;
    t.commit();
    m_erasedBlocks[e.volume] -= blocksOf(e.size);
    m_usedBlocks[e.volume] += blocksOf(e.size);
    return cc::Success;
}

NWCCODE FileSystem::purge(const FsErased& er)
{
    const auto v = volume(er.entry.volume);
    if (!v)
        return fscc::NoSuchVolume;
    Database& db = m_server.db();
    HostChange change(*this);
    Transaction t(db);
    db.run("DELETE FROM fs_erased WHERE id = ?", { id64(er.id) });
    // A salvage file that is already gone is purged all the same.
    change.removeAfterCommit(salvageName(er.entry.volume, er.id));
    t.commit();
    m_erasedBlocks[er.entry.volume] -= blocksOf(er.entry.size);
    return cc::Success;
}

bool FileSystem::isOpen(qint64 entry, uint32_t exceptConn)
{
    dropDeadOpens();
    for (const auto& [h, f] : m_open)
        if (f.entry == entry && f.conn != exceptConn)
            return true;
    return false;
}

std::vector<uint32_t> FileSystem::openers(qint64 entry)
{
    dropDeadOpens();
    std::vector<uint32_t> out;
    for (const auto& [h, f] : m_open)
        if (f.entry == entry && std::find(out.begin(), out.end(), f.conn) == out.end())
            out.push_back(f.conn);
    return out;
}

NWCCODE FileSystem::open(const Connection& c, const FsTarget& t, uint16_t mode, uint32_t& handle)
{
    constexpr uint16_t kRead = 1, kWrite = 2, kCreate = 4, kTruncate = 8, kExclusive = 0x10;
    if (t.leaf.isEmpty() || fsnames::hasWildcards(t.leaf))
        return fscc::InvalidPath;
    std::optional<FsEntry> file = t.entry;
    bool fresh = false;
    if (file && (mode & kCreate) && (mode & kExclusive))
        return fscc::AlreadyExists;
    if (!file) {
        if (!(mode & kCreate))
            return fscc::NoMoreEntries;
        FsEntry created;
        const NWCCODE code = createEntry(c, t, false, 0, &created);
        if (code != cc::Success)
            return code;
        file = created;
        fresh = true;
    }
    if (file->dir)
        return fscc::NoMoreEntries;
    const bool writing = mode & (kWrite | kTruncate);
    if (!fresh) {
        const uint16_t r = effectiveRights(c.objectId, *file);
        if (((mode & kRead) && !(r & rights::Read)) || (writing && !(r & rights::Write)))
            return fscc::NoOpenRights;
        if (writing && (file->attributes & attr::ReadOnly))
            return fscc::ReadOnly;
    }
    dropDeadOpens();
    if (writing && !(file->attributes & attr::Sharable)) {
        for (const auto& [h, f] : m_open)
            if (f.entry == file->id && f.conn != c.number && (f.mode & (kWrite | kTruncate)))
                return fscc::FileLocked;
    }
    const safefs::Fd dir = hostDir(t.dir);
    safefs::Fd fd = safefs::openFile(dir, file->longName, writing ? O_RDWR : O_RDONLY);
    if (!fd.valid())
        return fscc::IoError;
    const qint64 at = now();
    const bool truncating = (mode & kTruncate) && file->size > 0;
    // The last access is kept as a date, so an open on the day already recorded changes
    // nothing and costs no write to the store.
    if (truncating || fsrec::packedDate(file->accessed) != fsrec::packedDate(at)) {
        Transaction tx(m_server.db());
        if (truncating) {
            if (::ftruncate(fd.get(), 0) != 0)
                return fscc::IoError;
            setSize(*file, 0);
            file->modified = at;
            file->modifier = c.objectId;
        }
        file->accessed = at;
        update(*file);
        tx.commit();
    }
    handle = m_nextFileHandle++;
    if (m_nextFileHandle == 0)
        m_nextFileHandle = 1;
    m_open[handle] = OpenFile { c.number, c.attachTime, file->id, mode, std::move(fd) };
    return cc::Success;
}

FileSystem::OpenFile* FileSystem::openFile(const Connection& c, uint32_t handle)
{
    const auto it = m_open.find(handle);
    if (it == m_open.end() || it->second.conn != c.number
        || it->second.connAttached != c.attachTime)
        return nullptr;
    return &it->second;
}

NWCCODE FileSystem::read(const Connection& c, uint32_t handle, uint64_t offset, char* data,
    uint32_t count, uint32_t& got)
{
    got = 0;
    OpenFile* f = openFile(c, handle);
    if (!f)
        return fscc::BadFileHandle;
    if (!(f->mode & 1))
        return fscc::NoOpenRights;
    const ssize_t n
        = ::pread(f->fd.get(), data, std::min(count, kMaxTransfer), static_cast<off_t>(offset));
    if (n < 0)
        return fscc::IoError;
    got = static_cast<uint32_t>(n);
    return cc::Success;
}

NWCCODE FileSystem::write(
    const Connection& c, uint32_t handle, uint64_t offset, const QByteArray& data)
{
    OpenFile* f = openFile(c, handle);
    if (!f)
        return fscc::BadFileHandle;
    if (!(f->mode & 2))
        return fscc::NoOpenRights;
    if (data.size() > static_cast<qsizetype>(kMaxTransfer))
        return cc::BadRequest;
    auto e = entry(f->entry);
    const auto dir = e ? entry(e->parent) : std::nullopt;
    if (!e || !dir)
        return fscc::IoError;
    const qint64 newSize = std::max<qint64>(e->size, static_cast<qint64>(offset) + data.size());
    if (blocksOf(newSize) > blocksOf(e->size)) {
        const NWCCODE code = checkSpace(*dir, blocksOf(newSize) - blocksOf(e->size));
        if (code != cc::Success)
            return code;
    }
    const ssize_t n = ::pwrite(f->fd.get(), data.constData(), static_cast<size_t>(data.size()),
        static_cast<off_t>(offset));
    if (n != data.size())
        return fscc::IoError;
    Transaction tx(m_server.db());
    setSize(*e, newSize);
    e->modified = now();
    e->modifier = c.objectId;
    e->attributes |= attr::Archive;
    update(*e);
    tx.commit();
    return cc::Success;
}

NWCCODE FileSystem::size(const Connection& c, uint32_t handle, uint64_t& size)
{
    OpenFile* f = openFile(c, handle);
    if (!f)
        return fscc::BadFileHandle;
    const auto e = entry(f->entry);
    if (!e)
        return fscc::IoError;
    size = static_cast<uint64_t>(e->size);
    return cc::Success;
}

NWCCODE FileSystem::truncate(const Connection& c, uint32_t handle, uint64_t size)
{
    OpenFile* f = openFile(c, handle);
    if (!f)
        return fscc::BadFileHandle;
    if (!(f->mode & 2))
        return fscc::NoOpenRights;
    auto e = entry(f->entry);
    const auto dir = e ? entry(e->parent) : std::nullopt;
    if (!e || !dir)
        return fscc::IoError;
    const auto newSize = static_cast<qint64>(size);
    if (blocksOf(newSize) > blocksOf(e->size)) {
        const NWCCODE code = checkSpace(*dir, blocksOf(newSize) - blocksOf(e->size));
        if (code != cc::Success)
            return code;
    }
    if (::ftruncate(f->fd.get(), static_cast<off_t>(size)) != 0)
        return fscc::IoError;
    Transaction tx(m_server.db());
    setSize(*e, newSize);
    e->modified = now();
    e->modifier = c.objectId;
    update(*e);
    tx.commit();
    return cc::Success;
}

NWCCODE FileSystem::close(const Connection& c, uint32_t handle)
{
    if (!openFile(c, handle))
        return fscc::BadFileHandle;
    m_open.erase(handle);
    return cc::Success;
}

NWCCODE FileSystem::makeDirectory(
    const QString& path, uint32_t owner, const QDateTime& when, FsEntry* out)
{
    const qsizetype colon = path.indexOf(u':');
    const auto v = volumeByName(path.left(colon));
    if (colon < 0 || !v)
        return fscc::NoSuchVolume;
    auto dir = entry(v->root);
    const uint8_t ns = v->longNames ? ns::Long : ns::Dos;
    for (const QString& name : path.mid(colon + 1).split(u'\\', Qt::SkipEmptyParts)) {
        auto next = child(dir->id, name, ns);
        if (!next) {
            FsEntry made;
            const NWCCODE code = createRaw(*dir, ns, name, true, rights::All | rights::Supervisor,
                owner, when.toMSecsSinceEpoch(), made);
            if (code != cc::Success)
                return code;
            next = made;
        }
        if (!next->dir)
            return fscc::InvalidPath;
        dir = next;
    }
    if (out)
        *out = *dir;
    return cc::Success;
}

NWCCODE FileSystem::putFile(const QString& path, const QByteArray& data, uint32_t owner,
    const QDateTime& when, FsEntry* out)
{
    const qsizetype cut
        = path.lastIndexOf(u'\\') >= 0 ? path.lastIndexOf(u'\\') : path.indexOf(u':');
    FsEntry dir;
    NWCCODE code = makeDirectory(path.left(path[cut] == u':' ? cut + 1 : cut), owner, when, &dir);
    if (code != cc::Success)
        return code;
    const auto v = volume(dir.volume);
    const uint8_t ns = v->longNames ? ns::Long : ns::Dos;
    const QString name = path.mid(cut + 1);
    const qint64 ms = when.toMSecsSinceEpoch();
    auto file = child(dir.id, name, ns);
    if (!file) {
        FsEntry made;
        code = createRaw(dir, ns, name, false, rights::All | rights::Supervisor, owner, ms, made);
        if (code != cc::Success)
            return code;
        file = made;
    }
    if (blocksOf(data.size()) > blocksOf(file->size)) {
        code = checkSpace(dir, blocksOf(data.size()) - blocksOf(file->size));
        if (code != cc::Success)
            return code;
    }
    const safefs::Fd fd = safefs::openFile(hostDir(dir), file->longName, O_WRONLY | O_TRUNC);
    if (!fd.valid()
        || ::write(fd.get(), data.constData(), static_cast<size_t>(data.size())) != data.size())
        return fscc::IoError;
    Transaction t(m_server.db());
    setSize(*file, data.size());
    file->modified = file->accessed = ms;
    file->modifier = owner;
    update(*file);
    t.commit();
    if (out)
        *out = *file;
    return cc::Success;
}

} // namespace nwserver
