#include "platform/nwserver/ops_filesystem.h"

namespace nwserver {

using namespace nwproto;
using fsops::fs;

namespace {

NWCCODE openFile(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint8_t dirHandle = in.u8();
    const QString path = in.str();
    const uint16_t mode = in.u16();
    if (!in.ok())
        return cc::BadRequest;
    FsTarget t;
    NWCCODE code = fs(ctx).resolve(ctx.conn, dirHandle, path, -1, t);
    if (code != cc::Success)
        return code;
    uint32_t handle = 0;
    code = fs(ctx).open(ctx.conn, t, mode, handle);
    if (code == cc::Success)
        out.u32(handle);
    return code;
}

NWCCODE readFile(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    const uint32_t handle = in.u32();
    const uint64_t offset = in.u64();
    const uint32_t count = in.u32();
    if (!in.ok())
        return cc::BadRequest;
    NWCCODE code = cc::Success;
    out.bulk(std::min(count, FileSystem::kMaxTransfer), [&](char* data, size_t room) {
        uint32_t got = 0;
        code = fs(ctx).read(ctx.conn, handle, offset, data, static_cast<uint32_t>(room), got);
        return code == cc::Success ? int64_t(got) : int64_t(-1);
    });
    return code;
}

NWCCODE writeFile(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint32_t handle = in.u32();
    const uint64_t offset = in.u64();
    const QByteArray data = in.bytes();
    if (!in.ok())
        return cc::BadRequest;
    return fs(ctx).write(ctx.conn, handle, offset, data);
}

NWCCODE getFileSize(RequestContext& ctx, WireReader& in, WireWriter& out)
{
    uint64_t size = 0;
    const NWCCODE code = fs(ctx).size(ctx.conn, in.u32(), size);
    if (code == cc::Success)
        out.u64(size);
    return code;
}

NWCCODE setFileSize(RequestContext& ctx, WireReader& in, WireWriter&)
{
    const uint32_t handle = in.u32();
    const uint64_t size = in.u64();
    if (!in.ok())
        return cc::BadRequest;
    return fs(ctx).truncate(ctx.conn, handle, size);
}

NWCCODE closeFile(RequestContext& ctx, WireReader& in, WireWriter&)
{
    return fs(ctx).close(ctx.conn, in.u32());
}

} // namespace

void fsops::registerFileData(Dispatcher& d)
{
    d.add(fn::OpenFile, Access::LoggedIn, openFile);
    d.add(fn::ReadFile, Access::LoggedIn, readFile);
    d.add(fn::WriteFile, Access::LoggedIn, writeFile);
    d.add(fn::GetFileSize, Access::LoggedIn, getFileSize);
    d.add(fn::SetFileSize, Access::LoggedIn, setFileSize);
    d.add(fn::CloseFile, Access::LoggedIn, closeFile);
}

} // namespace nwserver
