#pragma once

#include <QWidget>

class QMenu;

// What the main window asks of a page. Each page overrides what it offers; the defaults do
// nothing. Interface thread only.
class TPage : public QWidget {
    Q_OBJECT
public:
    explicit TPage(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }

    // Runs when the page becomes current or the server changes.
    virtual void UpdatePage() { }
    // The periodic update driven by the main window's timers; fromTimer is false when the
    // Refresh command asks for it directly.
    virtual void PeriodicUpdate(bool fromTimer) { Q_UNUSED(fromTimer); }
    // The connections page's details of one connection, on every utilization tick.
    virtual void DetailUpdate(int connection) { Q_UNUSED(connection); }
    // The "Refresh" command.
    virtual void RefreshPage() { UpdatePage(); }
    // A menu merged into the main menu while the page is current; not owned by the caller.
    virtual QMenu* PageMenu() { return nullptr; }
    // Asked when the page is left and when the window closes; false vetoes the close.
    virtual bool HasCloseQuery() const { return false; }
    virtual bool CloseQuery() { return true; }
    // False when the page cannot work at all on this workstation (its slot is disabled).
    virtual bool CanWork() const { return true; }
    // True while a background refresh of the page runs; closing waits for it.
    virtual bool IsUpdating() const { return false; }
    // The options dialog was confirmed: the disk manager page takes the highlight options
    // (always) and the file-icon option (when it is the current page).
    virtual void ApplyHighlightSettings() { }
    virtual void ApplyIconSetting() { }
    // True when the focused control holds a selection the "Clear" button can act on.
    virtual bool CanClearSelection() const { return false; }
};

// The page shown in a slot whose work this console does not offer yet: says so plainly.
class TUnavailablePage : public TPage {
    Q_OBJECT
public:
    TUnavailablePage(const QString& title, QWidget* parent = nullptr);
};
