#include "console/monitor/statform.h"
#include "console/monitor/statreports.h"
#include "monitorfixture.h"

#include <QCoreApplication>
#include <QStyle>
#include <QTableWidget>

namespace {

class StatFormTest : public MonitorFixture {
protected:
    std::unique_ptr<TStatForm> formFor(nwclient::ConnRef ref)
    {
        auto f = std::make_unique<TStatForm>([ref] { return ref; });
        f->resize(440, 300);
        f->show();
        return f;
    }
};

TEST_F(StatFormTest, ACounterGroupFillsTheGrid)
{
    auto f = formFor(fs1);
    f->ShowStatistic("Statistics\\Memory\\Cache");
    EXPECT_EQ(f->ReportNumber(), statreports::Cache);
    EXPECT_EQ(f->Cell(0, 0), "Stat: Cache");
    EXPECT_EQ(f->Cell(1, 0), "Value");
    EXPECT_EQ(f->RowCount(), 60);
    EXPECT_EQ(f->Cell(0, 1), "Current Server Time:");
    EXPECT_EQ(f->Cell(0, 59), "Cache Byte To Block Shift Factor:");
    EXPECT_EQ(f->Grid()->columnWidth(1), TStatForm::kValueWidth);

    f->ShowStatistic("Statistics\\Server\\NCP Extensions");
    EXPECT_EQ(f->Cell(0, 1), "Extension Name");
    EXPECT_EQ(f->Cell(1, 1), "BTRIEVE");
}

TEST_F(StatFormTest, FailuresShowTheirTexts)
{
    struct Case {
        nwclient::ConnRef ref;
        const char* leaf;
        const char* label;
        const char* value;
    };
    const Case cases[] = {
        // FS1 has two boards loaded: a third frame is not.
        { fs1, "Type 3", "Error ", " Frame Not Loaded" },
        // A NetWare 3 server registers no NCP extensions.
        { fs2, "NCP Extensions", "", "No Extensions Found" },
        // NetWare 3 does not know the statistics calls.
        { fs2, "Processor", "NWGetCPUInfo Failed: 89FB", "" },
    };
    for (const Case& c : cases) {
        auto f = formFor(c.ref);
        f->ShowStatistic(QStringLiteral("Statistics\\x\\") + c.leaf);
        EXPECT_EQ(f->RowCount(), 2) << c.leaf;
        EXPECT_EQ(f->Cell(0, 1), c.label) << c.leaf;
        EXPECT_EQ(f->Cell(1, 1), c.value) << c.leaf;
    }
    // Cache counters need a console operator (JOHN's login takes over the FS1 reference).
    auto f = formFor(john());
    f->ShowStatistic("Statistics\\Memory\\Cache");
    EXPECT_EQ(f->RowCount(), 2);
    EXPECT_EQ(f->Cell(0, 1), "No Console rights");
    EXPECT_EQ(f->Cell(1, 1), "");
}

TEST_F(StatFormTest, BoardsThatAreLoadedShowConfigurationAndCounters)
{
    auto f = formFor(fs1);
    f->ShowStatistic("Statistics\\Frames\\Type 1");
    EXPECT_EQ(f->RowCount(), 43);
    EXPECT_EQ(f->Cell(0, 2), "DriverNodeAddress");
    EXPECT_EQ(f->Cell(1, 2).size(), 12);
    EXPECT_EQ(f->Cell(0, 42), "hardwareRxMismatchCount");
}

TEST_F(StatFormTest, WithoutAHandleTheGridShowsTheLastFailure)
{
    statreports::SetFailureText("NWGetLSLInfo Failed: 89C6");
    auto f = formFor(0);
    f->ShowStatistic("Statistics\\Network\\LSL - ECB's");
    EXPECT_EQ(f->RowCount(), 2);
    EXPECT_EQ(f->Cell(0, 1), "NWGetLSLInfo Failed: 89C6");
}

TEST_F(StatFormTest, ALeafOfNoReportKeepsTheReport)
{
    auto f = formFor(fs1);
    f->ShowStatistic("Statistics\\Server\\Processor");
    f->ShowStatistic("Statistics\\Server");
    EXPECT_EQ(f->ReportNumber(), statreports::Processor);
    EXPECT_EQ(f->Cell(0, 0), "Stat: Server");
    EXPECT_EQ(f->Cell(0, 1), "CPU Name");
}

TEST_F(StatFormTest, ResizingAsksTheServerAgain)
{
    auto f = formFor(fs1);
    f->ShowStatistic("Statistics\\Server\\File Server Info");
    const QString before = f->Cell(1, 3); // numOfNCPRequests
    f->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(f->Cell(0, 3), "numOfNCPRequests");
    EXPECT_GT(f->Cell(1, 3).remove(',').toLongLong(), before.toLongLong());
    const int scrollBar = f->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(f->Grid()->columnWidth(0),
        f->Grid()->width() - 2 * f->Grid()->frameWidth() - TStatForm::kValueWidth - scrollBar);
}

} // namespace
