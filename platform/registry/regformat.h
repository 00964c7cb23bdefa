#pragma once

#include "platform/registry/regtree.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace registry {

// One change of a section: a value to set, or (version 5 files, "Name"=-) a value to delete.
struct RegValueChange {
    RegValue value;
    bool remove = false;
};

// One bracketed section of an export file, in file order.
struct RegSection {
    QString hiveName; // as written, e.g. HKEY_CURRENT_USER
    QStringList path; // key names below the hive, never empty names
    bool removeKey = false; // [-HKEY_...\...]
    QList<RegValueChange> changes;
};

struct RegDocument {
    QList<RegSection> sections;
};

// Parses an export file as regedit writes it: "REGEDIT4" (ANSI, read as UTF-8 when the bytes
// are valid UTF-8, else as Latin-1) or "Windows Registry Editor Version 5.00" (UTF-16LE with a
// byte order mark, or UTF-8), any line ending, ';' comments, hex data continued over lines with
// a trailing backslash. Anything it does not understand makes the whole file invalid: a
// half-read settings file must never be taken for the whole of it.
std::optional<RegDocument> parseRegFile(const QByteArray& bytes, QString* error = nullptr);

// The tree of one hive as a REGEDIT4 file in UTF-8 with CRLF line ends: every key as a section
// (the hive's own section only when it holds values), values in their order. Texts holding
// control characters are written as hex(1)/hex(2) so that the file stays one value per line.
QByteArray writeRegFile(const QString& hiveName, const RegNode& root);

} // namespace registry
