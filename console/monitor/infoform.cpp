#include "console/monitor/infoform.h"

#include "console/shell/mainform.h"
#include "netware/connrefbox.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

TInfoForm::TInfoForm(const Context& context, QWidget* parent)
    : TSidePanel(parent)
    , m_context(context)
    , m_series1(new QLineSeries)
    , m_series2(new QLineSeries)
{
    setFixedWidth(kWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* top = new QFrame(this);
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(4, 2, 2, 2);
    topLayout->addWidget(new QLabel(QStringLiteral("Utilization"), top), 1);
    m_hideButton = new QToolButton(top);
    m_hideButton->setAutoRaise(true);
    m_hideButton->setCursor(Qt::PointingHandCursor);
    m_hideButton->setText(QStringLiteral("x"));
    m_hideButton->setToolTip(QStringLiteral("Hide"));
    connect(m_hideButton, &QToolButton::clicked, this, [this] {
        if (m_context.hidePanel)
            m_context.hidePanel();
    });
    topLayout->addWidget(m_hideButton);
    layout->addWidget(top);

    const auto addChart = [&](QChartView* chart, QLabel*& label, const QString& name) {
        auto* box = new QWidget(this);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(0, 0, 0, 0);
        boxLayout->setSpacing(0);
        label = new QLabel(box);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        boxLayout->addWidget(label);
        chart->setParent(box);
        boxLayout->addWidget(chart, 1);
        layout->addWidget(box, 1);
        return box;
    };
    m_utilizationChart = makeChart(QStringLiteral("Processor"), m_series1, QColor(0, 255, 0));
    m_utilizationChart->setObjectName(QStringLiteral("UtilizationChart"));
    addChart(m_utilizationChart, m_utilizationLabel, QStringLiteral("UtilizationLabel"));
    m_memChart = makeChart(QStringLiteral("Memory"), m_series2, QColor(255, 255, 0));
    m_memChart->setObjectName(QStringLiteral("MemChart"));
    m_memBox = addChart(m_memChart, m_availMemory, QStringLiteral("AvailMemory"));
    m_series1->setObjectName(QStringLiteral("Series1"));
    m_series2->setObjectName(QStringLiteral("Series2"));
    ResetCharts();
}

TInfoForm* TInfoForm::Create(TMainForm* main)
{
    Context c;
    c.connRef = [main] { return main->CurrentConnRef(); };
    c.hasServer = [main] { return main->ServerBox()->currentIndex() >= 0; };
    c.setStatus = [main](int connections, int utilization, int memory) {
        main->SetStatus(connections, utilization, memory);
    };
    c.hidePanel = [main] { main->Action(QStringLiteral("Server u&tilization"))->trigger(); };
    return new TInfoForm(c);
}

QChartView* TInfoForm::makeChart(const QString& title, QLineSeries* series, const QColor& colour)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleBrush(Qt::white);
    chart->setBackgroundBrush(Qt::black);
    chart->setPlotAreaBackgroundBrush(Qt::black);
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    QPen pen(colour);
    pen.setWidth(1);
    series->setPen(pen);
    series->setUseOpenGL(false);
    chart->addSeries(series);

    auto* x = new QValueAxis;
    x->setRange(0, kPoints - 1);
    x->setLabelsVisible(false);
    x->setTickCount(7);
    auto* y = new QValueAxis;
    y->setRange(0, 100);
    y->setLabelFormat(QStringLiteral("%.0f%%"));
    y->setLabelsBrush(Qt::white);
    y->setTickCount(5);
    for (QValueAxis* axis : { x, y }) {
        axis->setGridLinePen(QPen(QColor(0, 128, 0)));
        axis->setLinePen(QPen(QColor(0, 128, 0)));
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);

    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing, false);
    view->setInteractive(false); // no zoom, no panning
    view->setMinimumHeight(120);
    return view;
}

void TInfoForm::fill(QLineSeries* series, const std::array<int, kPoints>& values)
{
    QList<QPointF> points;
    points.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        points.append(QPointF(i, values[static_cast<size_t>(i)]));
    series->replace(points);
}

QSize TInfoForm::sizeHint() const
{
    return { kWidth, TSidePanel::sizeHint().height() };
}

void TInfoForm::ResetCharts()
{
    m_utilization.fill(0);
    m_memory.fill(0);
    fill(m_series1, m_utilization);
    fill(m_series2, m_memory);
}

void TInfoForm::AddSample(int utilization, int usedMemory)
{
    std::rotate(m_utilization.begin(), m_utilization.begin() + 1, m_utilization.end());
    std::rotate(m_memory.begin(), m_memory.begin() + 1, m_memory.end());
    m_utilization.back() = utilization;
    m_memory.back() = usedMemory;
    fill(m_series1, m_utilization);
    fill(m_series2, m_memory);
    m_utilizationChart->viewport()->repaint();
    m_memChart->viewport()->repaint();
}

void TInfoForm::UpdateSample()
{
    if (m_context.hasServer && !m_context.hasServer()) {
        m_utilizationLabel->clear();
        if (m_context.setStatus)
            m_context.setStatus(-1, -1, -1);
        return;
    }
    ShowSample(ReadUtilizationSample(m_context.connRef ? m_context.connRef() : 0));
}

void TInfoForm::ShowSample(const TUtilizationSample& s)
{
    QPalette palette = m_utilizationLabel->palette();
    palette.setColor(QPalette::WindowText,
        s.utilization < kRedFrom ? this->palette().color(QPalette::WindowText) : QColor(Qt::red));
    m_utilizationLabel->setPalette(palette);
    m_utilizationLabel->setText(QStringLiteral("%1%").arg(s.utilization));
    m_availMemory->setText(QStringLiteral("%1%").arg(s.usedMemory));
    AddSample(s.utilization, s.usedMemory);
    if (m_context.setStatus)
        m_context.setStatus(s.connections, s.utilization, s.usedMemory);
}

void TInfoForm::ShowNotAvailable()
{
    m_utilizationLabel->setPalette(palette());
    m_utilizationLabel->setText(QStringLiteral("n/a"));
    m_availMemory->setText(QStringLiteral("n/a"));
}

void TInfoForm::SetMemoryChartVisible(bool visible)
{
    m_memBox->setVisible(visible);
}

void TInfoForm::SetUtilizationChartEnabled(bool enabled)
{
    m_utilizationChart->setEnabled(enabled);
}
