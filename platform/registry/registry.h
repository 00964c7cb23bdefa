#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The Windows registry, as far as this program and its setup need it: the current user's and
// the local machine's hive, each kept as a registry export file (REGEDIT4) named after the hive
// in root() and rewritten atomically after every change, so a write that has returned true
// survives the process being killed. Key paths and value names compare case-insensitively and
// keep the case they were created with. Every function is thread-safe. Failures never throw:
// an unreadable or malformed hive file reads as missing and refuses writes (it is left as it is
// for the user to repair), an unwritable folder makes writes return false.
namespace registry {

enum class Hive { CurrentUser, LocalMachine };

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE", as the export format names them.
QString hiveName(Hive hive);

// An open key: a hive and a path below it, e.g. "Software\Tarvo\DorAzor Ezevive". The key is
// looked up again on every call, so a key deleted meanwhile reads as empty and refuses writes.
class RegKey {
public:
    // Opens hive\path; an empty path is the hive itself. Without create, fails when the key is
    // missing; with create, creates the missing keys (and persists them). Leading and trailing
    // backslashes are ignored; an empty name inside the path fails.
    bool open(Hive hive, const QString& path, bool create);
    void close() { m_open = false; }
    bool isOpen() const { return m_open; }
    Hive hive() const { return m_hive; }
    QString path() const { return m_path.join(u'\\'); }

    // Reads answer nullopt when the value is missing or has another type; the empty name is
    // the key's default value. A string read also accepts expandable strings (REG_EXPAND_SZ).
    std::optional<QString> readString(const QString& name) const;
    std::optional<int32_t> readInteger(const QString& name) const;
    std::optional<QByteArray> readBinary(const QString& name) const;
    bool hasValue(const QString& name) const;

    // Writes create or replace the value (an existing value keeps its name's spelling and its
    // place) and return true once the hive file holds it.
    bool writeString(const QString& name, const QString& value);
    bool writeInteger(const QString& name, int32_t value); // a REG_DWORD
    bool writeBinary(const QString& name, const QByteArray& value);
    bool deleteValue(const QString& name); // false when missing

    QStringList valueNames() const; // in their order
    QStringList subKeyNames() const; // sorted case-insensitively
    bool hasSubKey(const QString& name) const;
    // Deletes the key at the path below this key with everything under it; false when missing.
    bool deleteKey(const QString& subPath);

    // The folder of the hive files: by default the XDG configuration folder + "/orvo/registry"
    // (read again on every call, so a test may set XDG_CONFIG_HOME); setRoot overrides it for
    // the whole process until resetRoot.
    static void setRoot(const QString& folder);
    static void resetRoot();
    static QString root();

private:
    bool m_open = false;
    Hive m_hive = Hive::CurrentUser;
    QStringList m_path;
};

// Merges a file exported by regedit (REGEDIT4 or version 5.00, ANSI, UTF-8 or UTF-16LE) into
// the hives: its keys and values are created or replaced, "[-key]" sections and "name"=-
// values delete. Sections of hives other than the two kept here are skipped. A malformed file
// changes nothing. Returns false with a message on failure.
bool importRegFile(const QString& fileName, QString* error = nullptr);

} // namespace registry
