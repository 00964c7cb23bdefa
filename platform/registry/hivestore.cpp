#include "platform/registry/hivestore.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <sys/stat.h>

namespace registry {

QString hiveName(Hive hive)
{
    return hive == Hive::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                     : QStringLiteral("HKEY_LOCAL_MACHINE");
}

bool applySections(const RegDocument& doc, Hive hive, RegNode& tree, bool foreignIsError)
{
    const QString own = hiveName(hive);
    for (const RegSection& section : doc.sections) {
        if (section.hiveName.compare(own, Qt::CaseInsensitive) != 0) {
            if (foreignIsError)
                return false;
            continue;
        }
        if (section.removeKey) {
            if (section.path.isEmpty())
                continue; // a whole hive is never deleted
            RegNode* parent = tree.find(section.path.mid(0, section.path.size() - 1));
            if (parent)
                parent->removeChild(section.path.last());
            continue;
        }
        RegNode* node = &tree;
        for (const QString& name : section.path)
            node = node->addChild(name);
        for (const RegValueChange& change : section.changes) {
            if (change.remove)
                node->removeValue(change.value.name);
            else
                node->setValue(change.value);
        }
    }
    return true;
}

HiveStore& HiveStore::instance()
{
    static HiveStore store;
    return store;
}

void HiveStore::setRoot(const QString& folder)
{
    QMutexLocker lock(&m_mutex);
    m_root = folder;
}

QString HiveStore::root() const
{
    QMutexLocker lock(&m_mutex);
    return rootLocked();
}

QString HiveStore::rootLocked() const
{
    if (!m_root.isEmpty())
        return m_root;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/orvo/registry");
}

HiveStore::FileStamp HiveStore::stampOf(const QString& file)
{
    FileStamp stamp;
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

HiveStore::HiveState& HiveStore::load(Hive hive)
{
    HiveState& state = m_hives[int(hive)];
    const QString folder = rootLocked();
    if (folder.isEmpty()) {
        state = HiveState();
        return state;
    }
    const QString file = folder + u'/' + hiveName(hive) + QStringLiteral(".reg");
    const FileStamp stamp = stampOf(file);
    if (state.loaded && state.file == file && state.stamp == stamp)
        return state;

    state = HiveState();
    state.file = file;
    state.stamp = stamp;
    state.loaded = true;
    if (!stamp.exists) {
        state.usable = true;
        return state;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        qWarning("registry: cannot read %s", qPrintable(file));
        return state;
    }
    QString error;
    const std::optional<RegDocument> doc = parseRegFile(in.readAll(), &error);
    if (!doc || !applySections(*doc, hive, state.tree, true)) {
        qWarning("registry: %s is not a valid hive file (%s); left untouched", qPrintable(file),
            qPrintable(error.isEmpty() ? QStringLiteral("foreign key") : error));
        state.tree = RegNode();
        return state;
    }
    state.usable = true;
    return state;
}

bool HiveStore::save(Hive hive, HiveState& state)
{
    const QString folder = rootLocked();
    QSaveFile out(state.file);
    const bool written = QDir().mkpath(folder) && out.open(QIODevice::WriteOnly)
        && out.write(writeRegFile(hiveName(hive), state.tree)) >= 0 && out.commit();
    if (!written) {
        qWarning("registry: cannot write %s", qPrintable(state.file));
        state = HiveState(); // forget the unsaved change: memory must not claim more than disk
        return false;
    }
    state.stamp = stampOf(state.file);
    return true;
}

bool HiveStore::read(Hive hive, const std::function<void(const RegNode&)>& fn)
{
    QMutexLocker lock(&m_mutex);
    HiveState& state = load(hive);
    if (!state.usable)
        return false;
    fn(state.tree);
    return true;
}

bool HiveStore::modify(Hive hive, const std::function<Edit(RegNode&)>& fn)
{
    QMutexLocker lock(&m_mutex);
    HiveState& state = load(hive);
    if (!state.usable)
        return false;
    switch (fn(state.tree)) {
    case Edit::Unchanged:
        return true;
    case Edit::Failed:
        return false;
    case Edit::Changed:
        break;
    }
    return save(hive, state);
}

bool HiveStore::apply(const RegDocument& doc, QString* error)
{
    QMutexLocker lock(&m_mutex);
    RegNode trees[2];
    for (Hive hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        HiveState& state = load(hive);
        if (!state.usable) {
            if (error)
                *error = QStringLiteral("the hive %1 cannot be used").arg(hiveName(hive));
            return false;
        }
        trees[int(hive)] = state.tree;
        applySections(doc, hive, trees[int(hive)], false);
    }
    bool ok = true;
    for (Hive hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        HiveState& state = m_hives[int(hive)];
        if (!std::any_of(doc.sections.cbegin(), doc.sections.cend(), [&](const RegSection& s) {
                return s.hiveName.compare(hiveName(hive), Qt::CaseInsensitive) == 0;
            }))
            continue;
        state.tree = trees[int(hive)];
        if (!save(hive, state)) {
            ok = false;
            if (error)
                *error = QStringLiteral("the hive %1 cannot be written").arg(hiveName(hive));
        }
    }
    return ok;
}

} // namespace registry
