#pragma once

#include "platform/registry/regformat.h"
#include "platform/registry/registry.h"
#include "platform/registry/regtree.h"

#include <QMutex>
#include <functional>
#include <sys/types.h>

namespace registry {

// The loaded hives behind RegKey, guarded by one mutex. A hive is read from its file on first
// use and again whenever the file changed on disk (another process wrote it), and written back
// after each change.
class HiveStore {
public:
    static HiveStore& instance();

    // Calls fn with the hive's tree, or answers false without calling it when the hive is
    // unusable (malformed or unreadable file, no folder).
    bool read(Hive hive, const std::function<void(const RegNode&)>& fn);

    enum class Edit { Unchanged, Changed, Failed };
    // Calls fn with the hive's tree; a Changed tree is saved before this returns. False when
    // the hive is unusable, fn failed or the file could not be written (the change is then
    // dropped from memory as well).
    bool modify(Hive hive, const std::function<Edit(RegNode&)>& fn);

    // Applies a parsed document to both hives; nothing is changed when a hive is unusable.
    bool apply(const RegDocument& doc, QString* error);

    void setRoot(const QString& folder);
    QString root() const;

private:
    struct FileStamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        int64_t mtimeNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct HiveState {
        QString file;
        FileStamp stamp;
        bool loaded = false;
        bool usable = false;
        RegNode tree;
    };

    HiveState& load(Hive hive);
    bool save(Hive hive, HiveState& state);
    QString rootLocked() const;
    static FileStamp stampOf(const QString& file);

    mutable QMutex m_mutex;
    QString m_root;
    HiveState m_hives[2];
};

// Applies the sections of a document naming this hive to its tree; false when a section names
// a hive that is not this one and foreignIsError is set.
bool applySections(const RegDocument& doc, Hive hive, RegNode& tree, bool foreignIsError);

} // namespace registry
