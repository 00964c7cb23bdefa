#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>

namespace registry {

// Value types as the Windows registry numbers them; the export format writes other types as
// hex(<type>) and they are kept byte for byte.
enum ValueType : uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
};

struct RegValue {
    QString name; // as written; empty for the key's default value
    uint32_t type = RegSz;
    QString text; // RegSz, RegExpandSz
    uint32_t dword = 0; // RegDword
    QByteArray data; // every other type

    bool operator==(const RegValue&) const = default;
};

// One key of a hive. Names compare case-insensitively, keep the case they were created with,
// values keep their creation order and subkeys sort case-insensitively, as regedit shows them.
class RegNode {
public:
    explicit RegNode(QString name = {})
        : m_name(std::move(name))
    {
    }
    RegNode(const RegNode& other);
    RegNode& operator=(const RegNode& other);

    const QString& name() const { return m_name; }

    const RegValue* value(const QString& name) const;
    // Replaces the value of that name (keeping the stored spelling) or appends it; false when
    // nothing changed.
    bool setValue(const RegValue& value);
    bool removeValue(const QString& name);
    const QList<RegValue>& values() const { return m_values; }

    RegNode* child(const QString& name);
    const RegNode* child(const QString& name) const;
    RegNode* addChild(const QString& name); // existing child or a new one
    bool removeChild(const QString& name);
    QList<const RegNode*> children() const;

    // Walks a list of key names from this node; nullptr when one is missing.
    RegNode* find(const QStringList& path);
    const RegNode* find(const QStringList& path) const;

    static QString fold(const QString& name) { return name.toCaseFolded(); }

private:
    QString m_name;
    QList<RegValue> m_values;
    std::map<QString, std::unique_ptr<RegNode>> m_children; // by folded name
};

} // namespace registry
