// Renders the main window on each page against the demo world, and the options dialog, the
// about box and the tip of the day, into PNG files:
//   orvo-screenshots [output folder]   (default: ./screenshots)
// The demo world and the settings live in a temporary folder, so the user's own servers and
// settings stay untouched.
#include "console/monitor/monitorfactories.h"
#include "console/monitor/serverinfoform.h"
#include "console/shell/aboutbox.h"
#include "console/shell/mainform.h"
#include "console/shell/orvoapplication.h"
#include "console/shell/settingsdlg.h"
#include "console/shell/tipoftheday.h"
#include "platform/nwclient/client.h"
#include "platform/registry/registry.h"

#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

namespace {

bool save(QWidget& widget, const QString& file)
{
    QCoreApplication::processEvents();
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TOrvoApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QTemporaryDir world;
    QDir().mkpath(out);
    registry::RegKey::setRoot(QDir(world.path()).filePath(QStringLiteral("registry")));
    nwclient::initialise(nwclient::WorkstationConfig::demo(world.path()));
    int failures = 0;
    {
        TSettingsDlg settings;
        auto* pages = settings.findChild<QTabWidget*>();
        for (int page = 0; pages && page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            settings.show();
            const QString file = QDir(out).filePath(QStringLiteral("options-page%1.png").arg(page));
            failures += save(settings, file) ? 0 : 1;
        }
        settings.hide();
        TAboutBox::SetProgramVersion(QStringLiteral(ORVO_VERSION_TEXT));
        TAboutBox about;
        about.show();
        failures += save(about, QDir(out).filePath(QStringLiteral("about.png"))) ? 0 : 1;
        TfTipOfTheDay tip;
        tip.ShowNextTime()->setChecked(true);
        tip.show();
        failures += save(tip, QDir(out).filePath(QStringLiteral("tip-of-the-day.png"))) ? 0 : 1;
    }
    {
        TMainForm form(MonitorPageFactories());
        form.SetStartPause(0);
        form.resize(1000, 640);
        form.show();
        for (int page = 0; page < TMainForm::kPageCount; ++page) {
            form.SelectPageIndex(page);
            QCoreApplication::processEvents();
            const QString file = QDir(out).filePath(QStringLiteral("main-page%1.png").arg(page));
            failures += save(form, file) ? 0 : 1;
        }
        // The server page on a statistics report and on a log.
        form.SelectPageIndex(0);
        auto* serverPage = qobject_cast<TServerInfoForm*>(form.Page(0));
        const std::pair<const char*, const char*> views[]
            = { { "Statistics\\Server\\File Server Info", "main-page0-statistics.png" },
                  { "System logs\\Console log", "main-page0-log.png" } };
        for (const auto& [path, name] : views) {
            if (!serverPage)
                break;
            serverPage->NavigationTree()->setCurrentItem(
                serverPage->Node(QString::fromLatin1(path)));
            QCoreApplication::processEvents();
            failures += save(form, QDir(out).filePath(QString::fromLatin1(name))) ? 0 : 1;
        }
    }
    nwclient::terminate();
    return failures ? 1 : 0;
}
