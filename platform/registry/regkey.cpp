#include "platform/registry/hivestore.h"
#include "platform/registry/registry.h"

#include <QFile>

namespace registry {
namespace {

using Edit = HiveStore::Edit;

std::optional<QStringList> splitPath(const QString& path)
{
    QString trimmed = path;
    while (trimmed.startsWith(u'\\'))
        trimmed.remove(0, 1);
    while (trimmed.endsWith(u'\\'))
        trimmed.chop(1);
    if (trimmed.isEmpty())
        return QStringList();
    const QStringList parts = trimmed.split(u'\\');
    if (parts.contains(QString()))
        return std::nullopt;
    return parts;
}

} // namespace

bool RegKey::open(Hive hive, const QString& path, bool create)
{
    m_open = false;
    const std::optional<QStringList> parts = splitPath(path);
    if (!parts)
        return false;
    bool found = false;
    if (create) {
        found = HiveStore::instance().modify(hive, [&](RegNode& root) {
            if (root.find(*parts))
                return Edit::Unchanged;
            RegNode* node = &root;
            for (const QString& name : *parts)
                node = node->addChild(name);
            return Edit::Changed;
        });
    } else {
        HiveStore::instance().read(
            hive, [&](const RegNode& root) { found = root.find(*parts) != nullptr; });
    }
    if (found) {
        m_hive = hive;
        m_path = *parts;
        m_open = true;
    }
    return found;
}

std::optional<QString> RegKey::readString(const QString& name) const
{
    std::optional<QString> result;
    if (!m_open)
        return result;
    HiveStore::instance().read(m_hive, [&](const RegNode& root) {
        const RegNode* node = root.find(m_path);
        const RegValue* v = node ? node->value(name) : nullptr;
        if (v && (v->type == RegSz || v->type == RegExpandSz))
            result = v->text;
    });
    return result;
}

std::optional<int32_t> RegKey::readInteger(const QString& name) const
{
    std::optional<int32_t> result;
    if (!m_open)
        return result;
    HiveStore::instance().read(m_hive, [&](const RegNode& root) {
        const RegNode* node = root.find(m_path);
        const RegValue* v = node ? node->value(name) : nullptr;
        if (v && v->type == RegDword)
            result = int32_t(v->dword);
    });
    return result;
}

std::optional<QByteArray> RegKey::readBinary(const QString& name) const
{
    std::optional<QByteArray> result;
    if (!m_open)
        return result;
    HiveStore::instance().read(m_hive, [&](const RegNode& root) {
        const RegNode* node = root.find(m_path);
        const RegValue* v = node ? node->value(name) : nullptr;
        if (v && v->type == RegBinary)
            result = v->data;
    });
    return result;
}

bool RegKey::hasValue(const QString& name) const
{
    bool result = false;
    if (m_open) {
        HiveStore::instance().read(m_hive, [&](const RegNode& root) {
            const RegNode* node = root.find(m_path);
            result = node && node->value(name);
        });
    }
    return result;
}

static bool storeValue(bool open, Hive hive, const QStringList& path, const RegValue& value)
{
    return open && HiveStore::instance().modify(hive, [&](RegNode& root) {
        RegNode* node = root.find(path);
        if (!node)
            return Edit::Failed;
        return node->setValue(value) ? Edit::Changed : Edit::Unchanged;
    });
}

bool RegKey::writeString(const QString& name, const QString& value)
{
    RegValue v;
    v.name = name;
    v.type = RegSz;
    v.text = value;
    return storeValue(m_open, m_hive, m_path, v);
}

bool RegKey::writeInteger(const QString& name, int32_t value)
{
    RegValue v;
    v.name = name;
    v.type = RegDword;
    v.dword = uint32_t(value);
    return storeValue(m_open, m_hive, m_path, v);
}

bool RegKey::writeBinary(const QString& name, const QByteArray& value)
{
    RegValue v;
    v.name = name;
    v.type = RegBinary;
    v.data = value;
    return storeValue(m_open, m_hive, m_path, v);
}

bool RegKey::deleteValue(const QString& name)
{
    return m_open && HiveStore::instance().modify(m_hive, [&](RegNode& root) {
        RegNode* node = root.find(m_path);
        return node && node->removeValue(name) ? Edit::Changed : Edit::Failed;
    });
}

QStringList RegKey::valueNames() const
{
    QStringList names;
    if (m_open) {
        HiveStore::instance().read(m_hive, [&](const RegNode& root) {
            if (const RegNode* node = root.find(m_path)) {
                for (const RegValue& v : node->values())
                    names.append(v.name);
            }
        });
    }
    return names;
}

QStringList RegKey::subKeyNames() const
{
    QStringList names;
    if (m_open) {
        HiveStore::instance().read(m_hive, [&](const RegNode& root) {
            if (const RegNode* node = root.find(m_path)) {
                for (const RegNode* child : node->children())
                    names.append(child->name());
            }
        });
    }
    return names;
}

bool RegKey::hasSubKey(const QString& name) const
{
    bool result = false;
    if (m_open) {
        HiveStore::instance().read(m_hive, [&](const RegNode& root) {
            const RegNode* node = root.find(m_path);
            result = node && node->child(name);
        });
    }
    return result;
}

bool RegKey::deleteKey(const QString& subPath)
{
    const std::optional<QStringList> parts = splitPath(subPath);
    if (!m_open || !parts || parts->isEmpty())
        return false;
    return HiveStore::instance().modify(m_hive, [&](RegNode& root) {
        RegNode* parent = root.find(m_path + parts->mid(0, parts->size() - 1));
        return parent && parent->removeChild(parts->last()) ? Edit::Changed : Edit::Failed;
    });
}

void RegKey::setRoot(const QString& folder)
{
    HiveStore::instance().setRoot(folder);
}

void RegKey::resetRoot()
{
    HiveStore::instance().setRoot(QString());
}

QString RegKey::root()
{
    return HiveStore::instance().root();
}

bool importRegFile(const QString& fileName, QString* error)
{
    QFile in(fileName);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    const std::optional<RegDocument> doc = parseRegFile(in.readAll(), error);
    return doc && HiveStore::instance().apply(*doc, error);
}

} // namespace registry
