#pragma once

#include "platform/nwclient/client.h"

#include <QIcon>
#include <QList>
#include <QPersistentModelIndex>
#include <QTreeWidget>
#include <memory>
#include <optional>
#include <vector>

class TNWUpdateThread;

// What a tree keeps about a node beside its text (a connection number, a directory path...).
// Created by ListChildren on the worker thread, then owned by the node; not changed afterwards,
// so that the worker may read it while the interface thread works on the tree.
class TNodeData {
public:
    virtual ~TNodeData() = default;
};

// A node created by a refresh pass; owns its data object.
class TUpdateableNode : public QTreeWidgetItem {
public:
    TUpdateableNode(const QString& text, std::unique_ptr<TNodeData> data);
    TNodeData* Data() const { return m_data.get(); }

private:
    std::unique_ptr<TNodeData> m_data;
};

// One child as the server lists it: its name (the node's text) and its data object.
struct TChildEntry {
    QString name;
    std::unique_ptr<TNodeData> data;
};
using TChildList = std::vector<TChildEntry>;

// A tree kept in step with a server by its own TNWUpdateThread: each pass merges what the server
// lists now into the existing nodes (matching by exact text), so that unchanged nodes keep their
// expansion and selection and nothing flickers. Levels are counted from the top: top-level
// nodes are at depth 0, their children at depth 1.
//
// Threads: everything here runs on the interface thread except ListChildren, RefreshCollapsed,
// OpenPassConnection and ClosePassConnection, which the worker calls. While a pass runs (Busy),
// nodes are removed only by the pass; other code that removes nodes calls CancelRefresh and
// waits for UpdateFinished or PassCompleted first.
//
// A subclass calls StopUpdateThread() first thing in its destructor, so that no pass calls
// its overrides while it is destroyed.
class TUpdateableTreeNT : public QTreeWidget {
    Q_OBJECT
public:
    // Item data role (column 0) that holds a node's image index.
    static constexpr int ImageIndexRole = Qt::UserRole + 1;

    explicit TUpdateableTreeNT(QWidget* parent = nullptr);
    ~TUpdateableTreeNT() override;

    // Refreshes the children of startNode (none: the whole tree). While a pass runs, that pass
    // is aborted and one new pass follows its completion; requests that arrive meanwhile are
    // combined into one pass over the nearest node that covers them all.
    void RefreshTree(QTreeWidgetItem* startNode = nullptr);
    // Drops the running pass and any pass that was to follow it.
    void CancelRefresh();
    // The next refresh clears all nodes before it lists them again (after a server change).
    void SetFullReload() { m_fullReload = true; }
    bool Busy() const;
    // Ends the update thread for good (waits for the running pass); closes an update bracket
    // that the ended pass left open.
    void StopUpdateThread();
    TNWUpdateThread& UpdateThread() { return *m_thread; }

    // The update bracket: painting is held while at least one bracket is open.
    virtual void BeginUpdate();
    virtual void EndUpdate();

    // Icons by image index; nodes show the icon of their ImageIndexRole.
    void SetImages(const QList<QIcon>& images) { m_images = images; }
    void SetNodeImage(QTreeWidgetItem* node, int imageIndex) const;

    static int NodeDepth(const QTreeWidgetItem* node);
    static TNodeData* NodeData(const QTreeWidgetItem* node);
    QPersistentModelIndex NodeIndex(QTreeWidgetItem* node) const;
    QTreeWidgetItem* NodeAt(const QModelIndex& index) const;

    // What the server has under node now (none: the top level). Worker thread; reads of node
    // are limited to its text and data object. A failing client call is the implementation's to
    // handle (answer what could be listed, or throw to end the pass).
    virtual TChildList ListChildren(nwclient::ConnHandle handle, QTreeWidgetItem* node) = 0;
    // The image index of new nodes at depth; -1 also means they get no placeholder child.
    virtual int LevelImageIndex(int depth) = 0;
    // Whether nodes at depth can have children.
    virtual bool LevelExpandable(int depth) = 0;
    // Gives a childless node one dummy child so that it shows an expand button.
    virtual void AddPlaceholder(QTreeWidgetItem* node) = 0;
    // Called for a listed node that exists and is collapsed. Worker thread. Does nothing here.
    virtual void RefreshCollapsed(nwclient::ConnHandle handle, QTreeWidgetItem* node);
    // The server the tree lists; none makes a pass end without changing the tree.
    virtual std::optional<nwclient::ConnRef> GetConnRef() = 0;
    // Removes a node that the server no longer lists. Here: collapses and deletes it; a
    // subclass that keeps references to nodes drops them and calls this.
    virtual void RemoveNode(QTreeWidgetItem* node);
    // The connection handle of a pass. Worker thread. Here: the client library's.
    virtual nwclient::NWCCODE OpenPassConnection(
        nwclient::ConnRef ref, nwclient::ConnHandle& handle);
    virtual void ClosePassConnection(nwclient::ConnHandle handle);

signals:
    // A refresh has ended and no further pass was wanted.
    void UpdateFinished();

private:
    void OnPassCompleted();
    void RememberWantedPass(QTreeWidgetItem* startNode);

    std::unique_ptr<TNWUpdateThread> m_thread;
    QList<QIcon> m_images;
    int m_updateDepth = 0;
    bool m_fullReload = false;
    bool m_stopped = false;
    // A pass asked for while one was running: from the top, or from m_wantedStart.
    bool m_passWanted = false;
    bool m_wantedFromTop = false;
    QPersistentModelIndex m_wantedStart;
};
