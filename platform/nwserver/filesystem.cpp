#include "platform/nwserver/filesystem.h"

#include "platform/nwserver/fsnames.h"
#include "platform/nwserver/server.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

namespace nwserver {

using namespace nwproto;

namespace {
const char* const kEntryColumns
    = "id, volume, parent, long_name, dos_name, is_dir, attributes, owner, modifier, archiver,"
      " created, modified, archived, accessed, irm, max_space, size";

QVariant id64(qint64 v)
{
    return QVariant::fromValue(v);
}
} // namespace

FileSystem::FileSystem(Server& server)
    : m_server(server)
{
}

FileSystem::~FileSystem() = default;

void FileSystem::load()
{
    Database& db = m_server.db();
    db.exec("CREATE TABLE IF NOT EXISTS fs_volumes ("
            " number INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
            " total_blocks INTEGER NOT NULL, long_names INTEGER NOT NULL,"
            " mounted INTEGER NOT NULL DEFAULT 1, root INTEGER NOT NULL DEFAULT 0)");
    db.exec("CREATE TABLE IF NOT EXISTS fs_entries ("
            " id INTEGER PRIMARY KEY, volume INTEGER NOT NULL, parent INTEGER NOT NULL,"
            " long_name TEXT NOT NULL COLLATE NOCASE, dos_name TEXT NOT NULL COLLATE NOCASE,"
            " is_dir INTEGER NOT NULL, attributes INTEGER NOT NULL DEFAULT 0,"
            " owner INTEGER NOT NULL DEFAULT 0, modifier INTEGER NOT NULL DEFAULT 0,"
            " archiver INTEGER NOT NULL DEFAULT 0, created INTEGER NOT NULL DEFAULT 0,"
            " modified INTEGER NOT NULL DEFAULT 0, archived INTEGER NOT NULL DEFAULT 0,"
            " accessed INTEGER NOT NULL DEFAULT 0, irm INTEGER NOT NULL DEFAULT 507,"
            " max_space INTEGER NOT NULL DEFAULT 0, size INTEGER NOT NULL DEFAULT 0)");
    // Roots have parent 0 and may share their empty names across volumes.
    db.exec("CREATE UNIQUE INDEX IF NOT EXISTS fs_entries_long ON fs_entries(parent, long_name)"
            " WHERE parent <> 0");
    db.exec("CREATE UNIQUE INDEX IF NOT EXISTS fs_entries_dos ON fs_entries(parent, dos_name)"
            " WHERE parent <> 0");
    // Lookups bind the parent as a parameter, which the partial indexes above cannot serve.
    db.exec("CREATE INDEX IF NOT EXISTS fs_entries_children ON fs_entries(parent, id)");
    db.exec("CREATE INDEX IF NOT EXISTS fs_entries_long_names ON fs_entries(parent, long_name)");
    db.exec("CREATE INDEX IF NOT EXISTS fs_entries_dos_names ON fs_entries(parent, dos_name)");
    db.exec("CREATE TABLE IF NOT EXISTS fs_trustees ("
            " entry INTEGER NOT NULL REFERENCES fs_entries(id) ON DELETE CASCADE,"
            " object INTEGER NOT NULL, rights INTEGER NOT NULL, PRIMARY KEY(entry, object))");
    db.exec("CREATE TABLE IF NOT EXISTS fs_erased ("
            " id INTEGER PRIMARY KEY, volume INTEGER NOT NULL, parent INTEGER NOT NULL,"
            " long_name TEXT NOT NULL, dos_name TEXT NOT NULL, attributes INTEGER NOT NULL,"
            " owner INTEGER NOT NULL, modifier INTEGER NOT NULL, archiver INTEGER NOT NULL,"
            " created INTEGER NOT NULL, modified INTEGER NOT NULL, archived INTEGER NOT NULL,"
            " accessed INTEGER NOT NULL, irm INTEGER NOT NULL, size INTEGER NOT NULL,"
            " deleted INTEGER NOT NULL, deletor INTEGER NOT NULL)");
    db.exec("CREATE INDEX IF NOT EXISTS fs_erased_parent ON fs_erased(parent, id)");
    db.exec("CREATE TABLE IF NOT EXISTS fs_pending ("
            " id INTEGER PRIMARY KEY, op INTEGER NOT NULL, path TEXT NOT NULL,"
            " target TEXT NOT NULL)");
    recoverPending();

    m_volumes.clear();
    m_usedBlocks.clear();
    m_erasedBlocks.clear();
    Statement st(db,
        "SELECT number, name, total_blocks, long_names, mounted, root FROM fs_volumes"
        " ORDER BY number");
    while (st.step()) {
        FsVolume v;
        v.number = static_cast<uint16_t>(st.integer(0));
        v.name = st.text(1);
        v.totalBlocks = static_cast<uint32_t>(st.integer(2));
        v.longNames = st.integer(3) != 0;
        v.mounted = st.integer(4) != 0;
        v.root = st.integer(5);
        m_volumes[v.number] = v;
    }
    Statement used(db,
        "SELECT volume, SUM((size + 4095) / 4096) FROM fs_entries WHERE is_dir = 0"
        " GROUP BY volume");
    while (used.step())
        m_usedBlocks[static_cast<uint16_t>(used.integer(0))]
            = static_cast<uint32_t>(used.integer(1));
    Statement erased(db, "SELECT volume, SUM((size + 4095) / 4096) FROM fs_erased GROUP BY volume");
    while (erased.step())
        m_erasedBlocks[static_cast<uint16_t>(erased.integer(0))]
            = static_cast<uint32_t>(erased.integer(1));
}

qint64 FileSystem::now() const
{
    return m_server.serverMSecs();
}

QString FileSystem::volumeFolder(const QString& volume) const
{
    return QDir(m_server.dataDir()).filePath(QStringLiteral("volumes/") + volume.toUpper());
}

QString FileSystem::salvageFolder(const QString& volume) const
{
    return QDir(m_server.dataDir()).filePath(QStringLiteral("salvage/") + volume.toUpper());
}

NWCCODE FileSystem::createVolume(
    const QString& name, uint64_t sizeBytes, bool longNames, uint16_t* number)
{
    const QString upper = name.toUpper();
    static const QRegularExpression valid(QStringLiteral("^[A-Z0-9_$#!%&@-]{2,15}$"));
    if (!valid.match(upper).hasMatch())
        return fscc::InvalidPath;
    if (volumeByName(upper))
        return fscc::AlreadyExists;
    uint16_t n = 0;
    while (m_volumes.count(n))
        ++n;
    if (n > 64)
        return fscc::NoSuchVolume;
    Database& db = m_server.db();
    Transaction t(db);
    FsEntry root;
    root.volume = n;
    root.dir = true;
    root.attributes = attr::Directory;
    root.created = root.modified = now();
    root.owner = kSupervisorId;
    const qint64 rootId = insertEntry(root);
    db.run("INSERT INTO fs_volumes(number, name, total_blocks, long_names, root)"
           " VALUES(?, ?, ?, ?, ?)",
        { n, upper, QVariant::fromValue<qint64>(sizeBytes / kBlockSize), longNames ? 1 : 0,
            id64(rootId) });
    if (!safefs::openRoot(volumeFolder(upper)).valid())
        return fscc::IoError;
    t.commit();
    m_volumes[n] = FsVolume { n, upper, static_cast<uint32_t>(sizeBytes / kBlockSize), longNames,
        true, rootId };
    if (number)
        *number = n;
    return cc::Success;
}

std::optional<FsVolume> FileSystem::volume(uint16_t number) const
{
    const auto it = m_volumes.find(number);
    return it == m_volumes.end() ? std::nullopt : std::optional(it->second);
}

std::optional<FsVolume> FileSystem::volumeByName(const QString& name) const
{
    QString n = name;
    if (n.endsWith(u':'))
        n.chop(1);
    for (const auto& [num, v] : m_volumes)
        if (v.name.compare(n, Qt::CaseInsensitive) == 0)
            return v;
    return std::nullopt;
}

NWCCODE FileSystem::mount(const QString& name, uint16_t& number)
{
    const auto v = volumeByName(name);
    if (!v)
        return fscc::NoSuchVolume;
    if (v->mounted)
        return fscc::VolumeAlreadyMounted;
    Transaction t(m_server.db());
    m_server.db().run("UPDATE fs_volumes SET mounted = 1 WHERE number = ?", { v->number });
    t.commit();
    m_volumes[v->number].mounted = true;
    number = v->number;
    return cc::Success;
}

NWCCODE FileSystem::dismount(const QString& name)
{
    const auto v = volumeByName(name);
    if (!v || !v->mounted)
        return fscc::NoSuchVolume;
    dropDeadOpens();
    for (const auto& [h, f] : m_open) {
        const auto e = entry(f.entry);
        if (e && e->volume == v->number)
            return fscc::FileInUse;
    }
    Transaction t(m_server.db());
    m_server.db().run("UPDATE fs_volumes SET mounted = 0 WHERE number = ?", { v->number });
    t.commit();
    m_volumes[v->number].mounted = false;
    // Handles into a dismounted volume are gone, as on NetWare.
    for (auto& [conn, s] : m_conns)
        std::erase_if(s.handles, [&](const auto& p) { return p.second.volume == v->number; });
    return cc::Success;
}

std::vector<uint8_t> FileSystem::nameSpaces(uint16_t volume) const
{
    const auto v = this->volume(volume);
    if (!v)
        return {};
    if (v->longNames)
        return { ns::Dos, ns::Long };
    return { ns::Dos };
}

FsSpace FileSystem::space(uint16_t volume) const
{
    FsSpace s;
    const auto v = this->volume(volume);
    if (!v)
        return s;
    s.totalBlocks = v->totalBlocks;
    const auto used = m_usedBlocks.find(volume);
    s.usedBlocks = used == m_usedBlocks.end() ? 0 : used->second;
    const auto erased = m_erasedBlocks.find(volume);
    s.erasedBlocks = erased == m_erasedBlocks.end() ? 0 : erased->second;
    Database& db = m_server.db();
    Statement st(db,
        "SELECT SUM(is_dir = 0), SUM(is_dir = 1), SUM(is_dir = 0 AND (attributes & ?) <> 0)"
        " FROM fs_entries WHERE volume = ?");
    st.bindAll({ QVariant::fromValue<qint64>(attr::Compressed), volume });
    if (st.step()) {
        s.files = static_cast<uint32_t>(st.integer(0));
        s.directories = static_cast<uint32_t>(st.integer(1));
        s.compressedFiles = static_cast<uint32_t>(st.integer(2));
    }
    s.erasedFiles = static_cast<uint32_t>(
        db.scalar("SELECT COUNT(*) FROM fs_erased WHERE volume = ?", { volume }).toLongLong());
    return s;
}

void FileSystem::dirLimit(const FsEntry& dir, uint32_t& limitBlocks, uint32_t& usedBlocks) const
{
    limitBlocks = 0;
    usedBlocks = 0;
    std::optional<FsEntry> e = dir;
    std::optional<FsEntry> binding;
    while (e) {
        if (e->maxSpace > 0) {
            const auto limit = static_cast<uint32_t>(e->maxSpace);
            if (!binding || limit < limitBlocks) {
                binding = e;
                limitBlocks = limit;
            }
        }
        e = e->parent ? entry(e->parent) : std::nullopt;
    }
    if (binding)
        usedBlocks = subtreeBlocks(binding->id);
}

uint32_t FileSystem::subtreeBlocks(qint64 dir) const
{
    const QVariant sum = m_server.db().scalar(
        "WITH RECURSIVE sub(id) AS (SELECT ? UNION ALL"
        " SELECT e.id FROM fs_entries e JOIN sub ON e.parent = sub.id)"
        " SELECT SUM((size + 4095) / 4096) FROM fs_entries WHERE id IN sub AND is_dir = 0",
        { id64(dir) });
    return static_cast<uint32_t>(sum.toLongLong());
}

FsEntry FileSystem::readEntry(Statement& st) const
{
    FsEntry e;
    e.id = st.integer(0);
    e.volume = static_cast<uint16_t>(st.integer(1));
    e.parent = st.integer(2);
    e.longName = st.text(3);
    e.dosName = st.text(4);
    e.dir = st.integer(5) != 0;
    e.attributes = static_cast<uint32_t>(st.integer(6));
    e.owner = static_cast<uint32_t>(st.integer(7));
    e.modifier = static_cast<uint32_t>(st.integer(8));
    e.archiver = static_cast<uint32_t>(st.integer(9));
    e.created = st.integer(10);
    e.modified = st.integer(11);
    e.archived = st.integer(12);
    e.accessed = st.integer(13);
    e.irm = static_cast<uint16_t>(st.integer(14));
    e.maxSpace = static_cast<int32_t>(st.integer(15));
    e.size = st.integer(16);
    return e;
}

StatementLease FileSystem::prepared(const char* sql) const
{
    return m_server.db().cached((QByteArray("SELECT ") + kEntryColumns + sql).constData());
}

std::optional<FsEntry> FileSystem::entry(qint64 id) const
{
    StatementLease l = prepared(" FROM fs_entries WHERE id = ?");
    l.st.bind(1, id64(id));
    if (!l.st.step())
        return std::nullopt;
    return readEntry(l.st);
}

std::optional<FsEntry> FileSystem::child(qint64 dir, const QString& name, uint8_t ns) const
{
    // In the LONG name space a name is a long name first, a DOS name second. Two lookups: each
    // is one index probe, where one query with OR walked every entry of the folder.
    if (ns == ns::Long) {
        StatementLease l = prepared(" FROM fs_entries WHERE parent = ? AND long_name = ? LIMIT 1");
        l.st.bindAll({ id64(dir), name });
        if (l.st.step())
            return readEntry(l.st);
    }
    StatementLease l = prepared(" FROM fs_entries WHERE parent = ? AND dos_name = ? LIMIT 1");
    l.st.bindAll({ id64(dir), name });
    if (!l.st.step())
        return std::nullopt;
    return readEntry(l.st);
}

std::shared_ptr<const std::vector<FsEntry>> FileSystem::listing(qint64 dir) const
{
    // Inside a transaction the rows read may still be taken back, so nothing is kept then.
    Database& db = m_server.db();
    const bool settled = !db.inTransaction();
    const uint64_t version = settled ? db.version() : 0;
    if (settled) {
        const auto it = m_listings.find(dir);
        if (it != m_listings.end() && it->second.version == version) {
            it->second.lastUse = ++m_listingUses;
            return it->second.entries;
        }
    }
    auto entries = std::make_shared<std::vector<FsEntry>>();
    {
        StatementLease l = prepared(" FROM fs_entries WHERE parent = ? ORDER BY id");
        l.st.bind(1, id64(dir));
        while (l.st.step())
            entries->push_back(readEntry(l.st));
    }
    if (settled) {
        m_listings[dir] = Listing { version, entries, ++m_listingUses };
        const auto kept = [&] {
            size_t n = 0;
            for (const auto& [id, l] : m_listings)
                n += l.entries->size();
            return n;
        };
        // The least recently used go first; the listing just read stays.
        while (
            m_listings.size() > 1 && (m_listings.size() > kKeptListings || kept() > kKeptEntries))
            m_listings.erase(std::min_element(m_listings.begin(), m_listings.end(),
                [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; }));
    }
    return entries;
}

std::vector<FsEntry> FileSystem::children(qint64 dir, qint64 after, int limit, int kind) const
{
    StatementLease l
        = prepared(" FROM fs_entries WHERE parent = ? AND id > ? AND (is_dir = ? OR ? < 0)"
                   " ORDER BY id LIMIT ?");
    l.st.bindAll({ id64(dir), id64(after), kind, kind, limit });
    std::vector<FsEntry> out;
    while (l.st.step())
        out.push_back(readEntry(l.st));
    return out;
}

qint64 FileSystem::insertEntry(const FsEntry& e)
{
    m_server.db().run("INSERT INTO fs_entries(volume, parent, long_name, dos_name, is_dir,"
                      " attributes, owner, modifier, archiver, created, modified, archived,"
                      " accessed, irm, max_space, size)"
                      " VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        { e.volume, id64(e.parent), e.longName, e.dosName, e.dir ? 1 : 0,
            QVariant::fromValue<qint64>(e.attributes), QVariant::fromValue<qint64>(e.owner),
            QVariant::fromValue<qint64>(e.modifier), QVariant::fromValue<qint64>(e.archiver),
            id64(e.created), id64(e.modified), id64(e.archived), id64(e.accessed), e.irm,
            e.maxSpace, id64(e.size) });
    return m_server.db().lastInsertId();
}

