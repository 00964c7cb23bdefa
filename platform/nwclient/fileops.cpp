#include "platform/nwclient/fileops.h"

#include "platform/nwclient/fscall.h"

#include <cstring>
#include <deque>

namespace nwclient {

using namespace nwproto;
using detail::call;

namespace {

// A scan asks the server for a batch of entries and hands them out one call at a time, so a
// listing costs a request per batch instead of per entry. The batch belongs to the thread: it
// serves a call that continues exactly where the last one ended, with the same arguments.
struct ScanBatch {
    ConnHandle handle = 0;
    uint8_t dirHandle = 0;
    uint8_t nameSpace = 0;
    uint16_t searchAttr = 0;
    QString pattern;
    uint32_t infoMask = 0;
    NWSearchSequence last {};
    std::deque<std::pair<NWSearchSequence, NWNSEntryInfo>> items;

    bool continues(ConnHandle h, uint8_t dh, uint8_t ns, uint16_t attr, const NWSearchSequence& seq,
        const QString& pat, uint32_t mask) const
    {
        return h == handle && dh == dirHandle && ns == nameSpace && attr == searchAttr
            && mask == infoMask && pat == pattern && std::memcmp(&seq, &last, sizeof seq) == 0;
    }
};

constexpr uint16_t kScanBatch = 256;
thread_local ScanBatch t_scan;

} // namespace

NWCCODE scanDirEntries(ConnHandle handle, uint8_t dirHandle, uint8_t nameSpace, uint16_t searchAttr,
    NWSearchSequence& sequence, const QString& pattern, uint32_t infoMask, NWNSEntryInfo& info)
{
    ScanBatch& b = t_scan;
    if (!b.continues(handle, dirHandle, nameSpace, searchAttr, sequence, pattern, infoMask)
        || b.items.empty()) {
        b.items.clear();
        WireWriter w;
        w.u8(dirHandle).u8(nameSpace).u16(searchAttr).raw(&sequence, sizeof sequence);
        w.str(pattern).u32(infoMask).u16(kScanBatch);
        QByteArray reply;
        const NWCCODE code = call(handle, fn::ScanDirEntriesBatch, w, &reply);
        if (code != cc::Success) {
            b.handle = 0;
            return code;
        }
        WireReader r(reply);
        const uint16_t count = r.u16();
        for (uint16_t i = 0; i < count; ++i) {
            std::pair<NWSearchSequence, NWNSEntryInfo> item;
            if (detail::readRecord(r, item.first) != cc::Success
                || detail::readRecord(r, item.second) != cc::Success) {
                b.items.clear();
                b.handle = 0;
                return cc::BadRequest;
            }
            b.items.push_back(item);
        }
        if (b.items.empty())
            return fscc::NoMoreEntries;
        b.handle = handle;
        b.dirHandle = dirHandle;
        b.nameSpace = nameSpace;
        b.searchAttr = searchAttr;
        b.pattern = pattern;
        b.infoMask = infoMask;
    }
    sequence = b.items.front().first;
    info = b.items.front().second;
    b.items.pop_front();
    b.last = sequence;
    return cc::Success;
}

NWCCODE scanDirEntryInfo(ConnHandle handle, uint8_t dirHandle, uint16_t searchAttr,
    uint32_t& sequence, const QString& pattern, NWEntryInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).u16(searchAttr).u32(sequence).str(pattern);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::ScanDirEntryInfo, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    const uint32_t next = r.u32();
    if (detail::readRecord(r, info) != cc::Success)
        return cc::BadRequest;
    sequence = next;
    return cc::Success;
}

NWCCODE getEffectiveRights(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t& rights)
{
    WireWriter w;
    w.u8(dirHandle).str(path);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetEffectiveRights, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        rights = r.u16();
    }
    return code;
}

NWCCODE createDirectory(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint8_t rightsMask)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u8(rightsMask);
    return call(handle, fn::CreateDirectory, w);
}

NWCCODE deleteDirectory(ConnHandle handle, uint8_t dirHandle, const QString& path)
{
    WireWriter w;
    w.u8(dirHandle).str(path);
    return call(handle, fn::DeleteDirectory, w);
}

NWCCODE renameDirectory(
    ConnHandle handle, uint8_t dirHandle, const QString& path, const QString& newName)
{
    WireWriter w;
    w.u8(dirHandle).str(path).str(newName);
    return call(handle, fn::RenameDirectory, w);
}

NWCCODE eraseFiles(ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t searchAttr)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u16(searchAttr);
    return call(handle, fn::EraseFiles, w);
}

NWCCODE renameFile(ConnHandle handle, uint8_t dirHandle, const QString& oldPath,
    uint16_t searchAttr, uint8_t newDirHandle, const QString& newPath)
{
    WireWriter w;
    w.u8(dirHandle).str(oldPath).u16(searchAttr).u8(newDirHandle).str(newPath);
    return call(handle, fn::RenameFile, w);
}

NWCCODE setNSEntryDOSInfo(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint8_t nameSpace, uint16_t searchAttr, uint32_t modifyMask, const NWModifyDosInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u8(nameSpace).u16(searchAttr).u32(modifyMask);
    w.raw(&info, sizeof info);
    return call(handle, fn::SetNSEntryDOSInfo, w);
}

NWCCODE setDirEntryInfo(ConnHandle handle, uint8_t dirHandle, uint16_t searchAttr,
    uint32_t sequence, uint32_t changeBits, const NWEntryInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).u16(searchAttr).u32(sequence).u32(changeBits).raw(&info, sizeof info);
    return call(handle, fn::SetDirEntryInfo, w);
}

} // namespace nwclient
