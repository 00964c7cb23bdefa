#include "platform/nwclient/trusteeops.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;

NWCCODE scanEntryForTrustees(ConnHandle handle, uint8_t dirHandle, const QString& path,
    uint32_t& iteration, uint16_t& count, NWEntryTrustees& info)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u32(iteration);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::ScanEntryForTrustees, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    const uint32_t next = r.u32();
    const uint16_t n = r.u16();
    if (detail::readRecord(r, info) != cc::Success || n > 20)
        return cc::BadRequest;
    iteration = next;
    count = n;
    return cc::Success;
}

NWCCODE addTrustee(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint32_t objectId, uint16_t rights)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u32(objectId).u16(rights);
    return call(handle, fn::AddTrustee, w);
}

NWCCODE deleteTrustee(ConnHandle handle, uint8_t dirHandle, const QString& path, uint32_t objectId)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u32(objectId);
    return call(handle, fn::DeleteTrustee, w);
}

} // namespace nwclient
