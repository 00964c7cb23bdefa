#pragma once

#include <QByteArray>
#include <QString>

// Whole server files by path (UNC or local) through the redirector, as the log and
// configuration-file pages read and write them.
namespace serverfileio {

struct Result {
    bool ok = false;
    // The failure in the console's words ("File is in use (898E)").
    QString error;
};

Result Read(const QString& path, QByteArray& data);
// Writes data in place of the file's contents. With backup, the old contents are first copied
// to the same name with the extension "BAK"; when that copy fails the file is left as it was.
Result Write(const QString& path, const QByteArray& data, bool backup);
// AUTOEXEC.NCF -> AUTOEXEC.BAK; a name without extension gets ".BAK".
QString BackupPathOf(const QString& path);

// Server files are DOS texts: bytes as Latin-1, lines ended by CR LF.
QString DecodeText(const QByteArray& data);
QByteArray EncodeText(const QString& text, bool crlf);

} // namespace serverfileio