void FileSystem::update(const FsEntry& e)
{
    m_server.db().run("UPDATE fs_entries SET parent = ?, long_name = ?, dos_name = ?,"
                      " attributes = ?, owner = ?, modifier = ?, archiver = ?, created = ?,"
                      " modified = ?, archived = ?, accessed = ?, irm = ?, max_space = ?,"
                      " size = ? WHERE id = ?",
        { id64(e.parent), e.longName, e.dosName, QVariant::fromValue<qint64>(e.attributes),
            QVariant::fromValue<qint64>(e.owner), QVariant::fromValue<qint64>(e.modifier),
            QVariant::fromValue<qint64>(e.archiver), id64(e.created), id64(e.modified),
            id64(e.archived), id64(e.accessed), e.irm, e.maxSpace, id64(e.size), id64(e.id) });
}

QString FileSystem::fullPath(const FsEntry& e, uint8_t ns) const
{
    QStringList names;
    std::optional<FsEntry> cur = e;
    while (cur && cur->parent != 0) {
        names.prepend(cur->name(ns));
        cur = entry(cur->parent);
    }
    const auto v = volume(e.volume);
    return (v ? v->name : QString()) + u':' + names.join(u'\\');
}

QStringList FileSystem::hostPath(const FsEntry& e) const
{
    QStringList names;
    std::optional<FsEntry> cur = e;
    while (cur && cur->parent != 0) {
        names.prepend(cur->longName);
        cur = entry(cur->parent);
    }
    return names;
}

