#pragma once

#include "console/monitor/infoview.h"

class QTableWidget;

// One group of the server's counters as a label and value grid (the statistics leaves of the
// server information page). The grid asks the server again whenever it is resized.
class TStatForm : public TInfoView {
    Q_OBJECT
public:
    static constexpr int kValueWidth = 155;
    static constexpr int kRowHeight = 18;

    explicit TStatForm(TConnRefSource connRef, QWidget* parent = nullptr);

    // The leaf's path ("Statistics\Memory\Cache"): its last name selects the report and heads
    // the grid; a name that selects no report keeps the current one.
    void ShowStatistic(const QString& path);
    // Runs the current report and shows its lines, or the last failure text when it has none.
    void FillReport();

    int ReportNumber() const { return m_report; }
    // Rows as the grid shows them: row 0 is the header, data from row 1.
    int RowCount() const;
    QString Cell(int column, int row) const;
    QTableWidget* Grid() const { return m_grid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TConnRefSource m_connRef;
    QTableWidget* m_grid;
    uint8_t m_report = 0;
};
