#include "platform/nwclient/statsops.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;
using detail::readRecord;

namespace {
template <typename T> NWCCODE getRecord(ConnHandle h, FnCode fn, const WireWriter& w, T& record)
{
    QByteArray reply;
    const NWCCODE code = call(h, fn, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    return readRecord(r, record);
}

template <typename T> NWCCODE getRecord(ConnHandle h, FnCode fn, T& record)
{
    return getRecord(h, fn, WireWriter(), record);
}
} // namespace

NWCCODE getCacheInfo(ConnHandle handle, NWCacheInfo& info)
{
    return getRecord(handle, fn::GetCacheInfo, info);
}

NWCCODE getCPUInfo(ConnHandle handle, uint32_t cpuNum, QString& cpuName, QString& coprocessor,
    QString& bus, NWCpuInfo& info)
{
    WireWriter w;
    w.u32(cpuNum);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetCPUInfo, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    QString name = r.str();
    QString copro = r.str();
    QString busText = r.str();
    NWCpuInfo record;
    if (readRecord(r, record) != cc::Success || !r.ok())
        return cc::BadRequest;
    cpuName = name;
    coprocessor = copro;
    bus = busText;
    info = record;
    return cc::Success;
}

NWCCODE getDirCacheInfo(ConnHandle handle, NWDirCacheInfo& info)
{
    return getRecord(handle, fn::GetDirCacheInfo, info);
}

NWCCODE getFileServerInfo(ConnHandle handle, NWFileServerStats& info)
{
    return getRecord(handle, fn::GetFileServerStats, info);
}

NWCCODE getGarbageCollectionInfo(ConnHandle handle, NWGarbageCollectionInfo& info)
{
    return getRecord(handle, fn::GetGarbageCollectionInfo, info);
}

NWCCODE getIPXSPXInfo(ConnHandle handle, NWIpxSpxInfo& info)
{
    return getRecord(handle, fn::GetIPXSPXInfo, info);
}

NWCCODE getLANConfigInfo(ConnHandle handle, uint32_t boardNum, NWLanConfigInfo& info)
{
    WireWriter w;
    w.u32(boardNum);
    return getRecord(handle, fn::GetLANConfigInfo, w, info);
}

NWCCODE getLANCommonCountersInfo(
    ConnHandle handle, uint32_t boardNum, uint32_t blockNum, NWLanCommonCounters& counters)
{
    WireWriter w;
    w.u32(boardNum).u32(blockNum);
    return getRecord(handle, fn::GetLANCommonCounters, w, counters);
}

NWCCODE getLSLInfo(ConnHandle handle, NWLslInfo& info)
{
    return getRecord(handle, fn::GetLSLInfo, info);
}

NWCCODE getPacketBurstInfo(ConnHandle handle, NWPacketBurstInfo& info)
{
    return getRecord(handle, fn::GetPacketBurstInfo, info);
}

NWCCODE getNCPExtensionsList(ConnHandle handle, uint32_t startId, std::vector<uint32_t>& ids)
{
    WireWriter w;
    w.u32(startId);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetNCPExtensionsList, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    const uint32_t count = r.u32();
    std::vector<uint32_t> list;
    for (uint32_t i = 0; i < count && r.ok(); ++i)
        list.push_back(r.u32());
    if (!r.ok())
        return cc::BadRequest;
    ids = std::move(list);
    return cc::Success;
}

NWCCODE getNCPExtensionInfo(ConnHandle handle, uint32_t id, NCPExtensionInfo& info)
{
    WireWriter w;
    w.u32(id);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetNCPExtensionInfo, w, &reply);
    if (code != cc::Success)
        return code;
    WireReader r(reply);
    NCPExtensionInfo e;
    e.name = r.str();
    e.majorVersion = r.u8();
    e.minorVersion = r.u8();
    e.revision = r.u8();
    if (!r.ok())
        return cc::BadRequest;
    info = e;
    return cc::Success;
}

} // namespace nwclient
