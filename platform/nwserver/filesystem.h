#pragma once

#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/fsrecords.h"
#include "platform/nwserver/database.h"
#include "platform/nwserver/safefs.h"

#include <QDateTime>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace nwserver {

class Server;
struct Connection;

using nwproto::NWCCODE;

// One directory entry (file or directory) of a volume. Dates are milliseconds since the epoch,
// 0 = never.
struct FsEntry {
    qint64 id = 0;
    uint16_t volume = 0;
    qint64 parent = 0; // 0 for a volume's root directory
    QString longName;
    QString dosName;
    bool dir = false;
    uint32_t attributes = 0;
    uint32_t owner = 0;
    uint32_t modifier = 0;
    uint32_t archiver = 0;
    qint64 created = 0;
    qint64 modified = 0;
    qint64 archived = 0;
    qint64 accessed = 0;
    uint16_t irm = nwproto::rights::All | nwproto::rights::Supervisor;
    int32_t maxSpace = 0; // 4 KB blocks, directories only, 0 = no limit
    qint64 size = 0;

    QString name(uint8_t ns) const { return ns == nwproto::ns::Long ? longName : dosName; }
};

struct FsVolume {
    uint16_t number = 0;
    QString name;
    uint32_t totalBlocks = 0; // 4 KB blocks
    bool longNames = false;
    bool mounted = true;
    qint64 root = 0;
};

// A file that was erased and can still be salvaged.
struct FsErased {
    qint64 id = 0;
    FsEntry entry; // as it was when erased; entry.parent is the directory it was erased from
    qint64 deleted = 0;
    uint32_t deletor = 0;
};

// Where a path leads: the directory that holds its last name, and the entry of that name when
// it exists. A path that ends at a directory has an empty leaf and entry = that directory.
struct FsTarget {
    uint16_t volume = 0;
    uint8_t ns = 0;
    FsEntry dir;
    QString leaf;
    std::optional<FsEntry> entry;
    // The caller's rights on dir as noted when its handle was allocated, when the path was
    // the handle's directory itself; -1 otherwise.
    int handleRights = -1;
};

struct FsSpace {
    uint32_t totalBlocks = 0;
    uint32_t usedBlocks = 0; // live files
    uint32_t erasedBlocks = 0; // salvageable files
    uint32_t files = 0;
    uint32_t directories = 0;
    uint32_t erasedFiles = 0;
    uint32_t compressedFiles = 0;
};

// The server's volumes and everything on them: entries with their NetWare metadata in SQLite,
// contents as ordinary files under <dataDir>/volumes/<VOLUME>/, erased files under
// <dataDir>/salvage/<VOLUME>/ until purged, and the per-connection directory handles and open
// files. Runs under the server's lock like every handler.
class FileSystem {
public:
    static constexpr uint32_t kBlockSize = 4096;
    static constexpr uint32_t kMaxTransfer = 65536; // bytes one read or write carries

    explicit FileSystem(Server& server);
    ~FileSystem();
    // Creates the tables when missing and reads the volume table.
    void load();

    // Volumes. createVolume answers fscc::AlreadyExists for a taken name or number.
    NWCCODE createVolume(
        const QString& name, uint64_t sizeBytes, bool longNames, uint16_t* number = nullptr);
    std::optional<FsVolume> volume(uint16_t number) const; // mounted or not
    std::optional<FsVolume> volumeByName(const QString& name) const;
    NWCCODE mount(const QString& name, uint16_t& number);
    NWCCODE dismount(const QString& name);
    std::vector<uint8_t> nameSpaces(uint16_t volume) const;
    FsSpace space(uint16_t volume) const;
    // Blocks a directory subtree holds and the limit that binds it (0 = none), for
    // getDirSpaceInfo: the tightest limit of the directory and its parents.
    void dirLimit(const FsEntry& dir, uint32_t& limitBlocks, uint32_t& usedBlocks) const;

