// The console shell as the program starts it: options, main window and the shell's commands,
// against the embedded demo servers, with the registry files read back raw.
#include "console/shell/helpviewer.h"
#include "console/shell/mainform.h"
#include "console/shell/settingsdlg.h"
#include "console/shell/shellcommands.h"
#include "console/shell/timerlist.h"
#include "console/shell/tipoftheday.h"
#include "hivefile.h"
#include "netware/connrefbox.h"
#include "platform/nwclient/client.h"
#include "platform/registry/registry.h"
#include "platform/shell/scripteddialogservice.h"
#include "testsupport/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ConsoleTest : public testing::Test {
protected:
    void SetUp() override
    {
        registry::RegKey::setRoot(home.file("registry"));
        shell::DialogService::setInstance(&dialogs);
        nwclient::initialise(nwclient::WorkstationConfig::demo(home.file("servers")));
    }
    void TearDown() override
    {
        stop();
        nwclient::terminate();
        shell::DialogService::setInstance(nullptr);
        registry::RegKey::resetRoot();
    }
    // Starts the console; the tip of the day, when it comes, is closed and counted.
    TMainForm& start()
    {
        settings = std::make_unique<TSettingsDlg>();
        form = std::make_unique<TMainForm>(TPageFactories {}, settings->Options());
        form->SetStartPause(0);
        InstallShellCommands(*form, *settings);
        QTimer::singleShot(0, form.get(), [this] { closeModal(); });
        form->show();
        form->activateWindow();
        for (int i = 0; i < 20 && !form->isActiveWindow(); ++i)
            QApplication::processEvents();
        return *form;
    }
    void stop()
    {
        if (form)
            form->close();
        form.reset();
        settings.reset();
    }
    // Answers the modal window that comes next: a tip of the day is counted and closed.
    void closeModal(std::function<void(QWidget*)> act = {})
    {
        QTimer::singleShot(0, [this, act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (qobject_cast<TfTipOfTheDay*>(modal))
                ++tipsShown;
            if (act)
                act(modal);
            else
                modal->close();
        });
    }
    QAction* action(const char* caption) { return form->Action(QString::fromLatin1(caption)); }
    shelltest::HiveFile hive() const { return shelltest::HiveFile::read(home.file("registry")); }

    testsupport::TempHome home;
    shell::ScriptedDialogService dialogs;
    std::unique_ptr<TSettingsDlg> settings;
    std::unique_ptr<TMainForm> form;
    int tipsShown = 0;
};

