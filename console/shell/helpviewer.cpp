#include "console/shell/helpviewer.h"

#include "platform/shell/dialogservice.h"

#include <QAction>
#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace {
THelpViewer* g_viewer = nullptr;
}

THelpViewer::THelpViewer()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tarvo Vizova Vederur Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);
    QToolBar* bar = addToolBar(QStringLiteral("Help"));
    QAction* contents = bar->addAction(QStringLiteral("&Contents"));
    QAction* back = bar->addAction(QStringLiteral("&Back"));
    connect(contents, &QAction::triggered, m_browser, &QTextBrowser::home);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    back->setEnabled(false);
    resize(640, 560);
}

THelpViewer::~THelpViewer()
{
    if (g_viewer == this)
        g_viewer = nullptr;
}

THelpViewer* THelpViewer::Current()
{
    return g_viewer;
}

THelpViewer* THelpViewer::ShowContents(const QString& helpFile)
{
    if (!QFileInfo(helpFile).isFile()) {
        shell::DialogService::instance().error(
            QStringLiteral("The help file %1 was not found.").arg(helpFile));
        return nullptr;
    }
    if (!g_viewer)
        g_viewer = new THelpViewer;
    g_viewer->m_browser->setSource(QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath()));
    g_viewer->show();
    g_viewer->raise();
    g_viewer->activateWindow();
    return g_viewer;
}

QString THelpViewer::Source() const
{
    return m_browser->source().toLocalFile();
}

QString THelpViewer::Text() const
{
    return m_browser->toPlainText();
}
