#include "platform/nwserver/filesystem.h"
#include "platform/nwserver/fsnames.h"
#include "platform/nwserver/server.h"

#include <fcntl.h>
#include <set>

namespace nwserver {

using namespace nwproto;

namespace {
QVariant id64(qint64 v)
{
    return QVariant::fromValue(v);
}
} // namespace

FileSystem::ConnState& FileSystem::state(const Connection& c)
{
    ConnState& s = m_conns[c.number];
    if (s.attached != c.attachTime) {
        // The number belongs to a new station now: what the old one held is gone.
        s = ConnState { c.attachTime, {} };
        dropDeadOpens();
    }
    return s;
}

bool FileSystem::connectionAlive(uint32_t conn, const QDateTime& attached) const
{
    const Connection* c = m_server.connections().find(conn);
    return c && c->attachTime == attached;
}

void FileSystem::dropDeadOpens()
{
    std::erase_if(m_open,
        [&](const auto& p) { return !connectionAlive(p.second.conn, p.second.connAttached); });
}

NWCCODE FileSystem::allocHandle(const Connection& c, const DirHandle& h, uint8_t& number)
{
    ConnState& s = state(c);
    for (int n = 1; n <= 255; ++n) {
        if (!s.handles.count(static_cast<uint8_t>(n))) {
            number = static_cast<uint8_t>(n);
            s.handles[number] = h;
            return cc::Success;
        }
    }
    return 0x899D; // no more directory handles
}

NWCCODE FileSystem::freeHandle(const Connection& c, uint8_t number)
{
    return state(c).handles.erase(number) ? cc::Success : fscc::BadDirHandle;
}

QString FileSystem::uniqueDosName(qint64 dir, const QString& longName, qint64 except) const
{
    const auto taken = [&](const QString& n) {
        const auto e = child(dir, n, ns::Dos);
        return e && e->id != except;
    };
    // Names after prefix in descending order: among those with the same number of digits and
    // extension, the first is the highest number.
    const auto highest = [&](const QString& prefix, int digits, const QString& ext) {
        const QString end = prefix.chopped(1) + QChar(u'~' + 1);
        StatementLease l
            = prepared(" FROM fs_entries WHERE parent = ? AND dos_name >= ? AND dos_name < ?"
                       " ORDER BY dos_name DESC");
        l.st.bindAll({ id64(dir), prefix, end });
        while (l.st.step()) {
            const QString name = readEntry(l.st).dosName;
            const QStringView tail = QStringView(name).mid(prefix.size());
            const QStringView number = tail.left(digits);
            const QStringView rest = tail.mid(digits);
            bool ok = false;
            const int n = number.toInt(&ok);
            if (ok && number.size() == digits && number[0].isDigit()
                && (ext.isEmpty() ? rest.isEmpty() : rest == QString(u'.' + ext)))
                return n;
        }
        return 0;
    };
    return fsnames::makeDosName(longName, taken, highest);
}

NWCCODE FileSystem::namesFor(const FsEntry& dir, uint8_t ns, const QString& name, qint64 except,
    QString& longName, QString& dosName) const
{
    const auto v = volume(dir.volume);
    if (!v)
        return fscc::NoSuchVolume;
    if (ns == ns::Dos || !v->longNames) {
        if (!fsnames::isDosName(name))
            return fscc::InvalidPath;
        // A name made in the DOS name space is upper case in every name space.
        dosName = name.toUpper();
        longName = dosName;
    } else {
        if (!fsnames::isLongName(name))
            return fscc::InvalidPath;
        longName = name;
        dosName = uniqueDosName(dir.id, name, except);
    }
    const auto clash = child(dir.id, longName, ns::Long);
    if (clash && clash->id != except)
        return fscc::AlreadyExists;
    return cc::Success;
}

NWCCODE FileSystem::createRaw(const FsEntry& dir, uint8_t ns, const QString& name, bool isDir,
    uint16_t irm, uint32_t owner, qint64 when, FsEntry& out)
{
    FsEntry e;
    const NWCCODE code = namesFor(dir, ns, name, 0, e.longName, e.dosName);
    if (code != cc::Success)
        return code;
    e.volume = dir.volume;
    e.parent = dir.id;
    e.dir = isDir;
    e.attributes = isDir ? attr::Directory : attr::Archive;
    e.owner = e.modifier = owner;
    e.created = e.modified = e.accessed = when;
    e.irm = isDir ? irm : rights::All | rights::Supervisor;
    HostChange change(*this, HostOp::Create, hostName(dir, e.longName));
    Transaction t(m_server.db());
    e.id = insertEntry(e);
    change.settle();
    const safefs::Fd host = hostDir(dir);
    bool made = false;
    if (isDir)
        made = safefs::makeDir(host, e.longName);
    else
        made = safefs::openFile(host, e.longName, O_WRONLY | O_CREAT | O_EXCL).valid();
    if (!made)
        return fscc::IoError;
    t.commit();
    out = e;
    return cc::Success;
}

NWCCODE FileSystem::createEntry(
    const Connection& c, const FsTarget& t, bool dir, uint16_t irm, FsEntry* created)
{
    if (t.leaf.isEmpty() || fsnames::hasWildcards(t.leaf))
        return fscc::InvalidPath;
    if (t.entry)
        return fscc::AlreadyExists;
    if (!(effectiveRights(c.objectId, t.dir) & rights::Create))
        return fscc::NoCreateRights;
    FsEntry e;
    const NWCCODE code = createRaw(t.dir, t.ns, t.leaf, dir, irm, c.objectId, now(), e);
    if (code == cc::Success && created)
        *created = e;
    return code;
}

NWCCODE FileSystem::removeDirectory(const Connection& c, const FsEntry& dir)
{
    if (!dir.dir)
        return fscc::NoSuchDirectory;
    if (dir.parent == 0)
        return fscc::InvalidPath;
    if (!(effectiveRights(c.objectId, dir) & rights::Erase)
        || (dir.attributes & attr::DeleteInhibit))
        return fscc::NoDeleteRights;
    if (!children(dir.id, 0, 1).empty())
        return fscc::DirectoryNotEmpty;
    const auto v = volume(dir.volume);
    const auto parent = entry(dir.parent);
    if (!v || !parent)
        return fscc::IoError;
    Database& db = m_server.db();
    HostChange change(*this, HostOp::RemoveDir, hostName(*parent, dir.longName));
    Transaction t(db);
    change.settle();
    // Files erased in the directory stay salvageable from the volume's root.
    db.run("UPDATE fs_erased SET parent = ? WHERE parent = ?", { id64(v->root), id64(dir.id) });
    db.run("DELETE FROM fs_entries WHERE id = ?", { id64(dir.id) });
    if (!safefs::removeDir(hostDir(*parent), dir.longName))
        return fscc::IoError;
    t.commit();
    return cc::Success;
}

bool FileSystem::purgeImmediate(const FsEntry& file) const
{
    std::optional<FsEntry> e = file;
    while (e) {
        if (e->attributes & attr::PurgeImmediate)
            return true;
        e = e->parent ? entry(e->parent) : std::nullopt;
    }
    return false;
}

NWCCODE FileSystem::erase(const Connection& c, const FsEntry& file)
{
    if (file.dir)
        return fscc::NoMoreEntries;
    if (!(effectiveRights(c.objectId, file) & rights::Erase)
        || (file.attributes & attr::DeleteInhibit))
        return fscc::NoDeleteRights;
    if (file.attributes & attr::ReadOnly)
        return fscc::ReadOnly;
    if (isOpen(file.id))
        return fscc::FileInUse;
    return eraseEntry(file, c.objectId, now());
}

NWCCODE FileSystem::eraseAs(const FsEntry& file, uint32_t deletor, const QDateTime& when)
{
    return eraseEntry(file, deletor, when.toMSecsSinceEpoch());
}

NWCCODE FileSystem::eraseEntry(const FsEntry& file, uint32_t deletor, qint64 when)
{
    const auto v = volume(file.volume);
    const auto parent = entry(file.parent);
    if (!v || !parent)
        return fscc::IoError;
    Database& db = m_server.db();
    const uint32_t blocks = blocksOf(file.size);
    if (purgeImmediate(file)) {
        HostChange change(*this);
        Transaction t(db);
        db.run("DELETE FROM fs_entries WHERE id = ?", { id64(file.id) });
        change.removeAfterCommit(hostName(*parent, file.longName));
        t.commit();
        m_usedBlocks[file.volume] -= blocks;
        return cc::Success;
    }
    // The salvage file is named by the row's id, chosen before the host step is noted.
    const qint64 salvageId
        = db.scalar("SELECT COALESCE(MAX(id), 0) + 1 FROM fs_erased").toLongLong();
    HostChange change(*this, HostOp::Rename, hostName(*parent, file.longName),
        salvageName(file.volume, salvageId));
    const safefs::Fd host = hostDir(*parent);
    Transaction t(db);
    change.settle();
    db.run("DELETE FROM fs_entries WHERE id = ?", { id64(file.id) });
    db.run("INSERT INTO fs_erased(id, volume, parent, long_name, dos_name, attributes, owner,"
           " modifier, archiver, created, modified, archived, accessed, irm, size, deleted,"
           " deletor) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        { id64(salvageId), file.volume, id64(file.parent), file.longName, file.dosName,
            QVariant::fromValue<qint64>(file.attributes), QVariant::fromValue<qint64>(file.owner),
            QVariant::fromValue<qint64>(file.modifier), QVariant::fromValue<qint64>(file.archiver),
            id64(file.created), id64(file.modified), id64(file.archived), id64(file.accessed),
            file.irm, id64(file.size), id64(when), QVariant::fromValue<qint64>(deletor) });
    if (!safefs::rename(host, file.longName, safefs::openRoot(salvageFolder(v->name)),
            QString::number(salvageId)))
        return fscc::IoError;
    t.commit();
    m_usedBlocks[file.volume] -= blocks;
    m_erasedBlocks[file.volume] += blocks;
    return cc::Success;
}

