#include "console/shell/mainform.h"

#include "console/shell/page.h"
#include "console/shell/sidepanel.h"
#include "console/shell/timerlist.h"
#include "netware/connrefbox.h"
#include "netware/exceptionhandler.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

namespace {

struct PageInfo {
    const char* button;
    const char* hint;
    const char* viewItem;
};

const PageInfo kPages[TMainForm::kPageCount] = {
    { "Server", "Server Information", "&Server information" },
    { "Active", "Active connections", "&Active connections" },
    { "Opened ", "Opened files", "&Opened files" },
    { "NLM", "Loaded NLM's", "&Loaded NLM's" },
    { "Disk", "Disk manager...", "&Disk manager" },
    { "Tools", "Additional tools", "Server &Tools" },
};

// The HTML help beside the program, else the program's own name with ".html".
const QStyle::StandardPixmap kPageIcons[TMainForm::kPageCount] = {
    QStyle::SP_ComputerIcon,
    QStyle::SP_DirLinkIcon,
    QStyle::SP_FileIcon,
    QStyle::SP_FileDialogListView,
    QStyle::SP_DriveHDIcon,
    QStyle::SP_FileDialogDetailedView,
};

QString helpFileName()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString help = QDir(dir).filePath(QStringLiteral("quenbo.html"));
    if (QFileInfo::exists(help))
        return help;
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return QDir(dir).filePath(program.completeBaseName() + QStringLiteral(".html"));
}

} // namespace

TMainForm::TMainForm(
    const TPageFactories& factories, const TConsoleOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , m_factories(factories)
    , m_options(options)
    , m_storage(formstores::MainWindow(), this)
{
    setWindowTitle(QStringLiteral("Tarvo Vizova Vederur"));
    setMinimumSize(350, 150);
    m_allConnections = !options.licensedOnly;
    m_timerNesting = 0;
    m_helpFile = helpFileName();

    m_timers = new TTimerList(this);
    m_timers->add(3000, [this] {
        if (TPage* p = Page(2))
            p->PeriodicUpdate(true);
    });
    m_timers->add(3000, [this] {
        if (TPage* p = Page(1))
            p->PeriodicUpdate(true);
    });
    m_timers->add(std::max(options.chartIntervalSeconds, 1) * 1000, [this] { UtilizationTick(); });
    m_timers->setEnabled(UpdateUtilization, true);

    createActions();
    createMenus();
    createToolBars();
    createClientArea();
    createPages();
    bindStore();
    setWhatsThisTexts();

    ApplicationExceptionHandler::setPauseHooks(
        [this] { m_timers->pause(); }, [this] { m_timers->resume(); });
}

TMainForm::~TMainForm()
{
    ApplicationExceptionHandler::clearPauseHooks();
    if (m_mergedMenu)
        menuBar()->removeAction(m_mergedMenu);
    m_serverBox->setEnabled(false);
    m_serverBox->ClearServers();
    for (TPage*& p : m_pages) {
        delete p;
        p = nullptr;
    }
}

QAction* TMainForm::addAction(QMenu* menu, const QString& caption, std::function<void()> slot)
{
    auto* a = new QAction(caption, this);
    if (menu)
        menu->addAction(a);
    if (slot)
        connect(a, &QAction::triggered, this, std::move(slot));
    m_actions[caption] = a;
    return a;
}

void TMainForm::commandAction(QAction* action, Command command)
{
    m_commandOf[action] = command;
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, command] {
        const auto it = m_handlers.find(command);
        if (it != m_handlers.end())
            it->second();
    });
}

void TMainForm::setCommandHandler(Command command, std::function<void()> handler)
{
    if (handler)
        m_handlers[command] = std::move(handler);
    else
        m_handlers.erase(command);
    updateCommandStates();
}

QAction* TMainForm::Action(const QString& caption) const
{
    const auto it = m_actions.find(caption);
    return it == m_actions.end() ? nullptr : it->second;
}