safefs::Fd FileSystem::hostDir(const FsEntry& dir) const
{
    const auto v = volume(dir.volume);
    if (!v)
        return {};
    return safefs::openDir(safefs::openRoot(volumeFolder(v->name)), hostPath(dir));
}

NWCCODE FileSystem::resolve(
    const Connection& c, uint8_t dirHandle, const QString& path, int nsOverride, FsTarget& out)
{
    QString rest = path;
    std::optional<FsEntry> dir;
    uint8_t handleNs = ns::Dos;
    const qsizetype colon = rest.indexOf(u':');
    if (colon >= 0) {
        const auto v = volumeByName(rest.left(colon));
        if (!v || !v->mounted)
            return fscc::NoSuchVolume;
        out.volume = v->number;
        handleNs = v->longNames ? ns::Long : ns::Dos;
        dir = entry(v->root);
        rest = rest.mid(colon + 1);
    } else {
        if (dirHandle == 0)
            return fscc::InvalidPath;
        const ConnState& s = state(c);
        const auto it = s.handles.find(dirHandle);
        if (it == s.handles.end())
            return fscc::BadDirHandle;
        out.volume = it->second.volume;
        handleNs = it->second.ns;
        dir = entry(it->second.dir);
        if (rest.isEmpty())
            out.handleRights = it->second.rights;
    }
    if (!dir)
        return fscc::InvalidPath;
    out.ns = nsOverride >= 0 ? static_cast<uint8_t>(nsOverride) : handleNs;
    const auto v = volume(out.volume);
    if (out.ns != ns::Dos && !(out.ns == ns::Long && v && v->longNames))
        return fscc::InvalidNameSpace;
    const QStringList parts = QString(rest).replace(u'/', u'\\').split(u'\\', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& name = parts[i];
        const bool last = i + 1 == parts.size();
        if (name == u"." || name == u".." || name.contains(u':')
            || (!last && fsnames::hasWildcards(name)))
            return fscc::InvalidPath;
        if (last) {
            out.dir = *dir;
            out.leaf = name;
            if (!fsnames::hasWildcards(name))
                out.entry = child(dir->id, name, out.ns);
            return cc::Success;
        }
        dir = child(dir->id, name, out.ns);
        if (!dir || !dir->dir)
            return fscc::InvalidPath;
    }
    out.dir = *dir;
    out.entry = *dir;
    return cc::Success;
}

