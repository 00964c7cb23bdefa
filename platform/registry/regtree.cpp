#include "platform/registry/regtree.h"

#include <utility>

namespace registry {

RegNode::RegNode(const RegNode& other)
    : m_name(other.m_name)
    , m_values(other.m_values)
{
    for (const auto& [key, node] : other.m_children)
        m_children.emplace(key, std::make_unique<RegNode>(*node));
}

RegNode& RegNode::operator=(const RegNode& other)
{
    if (this != &other) {
        RegNode copy(other);
        m_name = std::move(copy.m_name);
        m_values = std::move(copy.m_values);
        m_children = std::move(copy.m_children);
    }
    return *this;
}

const RegValue* RegNode::value(const QString& name) const
{
    const QString folded = fold(name);
    for (const RegValue& v : m_values) {
        if (fold(v.name) == folded)
            return &v;
    }
    return nullptr;
}

bool RegNode::setValue(const RegValue& value)
{
    const QString folded = fold(value.name);
    for (RegValue& v : m_values) {
        if (fold(v.name) != folded)
            continue;
        RegValue replaced = value;
        replaced.name = v.name;
        if (replaced == v)
            return false;
        v = std::move(replaced);
        return true;
    }
    m_values.append(value);
    return true;
}

bool RegNode::removeValue(const QString& name)
{
    const QString folded = fold(name);
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (fold(m_values[i].name) == folded) {
            m_values.removeAt(i);
            return true;
        }
    }
    return false;
}

const RegNode* RegNode::child(const QString& name) const
{
    auto it = m_children.find(fold(name));
    return it == m_children.end() ? nullptr : it->second.get();
}

RegNode* RegNode::child(const QString& name)
{
    return const_cast<RegNode*>(std::as_const(*this).child(name));
}

RegNode* RegNode::addChild(const QString& name)
{
    std::unique_ptr<RegNode>& slot = m_children[fold(name)];
    if (!slot)
        slot = std::make_unique<RegNode>(name);
    return slot.get();
}

bool RegNode::removeChild(const QString& name)
{
    return m_children.erase(fold(name)) > 0;
}

QList<const RegNode*> RegNode::children() const
{
    QList<const RegNode*> result;
    result.reserve(m_children.size());
    for (const auto& entry : m_children)
        result.append(entry.second.get());
    return result;
}

const RegNode* RegNode::find(const QStringList& path) const
{
    const RegNode* node = this;
    for (const QString& part : path) {
        node = node->child(part);
        if (!node)
            return nullptr;
    }
    return node;
}

RegNode* RegNode::find(const QStringList& path)
{
    return const_cast<RegNode*>(std::as_const(*this).find(path));
}

} // namespace registry
