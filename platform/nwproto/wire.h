#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace nwproto {

// Plain little-endian encoding of request and reply bodies. The same bytes travel through the
// embedded transport and over a network, so nothing here may depend on the process.
class WireWriter {
public:
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

    const QByteArray& data() const { return m_data; }
    QByteArray take() { return std::move(m_data); }

private:
    QByteArray m_data;
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
