#include "console/shell/aboutbox.h"
#include "console/shell/settingsdlg.h"
#include "console/shell/shellresources.h"
#include "console/shell/splash.h"
#include "console/shell/tipoftheday.h"
#include "hivefile.h"
#include "platform/registry/registry.h"
#include "testsupport/tempdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTimer>
#include <gtest/gtest.h>

using registry::RegKey;

namespace {

class ShellWindowsTest : public testing::Test {
protected:
    void SetUp() override { RegKey::setRoot(home.file("registry")); }
    void TearDown() override { RegKey::resetRoot(); }
    QString storedTip() const
    {
        return shelltest::HiveFile::read(home.file("registry"))
            .value(formstores::TipOfTheDay().keyPath(), "CurrTip_Value");
    }
    // One showing of the tip window, as the main window's command gives it.
    int showTipOnce()
    {
        TfTipOfTheDay tip;
        tip.show();
        const int shown = tip.CurrentTip();
        tip.close();
        return shown;
    }

    testsupport::TempHome home;
};

TEST_F(ShellWindowsTest, FirstTipIsTip1AskingDoYouKnow)
{
    TfTipOfTheDay tip;
    EXPECT_EQ(tip.windowTitle(), "Wellcome to Tarvo Vizova Vederur");
    EXPECT_TRUE(tip.Text().startsWith("Sorry. No hints available."));
    tip.show();
    EXPECT_EQ(tip.CurrentTip(), 0);
    EXPECT_EQ(tip.Title(), "Do you know...");
    EXPECT_EQ(
        tip.Text(), QTextDocumentFragment::fromHtml(shellresources::TipDocument(1)).toPlainText());
    tip.WhatsNew();
    EXPECT_EQ(tip.Title(), "New features...");
    EXPECT_FALSE(tip.Text().isEmpty());
    tip.close();
    EXPECT_EQ(storedTip(), "\"0\"");
}

TEST_F(ShellWindowsTest, TipsWrapAndContinueAcrossRuns)
{
    for (int run = 0; run < TfTipOfTheDay::kTipCount; ++run)
        EXPECT_EQ(showTipOnce(), run);
    EXPECT_EQ(storedTip(), "\"11\"");
    EXPECT_EQ(showTipOnce(), 0); // after the last tip the first, never a thirteenth

    TfTipOfTheDay tip;
    tip.show();
    EXPECT_EQ(tip.CurrentTip(), 1);
    for (int i = 0; i < TfTipOfTheDay::kTipCount; ++i) {
        tip.NextTip();
        EXPECT_FALSE(tip.Text().isEmpty()) << tip.CurrentTip();
        EXPECT_EQ(tip.Title(), "Do you know...");
    }
    EXPECT_EQ(tip.CurrentTip(), 1);
    EXPECT_TRUE(shellresources::TipDocument(13).isEmpty());
}

TEST_F(ShellWindowsTest, TitleKinds)
{
    const std::pair<int, const char*> kinds[]
        = { { 0, "Tip of the day..." }, { 1, "Do you know..." }, { 2, "Today's sentence..." },
              { 3, "Today's joke" }, { 4, "Today's message..." }, { 5, "" }, { -1, "" } };
    for (const auto& [kind, title] : kinds)
        EXPECT_EQ(TfTipOfTheDay::TitleOfKind(kind), QString::fromLatin1(title)) << kind;
}

TEST_F(ShellWindowsTest, ClearingShowNextTimeTurnsTipsOffInTheStoredOptionsAtOnce)
{
    TSettingsDlg settings;
    ASSERT_TRUE(settings.ShowTips());
    bool checkedAtStart = false;
    QTimer::singleShot(0, [&] {
        auto* tip = qobject_cast<TfTipOfTheDay*>(QApplication::activeModalWidget());
        ASSERT_NE(tip, nullptr);
        checkedAtStart = tip->ShowNextTime()->isChecked();
        tip->ShowNextTime()->setChecked(false);
        tip->accept();
    });
    ShowTipOfTheDay(settings, nullptr);
    EXPECT_TRUE(checkedAtStart);
    EXPECT_FALSE(settings.ShowTips());
    EXPECT_EQ(shelltest::HiveFile::read(home.file("registry"))
                  .value(formstores::Options().keyPath(), "ShowTips_Checked"),
        "\"False\"");
}

TEST_F(ShellWindowsTest, SplashStaysItsMinimumTimeWithTheMainWindowDisabled)
{
    qint64 now = 1000;
    QWidget mainWindow;
    mainWindow.show();
    bool disabledMeanwhile = false;
    TSplash* splash = TSplash::Start([&] {
        if (now > 1000)
            disabledMeanwhile = disabledMeanwhile || !mainWindow.isEnabled();
        return now += 100;
    });
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    splash->Finish(&mainWindow);
    EXPECT_GE(now - splash->ShownAt(), TSplash::kMinimumMs);
    EXPECT_LT(now - splash->ShownAt(), TSplash::kMinimumMs + 200);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(splash->isVisible());
}

TEST_F(ShellWindowsTest, AboutBoxShowsTheVersionAndItsLinksCloseIt)
{
    TAboutBox::SetProgramVersion("1.2.3");
    QList<QUrl> opened;
    TAboutBox::SetUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "About...");
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), "Version 1.2.3");
    EXPECT_EQ(box.findChild<QLabel*>("WebPage")->toolTip(), "Go to web page");
    EXPECT_EQ(box.findChild<QLabel*>("SupportMail")->toolTip(), "Send mail");
    box.show();
    emit box.findChild<QLabel*>("SupportMail")->linkActivated("mail");
    EXPECT_FALSE(box.isVisible());
    box.show();
    emit box.findChild<QLabel*>("WebPage")->linkActivated("web");
    EXPECT_FALSE(box.isVisible());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].scheme(), "mailto");
    EXPECT_EQ(opened[0].path(), TAboutBox::kSupportMail);
    EXPECT_EQ(opened[0].query(QUrl::FullyDecoded), "subject=Tarvo Monitor");
    EXPECT_EQ(opened[1], QUrl(TAboutBox::kWebPage));
    TAboutBox::SetUrlOpener({});
    TAboutBox::SetProgramVersion({});
}

} // namespace