uint16_t FileSystem::effectiveRights(uint32_t objectId, const FsEntry& e) const
{
    const ObjectStore& objects = m_server.objects();
    if (objectId == 0)
        return 0;
    if (objects.isSupervisor(objectId))
        return rights::All | rights::Supervisor;
    // Who the object counts as: itself, its groups, its equivalences and their groups.
    std::vector<uint32_t> ids { objectId };
    auto addGroups = [&](uint32_t id) {
        for (uint32_t g : objects.groupsOf(id))
            ids.push_back(g);
    };
    addGroups(objectId);
    for (uint32_t eq : objects.equivalencesOf(objectId)) {
        ids.push_back(eq);
        addGroups(eq);
    }
    std::vector<FsEntry> chain; // from the root down to e
    std::optional<FsEntry> cur = e;
    while (cur) {
        chain.insert(chain.begin(), *cur);
        cur = cur->parent ? entry(cur->parent) : std::nullopt;
    }
    QStringList idText, entryText;
    for (uint32_t id : ids)
        idText << QString::number(id);
    for (const FsEntry& c : chain)
        entryText << QString::number(c.id);
    const QByteArray sql = "SELECT entry, object, rights FROM fs_trustees WHERE entry IN ("
        + entryText.join(u',').toLatin1() + ") AND object IN (" + idText.join(u',').toLatin1()
        + ")";
    std::map<std::pair<qint64, uint32_t>, uint16_t> assigned;
    Statement st(m_server.db(), sql.constData());
    while (st.step())
        assigned[{ st.integer(0), static_cast<uint32_t>(st.integer(1)) }]
            = static_cast<uint16_t>(st.integer(2));
    // Each identity inherits on its own: an assignment replaces what came from above, the
    // inherited rights mask filters the rest, and the Supervisor right passes every filter.
    uint16_t effective = 0;
    for (uint32_t id : ids) {
        uint16_t r = 0;
        for (const FsEntry& c : chain) {
            const auto it = assigned.find({ c.id, id });
            if (it != assigned.end())
                r = (r & rights::Supervisor) | it->second;
            else if (!(r & rights::Supervisor))
                r &= c.irm;
        }
        effective |= r;
    }
    if (effective & rights::Supervisor)
        effective |= rights::All;
    return effective;
}

std::vector<std::pair<uint32_t, uint16_t>> FileSystem::trustees(qint64 entry) const
{
    Statement st(
        m_server.db(), "SELECT object, rights FROM fs_trustees WHERE entry = ? ORDER BY object");
    st.bind(1, id64(entry));
    std::vector<std::pair<uint32_t, uint16_t>> out;
    while (st.step())
        out.emplace_back(
            static_cast<uint32_t>(st.integer(0)), static_cast<uint16_t>(st.integer(1)));
    return out;
}

void FileSystem::setTrustee(qint64 entry, uint32_t object, uint16_t rights)
{
    m_server.db().run("INSERT INTO fs_trustees(entry, object, rights) VALUES(?, ?, ?)"
                      " ON CONFLICT(entry, object) DO UPDATE SET rights = excluded.rights",
        { id64(entry), QVariant::fromValue<qint64>(object), rights });
}

bool FileSystem::removeTrustee(qint64 entry, uint32_t object)
{
    m_server.db().run("DELETE FROM fs_trustees WHERE entry = ? AND object = ?",
        { id64(entry), QVariant::fromValue<qint64>(object) });
    return m_server.db().changes() > 0;
}

} // namespace nwserver
