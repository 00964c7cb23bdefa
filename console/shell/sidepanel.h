#pragma once

#include <QWidget>

class QLabel;

// The side panel beside every page: the selected server's utilization. Interface thread only.
class TSidePanel : public QWidget {
    Q_OBJECT
public:
    explicit TSidePanel(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }
    // A new server was selected: forget what was shown.
    virtual void Reset() { }
    // One utilization tick on a NetWare 4 server.
    virtual void UpdateUtilization() { }
    // On servers that cannot report utilization: the labels read "n/a".
    virtual void ShowNotAvailable() { }
    virtual void SetMemoryChartVisible(bool visible) { Q_UNUSED(visible); }
    virtual void SetUtilizationChartEnabled(bool enabled) { Q_UNUSED(enabled); }
};

// The side panel until the utilization charts exist: a plain notice, nothing measured.
class TUnavailableSidePanel : public TSidePanel {
    Q_OBJECT
public:
    explicit TUnavailableSidePanel(QWidget* parent = nullptr);
};
