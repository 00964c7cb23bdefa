#pragma once

#include "platform/nwproto/completioncodes.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <memory>

// File access by path wherever the console reads or writes files: a UNC path
// (\\SERVER\VOLUME\dir\file) goes to the server through the client library, any other path is
// a local file.
namespace redirector {

bool isUnc(const QString& path);
// A QFile for a local path, an UncFile for a UNC path; not yet open.
std::unique_ptr<QIODevice> file(const QString& path);

bool exists(const QString& path);
bool isDirectory(const QString& path);
// The NetWare code of a refusal for UNC paths; a local failure answers 0x89FF.
nwproto::NWCCODE createDirectory(const QString& path);
nwproto::NWCCODE remove(const QString& path); // a file, or an empty directory
nwproto::NWCCODE rename(const QString& from, const QString& to); // within one volume
// Last modification time; invalid when the path does not exist.
QDateTime fileDate(const QString& path);
nwproto::NWCCODE setFileDate(const QString& path, const QDateTime& when);

} // namespace redirector
