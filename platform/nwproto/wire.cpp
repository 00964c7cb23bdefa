#include "platform/nwproto/wire.h"

#include <QtEndian>
#include <cstring>

namespace nwproto {

WireWriter& WireWriter::u8(uint8_t v)
{
    m_data.append(static_cast<char>(v));
    return *this;
}

WireWriter& WireWriter::u16(uint16_t v)
{
    v = qToLittleEndian(v);
    return raw(&v, sizeof v);
}

WireWriter& WireWriter::u32(uint32_t v)
{
    v = qToLittleEndian(v);
    return raw(&v, sizeof v);
}

WireWriter& WireWriter::u64(uint64_t v)
{
    v = qToLittleEndian(v);
    return raw(&v, sizeof v);
}

WireWriter& WireWriter::str(const QString& v)
{
    return bytes(v.toUtf8());
}

WireWriter& WireWriter::bytes(const QByteArray& v)
{
    u32(static_cast<uint32_t>(v.size()));
    m_data.append(v);
    return *this;
}

WireWriter& WireWriter::raw(const void* data, size_t size)
{
    m_data.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    return *this;
}

bool WireReader::take(void* out, qsizetype size)
{
    if (!m_ok || size < 0 || m_data.size() - m_pos < size) {
        m_ok = false;
        std::memset(out, 0, static_cast<size_t>(size > 0 ? size : 0));
        return false;
    }
    std::memcpy(out, m_data.constData() + m_pos, static_cast<size_t>(size));
    m_pos += size;
    return true;
}

uint8_t WireReader::u8()
{
    uint8_t v;
    take(&v, 1);
    return v;
}

uint16_t WireReader::u16()
{
    uint16_t v;
    take(&v, sizeof v);
    return qFromLittleEndian(v);
}

uint32_t WireReader::u32()
{
    uint32_t v;
    take(&v, sizeof v);
    return qFromLittleEndian(v);
}

uint64_t WireReader::u64()
{
    uint64_t v;
    take(&v, sizeof v);
    return qFromLittleEndian(v);
}

QString WireReader::str()
{
    return QString::fromUtf8(bytes());
}

QByteArray WireReader::bytes()
{
    const uint32_t size = u32();
    if (!m_ok || static_cast<uint64_t>(m_data.size() - m_pos) < size) {
        m_ok = false;
        return {};
    }
    QByteArray v = m_data.mid(m_pos, static_cast<qsizetype>(size));
    m_pos += static_cast<qsizetype>(size);
    return v;
}

bool WireReader::raw(void* data, size_t size)
{
    return take(data, static_cast<qsizetype>(size));
}

} // namespace nwproto
