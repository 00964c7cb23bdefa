#include "platform/redirector/redirector.h"

#include "platform/nwclient/fileops.h"
#include "platform/nwclient/pathops.h"
#include "platform/redirector/uncfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace redirector {

using namespace nwclient;
using namespace nwproto;

namespace {
constexpr NWCCODE kLocalFailure = 0x89FF;

// One connection for one piece of work, closed on the way out.
struct Remote {
    ConnHandle conn = 0;
    uint8_t dirHandle = 0;
    QString path;
    NWCCODE code = 0;
    explicit Remote(const QString& unc) { code = parseNetWarePath(unc, conn, dirHandle, path); }
    ~Remote()
    {
        if (code == cc::Success)
            closeConn(conn);
    }
    bool ok() const { return code == cc::Success; }
    bool info(uint16_t searchAttr, NWNSEntryInfo& out) const
    {
        return getNSEntryInfo(conn, dirHandle, path, ns::Long, ns::Long, searchAttr,
                   info::Attributes | info::Modify, out)
            == cc::Success;
    }
    bool isDir() const
    {
        NWNSEntryInfo i;
        return info(search::Directories, i);
    }
};

QString serverOf(const QString& unc)
{
    return unc.mid(2).section(QRegularExpression(QStringLiteral("[\\\\/]")), 0, 0);
}

NWCCODE local(bool ok)
{
    return ok ? cc::Success : kLocalFailure;
}
} // namespace

bool isUnc(const QString& path)
{
    return path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//"));
}

std::unique_ptr<QIODevice> file(const QString& path)
{
    if (isUnc(path))
        return std::make_unique<UncFile>(path);
    return std::make_unique<QFile>(path);
}

bool exists(const QString& path)
{
    if (!isUnc(path))
        return QFileInfo::exists(path);
    Remote r(path);
    NWNSEntryInfo i;
    return r.ok() && (r.info(search::Files, i) || r.info(search::Directories, i));
}

bool isDirectory(const QString& path)
{
    if (!isUnc(path))
        return QFileInfo(path).isDir();
    Remote r(path);
    return r.ok() && r.isDir();
}

NWCCODE createDirectory(const QString& path)
{
    if (!isUnc(path))
        return local(QDir().mkdir(path));
    Remote r(path);
    return r.ok() ? nwclient::createDirectory(r.conn, r.dirHandle, r.path, 0xFF) : r.code;
}

NWCCODE remove(const QString& path)
{
    if (!isUnc(path)) {
        const QFileInfo fi(path);
        return local(fi.isDir() ? QDir().rmdir(path) : QFile::remove(path));
    }
    Remote r(path);
    if (!r.ok())
        return r.code;
    if (r.isDir())
        return deleteDirectory(r.conn, r.dirHandle, r.path);
    return eraseFiles(r.conn, r.dirHandle, r.path, search::Files);
}

NWCCODE rename(const QString& from, const QString& to)
{
    if (!isUnc(from) && !isUnc(to))
        return local(QFile::rename(from, to));
    if (!isUnc(from) || !isUnc(to))
        return fscc::InvalidPath;
    Remote a(from);
    Remote b(to);
    if (!a.ok())
        return a.code;
    if (!b.ok())
        return b.code;
    if (serverOf(from).compare(serverOf(to), Qt::CaseInsensitive) != 0)
        return fscc::NotSameVolume;
    const uint16_t attrs = a.isDir() ? search::Directories : search::Files;
    return renameFile(a.conn, a.dirHandle, a.path, attrs, 0, b.path);
}

QDateTime fileDate(const QString& path)
{
    if (!isUnc(path)) {
        const QFileInfo fi(path);
        return fi.exists() ? fi.lastModified() : QDateTime();
    }
    Remote r(path);
    NWNSEntryInfo i;
    if (!r.ok() || !(r.info(search::Files, i) || r.info(search::Directories, i)))
        return {};
    const QDate d(1980 + (i.modifyDate >> 9), (i.modifyDate >> 5) & 0x0F, i.modifyDate & 0x1F);
    const QTime t(i.modifyTime >> 11, (i.modifyTime >> 5) & 0x3F, (i.modifyTime & 0x1F) * 2);
    return QDateTime(d, t);
}

NWCCODE setFileDate(const QString& path, const QDateTime& when)
{
    if (!isUnc(path)) {
        QFile f(path);
        return local(
            f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    Remote r(path);
    if (!r.ok())
        return r.code;
    NWModifyDosInfo m {};
    m.modifyDate = dostime::date(when.date().year(), when.date().month(), when.date().day());
    m.modifyTime = dostime::time(when.time().hour(), when.time().minute(), when.time().second());
    const uint16_t attrs = r.isDir() ? search::Directories : search::Files;
    return setNSEntryDOSInfo(
        r.conn, r.dirHandle, r.path, ns::Long, attrs, modify::ModifyDate | modify::ModifyTime, m);
}

} // namespace redirector