NWCCODE FileSystem::move(
    const Connection& c, const FsEntry& e, const FsEntry& toDir, const QString& newName, uint8_t ns)
{
    if (toDir.volume != e.volume)
        return fscc::NotSameVolume;
    if (e.parent == 0 || !toDir.dir)
        return fscc::InvalidPath;
    if (!(effectiveRights(c.objectId, e) & rights::Modify) || (e.attributes & attr::RenameInhibit))
        return fscc::NoRenameRights;
    if (toDir.id != e.parent) {
        if (!(effectiveRights(c.objectId, toDir) & rights::Create))
            return fscc::NoCreateRights;
        // A directory cannot move into its own subtree.
        for (std::optional<FsEntry> up = toDir; up;
             up = up->parent ? entry(up->parent) : std::nullopt)
            if (up->id == e.id)
                return fscc::InvalidPath;
        // The volume's use stays the same; only limits above the new place may be passed.
        const uint32_t blocks = e.dir ? subtreeBlocks(e.id) : blocksOf(e.size);
        const NWCCODE space = checkLimits(toDir, blocks, &e);
        if (space != cc::Success)
            return space;
    }
    if (!e.dir && isOpen(e.id, c.number))
        return fscc::FileInUse;
    FsEntry moved = e;
    const NWCCODE code = namesFor(toDir, ns, newName, e.id, moved.longName, moved.dosName);
    if (code != cc::Success)
        return code;
    const auto from = entry(e.parent);
    if (!from)
        return fscc::IoError;
    moved.parent = toDir.id;
    HostChange change(
        *this, HostOp::Rename, hostName(*from, e.longName), hostName(toDir, moved.longName));
    Transaction t(m_server.db());
    change.settle();
    update(moved);
    if (!safefs::rename(hostDir(*from), e.longName, hostDir(toDir), moved.longName))
        return fscc::IoError;
    t.commit();
    return cc::Success;
}

