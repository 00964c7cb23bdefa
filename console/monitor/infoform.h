#pragma once

#include "console/monitor/infoview.h"
#include "console/monitor/utilization.h"
#include "console/shell/sidepanel.h"

#include <array>
#include <functional>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QToolButton;
class TMainForm;

// The side panel: processor utilization and memory use of the selected server over the last
// 61 samples, with the current values as text; each sample also goes to the status bar.
// Interface thread only.
class TInfoForm : public TSidePanel {
    Q_OBJECT
public:
    static constexpr int kPoints = 61;
    static constexpr int kRedFrom = 51;
    static constexpr int kWidth = 160;

    struct Context {
        TConnRefSource connRef;
        std::function<bool()> hasServer;
        std::function<void(int connections, int utilization, int usedMemory)> setStatus;
        std::function<void()> hidePanel; // the "Server u&tilization" command
    };

    explicit TInfoForm(const Context& context, QWidget* parent = nullptr);
    // The panel of the main window: its server, status bar and command.
    static TInfoForm* Create(TMainForm* main);

    // Both charts back to 61 zero points.
    void ResetCharts();
    // Every point moves one place towards the start and the newest takes the last place.
    void AddSample(int utilization, int usedMemory);
    // One tick on a NetWare 4 server (or without a server: labels and status emptied).
    void UpdateSample();
    void ShowSample(const TUtilizationSample& sample);

    // The main window sizes its side panel from this.
    QSize sizeHint() const override;

    void Reset() override { ResetCharts(); }
    void UpdateUtilization() override { UpdateSample(); }
    void ShowNotAvailable() override;
    void SetMemoryChartVisible(bool visible) override;
    void SetUtilizationChartEnabled(bool enabled) override;

    QLineSeries* Series1() const { return m_series1; }
    QLineSeries* Series2() const { return m_series2; }
    QLabel* UtilizationLabel() const { return m_utilizationLabel; }
    QLabel* AvailMemory() const { return m_availMemory; }
    QChartView* UtilizationChart() const { return m_utilizationChart; }
    QChartView* MemChart() const { return m_memChart; }
    QToolButton* HideButton() const { return m_hideButton; }

private:
    QChartView* makeChart(const QString& title, QLineSeries* series, const QColor& colour);
    static void fill(QLineSeries* series, const std::array<int, kPoints>& values);

    Context m_context;
    QLineSeries* m_series1;
    QLineSeries* m_series2;
    QChartView* m_utilizationChart = nullptr;
    QChartView* m_memChart = nullptr;
    QLabel* m_utilizationLabel = nullptr;
    QLabel* m_availMemory = nullptr;
    QWidget* m_memBox = nullptr;
    QToolButton* m_hideButton = nullptr;
    std::array<int, kPoints> m_utilization {};
    std::array<int, kPoints> m_memory {};
};
