// The main window's stored placement, its options and its context help texts.
#include "console/shell/mainform.h"
#include "console/shell/page.h"
#include "console/shell/sidepanel.h"
#include "console/shell/timerlist.h"
#include "netware/connrefbox.h"
#include "netware/directoryobjects.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

void TMainForm::bindStore()
{
    const auto flag
        = [](bool& field) { return [&field](const QVariant& v) { field = v.toBool(); }; };
    m_storage.bind(
        QStringLiteral("MainBar.ShowCaptions"),
        [this] { return QVariant(m_textLabels->isChecked()); }, flag(m_placement.textLabels));
    m_storage.bind(
        QStringLiteral("NavigationBar.Visible"), [this] { return QVariant(!m_navBar->isHidden()); },
        flag(m_placement.navigationBar));
    m_storage.bind(
        QStringLiteral("ServerInfoPanel.Visible"),
        [this] { return QVariant(!m_serverInfoPanel->isHidden()); }, flag(m_placement.sidePanel));
    m_storage.bind(
        QStringLiteral("PagePanel.Tag"), [this] { return QVariant(m_pagePanelTag); },
        [this](const QVariant& v) {
            // A page number this console does not have opens the first page.
            const int page = v.toInt();
            m_placement.page = page >= 0 && page < kPageCount ? page : 0;
        });
    m_storage.bind(
        QStringLiteral("mm_UpdateSpeed.Tag"), [this] { return QVariant(m_updateSpeedTag); },
        [this](const QVariant& v) { m_placement.updateSpeed = v.toInt(); });
}

TMainForm::Placement TMainForm::CurrentPlacement() const
{
    Placement p;
    p.textLabels = m_textLabels->isChecked();
    p.navigationBar = !m_navBar->isHidden();
    p.sidePanel = !m_serverInfoPanel->isHidden();
    p.page = m_pagePanelTag;
    p.updateSpeed = m_updateSpeedTag;
    return p;
}

void TMainForm::ApplyOptions(const TConsoleOptions& options)
{
    m_options = options;
    m_canonicalNames = options.canonicalNames;
    SetCanonicalNames(options.canonicalNames);
    m_allConnections = !options.licensedOnly;
    m_timers->setInterval(UpdateUtilization, std::max(options.chartIntervalSeconds, 1) * 1000);
}

void TMainForm::OptionsAccepted(const TConsoleOptions& options)
{
    if (TPage* disks = Page(4))
        disks->ApplyHighlightSettings();
    ApplyOptions(options);
    RefreshCurrentPage();
    if (m_currentPage == 4) {
        Page(4)->ApplyIconSetting();
        RefreshCommand();
    }
}

void TMainForm::setWhatsThisTexts()
{
    m_serverBox->setWhatsThis(tr("<b>Server</b><br>The attached servers you are authenticated "
                                 "to. Every page and every command of the Server menu works on "
                                 "the server chosen here."));
    m_mainBar->setWhatsThis(tr("<b>Main tool bar</b><br>Shows or hides the utilization panel, "
                               "refreshes the current page and sends messages. Right-click it "
                               "to switch the text labels and the navigation bar."));
    m_navBar->setWhatsThis(tr("<b>Navigation bar</b><br>One button per page of the console; "
                              "the View menu offers the same pages."));
    m_serverInfoPanel->setWhatsThis(tr("<b>Utilization panel</b><br>Live figures of the selected "
                                       "server beside every page. The Utilization button and "
                                       "View, Server utilization show or hide it."));
    m_pagePanel->setWhatsThis(tr("<b>Page</b><br>The page chosen in the navigation bar or the "
                                 "View menu."));
    statusBar()->setWhatsThis(tr("<b>Status bar</b><br>Connections, utilization and used memory "
                                 "of the selected server."));
    m_utilizationButton->setWhatsThis(m_serverInfoPanel->whatsThis());
    Action(QStringLiteral("Refresh"))
        ->setWhatsThis(tr("<b>Refresh</b><br>Reads the current page again from the server (F5)."));
    m_clearButton->setWhatsThis(tr("<b>Clear</b><br>Clears the connection selected on the "
                                   "connections or open files page."));
    m_messageButton->setWhatsThis(tr("<b>Message</b><br>Sends a message to the selected "
                                     "connection or user, to chosen users or to everyone."));
    for (QToolButton* b : m_navButtons)
        b->setWhatsThis(tr("<b>%1</b><br>Shows this page.").arg(b->toolTip()));
}
