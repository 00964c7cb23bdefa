#include "console/shell/settingsdlg.h"
#include "hivefile.h"
#include "platform/registry/registry.h"
#include "testsupport/tempdir.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

using registry::RegKey;

namespace {

class SettingsDlgTest : public testing::Test {
protected:
    void SetUp() override { RegKey::setRoot(home.file("registry")); }
    void TearDown() override { RegKey::resetRoot(); }
    QString stored(const char* name) const
    {
        return shelltest::HiveFile::read(home.file("registry"))
            .value(formstores::Options().keyPath(), QString::fromLatin1(name));
    }
    template <typename T> static T* control(TSettingsDlg& d, const char* name)
    {
        return d.findChild<T*>(QString::fromLatin1(name));
    }

    testsupport::TempHome home;
};

TEST_F(SettingsDlgTest, FirstRunShowsTheDesignValues)
{
    TSettingsDlg d;
    EXPECT_EQ(TSettingsDlg::Instance(), &d);
    EXPECT_EQ(d.windowTitle(), "Options");
    auto* pages = d.findChild<QTabWidget*>();
    ASSERT_NE(pages, nullptr);
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
        tabs << pages->tabText(i);
    EXPECT_EQ(tabs, (QStringList { "Main", "Files", "Edytor", "Viewer" }));
    EXPECT_TRUE(d.CanonicalNames());
    EXPECT_EQ(control<QCheckBox>(d, "CanonicBox")->toolTip(), "Use canonical names");
    EXPECT_TRUE(d.ShowTips());
    EXPECT_EQ(d.UpdateChartTime(), TSettingsDlg::kDefaultChartSeconds);
    EXPECT_EQ(control<QSpinBox>(d, "UpdateChartTime")->minimum(), 1);
    EXPECT_EQ(control<QSpinBox>(d, "UpdateChartTime")->maximum(), 15);
    EXPECT_FALSE(d.ShowLicencedConns());
    EXPECT_TRUE(d.ShowFileIcons());
    EXPECT_FALSE(d.HighlightReadOnly());
    EXPECT_EQ(control<QCheckBox>(d, "HighlightReadOnly")->text(), "Highlight \"read-only\" files");
    EXPECT_TRUE(d.HighlightCompressed());
    EXPECT_FALSE(d.SortByName());
    EXPECT_TRUE(control<QCheckBox>(d, "SortByName")->isHidden());
    EXPECT_FALSE(d.UseExternalEditor());
    EXPECT_EQ(d.ExternalEditor(), "Notepad.exe");
    EXPECT_FALSE(d.UseExternalViewer());
    EXPECT_EQ(d.ExternalViewer(), "Notepad.exe");
    EXPECT_TRUE(d.Storage().unboundProperties().isEmpty());
    EXPECT_TRUE(stored("ShowTips_Checked").isEmpty()); // nothing is written by reading
}

TEST_F(SettingsDlgTest, TheTwoHighlightsExcludeEachOther)
{
    TSettingsDlg d;
    control<QCheckBox>(d, "HighlightReadOnly")->setChecked(true);
    EXPECT_TRUE(d.HighlightReadOnly());
    EXPECT_FALSE(d.HighlightCompressed());
    control<QCheckBox>(d, "HighlightCompressed")->setChecked(true);
    EXPECT_FALSE(d.HighlightReadOnly());
    control<QCheckBox>(d, "HighlightCompressed")->setChecked(false);
    EXPECT_FALSE(d.HighlightReadOnly()); // switching one off leaves the other alone
}

TEST_F(SettingsDlgTest, OkWritesWhenTheDialogClosesAndTheNextRunReadsIt)
{
    {
        TSettingsDlg d;
        d.show();
        control<QCheckBox>(d, "ShowFileIcons")->setChecked(false);
        control<QSpinBox>(d, "UpdateChartTime")->setValue(9);
        control<QLineEdit>(d, "ExternalEditor")->setText("/usr/bin/vi");
        d.accept();
        EXPECT_EQ(stored("ShowFileIcons_Checked"), "\"False\"");
        EXPECT_EQ(stored("UpdateChartTime_Value"), "\"9\"");
        EXPECT_EQ(stored("ExternalEditor_Text"), "\"/usr/bin/vi\"");
        EXPECT_EQ(stored("ExternalEditor_FileName"), "\"/usr/bin/vi\"");
        EXPECT_EQ(stored("ShowCmd"), "\"1\"");
    }
    TSettingsDlg next;
    EXPECT_FALSE(next.ShowFileIcons());
    EXPECT_EQ(next.UpdateChartTime(), 9);
    EXPECT_EQ(next.ExternalEditor(), "/usr/bin/vi");
}

TEST_F(SettingsDlgTest, CancelKeepsTheStoredValuesAndTheChartIntervalItSet)
{
    // Stored once with "Show file icons" on; and also on a first run with nothing stored.
    for (const bool storedFirst : { true, false }) {
        RegKey::setRoot(home.file(storedFirst ? "registry" : "empty"));
        TSettingsDlg d;
        if (storedFirst) {
            d.show();
            d.accept();
        }
        QSignalSpy interval(&d, &TSettingsDlg::chartIntervalChanged);
        d.show();
        control<QCheckBox>(d, "ShowFileIcons")->setChecked(false);
        control<QSpinBox>(d, "UpdateChartTime")->setValue(5);
        ASSERT_EQ(interval.size(), 1);
        EXPECT_EQ(interval.last().at(0).toInt(), 5000); // at once, while the dialog is open
        d.reject();
        EXPECT_TRUE(d.ShowFileIcons()); // no part of the console sees the cancelled edit
        d.SetShowTips(true); // a later write of the store keeps the stored value
        RegKey key;
        ASSERT_TRUE(key.open(registry::Hive::CurrentUser, formstores::Options().keyPath(), false));
        EXPECT_EQ(key.readString("ShowFileIcons_Checked"), "True");
        d.show();
        EXPECT_TRUE(control<QCheckBox>(d, "ShowFileIcons")->isChecked());
        EXPECT_EQ(interval.size(), 1); // the interval set stays for this run
        d.reject();
    }
}

TEST_F(SettingsDlgTest, ShowTipsIsWrittenAtOnce)
{
    TSettingsDlg d;
    d.SetShowTips(false);
    EXPECT_EQ(stored("ShowTips_Checked"), "\"False\"");
    EXPECT_FALSE(TSettingsDlg().ShowTips());
}

} // namespace
