#include "netware/updateabletree.h"

#include "netware/nwupdatethread.h"

#include <QSet>

TUpdateableNode::TUpdateableNode(const QString& text, std::unique_ptr<TNodeData> data)
    : QTreeWidgetItem(QStringList { text })
    , m_data(std::move(data))
{
}

TUpdateableTreeNT::TUpdateableTreeNT(QWidget* parent)
    : QTreeWidget(parent)
    , m_thread(std::make_unique<TNWUpdateThread>(*this))
{
    connect(m_thread.get(), &TRestartableThread::PassCompleted, this,
        &TUpdateableTreeNT::OnPassCompleted);
}

TUpdateableTreeNT::~TUpdateableTreeNT()
{
    StopUpdateThread();
}

void TUpdateableTreeNT::RefreshTree(QTreeWidgetItem* startNode)
{
    if (m_stopped)
        return;
    if (Busy()) {
        m_thread->RequestAbort();
        RememberWantedPass(startNode);
        return;
    }
    if (m_fullReload) {
        m_fullReload = false;
        clear();
        startNode = nullptr;
    }
    m_thread->Refresh(startNode, startNode ? NodeDepth(startNode) + 1 : 0);
}

void TUpdateableTreeNT::RememberWantedPass(QTreeWidgetItem* startNode)
{
    if (!m_passWanted) {
        m_passWanted = true;
        m_wantedFromTop = startNode == nullptr;
        m_wantedStart = NodeIndex(startNode);
        return;
    }
    if (m_wantedFromTop)
        return;
    // Two requests for different nodes: one pass over the nearest node above both.
    QTreeWidgetItem* earlier = NodeAt(m_wantedStart);
    QSet<QTreeWidgetItem*> above;
    for (QTreeWidgetItem* n = earlier; n; n = n->parent())
        above.insert(n);
    QTreeWidgetItem* common = startNode;
    while (common && !above.contains(common))
        common = common->parent();
    m_wantedFromTop = common == nullptr;
    m_wantedStart = NodeIndex(common);
}

void TUpdateableTreeNT::OnPassCompleted()
{
    if (!m_passWanted) {
        emit UpdateFinished();
        return;
    }
    m_passWanted = false;
    // A remembered node that the aborted pass removed: its parent's level changed, so list
    // again from the top.
    QTreeWidgetItem* start = m_wantedFromTop ? nullptr : NodeAt(m_wantedStart);
    m_wantedStart = QPersistentModelIndex();
    RefreshTree(start);
}

void TUpdateableTreeNT::CancelRefresh()
{
    if (Busy())
        m_thread->RequestAbort();
    m_passWanted = false;
}

bool TUpdateableTreeNT::Busy() const
{
    return m_thread->Busy();
}

void TUpdateableTreeNT::StopUpdateThread()
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_passWanted = false;
    disconnect(m_thread.get(), nullptr, this, nullptr);
    m_thread->Shutdown();
    if (m_thread->BracketOpen())
        EndUpdate();
}

void TUpdateableTreeNT::BeginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void TUpdateableTreeNT::EndUpdate()
{
    if (m_updateDepth > 0 && --m_updateDepth == 0)
        setUpdatesEnabled(true);
}

void TUpdateableTreeNT::SetNodeImage(QTreeWidgetItem* node, int imageIndex) const
{
    node->setData(0, ImageIndexRole, imageIndex);
    const bool known = imageIndex >= 0 && imageIndex < m_images.size();
    node->setIcon(0, known ? m_images[imageIndex] : QIcon());
}

int TUpdateableTreeNT::NodeDepth(const QTreeWidgetItem* node)
{
    int depth = 0;
    for (const QTreeWidgetItem* n = node->parent(); n; n = n->parent())
        ++depth;
    return depth;
}

TNodeData* TUpdateableTreeNT::NodeData(const QTreeWidgetItem* node)
{
    const auto* updateable = dynamic_cast<const TUpdateableNode*>(node);
    return updateable ? updateable->Data() : nullptr;
}

QPersistentModelIndex TUpdateableTreeNT::NodeIndex(QTreeWidgetItem* node) const
{
    return node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
}

QTreeWidgetItem* TUpdateableTreeNT::NodeAt(const QModelIndex& index) const
{
    return index.isValid() ? itemFromIndex(index) : nullptr;
}

void TUpdateableTreeNT::RefreshCollapsed(nwclient::ConnHandle, QTreeWidgetItem*) { }

void TUpdateableTreeNT::RemoveNode(QTreeWidgetItem* node)
{
    node->setExpanded(false);
    delete node;
}

nwclient::NWCCODE TUpdateableTreeNT::OpenPassConnection(
    nwclient::ConnRef ref, nwclient::ConnHandle& handle)
{
    return nwclient::openConnByReference(ref, handle);
}

void TUpdateableTreeNT::ClosePassConnection(nwclient::ConnHandle handle)
{
    nwclient::closeConn(handle);
}
