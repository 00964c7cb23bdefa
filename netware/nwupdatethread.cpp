#include "netware/nwupdatethread.h"

#include <QHash>

namespace {

// More changed nodes than this at one level repaint once, at the end of the pass.
constexpr std::size_t BracketThreshold = 10;

std::size_t Difference(std::size_t a, std::size_t b)
{
    return a > b ? a - b : b - a;
}

} // namespace

TNWUpdateThread::TNWUpdateThread(TUpdateableTreeNT& tree)
    : m_tree(tree)
{
}

TNWUpdateThread::~TNWUpdateThread()
{
    Shutdown();
}

void TNWUpdateThread::Refresh(QTreeWidgetItem* startNode, int depth)
{
    m_startTop = startNode == nullptr;
    m_start = m_tree.NodeIndex(startNode);
    m_startDepth = depth;
    Restart();
}

void TNWUpdateThread::DoWork()
{
    std::optional<nwclient::ConnRef> ref;
    QTreeWidgetItem* start = nullptr;
    bool startGone = false;
    int depth = 0;
    Synchronize([&] {
        ref = m_tree.GetConnRef();
        start = m_startTop ? nullptr : m_tree.NodeAt(m_start);
        startGone = !m_startTop && start == nullptr;
        depth = m_startDepth;
    });
    if (!ref || startGone)
        return;
    if (m_tree.OpenPassConnection(*ref, m_handle) != nwproto::cc::Success)
        return;
    struct HandleCloser {
        TNWUpdateThread& thread;
        ~HandleCloser() { thread.m_tree.ClosePassConnection(thread.m_handle); }
    } closer { *this };

    try {
        Synchronize([&] {
            if (m_tree.topLevelItemCount() == 0) {
                m_tree.BeginUpdate();
                m_bracketOpen = true;
            }
        });
        Merge(start, depth);
    } catch (...) {
        CloseBracket();
        throw;
    }
    CloseBracket();
}

void TNWUpdateThread::Merge(QTreeWidgetItem* parent, int depth)
{
    struct OldNode {
        QTreeWidgetItem* node;
        QString text;
    };
    std::vector<OldNode> old;
    bool parentWasExpanded = false;
    Synchronize([&] {
        const int count = parent ? parent->childCount() : m_tree.topLevelItemCount();
        old.reserve(count);
        for (int i = 0; i < count; ++i) {
            CheckAbort();
            QTreeWidgetItem* node = parent ? parent->child(i) : m_tree.topLevelItem(i);
            old.push_back({ node, node->text(0) });
        }
        parentWasExpanded = parent && parent->isExpanded();
    });

    CheckAbort();
    TChildList fresh = m_tree.ListChildren(m_handle, parent);
    if (!m_bracketOpen && Difference(old.size(), fresh.size()) > BracketThreshold)
        OpenBracket();

    // The first remaining old node of each text, as a search from the start would find it.
    QHash<QString, std::vector<std::size_t>> byText;
    for (std::size_t i = old.size(); i-- > 0;)
        byText[old[i].text].push_back(i);
    std::vector<bool> matched(old.size(), false);

    const bool oldEmpty = old.empty();
    bool stopped = false;
    for (TChildEntry& entry : fresh) {
        CheckAbort();
        QTreeWidgetItem* match = nullptr;
        auto found = byText.find(entry.name);
        if (found != byText.end() && !found->empty()) {
            const std::size_t i = found->back();
            found->pop_back();
            matched[i] = true;
            match = old[i].node;
        }
        bool matchExpanded = false;
        Synchronize([&] {
            if (!oldEmpty && parentWasExpanded && !parent->isExpanded())
                stopped = true;
            else if (match)
                matchExpanded = match->isExpanded();
            else
                AddNode(parent, entry, depth);
        });
        if (stopped)
            break;
        if (match && matchExpanded)
            Merge(match, depth + 1);
        else if (match)
            m_tree.RefreshCollapsed(m_handle, match);
    }

    if (!stopped) {
        std::vector<QTreeWidgetItem*> gone;
        for (std::size_t i = 0; i < old.size(); ++i)
            if (!matched[i])
                gone.push_back(old[i].node);
        if (!m_bracketOpen && gone.size() > BracketThreshold)
            OpenBracket();
        if (!gone.empty())
            Synchronize([&] {
                for (QTreeWidgetItem* node : gone)
                    m_tree.RemoveNode(node);
            });
    }
    if (parent)
        Synchronize([&] {
            if (parent->childCount() == 0 && m_tree.LevelExpandable(depth - 1))
                m_tree.AddPlaceholder(parent);
        });
}

void TNWUpdateThread::AddNode(QTreeWidgetItem* parent, TChildEntry& entry, int depth)
{
    auto* node = new TUpdateableNode(entry.name, std::move(entry.data));
    if (parent)
        parent->addChild(node);
    else
        m_tree.addTopLevelItem(node);
    const int image = m_tree.LevelImageIndex(depth);
    m_tree.SetNodeImage(node, image);
    if (image != -1)
        m_tree.AddPlaceholder(node);
}

void TNWUpdateThread::OpenBracket()
{
    Synchronize([&] {
        m_tree.BeginUpdate();
        m_bracketOpen = true;
    });
}

void TNWUpdateThread::CloseBracket()
{
    if (!m_bracketOpen)
        return;
    try {
        Synchronize([&] {
            m_tree.EndUpdate();
            m_bracketOpen = false;
        });
    } catch (...) {
        // Shutting down: the tree closes the bracket once the thread has ended.
    }
}