TPage* TMainForm::Page(int index) const
{
    return index >= 0 && index <= kPageCount ? m_pages[static_cast<size_t>(index)] : nullptr;
}

void TMainForm::createActions()
{
    // Commands of other parts of the console: present in the menus, enabled once their
    // handler is set and the server allows them.
    const std::pair<const char*, Command> commands[] = {
        { "&Broadcast", Command::Broadcast },
        { "&Send message to...", Command::SendMessage },
        { "Change &date and time", Command::ChangeDateTime },
        { "&Unload NLM", Command::UnloadNlm },
        { "&Execute...", Command::Execute },
        { "&Restart", Command::Restart },
        { "&Down", Command::Down },
        { "O&ptions", Command::Options },
        { "&Contents", Command::Contents },
        { "&Tip of the Day...", Command::TipOfTheDay },
        { "Vizova Vederur - &Information...", Command::About },
        { "To everyone", Command::Broadcast },
        { "To selected...", Command::SendMessage },
        { "Message", Command::MessageButton },
        { "Clear", Command::ClearButton },
    };
    for (const auto& [caption, command] : commands)
        commandAction(addAction(nullptr, QString::fromLatin1(caption)), command);

    addAction(nullptr, QStringLiteral("&Login to..."), [this] { LoginToCommand(); });
    addAction(nullptr, QStringLiteral("&Exit"), [this] { close(); });
    addAction(nullptr, QStringLiteral("&Remote console"), [this] { RemoteConsoleCommand(); });
    addAction(nullptr, QStringLiteral("&Login status"), [this] { LoginStatusCommand(); });
    addAction(nullptr, QStringLiteral("&TTS status"), [this] { TtsStatusCommand(); });
    for (const char* c : { "&Refresh", "Refresh" }) {
        QAction* a = addAction(nullptr, QString::fromLatin1(c), [this] { RefreshCommand(); });
        if (c[0] == '&')
            a->setShortcut(Qt::Key_F5);
    }
    QAction* whatThis = addAction(
        nullptr, QStringLiteral("&What this ?"), [] { QWhatsThis::enterWhatsThisMode(); });
    whatThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));

    auto* utilization = addAction(nullptr, QStringLiteral("Server u&tilization"));
    m_utilizationButton = addAction(nullptr, QStringLiteral("Utilization"));
    m_utilizationButton->setToolTip(QStringLiteral("Server utilization charts"));
    for (QAction* a : { utilization, m_utilizationButton }) {
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::triggered, this, [this](bool on) { setSidePanelVisible(on); });
    }

    auto* navBar = addAction(nullptr, QStringLiteral("&Navigation bar"));
    m_navBarPopupItem = new QAction(QStringLiteral("&Navigation bar"), this);
    for (QAction* a : { navBar, m_navBarPopupItem }) {
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::triggered, this, [this](bool on) { setNavigationBarVisible(on); });
    }
    m_textLabels = addAction(nullptr, QStringLiteral("Text labels"));
    m_textLabels->setCheckable(true);
    m_textLabels->setChecked(true);
    connect(m_textLabels, &QAction::triggered, this, [this](bool on) { setTextLabels(on); });

    m_clearButton = Action(QStringLiteral("Clear"));
    m_clearButton->setToolTip(QStringLiteral("Clear connection"));
    m_messageButton = Action(QStringLiteral("Message"));
    m_messageButton->setToolTip(QStringLiteral("Send message"));
    Action(QStringLiteral("Refresh"))->setToolTip(QStringLiteral("Refresh current view"));
    // The desktop style's own pictures, so the bars match the rest of the desktop.
    const QStyle* st = style();
    m_utilizationButton->setIcon(st->standardIcon(QStyle::SP_ComputerIcon));
    Action(QStringLiteral("Refresh"))->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
    Action(QStringLiteral("&Refresh"))->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
    m_clearButton->setIcon(st->standardIcon(QStyle::SP_DialogDiscardButton));
    m_messageButton->setIcon(st->standardIcon(QStyle::SP_MessageBoxInformation));
}

