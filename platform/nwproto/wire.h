#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace nwproto {

// A caller's buffer that receives the bulk of a reply (file data) directly, as the NetWare
// client's reply fragments do: the data is written once, where the caller wants it, instead of
// into the reply body and then copied out. A transport that carries the reply over a network
// receives that part into the same buffer.
struct ReplyFragment {
    char* data = nullptr;
    size_t capacity = 0;
    size_t used = 0; // set by the server
};

// Plain little-endian encoding of request and reply bodies. The same bytes travel through the
// embedded transport and over a network, so nothing here may depend on the process.
class WireWriter {
public:
    WireWriter() = default;
    // A reply writer whose bulk goes to fragment (nullptr: into the body).
    explicit WireWriter(ReplyFragment* fragment)
        : m_fragment(fragment)
    {
    }

    WireWriter& u8(uint8_t v);
    WireWriter& u16(uint16_t v);
    WireWriter& u32(uint32_t v);
    WireWriter& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    WireWriter& u64(uint64_t v);
    WireWriter& i64(int64_t v) { return u64(static_cast<uint64_t>(v)); }
    WireWriter& boolean(bool v) { return u8(v ? 1 : 0); }
    // Text as UTF-8 with a 32-bit length.
    WireWriter& str(const QString& v);
    // Bytes with a 32-bit length.
    WireWriter& bytes(const QByteArray& v);
    // Bytes without a length, for fixed-size records.
    WireWriter& raw(const void* data, size_t size);

    // The bulk of a reply: fill(dest, room) writes up to room (at most max) bytes to dest and
    // answers how many, or a negative number when it failed. With a fragment, dest is the
    // fragment's buffer and the body holds nothing of it; without one, the bytes go into the
    // body with a 32-bit length, as bytes() writes them.
    template <typename Fill> int64_t bulk(size_t max, Fill&& fill)
    {
        if (m_fragment) {
            const int64_t n = fill(m_fragment->data, std::min(max, m_fragment->capacity));
            m_fragment->used = n > 0 ? static_cast<size_t>(n) : 0;
            return n;
        }
        const qsizetype at = m_data.size();
        m_data.resize(at + 4 + static_cast<qsizetype>(max));
        const int64_t n = fill(m_data.data() + at + 4, max);
        const uint32_t length = qToLittleEndian(static_cast<uint32_t>(n > 0 ? n : 0));
        std::memcpy(m_data.data() + at, &length, sizeof length);
        m_data.resize(at + 4 + (n > 0 ? static_cast<qsizetype>(n) : 0));
        return n;
    }

    const QByteArray& data() const { return m_data; }
    QByteArray take() { return std::move(m_data); }

private:
    QByteArray m_data;
    ReplyFragment* m_fragment = nullptr;
};

// Reads what WireWriter wrote. A read past the end (a short or hostile body) yields zeros and
// marks the reader failed; handlers check ok() once after reading all their arguments.
class WireReader {
public:
    explicit WireReader(const QByteArray& data)
        : m_data(data)
    {
    }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    uint64_t u64();
    int64_t i64() { return static_cast<int64_t>(u64()); }
    bool boolean() { return u8() != 0; }
    QString str();
    QByteArray bytes();
    bool raw(void* data, size_t size);

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_pos >= m_data.size(); }

private:
    bool take(void* out, qsizetype size);

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

} // namespace nwproto
