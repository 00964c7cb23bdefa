#pragma once

#include <QRect>
#include <optional>

class QWidget;
namespace registry {
class RegKey;
}

// A window's placement as the registry keeps it: "Flags" and "ShowCmd" as decimal text,
// "MinMaxPos" and "NormPos" as "%d,%d,%d,%d" (the minimised and maximised positions; the normal
// rectangle left, top, right, bottom with right and bottom exclusive).
struct TWindowPlacement {
    static constexpr int kRestoreToMaximized = 2; // Flags: a minimised window was maximised
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    int flags = 0;
    int showCmd = kShowNormal;
    // Where a minimised and a maximised window go; the desktop decides that here, so the
    // positions are kept only for the record ("-1" for unknown, as Windows writes them).
    QPoint minPosition { -1, -1 };
    QPoint maxPosition { -1, -1 };
    QRect normal; // frame position and client size of the window in its normal state

    // The placement of a window as it is now (its normal rectangle also when maximised).
    static TWindowPlacement of(const QWidget* window);
    // Reads the four values; nullopt when one is missing or malformed, so a damaged placement
    // leaves the window where it is.
    static std::optional<TWindowPlacement> read(const registry::RegKey& key);
    void write(registry::RegKey& key) const;
    // Moves (and, for a resizable window, sizes) the window to the normal rectangle unless
    // stateOnly, then maximises it when it was stored maximised. A window stored minimised comes
    // back in the state it had before it was minimised: a program does not start as an icon.
    void applyTo(QWidget* window, bool stateOnly) const;
};