void TMainForm::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Action(QStringLiteral("&Login to...")));
    file->addSeparator();
    file->addAction(Action(QStringLiteral("&Exit")));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    auto* pages = new QActionGroup(this);
    pages->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < kPageCount; ++i) {
        QAction* a = addAction(view, QString::fromLatin1(kPages[i].viewItem));
        a->setCheckable(true);
        a->setProperty("tag", i);
        a->setProperty("groupIndex", i);
        pages->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] {
            // The View items press the navigation button of their page.
            m_navButtons[static_cast<size_t>(i)]->setChecked(true);
            SelectPage(m_navButtons[static_cast<size_t>(i)]);
        });
        m_viewItems[static_cast<size_t>(i)] = a;
    }
    view->addSeparator();
    view->addAction(Action(QStringLiteral("Server u&tilization")));
    view->addAction(Action(QStringLiteral("&Navigation bar")));
    view->addSeparator();
    view->addAction(Action(QStringLiteral("&Refresh")));
    m_updateSpeedMenu = view->addMenu(QStringLiteral("&Update speed"));
    m_actions[m_updateSpeedMenu->title()] = m_updateSpeedMenu->menuAction();
    auto* speeds = new QActionGroup(this);
    const std::pair<const char*, int> items[] = { { "&Slow", 5000 }, { "&Normal", 2500 },
        { "&Fast", 1000 }, { nullptr, 0 }, { "&Paused", -1 } };
    for (const auto& [caption, tag] : items) {
        if (!caption) {
            m_updateSpeedMenu->addSeparator();
            continue;
        }
        QAction* a = addAction(m_updateSpeedMenu, QString::fromLatin1(caption));
        a->setCheckable(true);
        a->setProperty("tag", tag);
        a->setChecked(tag == 2500);
        speeds->addAction(a);
        connect(a, &QAction::triggered, this, [this, a] { UpdateSpeed(a); });
    }
    view->addSeparator();
    view->addAction(Action(QStringLiteral("O&ptions")));

    QMenu* server = menuBar()->addMenu(QStringLiteral("&Server"));
    for (const char* c : std::initializer_list<const char*> { "&Broadcast", "&Send message to...",
             nullptr, "Change &date and time", "&Remote console", "&Login status", "&TTS status",
             nullptr, "&Unload NLM", "&Execute...", nullptr, "&Restart", "&Down" }) {
        if (c)
            server->addAction(Action(QString::fromLatin1(c)));
        else
            server->addSeparator();
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    for (const char* c : std::initializer_list<const char*> { "&Contents", "&What this ?", nullptr,
             "&Tip of the Day...", "Vizova Vederur - &Information..." }) {
        if (c)
            help->addAction(Action(QString::fromLatin1(c)));
        else
            help->addSeparator();
    }
}