TEST_F(ConsoleTest, FirstRunWritesExactlyTheStoresOfTheTable)
{
    TMainForm& f = start();
    EXPECT_EQ(tipsShown, 1); // tips are on in a first run
    EXPECT_EQ(f.CurrentPage(), 0);
    EXPECT_EQ(f.UpdateSpeedTag(), 2500);
    EXPECT_EQ(f.Timers()->interval(TMainForm::UpdateUtilization),
        TSettingsDlg::kDefaultChartSeconds * 1000);
    closeModal([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    action("O&ptions")->trigger();
    stop();

    const QString console = "Software\\Tarvo\\DorAzor Ezevive";
    const QStringList placement { "Flags", "ShowCmd", "MinMaxPos", "NormPos" };
    QMap<QString, QStringList> expected;
    expected["Software"] = {};
    expected["Software\\Tarvo"] = {};
    expected[console] = QStringList { "MainBar_ShowCaptions", "NavigationBar_Visible",
        "ServerInfoPanel_Visible", "PagePanel_Tag", "mm_UpdateSpeed_Tag" }
        + placement;
    expected[console + "\\Options"] = QStringList { "ShowTips_Checked", "ShowFileIcons_Checked",
        "HighlightReadOnly_Checked", "CanonicBox_Checked", "UpdateChartTime_Value",
        "HighlightCompressed_Checked", "SortByName_Checked", "ShowLicencedConns_Checked",
        "ExternalEditor_Text", "ExternalViewer_Text", "CB_UseExternalEditor_Checked",
        "CB_UseExternalViewer_Checked", "ExternalEditor_FileName", "ExternalViewer_FileName" }
        + placement;
    expected[console + "\\MainForm"] = QStringList { "CurrTip_Value" };
    const shelltest::HiveFile h = hive();
    EXPECT_EQ(shelltest::HiveFile::dump(h.names), shelltest::HiveFile::dump(expected));
    EXPECT_EQ(h.value(console, "MainBar_ShowCaptions"), "\"True\"");
    EXPECT_EQ(h.value(console, "PagePanel_Tag"), "\"0\"");
    EXPECT_EQ(h.value(console, "mm_UpdateSpeed_Tag"), "\"2500\"");
    EXPECT_EQ(h.value(console + "\\MainForm", "CurrTip_Value"), "\"0\"");
}

TEST_F(ConsoleTest, TheNextRunComesBackAsItWasLeft)
{
    TMainForm& f = start();
    action("&Fast")->trigger();
    action("&Disk manager")->trigger();
    action("Text labels")->trigger();
    action("&Navigation bar")->trigger();
    f.setGeometry(60, 70, 700, 480);
    stop();

    TMainForm& again = start();
    EXPECT_EQ(tipsShown, 2);
    EXPECT_EQ(again.CurrentPage(), 4);
    EXPECT_EQ(again.UpdateSpeedTag(), 1000);
    EXPECT_FALSE(action("Text labels")->isChecked());
    EXPECT_FALSE(action("&Navigation bar")->isChecked());
    EXPECT_EQ(again.size(), QSize(700, 480));
    EXPECT_EQ(hive().value("Software\\Tarvo\\DorAzor Ezevive\\MainForm", "CurrTip_Value"), "\"1\"");
}

TEST_F(ConsoleTest, ChartIntervalTakesEffectAtOnceAndStaysAfterCancel)
{
    TMainForm& f = start();
    closeModal([](QWidget* w) {
        w->findChild<QSpinBox*>("UpdateChartTime")->setValue(5);
        static_cast<QDialog*>(w)->reject();
    });
    action("O&ptions")->trigger();
    EXPECT_EQ(f.Timers()->interval(TMainForm::UpdateUtilization), 5000);
    EXPECT_EQ(settings->UpdateChartTime(), TSettingsDlg::kDefaultChartSeconds);

    // OK hands the options to the window's mirrors.
    closeModal([](QWidget* w) {
        w->findChild<QCheckBox*>("ShowLicencedConns")->setChecked(true);
        w->findChild<QCheckBox*>("CanonicBox")->setChecked(false);
        static_cast<QDialog*>(w)->accept();
    });
    action("O&ptions")->trigger();
    EXPECT_FALSE(f.AllConnections());
    EXPECT_FALSE(f.CanonicalNames());
}

TEST_F(ConsoleTest, TipsOffMeansNoTipAtTheNextStart)
{
    start();
    closeModal([](QWidget* w) {
        static_cast<TfTipOfTheDay*>(w)->ShowNextTime()->setChecked(false);
        w->close();
    });
    action("&Tip of the Day...")->trigger();
    EXPECT_EQ(tipsShown, 2);
    form.reset(); // ended without closing: what was written at once is what counts
    settings.reset();
    start();
    EXPECT_EQ(tipsShown, 2);
}

TEST_F(ConsoleTest, HelpContentsOpensTheHtmlHelp)
{
    TMainForm& f = start();
    EXPECT_TRUE(f.HelpFile().endsWith(".html"));
    action("&Contents")->trigger(); // no help beside the test program
    ASSERT_EQ(dialogs.calls().size(), 1);
    EXPECT_EQ(dialogs.calls()[0].text, "The help file " + f.HelpFile() + " was not found.");

    const QString help = home.file("quenbo.html");
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><h1>Contents</h1></body></html>");
    file.close();
    THelpViewer* viewer = THelpViewer::ShowContents(help);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Text(), "Contents");
    viewer->close();
    EXPECT_FALSE(f.ServerBox()->whatsThis().isEmpty());
}

} // namespace
