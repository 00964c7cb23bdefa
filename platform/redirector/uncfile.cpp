#include "platform/redirector/uncfile.h"

#include "platform/nwclient/fileio.h"
#include "platform/nwclient/pathops.h"

namespace redirector {

using namespace nwclient;
using namespace nwproto;

namespace {
constexpr qint64 kChunk = 65536;
}

UncFile::UncFile(const QString& uncPath, QObject* parent)
    : QIODevice(parent)
    , m_path(uncPath)
{
}

UncFile::~UncFile()
{
    if (isOpen())
        close();
}

bool UncFile::open(OpenMode mode)
{
    uint8_t dirHandle = 0;
    QString path;
    m_error = parseNetWarePath(m_path, m_conn, dirHandle, path);
    if (m_error != cc::Success)
        return false;
    m_connOpen = true;
    uint16_t nw = 0;
    if (mode & ReadOnly)
        nw |= openmode::Read;
    if (mode & WriteOnly) {
        nw |= openmode::Write | openmode::Create;
        if (!(mode & (Append | ReadOnly)) || (mode & Truncate))
            nw |= openmode::Truncate;
        if (mode & NewOnly)
            nw |= openmode::Exclusive;
    }
    m_error = openFile(m_conn, dirHandle, path, nw, m_file);
    if (m_error != cc::Success) {
        closeConn(m_conn);
        m_connOpen = false;
        return false;
    }
    QIODevice::open(mode);
    if (mode & Append)
        seek(size());
    return true;
}

void UncFile::close()
{
    if (!isOpen())
        return;
    QIODevice::close();
    closeFile(m_conn, m_file);
    if (m_connOpen)
        closeConn(m_conn);
    m_connOpen = false;
}

qint64 UncFile::size() const
{
    uint64_t size = 0;
    if (!isOpen() || getFileSize(m_conn, m_file, size) != cc::Success)
        return 0;
    return static_cast<qint64>(size);
}

bool UncFile::seek(qint64 pos)
{
    return pos >= 0 && QIODevice::seek(pos);
}

qint64 UncFile::readData(char* data, qint64 maxSize)
{
    qint64 done = 0;
    while (done < maxSize) {
        const auto want = static_cast<uint32_t>(std::min(maxSize - done, kChunk));
        uint32_t got = 0;
        m_error
            = readFile(m_conn, m_file, static_cast<uint64_t>(pos() + done), data + done, want, got);
        if (m_error != cc::Success)
            return done > 0 ? done : -1;
        done += got;
        if (got < want)
            break;
    }
    return done;
}

qint64 UncFile::writeData(const char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = std::min(size - done, kChunk);
        m_error = writeFile(m_conn, m_file, static_cast<uint64_t>(pos() + done),
            QByteArray::fromRawData(data + done, static_cast<qsizetype>(n)));
        if (m_error != cc::Success)
            return done > 0 ? done : -1;
        done += n;
    }
    return done;
}

} // namespace redirector