void TMainForm::createToolBars()
{
    m_serverBar = addToolBar(QStringLiteral("Server"));
    m_serverBar->setObjectName(QStringLiteral("ServerBand"));
    m_serverBar->addWidget(new QLabel(QStringLiteral(" Server"), m_serverBar));
    m_serverBox = new TNWConnRefBox(m_serverBar);
    m_serverBox->setMinimumWidth(120);
    m_serverBox->resize(210, m_serverBox->height());
    m_serverBox->setMinimumContentsLength(14);
    m_serverBar->addWidget(m_serverBox);
    connect(m_serverBox, &TNWConnRefBox::changed, this, [this] { ServerChange(); });

    m_mainBar = addToolBar(QStringLiteral("Main"));
    m_mainBar->setObjectName(QStringLiteral("MainToolBar"));
    m_mainBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_mainBar->addAction(m_utilizationButton);
    m_mainBar->addAction(Action(QStringLiteral("Refresh")));
    m_mainBar->addAction(m_clearButton);
    // The menu makes the button its menu action, whose enabled state it then follows. Kept out
    // of the window's children so that disabling and enabling the window (page close queries,
    // closing) cannot switch the button on behind the command's back.
    m_messageMenu = std::make_unique<QMenu>();
    m_messageMenu->addAction(Action(QStringLiteral("To everyone")));
    m_messageMenu->addAction(Action(QStringLiteral("To selected...")));
    m_messageButton->setMenu(m_messageMenu.get());
    m_mainBar->addAction(m_messageButton);
    if (auto* b = qobject_cast<QToolButton*>(m_mainBar->widgetForAction(m_messageButton)))
        b->setPopupMode(QToolButton::MenuButtonPopup);
    m_mainBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_mainBar, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu popup;
        popup.addAction(m_textLabels);
        popup.addAction(m_navBarPopupItem);
        popup.exec(m_mainBar->mapToGlobal(pos));
    });

    addToolBarBreak();
    m_navBar = addToolBar(QStringLiteral("Navigation"));
    m_navBar->setObjectName(QStringLiteral("NavigationBar"));
    for (int i = 0; i < kPageCount; ++i) {
        auto* b = new QToolButton(m_navBar);
        b->setText(QString::fromLatin1(kPages[i].button));
        b->setIcon(style()->standardIcon(kPageIcons[i]));
        b->setToolTip(QString::fromLatin1(kPages[i].hint));
        b->setCheckable(true);
        b->setProperty("tag", i);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        connect(b, &QToolButton::clicked, this, [this, b] { SelectPage(b); });
        m_navBar->addWidget(b);
        m_navButtons[static_cast<size_t>(i)] = b;
    }
}

void TMainForm::createClientArea()
{
    m_clientArea = new QWidget(this);
    auto* layout = new QHBoxLayout(m_clientArea);
    layout->setContentsMargins(0, 1, 0, 0); // the one-pixel separator under the bands
    layout->setSpacing(0);
    m_serverInfoPanel = new QWidget(m_clientArea);
    m_serverInfoPanel->setObjectName(QStringLiteral("ServerInfoPanel"));
    m_pagePanel = new QWidget(m_clientArea);
    m_pagePanel->setObjectName(QStringLiteral("PagePanel"));
    m_pagePanel->setProperty("tag", 0);
    new QVBoxLayout(m_pagePanel);
    m_pagePanel->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_serverInfoPanel);
    layout->addWidget(m_pagePanel, 1);
    setCentralWidget(m_clientArea);
    m_clientArea->hide();

    m_sidePanel = m_factories.sidePanel ? m_factories.sidePanel(this) : nullptr;
    if (!m_sidePanel)
        m_sidePanel = new TUnavailableSidePanel;
    auto* sideLayout = new QVBoxLayout(m_serverInfoPanel);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_sidePanel->setParent(m_serverInfoPanel);
    sideLayout->addWidget(m_sidePanel);
    m_serverInfoPanel->setFixedWidth(m_sidePanel->sizeHint().width() + 2);

    const int widths[] = { 120, 120, 120, 50 };
    for (size_t i = 0; i < m_status.size(); ++i) {
        m_status[i] = new QLabel(this);
        m_status[i]->setFixedWidth(widths[i]);
        m_status[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(m_status[i]);
    }
}

TPage* TMainForm::createPage(int index)
{
    TPage* page = m_factories.page ? m_factories.page(this, index) : nullptr;
    if (!page)
        page = new TUnavailablePage(
            QString::fromLatin1(kPages[index].viewItem).remove(QLatin1Char('&')));
    page->setParent(m_pagePanel);
    page->hide();
    return page;
}

void TMainForm::createPages()
{
    for (int index : { 1, 2, 3, 0, 4, 5 })
        m_pages[static_cast<size_t>(index)] = createPage(index);
    if (!m_pages[5]->CanWork())
        EnablePage(5, false);
}

