#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A fresh directory for one test; removed with the object. Also points the registry stand-in
// and the data folder there (through XDG_CONFIG_HOME / XDG_DATA_HOME) so that no test touches
// the developer's own settings.
class TempHome {
public:
    TempHome();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
