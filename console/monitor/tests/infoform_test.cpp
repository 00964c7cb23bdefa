#include "console/monitor/infoform.h"
#include "console/monitor/monitorfactories.h"
#include "console/shell/mainform.h"
#include "monitorfixture.h"
#include "netware/connrefbox.h"
#include "platform/nwclient/statsops.h"

#include <QAction>
#include <QLabel>
#include <QLineSeries>
#include <QToolButton>

namespace {

QList<int> valuesOf(const QLineSeries* series)
{
    QList<int> values;
    for (const QPointF& p : series->points())
        values << static_cast<int>(p.y());
    return values;
}

class InfoFormTest : public MonitorFixture {
protected:
    std::unique_ptr<TInfoForm> panel(nwclient::ConnRef ref)
    {
        TInfoForm::Context c;
        c.connRef = [ref] { return ref; };
        c.hasServer = [this] { return hasServer; };
        c.setStatus = [this](int a, int b, int m) { status = { a, b, m }; };
        auto p = std::make_unique<TInfoForm>(c);
        p->show();
        return p;
    }
    bool hasServer = true;
    QList<int> status;
};

TEST_F(InfoFormTest, ChartsKeepTheLast61Samples)
{
    auto p = panel(fs1);
    EXPECT_EQ(valuesOf(p->Series1()), QList<int>(61, 0));
    for (int i = 1; i <= 70; ++i)
        p->AddSample(i, 100 - i);
    const QList<int> u = valuesOf(p->Series1());
    ASSERT_EQ(u.size(), 61);
    EXPECT_EQ(u.first(), 10);
    EXPECT_EQ(u.last(), 70);
    EXPECT_EQ(valuesOf(p->Series2()).last(), 30);
    EXPECT_EQ(p->Series1()->points().last().x(), 60);
    p->Reset();
    EXPECT_EQ(valuesOf(p->Series1()), QList<int>(61, 0));
    EXPECT_EQ(valuesOf(p->Series2()), QList<int>(61, 0));
}

TEST_F(InfoFormTest, UtilizationTurnsRedFrom51)
{
    auto p = panel(fs1);
    const QColor normal = p->palette().color(QPalette::WindowText);
    p->ShowSample({ 3, 50, 35 });
    EXPECT_EQ(p->UtilizationLabel()->text(), "50%");
    EXPECT_EQ(p->UtilizationLabel()->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(p->AvailMemory()->text(), "35%");
    EXPECT_EQ(status, (QList<int> { 3, 50, 35 }));
    p->ShowSample({ 3, 51, 35 });
    EXPECT_EQ(p->UtilizationLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(InfoFormTest, UsedMemoryComesFromTheCacheBuffers)
{
    nwclient::NWCacheInfo cache;
    cache.originalNumOfCacheBuffers = 10000;
    cache.currentNumOfCacheBuffers = 6500;
    EXPECT_EQ(nwclient::usedMemoryPercent(cache), 35);
}

TEST_F(InfoFormTest, ATickSamplesTheServer)
{
    auto p = panel(fs1);
    p->UpdateSample();
    ASSERT_EQ(status.size(), 3);
    EXPECT_GE(status[0], 1); // this workstation at least
    EXPECT_GT(status[2], 0);
    EXPECT_EQ(valuesOf(p->Series2()).last(), status[2]);

    // No server selected: labels and status emptied, the charts keep their history.
    hasServer = false;
    p->UpdateSample();
    EXPECT_EQ(status, (QList<int> { -1, -1, -1 }));
    EXPECT_TRUE(p->UtilizationLabel()->text().isEmpty());

    // A broken reference samples zeros.
    hasServer = true;
    auto broken = panel(0);
    broken->UpdateSample();
    EXPECT_EQ(status, (QList<int> { 0, 0, 0 }));
}

TEST_F(InfoFormTest, InTheMainWindow)
{
    TMainForm form(MonitorPageFactories());
    form.SetStartPause(0);
    form.show();
    auto* p = qobject_cast<TInfoForm*>(form.SidePanel());
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(form.StatusText(0).startsWith("Connections: "));

    // NetWare 3: nothing to measure.
    form.ServerBox()->setCurrentIndex(form.ServerBox()->findText("FS2"));
    form.ServerBox()->Change();
    EXPECT_EQ(p->UtilizationLabel()->text(), "n/a");
    EXPECT_EQ(p->AvailMemory()->text(), "n/a");
    EXPECT_TRUE(form.StatusText(0).isEmpty());
    EXPECT_EQ(valuesOf(p->Series1()), QList<int>(61, 0));

    // The panel's own button hides it like the command.
    p->HideButton()->click();
    EXPECT_FALSE(form.Action("Server u&tilization")->isChecked());
    EXPECT_FALSE(form.Action("Utilization")->isChecked());
    EXPECT_FALSE(p->parentWidget()->isVisible());
}

} // namespace
