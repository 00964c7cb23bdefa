#include "platform/nwclient/volumeops.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;

NWCCODE getVolumeName(ConnHandle handle, uint16_t volNum, QString& name)
{
    WireWriter w;
    w.u16(volNum);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetVolumeName, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        name = r.str();
    }
    return code;
}

NWCCODE getVolumeNumber(ConnHandle handle, const QString& name, uint16_t& volNum)
{
    WireWriter w;
    w.str(name);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetVolumeNumber, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        volNum = r.u16();
    }
    return code;
}

NWCCODE getExtendedVolumeInfo(ConnHandle handle, uint16_t volNum, NWVolExtendedInfo& info)
{
    WireWriter w;
    w.u16(volNum);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetExtendedVolumeInfo, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    return detail::readRecord(r, info);
}

NWCCODE getDirSpaceInfo(ConnHandle handle, uint8_t dirHandle, uint16_t volNum, NWDirSpaceInfo& info)
{
    WireWriter w;
    w.u8(dirHandle).u16(volNum);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetDirSpaceInfo, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    return detail::readRecord(r, info);
}

NWCCODE getNSLoadedList(ConnHandle handle, uint16_t volNum, std::vector<uint8_t>& nameSpaces)
{
    WireWriter w;
    w.u16(volNum);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetNSLoadedList, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        const QByteArray list = r.bytes();
        nameSpaces.assign(list.begin(), list.end());
    }
    return code;
}

NWCCODE mountVolume(ConnHandle handle, const QString& name, uint16_t& volNum)
{
    WireWriter w;
    w.str(name);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::MountVolume, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        volNum = r.u16();
    }
    return code;
}

NWCCODE dismountVolume(ConnHandle handle, const QString& name)
{
    WireWriter w;
    w.str(name);
    return call(handle, fn::DismountVolume, w);
}

} // namespace nwclient
