#include "platform/nwserver/filesystem.h"
#include "platform/nwserver/server.h"

#include <QDebug>
#include <fcntl.h>
#include <sys/stat.h>

// A change touches two stores that cannot share a transaction: the metadata in SQLite and the
// host folders. Each host step is noted in fs_pending first, so that whatever a crash interrupts
// is put right by the next load():
// - a create, a rename and a directory removal are noted and committed before the host step;
//   the change's own transaction deletes the note. A note that survives means the metadata
//   never changed, so the host step is taken back (remove / rename back / make again).
// - removing a file's contents cannot be taken back, so it is noted inside the change's
//   transaction and done after the commit. A note that survives means the metadata changed,
//   so the removal is finished.

namespace nwserver {

namespace {

bool exists(const safefs::Fd& dir, const QString& name, bool* isDir = nullptr)
{
    struct stat st;
    if (!dir.valid()
        || ::fstatat(dir.get(), name.toUtf8().constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (isDir)
        *isDir = S_ISDIR(st.st_mode);
    return true;
}

QString joined(const QStringList& path)
{
    return path.join(u'/');
}

} // namespace

FileSystem::HostChange::HostChange(
    FileSystem& fs, HostOp op, const QStringList& from, const QStringList& to)
    : m_fs(fs)
{
    Database& db = fs.m_server.db();
    Transaction t(db);
    db.run("INSERT INTO fs_pending(op, path, target) VALUES(?, ?, ?)",
        { static_cast<int>(op), joined(from), joined(to) });
    m_id = db.lastInsertId();
    t.commit();
}

FileSystem::HostChange::~HostChange()
{
    if (m_id == 0)
        return;
    try {
        m_fs.finishPending(m_id);
    } catch (const StorageError& e) {
        // The note stays; the next load() puts the host folders right.
        qWarning() << "file system journal:" << e.what();
    }
}

void FileSystem::HostChange::settle()
{
    m_fs.m_server.db().run("DELETE FROM fs_pending WHERE id = ?", { QVariant::fromValue(m_id) });
}

void FileSystem::HostChange::removeAfterCommit(const QStringList& path)
{
    Database& db = m_fs.m_server.db();
    db.run("INSERT INTO fs_pending(op, path, target) VALUES(?, ?, '')",
        { static_cast<int>(HostOp::Remove), joined(path) });
    m_id = db.lastInsertId();
}

QStringList FileSystem::hostName(const FsEntry& dir, const QString& name) const
{
    const auto v = volume(dir.volume);
    return QStringList { QStringLiteral("volumes"), v ? v->name : QString() } + hostPath(dir)
        + QStringList { name };
}

QStringList FileSystem::salvageName(uint16_t volume, qint64 id) const
{
    const auto v = this->volume(volume);
    return { QStringLiteral("salvage"), v ? v->name : QString(), QString::number(id) };
}

void FileSystem::finishPending(qint64 id)
{
    Database& db = m_server.db();
    Statement st(db, "SELECT op, path, target FROM fs_pending WHERE id = ?");
    st.bind(1, QVariant::fromValue(id));
    if (!st.step())
        return;
    applyPending(static_cast<HostOp>(st.integer(0)), st.text(1), st.text(2));
    st.reset();
    Transaction t(db);
    db.run("DELETE FROM fs_pending WHERE id = ?", { QVariant::fromValue(id) });
    t.commit();
}

void FileSystem::recoverPending()
{
    Database& db = m_server.db();
    std::vector<qint64> ids;
    {
        Statement st(db, "SELECT id FROM fs_pending ORDER BY id DESC");
        while (st.step())
            ids.push_back(st.integer(0));
    }
    // Newest first: a later step may have been made on top of an earlier one.
    for (qint64 id : ids)
        finishPending(id);
}

void FileSystem::applyPending(HostOp op, const QString& path, const QString& target)
{
    const safefs::Fd root = safefs::openRoot(m_server.dataDir());
    auto parentOf = [&](const QString& p, QString& name) {
        QStringList parts = p.split(u'/', Qt::SkipEmptyParts);
        name = parts.isEmpty() ? QString() : parts.takeLast();
        return safefs::openDir(root, parts);
    };
    QString name;
    const safefs::Fd dir = parentOf(path, name);
    bool isDir = false;
    switch (op) {
    case HostOp::Create:
        if (exists(dir, name, &isDir))
            isDir ? safefs::removeDir(dir, name) : safefs::removeFile(dir, name);
        break;
    case HostOp::Rename: {
        QString toName;
        const safefs::Fd to = parentOf(target, toName);
        if (exists(to, toName) && !exists(dir, name))
            safefs::rename(to, toName, dir, name);
        break;
    }
    case HostOp::RemoveDir:
        if (dir.valid() && !exists(dir, name))
            safefs::makeDir(dir, name);
        break;
    case HostOp::Remove:
        safefs::removeFile(dir, name);
        break;
    }
}

} // namespace nwserver
