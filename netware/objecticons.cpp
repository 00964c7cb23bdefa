#include "netware/objecticons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace {
struct Badge {
    QColor colour;
    char letter;
};

Badge badgeOf(int kind)
{
    switch (kind) {
    case 1:
        return { QColor(0x60, 0x60, 0x60), 'R' };
    case 2:
        return { QColor(0x1f, 0x5f, 0xa8), 'O' };
    case 3:
        return { QColor(0x3a, 0x8f, 0xd8), 'U' };
    case 4:
        return { QColor(0x2e, 0x8b, 0x57), 'G' };
    case 5:
        return { QColor(0xc0, 0x6a, 0x10), 'P' };
    case 6:
        return { QColor(0x90, 0x90, 0x90), 'A' };
    case 8:
    case 11:
        return { QColor(0x55, 0x3d, 0x99), 'S' };
    case 12:
        return { QColor(0x6b, 0x4f, 0x2a), 'L' };
    case 17:
        return { QColor(0x80, 0x20, 0x20), 'V' };
    case 18:
        return { QColor(0x6b, 0x4f, 0x2a), 'Q' };
    case 22:
        return { QColor(0xa0, 0x50, 0x80), 'R' };
    default:
        return { QColor(0xb0, 0xb0, 0xb0), '?' };
    }
}
} // namespace

QIcon ObjectKindIcon(int kind)
{
    static QHash<int, QIcon> cache;
    const auto it = cache.constFind(kind);
    if (it != cache.constEnd())
        return *it;
    const Badge b = badgeOf(kind);
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(b.colour);
    p.setPen(b.colour.darker(140));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(QLatin1Char(b.letter)));
    p.end();
    return cache.insert(kind, QIcon(pm)).value();
}