void TMainForm::hostPage(TPage* page)
{
    m_pagePanel->layout()->addWidget(page);
    page->show();
}

void TMainForm::EnablePage(int index, bool enabled)
{
    if (index < 0 || index >= kPageCount)
        return;
    m_viewItems[static_cast<size_t>(index)]->setEnabled(enabled);
    m_navButtons[static_cast<size_t>(index)]->setEnabled(enabled);
}

void TMainForm::SetStatus(int connections, int utilization, int usedMemory)
{
    m_status[0]->setText(
        connections < 0 ? QString() : QStringLiteral("Connections: %1").arg(connections));
    m_status[1]->setText(
        utilization < 0 ? QString() : QStringLiteral("Utilization: %1%").arg(utilization));
    m_status[2]->setText(
        usedMemory < 0 ? QString() : QStringLiteral("Used memory: %1%").arg(usedMemory));
    statusBar()->repaint();
}

QString TMainForm::StatusText(int panel) const
{
    return panel >= 0 && panel < static_cast<int>(m_status.size())
        ? m_status[static_cast<size_t>(panel)]->text()
        : QString();
}

void TMainForm::updateSpeedMenuState()
{
    const bool speedPage = m_currentPage == 1 || m_currentPage == 2 || m_currentPage == 4;
    m_updateSpeedMenu->menuAction()->setEnabled(speedPage);
}

void TMainForm::UpdateToolButtons()
{
    updateSpeedMenuState();
    if (m_currentPage == kNoPage)
        return;
    const bool hasClear = m_handlers.count(Command::ClearButton) != 0;
    if (m_currentPage == 0) {
        m_clearButton->setEnabled(false);
    } else {
        TPage* page = Page(m_currentPage);
        m_clearButton->setEnabled(hasClear && page && page->CanClearSelection());
    }
    m_messageButton->setEnabled(
        m_handlers.count(Command::MessageButton) != 0 && m_serverBox->currentIndex() >= 0);
}

void TMainForm::SelectPage(QObject* sender)
{
    int index = kNoPage;
    if (sender == m_pagePanel || qobject_cast<QToolButton*>(sender))
        index = sender->property("tag").toInt();
    else if (qobject_cast<QAction*>(sender))
        index = sender->property("groupIndex").toInt();
    SelectPageIndex(index);
}

void TMainForm::SelectPageIndex(int index)
{
    if (index < 0)
        return;
    if (index != m_currentPage && m_currentPage != kNoPage) {
        TPage* old = Page(m_currentPage);
        if (m_mergedMenu) {
            menuBar()->removeAction(m_mergedMenu);
            m_mergedMenu = nullptr;
        }
        if (old) {
            if (old->HasCloseQuery()) {
                setEnabled(false);
                struct Enable {
                    QWidget* w;
                    ~Enable() { w->setEnabled(true); }
                } enable { this };
                old->CloseQuery();
            }
            m_pagePanel->layout()->removeWidget(old);
            old->hide();
        }
    }
    m_currentPage = std::min(index, kNoPage);
    m_pagePanelTag = m_currentPage;
    m_pagePanel->setProperty("tag", m_pagePanelTag);

    if (TPage* page = Page(m_currentPage)) {
        if (QMenu* menu = page->PageMenu(); menu && !m_mergedMenu)
            m_mergedMenu = menuBar()->insertMenu(menuBar()->actions().value(2), menu);
        hostPage(page);
    }
    m_clearButton->setEnabled(false);
    // Pages report selection changes; a page switch alone must not leave the menu stale.
    updateSpeedMenuState();
    for (int i = 0; i < kPageCount; ++i) {
        m_viewItems[static_cast<size_t>(i)]->setChecked(i == m_currentPage);
        m_navButtons[static_cast<size_t>(i)]->setChecked(i == m_currentPage);
    }
    RefreshCurrentPage();
    if (TPage* page = Page(m_currentPage))
        page->setFocus();
}
