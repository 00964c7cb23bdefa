#include "platform/nwclient/salvageops.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;

NWCCODE scanErasedFiles(ConnHandle handle, uint8_t dirHandle, uint32_t& iterHandle,
    uint32_t& volNum, uint32_t& dirBase, NWDeletedInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).u32(iterHandle);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::ScanErasedFiles, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    const uint32_t next = r.u32();
    const uint32_t vol = r.u32();
    const uint32_t base = r.u32();
    if (detail::readRecord(r, info) != cc::Success)
        return cc::BadRequest;
    iterHandle = next;
    volNum = vol;
    dirBase = base;
    return cc::Success;
}

NWCCODE recoverErasedFile(ConnHandle handle, uint8_t dirHandle, uint32_t iterHandle,
    uint32_t volNum, uint32_t dirBase, const QString& newName)
{
    WireWriter w;
    w.u8(dirHandle).u32(iterHandle).u32(volNum).u32(dirBase).str(newName);
    return call(handle, fn::RecoverErasedFile, w);
}

NWCCODE purgeErasedFile(
    ConnHandle handle, uint8_t dirHandle, uint32_t iterHandle, uint32_t volNum, uint32_t dirBase)
{
    WireWriter w;
    w.u8(dirHandle).u32(iterHandle).u32(volNum).u32(dirBase);
    return call(handle, fn::PurgeErasedFile, w);
}

} // namespace nwclient
