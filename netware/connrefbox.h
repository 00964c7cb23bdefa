#pragma once

#include "platform/nwclient/client.h"

#include <QComboBox>
#include <functional>
#include <memory>
#include <vector>

// The server selector: the attached, authenticated servers of the workstation. Each item keeps
// a copy of the client's connection-information record of its reference. Interface thread only.
class TNWConnRefBox : public QComboBox {
    Q_OBJECT
public:
    explicit TNWConnRefBox(QWidget* parent = nullptr);
    ~TNWConnRefBox() override;

    void RefreshServers();
    // Refreshes until the list has a server, asking to log in meanwhile; Abort ends the
    // program with exit code 2. Leaves nothing selected.
    void EnsureServers();
    void ClearServers();
    // The selected server's reference, mending the selection and noticing broken connections
    // on the way; 0 while the selector is disabled.
    nwclient::ConnRef CurrentConnRef();
    // Takes the selection: current reference, drive mapping, then changed() (also after a
    // failure of the mapping).
    void Change();

    // The record of item index (nullptr outside the list).
    const nwclient::TNWConnInfo* Info(int index) const;
    nwclient::ConnRef ConnRef() const { return m_connRef; }
    bool NoMap() const { return m_noMap; }

    // How the program ends when the administrator gives up at the login question. Tests replace
    // it; the default ends the process at once with the code.
    static void setExitHandler(std::function<void(int)> handler);

signals:
    // The selection changed (the main window's server change).
    void changed();

public:
    // Opening the list reads the servers again and keeps the selected one when still there.
    void showPopup() override;

private:
    void mapDrive();
    void selectAndChange(int index);

    std::vector<std::unique_ptr<nwclient::TNWConnInfo>> m_records; // one per item
    nwclient::ConnRef m_connRef = static_cast<nwclient::ConnRef>(-1);
    bool m_noMap = false;
};

// Shows the client's login dialog; its result is not used: callers read the server list again.
void RunLoginDialog();
// The login dialog the client offers. Tests set their own; nullptr restores the real one.
void setLoginDialogRunner(std::function<void()> runner);
