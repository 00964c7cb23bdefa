#include "platform/nwserver/fsrecords.h"

#include <QDateTime>
#include <atomic>
#include <cstring>
#include <ctime>
#include <limits>

namespace nwserver::fsrec {

using namespace nwproto;

namespace {
template <size_t N> uint8_t copyName(char (&field)[N], const QString& name)
{
    const QByteArray b = name.toLatin1();
    const size_t n = std::min(N, static_cast<size_t>(b.size()));
    std::memcpy(field, b.constData(), n);
    return static_cast<uint8_t>(std::min<size_t>(n, 255));
}
} // namespace

// Qt's local-time conversion reads the zone rules again for every stamp, which made a listing
// spend most of its time in the time-zone file. localtime_r() keeps the rules it read; tzset()
// picks up a changed zone at most once a second.
uint32_t packed(qint64 ms)
{
    if (ms == 0)
        return 0;
    static std::atomic<qint64> rulesRead { std::numeric_limits<qint64>::min() };
    timespec mono {};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &mono);
    const qint64 second = mono.tv_sec;
    if (rulesRead.exchange(second) != second)
        ::tzset();
    const time_t secs = static_cast<time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    tm local {};
    if (!::localtime_r(&secs, &local) || local.tm_year + 1900 < 1980)
        return 0;
    return (static_cast<uint32_t>(
                dostime::date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday))
               << 16)
        | dostime::time(local.tm_hour, local.tm_min, local.tm_sec);
}

uint16_t packedDate(qint64 ms)
{
    return static_cast<uint16_t>(packed(ms) >> 16);
}

uint16_t packedTime(qint64 ms)
{
    return static_cast<uint16_t>(packed(ms));
}

qint64 fromPacked(uint16_t date, uint16_t time)
{
    if (date == 0)
        return 0;
    const QDate d(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
    const QTime t((time >> 11) & 0x1F, (time >> 5) & 0x3F, (time & 0x1F) * 2);
    if (!d.isValid())
        return 0;
    return QDateTime(d, t.isValid() ? t : QTime(0, 0)).toMSecsSinceEpoch();
}

NWNSEntryInfo nsEntryInfo(const FsEntry& e, uint8_t ns, uint32_t mask)
{
    NWNSEntryInfo r;
    std::memset(&r, 0, sizeof r);
    if (mask & info::Name)
        r.nameLength = copyName(r.entryName, e.name(ns));
    if (mask & info::SpaceAllocated)
        r.spaceAlloc = blocksOf(e.size);
    if (mask & info::Attributes)
        r.attributes = e.attributes;
    if (mask & info::Size)
        r.dataStreamSize = static_cast<uint32_t>(std::min<qint64>(e.size, UINT32_MAX));
    if (mask & info::TotalSize) {
        r.totalStreamSize = static_cast<uint32_t>(std::min<qint64>(e.size, UINT32_MAX));
        r.numberOfStreams = 1;
    }
    if (mask & info::Creation) {
        const uint32_t created = packed(e.created);
        r.creationDate = static_cast<uint16_t>(created >> 16);
        r.creationTime = static_cast<uint16_t>(created);
        r.creatorId = e.owner;
    }
    if (mask & info::Modify) {
        const uint32_t modified = packed(e.modified);
        r.modifyDate = static_cast<uint16_t>(modified >> 16);
        r.modifyTime = static_cast<uint16_t>(modified);
        r.modifierId = e.modifier;
        r.lastAccessDate = packedDate(e.accessed);
    }
    if (mask & info::Archive) {
        const uint32_t archived = packed(e.archived);
        r.archiveDate = static_cast<uint16_t>(archived >> 16);
        r.archiveTime = static_cast<uint16_t>(archived);
        r.archiverId = e.archiver;
    }
    if (mask & info::Rights)
        r.inheritedRightsMask = e.irm;
    if (mask & info::DirectoryNumbers) {
        r.dirEntNum = static_cast<uint32_t>(e.id);
        r.dosDirNum = static_cast<uint32_t>(e.id);
        r.volNumber = e.volume;
    }
    if (mask & info::OwningNameSpace)
        r.nsCreator = ns;
    return r;
}

NWEntryInfo entryInfo(const FsEntry& e)
{
    NWEntryInfo r;
    std::memset(&r, 0, sizeof r);
    r.sequence = static_cast<uint32_t>(e.id);
    r.parent = static_cast<uint32_t>(e.parent);
    r.attributes = e.attributes;
    r.nameSpace = ns::Dos;
    r.nameLength = copyName(r.name, e.dosName);
    r.creationDateAndTime = packed(e.created);
    r.ownerId = e.owner;
    r.lastArchiveDateAndTime = packed(e.archived);
    r.lastArchiverId = e.archiver;
    r.updateDateAndTime = packed(e.modified);
    if (e.dir) {
        r.info.dir.lastModifyDateAndTime = packed(e.modified);
        r.info.dir.maximumSpace = e.maxSpace;
        r.info.dir.inheritedRightsMask = e.irm;
    } else {
        r.info.file.lastUpdatorId = e.modifier;
        r.info.file.fileSize = static_cast<uint32_t>(std::min<qint64>(e.size, UINT32_MAX));
        r.info.file.inheritedRightsMask = e.irm;
        r.info.file.lastAccessDate = packedDate(e.accessed);
    }
    return r;
}

NWDeletedInfo deletedInfo(const FsErased& d)
{
    const FsEntry& e = d.entry;
    NWDeletedInfo r;
    std::memset(&r, 0, sizeof r);
    r.sequence = static_cast<uint32_t>(d.id);
    r.parent = static_cast<uint32_t>(e.parent);
    r.attributes = e.attributes;
    r.nameSpace = ns::Long;
    r.nameLength = copyName(r.name, e.longName);
    r.creationDateAndTime = packed(e.created);
    r.ownerId = e.owner;
    r.lastArchiveDateAndTime = packed(e.archived);
    r.lastArchiverId = e.archiver;
    r.updateDateAndTime = packed(e.modified);
    r.updatorId = e.modifier;
    r.fileSize = static_cast<uint32_t>(std::min<qint64>(e.size, UINT32_MAX));
    r.inheritedRightsMask = e.irm;
    r.lastAccessDate = packedDate(e.accessed);
    r.deletedTime = static_cast<uint32_t>(d.deleted / 1000);
    r.deletedDateAndTime = packed(d.deleted);
    r.deletorId = d.deletor;
    return r;
}

bool searchMeets(const FsEntry& e, uint16_t searchAttr)
{
    if (e.dir != ((searchAttr & search::Subdirectories) != 0))
        return false;
    if ((e.attributes & attr::Hidden) && !(searchAttr & search::Hidden))
        return false;
    if ((e.attributes & attr::System) && !(searchAttr & search::System))
        return false;
    return true;
}

} // namespace nwserver::fsrec
