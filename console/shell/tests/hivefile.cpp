#include "hivefile.h"

#include <QFile>

namespace shelltest {

HiveFile HiveFile::read(const QString& registryFolder)
{
    HiveFile hive;
    QFile file(registryFolder + QStringLiteral("/HKEY_CURRENT_USER.reg"));
    if (!file.open(QIODevice::ReadOnly))
        return hive;
    const QString prefix = QStringLiteral("HKEY_CURRENT_USER");
    QString key;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            key = line.mid(1, line.size() - 2).mid(prefix.size() + 1);
            if (!key.isEmpty())
                hive.names[key];
        } else if (line.startsWith(QLatin1Char('"')) && !key.isEmpty()) {
            const int end = line.indexOf(QStringLiteral("\"="));
            const QString name = line.mid(1, end - 1);
            hive.names[key].append(name);
            hive.raw[key + QLatin1Char('|') + name] = line.mid(end + 2);
        }
    }
    return hive;
}

} // namespace shelltest
