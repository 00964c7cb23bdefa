#include "console/monitor/serverfileio.h"

#include "netware/errors.h"
#include "platform/redirector/redirector.h"
#include "platform/redirector/uncfile.h"

namespace serverfileio {

namespace {

Result failure(const QIODevice& device)
{
    if (const auto* unc = qobject_cast<const redirector::UncFile*>(&device))
        return { false, ErrorCodeText(static_cast<int32_t>(unc->error())) };
    return { false, device.errorString() };
}

} // namespace

Result Read(const QString& path, QByteArray& data)
{
    const std::unique_ptr<QIODevice> file = redirector::file(path);
    if (!file->open(QIODevice::ReadOnly))
        return failure(*file);
    data = file->readAll();
    const qint64 expected = file->size();
    if (data.size() != expected)
        return failure(*file);
    return { true, {} };
}

Result Write(const QString& path, const QByteArray& data, bool backup)
{
    if (backup && redirector::exists(path)) {
        QByteArray old;
        Result r = Read(path, old);
        if (r.ok)
            r = Write(BackupPathOf(path), old, false);
        if (!r.ok)
            return r;
    }
    const std::unique_ptr<QIODevice> file = redirector::file(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failure(*file);
    if (file->write(data) != data.size())
        return failure(*file);
    file->close();
    return { true, {} };
}

QString BackupPathOf(const QString& path)
{
    const qsizetype slash
        = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + QStringLiteral(".BAK");
}

QString DecodeText(const QByteArray& data)
{
    QString text = QString::fromLatin1(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QByteArray EncodeText(const QString& text, bool crlf)
{
    QString out = text;
    if (crlf)
        out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return out.toLatin1();
}

} // namespace serverfileio
