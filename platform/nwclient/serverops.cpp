#include "platform/nwclient/serverops.h"

#include "platform/nwproto/wire.h"

#include <tuple>

namespace nwclient {

using namespace nwproto;

namespace {
NWCCODE call(ConnHandle h, FnCode fn, QByteArray* reply = nullptr, const QByteArray& body = {})
{
    QByteArray r;
    const NWCCODE code = request(h, fn, body, r);
    if (reply)
        *reply = r;
    return code;
}

NWCCODE callFlag(ConnHandle h, FnCode fn, bool on)
{
    WireWriter w;
    w.boolean(on);
    return call(h, fn, nullptr, w.data());
}
} // namespace

NWCCODE getFileServerInformation(ConnHandle handle, ServerInfo& info)
{
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetServerInfo, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        info = ServerInfo::read(r);
    }
    return code;
}

NWCCODE getFileServerDescription(ConnHandle handle, QString& company, QString& revision)
{
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetServerDescription, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        company = r.str();
        revision = r.str();
    }
    return code;
}

NWCCODE getFileServerDateAndTime(ConnHandle handle, ServerDateTime& dt)
{
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetDateTime, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        dt = ServerDateTime::read(r);
    }
    return code;
}

NWCCODE setFileServerDateAndTime(ConnHandle handle, const ServerDateTime& dt)
{
    WireWriter w;
    dt.write(w);
    return call(handle, fn::SetDateTime, nullptr, w.data());
}

NWCCODE getFileServerLoginStatus(ConnHandle handle, bool& loginEnabled)
{
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetLoginStatus, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        loginEnabled = r.boolean();
    }
    return code;
}

NWCCODE enableFileServerLogin(ConnHandle handle)
{
    return callFlag(handle, fn::SetLoginStatus, true);
}

NWCCODE disableFileServerLogin(ConnHandle handle)
{
    return callFlag(handle, fn::SetLoginStatus, false);
}

NWCCODE ttsIsAvailable(ConnHandle handle)
{
    return call(handle, fn::TtsIsAvailable);
}

NWCCODE enableTTS(ConnHandle handle)
{
    return callFlag(handle, fn::SetTtsStatus, true);
}

NWCCODE disableTTS(ConnHandle handle)
{
    return callFlag(handle, fn::SetTtsStatus, false);
}

NWCCODE checkConsolePrivileges(ConnHandle handle)
{
    return call(handle, fn::CheckConsolePrivileges);
}

NWCCODE getNetworkSerialNumber(ConnHandle handle, uint32_t& serial, uint16_t& appNumber)
{
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetNetworkSerialNumber, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        serial = r.u32();
        appNumber = r.u16();
    }
    return code;
}

NWCCODE downFileServer(ConnHandle handle, bool force)
{
    return callFlag(handle, fn::DownServer, force);
}

NWCCODE checkNetWareVersion(ConnHandle handle, uint16_t major, uint16_t minor, uint16_t revision,
    uint16_t minSft, uint16_t minTts, uint8_t& compatFlag)
{
    ServerInfo info;
    const NWCCODE code = getFileServerInformation(handle, info);
    if (code != cc::Success)
        return code;
    compatFlag = 0;
    if (std::tie(info.osMajor, info.osMinor, info.osRevision) < std::tuple(major, minor, revision))
        compatFlag |= 0x01;
    if (info.sftLevel < minSft)
        compatFlag |= 0x02;
    if (info.ttsLevel < minTts)
        compatFlag |= 0x04;
    return cc::Success;
}

} // namespace nwclient