    // Entries.
    std::optional<FsEntry> entry(qint64 id) const;
    std::optional<FsEntry> child(qint64 dir, const QString& name, uint8_t ns) const;
    // Children of dir in id order after id `after`, at most `limit` of them; kind 0 = files
    // only, 1 = directories only, -1 = both.
    std::vector<FsEntry> children(qint64 dir, qint64 after, int limit, int kind = -1) const;
    // All children of dir in id order. Kept in memory between calls, as a NetWare server keeps
    // its directory tables cached, so that a scan pages through a large folder without reading
    // the store for every page; any change to the store makes the kept listings stale.
    std::shared_ptr<const std::vector<FsEntry>> listing(qint64 dir) const;
    void update(const FsEntry& e);
    QString fullPath(const FsEntry& e, uint8_t ns) const; // "VOL:dir\name"

    // Resolves a path of a station (see pathops.h of the client for the rules). nsOverride -1
    // takes the name space of the handle (or of the volume with handle 0).
    NWCCODE resolve(
        const Connection& c, uint8_t dirHandle, const QString& path, int nsOverride, FsTarget& out);
    // Effective rights of an object on an entry, inherited and filtered on the way down.
    uint16_t effectiveRights(uint32_t objectId, const FsEntry& e) const;

    // Changes, each with its rights checked for the connection's object.
    NWCCODE createEntry(
        const Connection& c, const FsTarget& t, bool dir, uint16_t irm, FsEntry* created = nullptr);
    NWCCODE removeDirectory(const Connection& c, const FsEntry& dir);
    NWCCODE erase(const Connection& c, const FsEntry& file);
    NWCCODE move(const Connection& c, const FsEntry& e, const FsEntry& toDir,
        const QString& newName, uint8_t ns);

    // Trustees.
    std::vector<std::pair<uint32_t, uint16_t>> trustees(qint64 entry) const;
    void setTrustee(qint64 entry, uint32_t object, uint16_t rights);
    bool removeTrustee(qint64 entry, uint32_t object);

    // Salvage.
    std::vector<FsErased> erased(qint64 dir, qint64 after, int limit) const;
    std::optional<FsErased> erasedById(qint64 id) const;
    NWCCODE recover(const Connection& c, const FsErased& e, const QString& newName);
    NWCCODE purge(const FsErased& e);

    // Directory handles of a connection (1..255).
    struct DirHandle {
        uint16_t volume = 0;
        qint64 dir = 0;
        uint8_t ns = 0;
        uint16_t rights = 0; // effective rights on dir when allocated
    };
    NWCCODE allocHandle(const Connection& c, const DirHandle& h, uint8_t& number);
    NWCCODE freeHandle(const Connection& c, uint8_t number);

    // Open files.
    NWCCODE open(const Connection& c, const FsTarget& t, uint16_t mode, uint32_t& handle);
    // Up to count bytes (at most 65536) from offset into data; got says how many.
    NWCCODE read(const Connection& c, uint32_t handle, uint64_t offset, char* data, uint32_t count,
        uint32_t& got);
    NWCCODE write(const Connection& c, uint32_t handle, uint64_t offset, const QByteArray& data);
    NWCCODE size(const Connection& c, uint32_t handle, uint64_t& size);
    NWCCODE truncate(const Connection& c, uint32_t handle, uint64_t size);
    NWCCODE close(const Connection& c, uint32_t handle);
    // True when the file is open on a live connection other than except (0 = any).
    bool isOpen(qint64 entry, uint32_t exceptConn = 0);
    // Connections that hold entry open, for the open-files pages.
    std::vector<uint32_t> openers(qint64 entry);

    // The host folder of a volume's contents.
    QString volumeFolder(const QString& volume) const;

    // Server-side helpers for the demo world and tests: write a whole file as `owner`, no
    // rights checked. Directories on the way are created.
    NWCCODE putFile(const QString& path, const QByteArray& data, uint32_t owner,
        const QDateTime& when, FsEntry* out = nullptr);
    NWCCODE makeDirectory(
        const QString& path, uint32_t owner, const QDateTime& when, FsEntry* out = nullptr);
    // Erases a file as `deletor` at `when` (salvageable unless Purge Immediate applies).
    NWCCODE eraseAs(const FsEntry& file, uint32_t deletor, const QDateTime& when);

private:
    // Host steps of a change, journalled in fs_pending (fsjournal.cpp). The guard is made
    // before the change's Transaction so that it ends after it: a create, rename or directory
    // removal is noted at once and undone unless settle() ran in a committed transaction; a
    // removal noted with removeAfterCommit() is done once its transaction committed.
    enum class HostOp { Create = 1, Rename = 2, RemoveDir = 3, Remove = 4 };
    class HostChange {
    public:
        explicit HostChange(FileSystem& fs)
            : m_fs(fs)
        {
        }
        HostChange(FileSystem& fs, HostOp op, const QStringList& from, const QStringList& to = {});
        ~HostChange();
        HostChange(const HostChange&) = delete;
        HostChange& operator=(const HostChange&) = delete;
        void settle();
        void removeAfterCommit(const QStringList& path);

