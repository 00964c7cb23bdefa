#include "console/shell/splash.h"

#include "console/shell/shellresources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace {

// A clock that never runs backwards: a splash started just before midnight still ends.
qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

} // namespace

TSplash::TSplash(Clock clock)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_clock(clock ? std::move(clock) : Clock(monotonicMs))
{
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 20, 24, 16);
    auto* logo = new QLabel(panel);
    logo->setPixmap(shellresources::Logo());
    logo->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Vizova Vederur"), panel);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    auto* notice = new QLabel(shellresources::LegalNotice(), panel);
    notice->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addWidget(notice);
    outer->addWidget(panel);
}

TSplash* TSplash::Start(Clock clock)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    auto* splash = new TSplash(std::move(clock));
    splash->m_shownAt = splash->m_clock();
    splash->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        splash->move(screen->availableGeometry().center() - splash->rect().center());
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return splash;
}

void TSplash::Finish(QWidget* mainWindow)
{
    if (m_finished)
        return;
    m_finished = true;
    QGuiApplication::restoreOverrideCursor();
    if (mainWindow)
        mainWindow->setEnabled(false);
    struct Enable {
        QWidget* w;
        ~Enable()
        {
            if (w)
                w->setEnabled(true);
        }
    } enable { mainWindow };
    while (m_clock() - m_shownAt < kMinimumMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    hide();
    deleteLater();
}
