#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/wire.h"

// The request/reply step every file-system operation of the client shares.
namespace nwclient::detail {

// Sends w's bytes; on success reply holds the answer for a WireReader.
inline NWCCODE call(
    ConnHandle h, nwproto::FnCode fn, const nwproto::WireWriter& w, QByteArray* reply = nullptr)
{
    QByteArray r;
    const NWCCODE code = request(h, fn, w.data(), r);
    if (reply)
        *reply = std::move(r);
    return code;
}

// Reads a fixed-size record; a short reply is a bad answer, not a record of zeros.
template <typename T> NWCCODE readRecord(nwproto::WireReader& r, T& record)
{
    return r.raw(&record, sizeof record) ? nwproto::cc::Success : nwproto::cc::BadRequest;
}

} // namespace nwclient::detail
