#include "diskman/listing.h"

#include "diskman/namespaces.h"
#include "diskman/pathforms.h"
#include "netware/connqueries.h"
#include "netware/errors.h"
#include "netware/nwexception.h"
#include "netware/restartablethread.h"
#include "platform/nwclient/fileops.h"
#include "platform/shell/dialogservice.h"

#include <algorithm>

using namespace nwclient;
using namespace nwproto;

namespace {

// Every name of the directory dirHandle stands for that matches pattern, in the server's order.
void scanNames(ConnHandle conn, uint8_t dirHandle, uint8_t nameSpace, uint16_t searchAttributes,
    const QString& pattern, const QString& prefix, QStringList& list)
{
    NWSearchSequence sequence {};
    sequence.searchDirNumber = 0xFFFFFFFF;
    for (;;) {
        NWNSEntryInfo info {};
        const NWCCODE code = scanDirEntries(
            conn, dirHandle, nameSpace, searchAttributes, sequence, pattern, info::Name, info);
        if (code == fscc::NoMoreEntries)
            return;
        CheckNWResult(QStringLiteral("Error geting file list"), static_cast<int32_t>(code));
        const int n = std::min<int>(info.nameLength, int(sizeof info.entryName));
        list << prefix + QString::fromLatin1(info.entryName, n);
    }
}

uint8_t tempHandleIn(ConnHandle conn, const QString& path, uint8_t nameSpace)
{
    return nameSpace == ns::Long ? TempHandleLong(conn, path) : TempHandleDOS(conn, path);
}

QString messageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const TException& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

void ListSubdirectories(ConnHandle conn, const QString& path, bool fullPaths, QStringList& list)
{
    const uint8_t nameSpace = NameSpaceFor(conn, path);
    QString prefix;
    if (fullPaths)
        prefix = path.endsWith(u'\\') ? path : path + u'\\';
    const TDirHandleScope dir(conn, tempHandleIn(conn, path, nameSpace));
    scanNames(
        conn, dir.handle(), nameSpace, search::Directories, QStringLiteral("*"), prefix, list);
}

QStringList SubdirectoryList(ConnHandle conn, const QString& path)
{
    QStringList names;
    ListSubdirectories(conn, path, false, names);
    auto less
        = [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    auto same
        = [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; };
    std::stable_sort(names.begin(), names.end(), less);
    names.erase(std::unique(names.begin(), names.end(), same), names.end());
    return names;
}

QStringList ListFiles(ConnHandle conn, const QString& pattern, const QString& path, bool dosOnly)
{
    const uint8_t nameSpace = dosOnly ? ns::Dos : NameSpaceFor(conn, path);
    const QString p = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    const TDirHandleScope dir(conn, tempHandleIn(conn, path, nameSpace));
    QStringList names;
    scanNames(conn, dir.handle(), nameSpace, search::Files, p, QString(), names);
    return names;
}

void WalkTree(ConnHandle conn, const QString& path, const TWalkAction& action)
{
    for (const QString& sub : SubdirectoryList(conn, path))
        WalkTree(conn, path + u'\\' + sub, action);
    try {
        action(conn, path);
    } catch (const EAbortPass&) {
        throw;
    } catch (...) {
        const shell::Button answer
            = shell::DialogService::instance().message(shell::MessageKind::Error,
                messageOf(std::current_exception()), shell::Button::Ok | shell::Button::Abort);
        if (answer != shell::Button::Ok)
            throw EAbortPass();
    }
}

QString CreateNewDirectory(ConnRef ref, const QString& parent)
{
    const QString context = QStringLiteral("Error creating new directory");
    TConnHandleScope conn;
    CheckNWResult(context, static_cast<int32_t>(conn.open(ref)));
    const bool longNames = NameSpaceLoaded(conn.handle(), VolumePrefix(parent), ns::Long);
    const QString base = longNames ? QStringLiteral("New Folder") : QStringLiteral("NEWDIR");
    QStringList taken = SubdirectoryList(conn.handle(), parent);
    for (QString& name : taken)
        name = name.toUpper();
    QString candidate = base;
    for (int n = 1; taken.contains(candidate, Qt::CaseInsensitive); ++n)
        candidate
            = longNames ? QStringLiteral("%1(%2)").arg(base).arg(n) : base + QString::number(n);
    const TDirHandleScope dir(conn.handle(), TempHandleLong(conn.handle(), parent));
    CheckNWResult(context,
        static_cast<int32_t>(createDirectory(conn.handle(), dir.handle(), candidate, rights::All)));
    return candidate;
}
