// The main window's refresh machinery: server change, current-page refresh, utilization tick,
// update speed, first display and closing.
#include "console/shell/mainform.h"
#include "console/shell/page.h"
#include "console/shell/sidepanel.h"
#include "console/shell/timerlist.h"
#include "netware/connqueries.h"
#include "netware/connrefbox.h"
#include "netware/directoryobjects.h"
#include "platform/nwclient/serverops.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QThread>
#include <QToolBar>
#include <QToolButton>

namespace {
// Runs a step when the scope ends, also on an exception.
template <typename F> struct Finally {
    F f;
    ~Finally() { f(); }
};
template <typename F> Finally(F) -> Finally<F>;
} // namespace

nwclient::ConnRef TMainForm::CurrentConnRef()
{
    return m_serverBox->CurrentConnRef();
}

bool TMainForm::IsNetWare4()
{
    TConnHandleScope conn;
    if (conn.open(CurrentConnRef()) != nwproto::cc::Success)
        return false;
    uint8_t compat = 0xFF;
    return nwclient::checkNetWareVersion(conn.handle(), 4, 0, 0, 0, 0, compat)
        == nwproto::cc::Success
        && compat == 0;
}

bool TMainForm::IsConsoleOperator()
{
    TConnHandleScope conn;
    if (conn.open(CurrentConnRef()) != nwproto::cc::Success)
        return false;
    return nwclient::checkConsolePrivileges(conn.handle()) == nwproto::cc::Success;
}

void TMainForm::updateCommandStates()
{
    const auto has = [this](Command c) { return m_handlers.count(c) != 0; };
    const bool op = m_consoleOperator;
    const bool op4 = op && m_netWare4;
    for (const auto& [action, command] : m_commandOf) {
        bool enabled = has(command);
        switch (command) {
        case Command::Broadcast:
        case Command::ChangeDateTime:
        case Command::Down:
            enabled = enabled && op;
            break;
        case Command::UnloadNlm:
        case Command::Execute:
        case Command::Restart:
            enabled = enabled && op4;
            break;
        case Command::ClearButton:
            continue; // UpdateToolButtons decides
        case Command::MessageButton:
            enabled = enabled && m_serverBox->currentIndex() >= 0;
            break;
        default:
            break;
        }
        action->setEnabled(enabled);
    }
    Action(QStringLiteral("&Remote console"))->setEnabled(op);
    Action(QStringLiteral("&Login status"))->setEnabled(op);
    m_clearButton->setVisible(op);
}

void TMainForm::ServerChange()
{
    if (!isVisible())
        return;
    if (m_serverBox->currentIndex() < 0 && m_serverBox->count() > 0) {
        // Taking the selection runs this change again, for item 0.
        {
            const QSignalBlocker block(m_serverBox);
            m_serverBox->setCurrentIndex(0);
        }
        m_serverBox->Change();
        return;
    }
    if (const nwclient::TNWConnInfo* info = m_serverBox->Info(m_serverBox->currentIndex())) {
        m_preferredTree = QString::fromLatin1(info->treeName);
        SetPreferredNDSTree(m_preferredTree);
        SetNDSNameContext(QString());
    }
    m_consoleOperator = IsConsoleOperator();
    m_netWare4 = IsNetWare4();
    m_detailConnection = 0;
    m_sidePanel->Reset();

    updateCommandStates();
    EnablePage(3, m_consoleOperator && m_netWare4);
    m_sidePanel->SetMemoryChartVisible(m_consoleOperator && m_netWare4);
    m_sidePanel->SetUtilizationChartEnabled(m_netWare4);

    // The server information page is built anew for every server.
    if (m_currentPage == 0)
        m_pagePanel->layout()->removeWidget(m_pages[0]);
    delete m_pages[0];
    m_pages[0] = createPage(0);
    if (m_currentPage == 0)
        SelectPageIndex(0);

    if (m_currentPage == 3 && !m_navButtons[3]->isEnabled())
        Action(QStringLiteral("&Active connections"))->trigger();
    RefreshCurrentPage();
    emit serverChanged();
}

void TMainForm::RefreshCurrentPage()
{
    m_timers->setEnabled(UpdateUtilization, false);
    Finally enable { [this] { m_timers->setEnabled(UpdateUtilization, true); } };
    UtilizationTick();
    if (m_serverBox->currentIndex() < 0)
        return;
    UpdateServerCommands();
    if (m_currentPage != 2)
        m_timers->setEnabled(OpenFilesTimer, false);
    if (m_currentPage != 1)
        m_timers->setEnabled(ConnInfoTimer, false);
    const bool paused = m_updateSpeedTag == -1;
    switch (m_currentPage) {
    case 1:
        m_timers->setEnabled(ConnInfoTimer, !paused);
        break;
    case 2:
        m_timers->setEnabled(OpenFilesTimer, !paused);
        break;
    default:
        break;
    }
    if (TPage* page = Page(m_currentPage))
        page->UpdatePage();
}

void TMainForm::UtilizationTick()
{
    if (m_tickBusy)
        return;
    m_tickBusy = true;
    ++m_timerNesting;
    Finally done { [this] {
        m_tickBusy = false;
        --m_timerNesting;
    } };
    if (m_netWare4) {
        m_sidePanel->UpdateUtilization();
    } else {
        SetStatus(-1, -1, -1);
        m_sidePanel->ShowNotAvailable();
    }
    if (m_serverBox->currentIndex() < 0)
        return;
    TPage* page = Page(m_currentPage);
    if (!page)
        return;
    switch (m_currentPage) {
    case 0:
    case 4:
    case 5:
        page->PeriodicUpdate(true);
        break;
    case 1:
        page->DetailUpdate(m_detailConnection);
        break;
    default:
        break;
    }
}

