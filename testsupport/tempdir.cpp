#include "testsupport/tempdir.h"

#include <QDir>

namespace testsupport {

TempHome::TempHome()
{
    QDir(m_dir.path()).mkpath("config");
    QDir(m_dir.path()).mkpath("data");
    qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", m_dir.filePath("data").toUtf8());
}

} // namespace testsupport
