#include "platform/nwclient/fileops.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;

NWCCODE scanDirEntries(ConnHandle handle, uint8_t dirHandle, uint8_t nameSpace, uint16_t searchAttr,
    NWSearchSequence& sequence, const QString& pattern, uint32_t infoMask, NWNSEntryInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).u8(nameSpace).u16(searchAttr).raw(&sequence, sizeof sequence);
    w.str(pattern).u32(infoMask);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::ScanDirEntries, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    NWSearchSequence next;
    if (detail::readRecord(r, next) != cc::Success || detail::readRecord(r, info) != cc::Success)
        return cc::BadRequest;
    sequence = next;
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
