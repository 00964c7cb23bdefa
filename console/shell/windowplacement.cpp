#include "console/shell/windowplacement.h"

#include "platform/registry/registry.h"

#include <QStringList>
#include <QWidget>
#include <array>

namespace {

QString fourText(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

std::optional<std::array<int, 4>> parseFour(const std::optional<QString>& text)
{
    if (!text)
        return std::nullopt;
    const QStringList parts = text->split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> v {};
    for (size_t i = 0; i < v.size(); ++i) {
        bool ok = false;
        v[i] = parts[int(i)].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    return v;
}

std::optional<int> parseInt(const std::optional<QString>& text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int v = text->trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

} // namespace

TWindowPlacement TWindowPlacement::of(const QWidget* window)
{
    TWindowPlacement p;
    const Qt::WindowStates state = window->windowState();
    if (state & Qt::WindowMinimized) {
        p.showCmd = kShowMinimized;
        if (state & Qt::WindowMaximized)
            p.flags = kRestoreToMaximized;
    } else if (state & Qt::WindowMaximized) {
        p.showCmd = kShowMaximized;
    }
    if (state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        p.normal = window->normalGeometry();
    if (!p.normal.isValid())
        p.normal = QRect(window->pos(), window->size());
    return p;
}

std::optional<TWindowPlacement> TWindowPlacement::read(const registry::RegKey& key)
{
    const auto flags = parseInt(key.readString(QStringLiteral("Flags")));
    const auto showCmd = parseInt(key.readString(QStringLiteral("ShowCmd")));
    const auto minMax = parseFour(key.readString(QStringLiteral("MinMaxPos")));
    const auto norm = parseFour(key.readString(QStringLiteral("NormPos")));
    if (!flags || !showCmd || !minMax || !norm)
        return std::nullopt;
    TWindowPlacement p;
    p.flags = *flags;
    p.showCmd = *showCmd;
    p.minPosition = QPoint((*minMax)[0], (*minMax)[1]);
    p.maxPosition = QPoint((*minMax)[2], (*minMax)[3]);
    const auto& r = *norm;
    p.normal = QRect(QPoint(r[0], r[1]), QSize(r[2] - r[0], r[3] - r[1]));
    return p;
}

void TWindowPlacement::write(registry::RegKey& key) const
{
    key.writeString(QStringLiteral("Flags"), QString::number(flags));
    key.writeString(QStringLiteral("ShowCmd"), QString::number(showCmd));
    key.writeString(QStringLiteral("MinMaxPos"),
        fourText(minPosition.x(), minPosition.y(), maxPosition.x(), maxPosition.y()));
    key.writeString(QStringLiteral("NormPos"),
        fourText(normal.left(), normal.top(), normal.left() + normal.width(),
            normal.top() + normal.height()));
}

void TWindowPlacement::applyTo(QWidget* window, bool stateOnly) const
{
    if (!stateOnly && normal.width() > 0 && normal.height() > 0) {
        window->move(normal.topLeft());
        const bool resizable = window->minimumSize() != window->maximumSize();
        if (resizable)
            window->resize(normal.size());
    }
    const bool maximized
        = showCmd == kShowMaximized || (showCmd == kShowMinimized && (flags & kRestoreToMaximized));
    window->setWindowState(maximized ? window->windowState() | Qt::WindowMaximized
                                     : window->windowState() & ~Qt::WindowMaximized);
}
