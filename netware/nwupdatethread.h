#pragma once

#include "netware/restartablethread.h"
#include "netware/updateabletree.h"
#include "platform/nwclient/client.h"

#include <QPersistentModelIndex>
#include <atomic>

// Keeps a TUpdateableTreeNT in step with its server: each pass opens a connection handle for the
// tree's connection reference and merges the tree's ListChildren answers into its nodes, level by
// level, into the expanded nodes. Every change of the tree, the update bracket and the question
// for the connection reference run on the interface thread through Synchronize; the worker
// itself only calls ListChildren and RefreshCollapsed.
//
// The update bracket is opened only when a level changes by more than 10 nodes or the tree was
// empty, and closed when the pass ends, however it ends.
class TNWUpdateThread : public TRestartableThread {
    Q_OBJECT
public:
    // Created waiting, for the tree it fills (not owned; outlives the thread).
    explicit TNWUpdateThread(TUpdateableTreeNT& tree);
    ~TNWUpdateThread() override;

    // Merges the children of startNode (none: the top level), which are at depth, then the
    // levels below every expanded node. Interface thread.
    void Refresh(QTreeWidgetItem* startNode, int depth);
    // The bracket of a pass that Shutdown cut short is still open.
    bool BracketOpen() const { return m_bracketOpen.load(); }

protected:
    void DoWork() override;

private:
    void Merge(QTreeWidgetItem* parent, int depth);
    void OpenBracket();
    void CloseBracket();
    void AddNode(QTreeWidgetItem* parent, TChildEntry& entry, int depth);

    TUpdateableTreeNT& m_tree;
    // Written by Refresh and read at the start of a pass, both on the interface thread.
    QPersistentModelIndex m_start; // invalid once the node is gone
    bool m_startTop = true;
    int m_startDepth = 0;
    std::atomic<bool> m_bracketOpen { false };
    nwclient::ConnHandle m_handle = 0; // worker only
};
