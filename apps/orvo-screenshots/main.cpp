// Renders the main window on each page against the demo world into PNG files:
//   orvo-screenshots [output folder]   (default: ./screenshots)
// The demo world is built in a temporary folder, so the user's own servers stay untouched.
#include "console/shell/mainform.h"
#include "console/shell/orvoapplication.h"
#include "platform/nwclient/client.h"

#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TOrvoApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QTemporaryDir world;
    QDir().mkpath(out);
    nwclient::initialise(nwclient::WorkstationConfig::demo(world.path()));
    int failures = 0;
    {
        TMainForm form;
        form.SetStartPause(0);
        form.resize(1000, 640);
        form.show();
        for (int page = 0; page < TMainForm::kPageCount; ++page) {
            form.SelectPageIndex(page);
            QCoreApplication::processEvents();
            const QString file = QDir(out).filePath(QStringLiteral("main-page%1.png").arg(page));
            if (!form.grab().save(file)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                ++failures;
            } else {
                std::printf("%s\n", qPrintable(file));
            }
        }
    }
    nwclient::terminate();
    return failures ? 1 : 0;
}