NWCCODE FileSystem::checkSpace(const FsEntry& dir, uint32_t addBlocks)
{
    if (addBlocks == 0)
        return cc::Success;
    const NWCCODE limits = checkLimits(dir, addBlocks, nullptr);
    if (limits != cc::Success)
        return limits;
    const auto v = volume(dir.volume);
    if (!v)
        return fscc::NoSuchVolume;
    // Salvageable files give their room back, oldest first, before the volume counts as full.
    while (static_cast<uint64_t>(m_usedBlocks[dir.volume]) + m_erasedBlocks[dir.volume] + addBlocks
        > v->totalBlocks) {
        if (static_cast<uint64_t>(m_usedBlocks[dir.volume]) + addBlocks > v->totalBlocks
            || !purgeOldestErased(dir.volume))
            return fscc::InsufficientSpace;
    }
    return cc::Success;
}

NWCCODE FileSystem::checkLimits(const FsEntry& dir, uint32_t addBlocks, const FsEntry* moving) const
{
    if (addBlocks == 0)
        return cc::Success;
    std::set<qint64> holding;
    if (moving)
        for (auto up = entry(moving->parent); up;
             up = up->parent ? entry(up->parent) : std::nullopt)
            holding.insert(up->id);
    // Each limit on the way up counts on its own: an outer one may be fuller than a tighter
    // inner one.
    for (std::optional<FsEntry> e = dir; e; e = e->parent ? entry(e->parent) : std::nullopt)
        if (e->maxSpace > 0 && !holding.count(e->id)
            && static_cast<uint64_t>(subtreeBlocks(e->id)) + addBlocks
                > static_cast<uint32_t>(e->maxSpace))
            return fscc::InsufficientSpace;
    return cc::Success;
}

bool FileSystem::purgeOldestErased(uint16_t volume)
{
    const QVariant id = m_server.db().scalar(
        "SELECT id FROM fs_erased WHERE volume = ? ORDER BY deleted, id LIMIT 1", { volume });
    if (!id.isValid())
        return false;
    const auto e = erasedById(id.toLongLong());
    return e && purge(*e) == cc::Success;
}

void FileSystem::setSize(FsEntry& e, qint64 size)
{
    uint32_t& used = m_usedBlocks[e.volume];
    used = used - blocksOf(e.size) + blocksOf(size);
    e.size = size;
}

} // namespace nwserver
