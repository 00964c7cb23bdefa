#include "console/monitor/statform.h"

#include "console/monitor/statreports.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kMaxValueChars = 100;
} // namespace

TStatForm::TStatForm(TConnRefSource connRef, QWidget* parent)
    : TInfoView(parent)
    , m_connRef(std::move(connRef))
    , m_grid(new QTableWidget(1, 2, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    m_grid->setObjectName(QStringLiteral("StatGrid"));
    m_grid->setColumnWidth(0, 266);
    m_grid->setColumnWidth(1, kValueWidth);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setHorizontalHeaderLabels({ QString(), QString() });
    m_grid->installEventFilter(this);
}

void TStatForm::ShowStatistic(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    const int report = statreports::ReportOfLeaf(name);
    if (report >= 0)
        m_report = static_cast<uint8_t>(report);
    m_grid->horizontalHeaderItem(0)->setText(QStringLiteral("Stat: ") + name);
    FillReport();
}

void TStatForm::FillReport()
{
    QStringList lines;
    statreports::RunReportFor(m_connRef ? m_connRef() : 0, m_report, lines);

    m_grid->clearContents();
    m_grid->setRowCount(lines.isEmpty() ? 1 : static_cast<int>(lines.size()));
    m_grid->horizontalHeaderItem(1)->setText(QStringLiteral("Value"));
    const auto set = [this](int row, int column, const QString& text) {
        m_grid->setItem(row, column, new QTableWidgetItem(text));
    };
    if (lines.isEmpty()) {
        set(0, 0, statreports::FailureText());
        set(0, 1, QString());
    }
    const int visibleRows = m_grid->viewport()->height() / kRowHeight;
    // Column 0 takes what the value column leaves, less the scroll bar when one will show.
    const int scrollBar
        = lines.size() > visibleRows ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int inner = m_grid->width() - 2 * m_grid->frameWidth();
    m_grid->setColumnWidth(0, qMax(0, inner - kValueWidth - scrollBar));
    for (int row = 0; row < lines.size(); ++row) {
        const QString& line = lines[row];
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        if (bar < 0) {
            set(row, 0, QString());
            set(row, 1, line.left(kMaxValueChars));
        } else {
            set(row, 0, line.left(bar));
            set(row, 1, line.mid(bar + 1, kMaxValueChars));
        }
    }
}

int TStatForm::RowCount() const
{
    return m_grid->rowCount() + 1;
}

QString TStatForm::Cell(int column, int row) const
{
    const QTableWidgetItem* item
        = row == 0 ? m_grid->horizontalHeaderItem(column) : m_grid->item(row - 1, column);
    return item ? item->text() : QString();
}

bool TStatForm::eventFilter(QObject* watched, QEvent* event)
{
    // Resizing asks the server again, so a resized view shows fresh values.
    if (watched == m_grid && event->type() == QEvent::Resize)
        FillReport();
    return TInfoView::eventFilter(watched, event);
}
