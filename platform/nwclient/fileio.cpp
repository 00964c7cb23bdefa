#include "platform/nwclient/fileio.h"

#include "platform/nwclient/fscall.h"

namespace nwclient {

using namespace nwproto;
using detail::call;

NWCCODE openFile(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t mode, uint32_t& fileHandle)
{
    WireWriter w;
    w.u8(dirHandle).str(path).u16(mode);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::OpenFile, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        fileHandle = r.u32();
    }
    return code;
}

NWCCODE readFile(ConnHandle handle, uint32_t fileHandle, uint64_t offset, char* data,
    uint32_t count, uint32_t& got)
{
    WireWriter w;
    w.u32(fileHandle).u64(offset).u32(count);
    QByteArray reply;
    ReplyFragment fragment { data, count, 0 };
    const NWCCODE code = request(handle, fn::ReadFile, w.data(), reply, &fragment);
    got = code == cc::Success ? static_cast<uint32_t>(std::min<size_t>(fragment.used, count)) : 0;
    return code;
}

NWCCODE writeFile(ConnHandle handle, uint32_t fileHandle, uint64_t offset, const QByteArray& data)
{
    WireWriter w;
    w.u32(fileHandle).u64(offset).bytes(data);
    return call(handle, fn::WriteFile, w);
}

NWCCODE getFileSize(ConnHandle handle, uint32_t fileHandle, uint64_t& size)
{
    WireWriter w;
    w.u32(fileHandle);
    QByteArray reply;
    const NWCCODE code = call(handle, fn::GetFileSize, w, &reply);
    if (code == cc::Success) {
        WireReader r(reply);
        size = r.u64();
    }
    return code;
}

NWCCODE setFileSize(ConnHandle handle, uint32_t fileHandle, uint64_t size)
{
    WireWriter w;
    w.u32(fileHandle).u64(size);
    return call(handle, fn::SetFileSize, w);
}

NWCCODE closeFile(ConnHandle handle, uint32_t fileHandle)
{
    WireWriter w;
    w.u32(fileHandle);
    return call(handle, fn::CloseFile, w);
}

} // namespace nwclient