void TMainForm::UpdateSpeed(QAction* item)
{
    if (!item) {
        const int tag = m_updateSpeedTag;
        const QString caption = tag == -1 ? QStringLiteral("&Paused")
            : tag == 1000                 ? QStringLiteral("&Fast")
            : tag == 5000                 ? QStringLiteral("&Slow")
                                          : QStringLiteral("&Normal");
        item = Action(caption);
    }
    m_updateSpeedTag = item->property("tag").toInt();
    if (m_updateSpeedTag == 0)
        m_updateSpeedTag = 1000;
    item->setChecked(true);
    if (m_updateSpeedTag == -1) {
        m_timers->setEnabled(OpenFilesTimer, false);
        m_timers->setEnabled(ConnInfoTimer, false);
        return;
    }
    m_timers->setInterval(OpenFilesTimer, m_updateSpeedTag);
    m_timers->setInterval(ConnInfoTimer, m_updateSpeedTag);
    m_timers->setEnabled(OpenFilesTimer, m_currentPage == 2);
    m_timers->setEnabled(ConnInfoTimer, m_currentPage == 1);
}

void TMainForm::UpdateServerCommands()
{
    TConnHandleScope conn;
    if (conn.open(CurrentConnRef()) != nwproto::cc::Success)
        return;
    bool enabled = false;
    if (nwclient::getFileServerLoginStatus(conn.handle(), enabled) == nwproto::cc::Success) {
        m_loginEnabled = enabled;
        Action(QStringLiteral("&Login status"))
            ->setText(enabled ? QStringLiteral("Disable &login") : QStringLiteral("Enable &login"));
    }
    QAction* tts = Action(QStringLiteral("&TTS status"));
    const nwclient::NWCCODE answer = nwclient::ttsIsAvailable(conn.handle());
    tts->setEnabled(answer != 0);
    if (answer != 0) {
        m_ttsEnabled = answer == nwproto::cc::TtsAvailable;
        tts->setText(m_ttsEnabled ? QStringLiteral("Disable &TTS") : QStringLiteral("Enable &TTS"));
    }
    if (m_netWare4)
        tts->setEnabled(false);
}

void TMainForm::setSidePanelVisible(bool visible)
{
    Action(QStringLiteral("Server u&tilization"))->setChecked(visible);
    m_utilizationButton->setChecked(visible);
    m_serverInfoPanel->setVisible(visible);
}

void TMainForm::setNavigationBarVisible(bool visible)
{
    Action(QStringLiteral("&Navigation bar"))->setChecked(visible);
    m_navBarPopupItem->setChecked(visible);
    m_navBar->setVisible(visible);
}

void TMainForm::setTextLabels(bool on)
{
    m_textLabels->setChecked(on);
    m_mainBar->setToolButtonStyle(on ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    for (QAction* a : m_mainBar->actions())
        if (QWidget* w = m_mainBar->widgetForAction(a)) {
            w->setMinimumWidth(on ? 0 : 30);
            w->setMaximumWidth(on ? QWIDGETSIZE_MAX : 30);
        }
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShow)
        return;
    m_firstShow = false;
    m_clientArea->show();
    SetStatus(-1, -1, -1);
    restorePlacement();
}

void TMainForm::restorePlacement()
{
    const Placement& p = m_placement;
    m_pagePanelTag = p.page;
    m_pagePanel->setProperty("tag", p.page);
    m_updateSpeedTag = p.updateSpeed;
    m_canonicalNames = m_options.canonicalNames;
    SetCanonicalNames(m_canonicalNames);
    m_timers->setInterval(UpdateUtilization, std::max(m_options.chartIntervalSeconds, 1) * 1000);
    if (!p.sidePanel)
        Action(QStringLiteral("Server u&tilization"))->trigger();
    setTextLabels(p.textLabels);
    setNavigationBarVisible(p.navigationBar);
    UpdateToolButtons();
    ServerChange();
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < m_startPauseMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // A stored page that this server does not allow any more opens the connections page.
    if (m_pagePanelTag >= 0 && m_pagePanelTag < kPageCount
        && !m_navButtons[static_cast<size_t>(m_pagePanelTag)]->isEnabled())
        m_pagePanel->setProperty("tag", 1);
    SelectPage(m_pagePanel);
    UpdateSpeed(nullptr);
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The splash keeps the window disabled while it is still up; the first activation counts
    // once the window can be used.
    const bool relevant
        = event->type() == QEvent::ActivationChange || event->type() == QEvent::EnabledChange;
    if (relevant && !m_activated && isActiveWindow() && isEnabled())
        firstActivation();
}

void TMainForm::firstActivation()
{
    m_activated = true;
    if (m_closing)
        return;
    if (m_options.showTips) {
        const auto it = m_handlers.find(Command::TipOfTheDay);
        if (it != m_handlers.end())
            it->second();
    }
    m_timers->setActive(true);
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    // Shift+F1 belongs to the menu's context help command only.
    if (event->key() == Qt::Key_F1 && (event->modifiers() & Qt::ShiftModifier)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TMainForm::closeQuery()
{
    if (TPage* page = Page(m_currentPage); page && page->HasCloseQuery() && !page->CloseQuery())
        return false;
    m_closing = true;
    m_timers->setActive(false);
    setEnabled(false);
    const auto busy = [this] {
        return (m_pages[1] && m_pages[1]->IsUpdating()) || (m_pages[2] && m_pages[2]->IsUpdating())
            || m_timerNesting != 0;
    };
    while (busy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (busy())
            QThread::msleep(5);
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_closing || closeQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}