    private:
        FileSystem& m_fs;
        qint64 m_id = 0;
    };
    // Paths below the server's data folder.
    QStringList hostName(const FsEntry& dir, const QString& name) const;
    QStringList salvageName(uint16_t volume, qint64 id) const;
    void finishPending(qint64 id);
    void recoverPending();
    void applyPending(HostOp op, const QString& path, const QString& target);

    struct OpenFile {
        uint32_t conn = 0;
        QDateTime connAttached;
        qint64 entry = 0;
        uint16_t mode = 0;
        safefs::Fd fd;
    };
    struct ConnState {
        QDateTime attached;
        std::map<uint8_t, DirHandle> handles;
    };

    ConnState& state(const Connection& c);
    bool connectionAlive(uint32_t conn, const QDateTime& attached) const;
    void dropDeadOpens();
    qint64 now() const;
    FsEntry readEntry(Statement& st) const;
    // The kept statement selecting the entry columns followed by sql (Database::cached).
    StatementLease prepared(const char* sql) const;
    qint64 insertEntry(const FsEntry& e);
    QStringList hostPath(const FsEntry& e) const; // long names from the root, root excluded
    safefs::Fd hostDir(const FsEntry& dir) const;
    NWCCODE checkSpace(const FsEntry& dir, uint32_t addBlocks);
    // Room for addBlocks more under every space limit of dir and its parents, except the
    // limits of directories that already hold `moving` (a move within them adds nothing).
    NWCCODE checkLimits(const FsEntry& dir, uint32_t addBlocks, const FsEntry* moving) const;
    uint32_t subtreeBlocks(qint64 dir) const; // blocks of the files below dir
    bool purgeOldestErased(uint16_t volume);
    NWCCODE eraseEntry(const FsEntry& file, uint32_t deletor, qint64 when);
    bool purgeImmediate(const FsEntry& file) const;
    QString salvageFolder(const QString& volume) const;
    OpenFile* openFile(const Connection& c, uint32_t handle);
    QString uniqueDosName(qint64 dir, const QString& longName, qint64 except = 0) const;
    // Creates an entry without checking rights: the name is checked for the name space.
    NWCCODE createRaw(const FsEntry& dir, uint8_t ns, const QString& name, bool isDir, uint16_t irm,
        uint32_t owner, qint64 when, FsEntry& out);
    NWCCODE namesFor(const FsEntry& dir, uint8_t ns, const QString& name, qint64 except,
        QString& longName, QString& dosName) const;
    void setSize(FsEntry& e, qint64 size);

    Server& m_server;
    std::map<uint16_t, FsVolume> m_volumes;
    std::map<uint16_t, uint32_t> m_usedBlocks; // live files per volume
    std::map<uint16_t, uint32_t> m_erasedBlocks;
    std::map<uint32_t, ConnState> m_conns;
    std::map<uint32_t, OpenFile> m_open;
    // The listings of the folders scanned last, with the store's version they were read at.
    struct Listing {
        uint64_t version = 0;
        std::shared_ptr<const std::vector<FsEntry>> entries;
        uint64_t lastUse = 0;
    };
    // A few folders, and no more entries than a few very large ones hold, stay in memory.
    static constexpr size_t kKeptListings = 4;
    static constexpr size_t kKeptEntries = 200000;
    mutable std::map<qint64, Listing> m_listings;
    mutable uint64_t m_listingUses = 0;
    uint32_t m_nextFileHandle = 1;
};

inline uint32_t blocksOf(qint64 size)
{
    return static_cast<uint32_t>((size + FileSystem::kBlockSize - 1) / FileSystem::kBlockSize);
}

} // namespace nwserver
