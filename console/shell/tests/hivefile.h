#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <string>

namespace shelltest {

// The current user's hive file as it lies on disk: every key path (below HKEY_CURRENT_USER)
// with the names and raw right-hand sides of its values, in file order.
struct HiveFile {
    QMap<QString, QStringList> names; // key path -> value names
    QMap<QString, QString> raw; // "key path|value name" -> text after '='

    static HiveFile read(const QString& registryFolder);
    // One line per key, "path: name, name", for readable comparisons.
    static std::string dump(const QMap<QString, QStringList>& names)
    {
        QStringList lines;
        for (auto it = names.begin(); it != names.end(); ++it)
            lines.append(it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", ")));
        return lines.join(QLatin1Char('\n')).toStdString();
    }
    QString value(const QString& key, const QString& name) const
    {
        return raw.value(key + QLatin1Char('|') + name);
    }
};

} // namespace shelltest
