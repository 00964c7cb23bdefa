#include "console/shell/shellresources.h"

#include <QFile>

namespace shellresources {

QPixmap Logo()
{
    return QPixmap(QStringLiteral(":/shell/LOGO.png"));
}

QPixmap Bulb()
{
    return QPixmap(QStringLiteral(":/shell/bulb.png"));
}

QString LegalNotice()
{
    return QStringLiteral("Copyright \u00A9 Tarvo. All rights reserved.");
}

QString TipDocument(int number)
{
    QFile file(QStringLiteral(":/shell/tips/TIP_%1.html").arg(number));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace shellresources
