#pragma once

#include "netware/connqueries.h"
#include "platform/nwclient/client.h"

#include <QTreeWidget>

// The browser tree of users, groups and containers of one server, used where an object is
// picked (owner, trustees). An NDS server shows its tree from [Root], containers filled when
// they are expanded; a bindery server (or any server with the force-bindery switch) shows its
// users and groups as one alphabetical list. Each node's kind is its icon index.
class TNWObjectsTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TNWObjectsTree(QWidget* parent = nullptr);
    ~TNWObjectsTree() override;

    void SetServer(nwclient::ConnRef ref);
    nwclient::ConnRef ConnRef() const { return m_ref; }
    bool IsNDS() const { return m_isNDS; }

    // Takes effect at the next load.
    void SetShowOnlyContainers(bool on) { m_showOnlyContainers = on; }
    bool ShowOnlyContainers() const { return m_showOnlyContainers; }
    // Reloads at once with the same server.
    void SetShowAll(bool on);
    bool ShowAll() const { return m_showAll; }
    void SetForceBindery(bool on) { m_forceBindery = on; }
    bool ForceBindery() const { return m_forceBindery; }
    void SetAddSupervisor(bool on) { m_addSupervisor = on; }
    bool AddSupervisor() const { return m_addSupervisor; }

    // The object name of a node: ".John.Sales.Acme" in the NDS view, the node's text below a
    // parent in the bindery view, empty for a top-level bindery node and for [Root]/[Public].
    QString FullName(QTreeWidgetItem* node) const;
    // Selects and shows the node of a name (case ignored), expanding containers on the way.
    void Locate(const QString& name);
    // Fills a node still holding the placeholder; expanding a node does it by itself.
    void ExpandNode(QTreeWidgetItem* node);

    static int NodeKind(const QTreeWidgetItem* node);
    static constexpr const char* kPlaceholder = "!";

private:
    bool NDSView() const { return m_isNDS && !m_forceBindery; }
    void Reload();
    void LoadBindery();
    void LoadNDS();
    void ListChildren(const QString& container, QTreeWidgetItem* parent);
    bool HasSubordinates(const QString& fullName);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, int kind);
    void OnExpanded(QTreeWidgetItem* node);

    nwclient::ConnRef m_ref = 0;
    TConnHandleScope m_conn;
    bool m_isNDS = false;
    bool m_showOnlyContainers = false;
    bool m_showAll = false;
    bool m_forceBindery = false;
    bool m_addSupervisor = false;
};
