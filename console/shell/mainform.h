#pragma once

#include "console/shell/consoleoptions.h"
#include "console/shell/formstorage.h"
#include "console/shell/pagefactory.h"
#include "platform/nwclient/client.h"

#include <QMainWindow>
#include <QMenu>
#include <array>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class TNWConnRefBox;
class TPage;
class TSidePanel;
class TTimerList;

// The console's only top-level window: server selector, tool bars, side panel, one of six
// pages, status bar, menus and the timers that drive periodic refresh. Interface thread only.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kPageCount = 6;
    static constexpr int kNoPage = 6;
    enum Timer { OpenFilesTimer, ConnInfoTimer, UpdateUtilization };
    // Commands whose work lives in other parts of the console. Without a handler a command
    // stays disabled.
    enum class Command {
        Broadcast,
        SendMessage,
        MessageButton,
        ClearButton,
        ChangeDateTime,
        Restart,
        Down,
        UnloadNlm,
        Execute,
        Options,
        Contents,
        TipOfTheDay,
        About,
    };

    explicit TMainForm(const TPageFactories& factories = {}, const TConsoleOptions& options = {},
        QWidget* parent = nullptr);
    ~TMainForm() override;

    void setCommandHandler(Command command, std::function<void()> handler);

    // The selected server's reference (0 when none): every page asks this before it opens a
    // connection handle.
    nwclient::ConnRef CurrentConnRef();
    bool IsNetWare4();
    bool IsConsoleOperator();

    void SetStatus(int connections, int utilization, int usedMemory);
    void UpdateToolButtons();
    // Index from a sender's "tag" (panel, tool button) or "groupIndex" (menu item) property;
    // anything else gives kNoPage.
    void SelectPage(QObject* sender);
    void SelectPageIndex(int index);
    void EnablePage(int index, bool enabled);
    void RefreshCurrentPage();
    void UpdateServerCommands();
    void ServerChange();
    void UtilizationTick();
    // With no item, the item is chosen from the menu's tag.
    void UpdateSpeed(QAction* item = nullptr);
    void ApplyOptions(const TConsoleOptions& options);
    // The options dialog was confirmed: the disk manager page takes the highlight settings,
    // the option mirrors are copied again and the current page is refreshed; on the disk
    // manager page its icon setting is applied and the page refreshed as by "Refresh".
    void OptionsAccepted(const TConsoleOptions& options);

    int CurrentPage() const { return m_currentPage; }
    TPage* Page(int index) const;
    TSidePanel* SidePanel() const { return m_sidePanel; }
    TNWConnRefBox* ServerBox() const { return m_serverBox; }
    TTimerList* Timers() const { return m_timers; }
    QAction* Action(const QString& caption) const; // by its exact caption, for tests and pages
    int UpdateSpeedTag() const { return m_updateSpeedTag; }
    bool LoginEnabled() const { return m_loginEnabled; }
    bool TtsEnabled() const { return m_ttsEnabled; }
    int DetailConnection() const { return m_detailConnection; }
    void SetDetailConnection(int connection) { m_detailConnection = connection; }
    const QString& HelpFile() const { return m_helpFile; }
    QString StatusText(int panel) const;
    bool CanonicalNames() const { return m_canonicalNames; }
    // The tree of the selected server, for the directory-services name helpers.
    const QString& PreferredTree() const { return m_preferredTree; }
    // The pause after the first server change on first display (1000 ms; tests shorten it).
    void SetStartPause(int ms) { m_startPauseMs = ms; }
    bool AllConnections() const { return m_allConnections; }

    // The stored placement's properties, restored on first display (defaults on a first run).
    // The window's store (section "DorAzor Ezevive") reads them from the registry just before
    // and writes them, with the window placement, when the window closes.
    struct Placement {
        bool textLabels = true;
        bool navigationBar = true;
        bool sidePanel = true;
        int page = 0;
        int updateSpeed = 2500;
    };
    void SetPlacement(const Placement& p) { m_placement = p; }
    Placement CurrentPlacement() const;

    // The window's own commands (also reachable through their menu items).
    void LoginToCommand();
    void LoginStatusCommand();
    void TtsStatusCommand();
    void RemoteConsoleCommand();
    void RefreshCommand();

signals:
    // The server selection changed and the pages were re-targeted.
    void serverChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createClientArea();
    void createPages();
    TPage* createPage(int index);
    void hostPage(TPage* page);
    void restorePlacement();
    void firstActivation();
    void updateCommandStates();
    void updateSpeedMenuState();
    void setNavigationBarVisible(bool visible);
    void setTextLabels(bool on);
    void setSidePanelVisible(bool visible);
    bool closeQuery();
    QAction* addAction(QMenu* menu, const QString& caption, std::function<void()> slot = {});
    void commandAction(QAction* action, Command command);
    void bindStore();
    void setWhatsThisTexts();

    TPageFactories m_factories;
    TConsoleOptions m_options;
    Placement m_placement;

    TNWConnRefBox* m_serverBox = nullptr;
    QToolBar* m_serverBar = nullptr;
    QToolBar* m_mainBar = nullptr;
    QToolBar* m_navBar = nullptr;
    QWidget* m_clientArea = nullptr;
    QWidget* m_serverInfoPanel = nullptr;
    QWidget* m_pagePanel = nullptr;
    TSidePanel* m_sidePanel = nullptr;
    std::array<QLabel*, 4> m_status {};
    std::array<TPage*, kPageCount + 1> m_pages {};
    std::array<QToolButton*, kPageCount> m_navButtons {};
    std::array<QAction*, kPageCount> m_viewItems {};
    TTimerList* m_timers = nullptr;

    std::map<QString, QAction*> m_actions;
    std::map<Command, std::function<void()>> m_handlers;
    std::map<QAction*, Command> m_commandOf;
    QMenu* m_updateSpeedMenu = nullptr;
    std::unique_ptr<QMenu> m_messageMenu;
    QAction* m_utilizationButton = nullptr;
    QAction* m_clearButton = nullptr;
    QAction* m_messageButton = nullptr;
    QAction* m_textLabels = nullptr;
    QAction* m_navBarPopupItem = nullptr;
    QAction* m_mergedMenu = nullptr;

    int m_currentPage = kNoPage;
    int m_pagePanelTag = 0;
    int m_updateSpeedTag = 2500;
    int m_detailConnection = 0;
    int m_timerNesting = 0;
    bool m_tickBusy = false;
    bool m_loginEnabled = false;
    bool m_ttsEnabled = false;
    bool m_consoleOperator = false;
    bool m_netWare4 = false;
    bool m_firstShow = true;
    bool m_activated = false;
    bool m_closing = false;
    bool m_canonicalNames = true;
    bool m_allConnections = true;
    QString m_helpFile;
    QString m_preferredTree;
    int m_startPauseMs = 1000;
    TFormStorage m_storage; // last: written at destruction while the controls still exist
};
