#include "platform/nwserver/directorytree.h"

#include <QHash>
#include <algorithm>

namespace nwserver {

using namespace nwproto;

namespace {
const QString kRootName = QStringLiteral("[Root]");
const QString kRootClass = QStringLiteral("Tree Root");

QVariant idArg(uint32_t id)
{
    return QVariant::fromValue<qint64>(id);
}

const char* const kSelect = "SELECT e.id, e.parent, COALESCE(e.name, o.name), e.class, e.modified,"
                            " (SELECT COUNT(*) FROM nds_entries c WHERE c.parent = e.id)"
                            " FROM nds_entries e LEFT JOIN objects o ON o.id = e.object ";

// The superclasses an entry's "Object Class" lists after its base class.
QStringList superclassesOf(const QString& baseClass)
{
    static const QHash<QString, QStringList> chains = {
        { QStringLiteral("User"),
            { QStringLiteral("Organizational Person"), QStringLiteral("Person") } },
        { QStringLiteral("NCP Server"), { QStringLiteral("Server") } },
        { QStringLiteral("Print Server"), { QStringLiteral("Server") } },
        { QStringLiteral("Volume"), { QStringLiteral("Resource") } },
        { QStringLiteral("Queue"), { QStringLiteral("Resource") } },
        { QStringLiteral("Printer"), { QStringLiteral("Device") } },
    };
    QStringList out { baseClass };
    out += chains.value(baseClass);
    out << QStringLiteral("Top");
    return out;
}

// "CN=JOHN" -> ("CN", "JOHN"); "JOHN" -> ("", "JOHN").
std::pair<QString, QString> splitComponent(const QString& c)
{
    const qsizetype eq = c.indexOf(QLatin1Char('='));
    if (eq < 0)
        return { QString(), c };
    return { c.left(eq).trimmed(), c.mid(eq + 1) };
}
} // namespace

DirectoryTree::DirectoryTree(Database& db, ObjectStore& objects)
    : m_db(db)
    , m_objects(objects)
{
}

void DirectoryTree::createSchema(Database& db)
{
    db.exec("CREATE TABLE IF NOT EXISTS nds_entries ("
            " id INTEGER PRIMARY KEY,"
            " parent INTEGER NOT NULL,"
            " object INTEGER UNIQUE REFERENCES objects(id) ON DELETE CASCADE,"
            " name TEXT COLLATE NOCASE,"
            " class TEXT NOT NULL,"
            " modified INTEGER NOT NULL,"
            " CHECK((object IS NULL) <> (name IS NULL)))");
    db.exec("CREATE INDEX IF NOT EXISTS nds_entries_parent ON nds_entries(parent)");
    db.exec("CREATE TABLE IF NOT EXISTS nds_values ("
            " entry_id INTEGER NOT NULL REFERENCES nds_entries(id) ON DELETE CASCADE,"
            " attribute TEXT NOT NULL COLLATE NOCASE,"
            " text TEXT,"
            " ref INTEGER REFERENCES nds_entries(id) ON DELETE CASCADE)");
}

QString DirectoryTree::namingType(const QString& baseClass)
{
    static const QHash<QString, QString> types = {
        { QStringLiteral("Organization"), QStringLiteral("O") },
        { QStringLiteral("Organizational Unit"), QStringLiteral("OU") },
        { QStringLiteral("Country"), QStringLiteral("C") },
        { QStringLiteral("Locality"), QStringLiteral("L") },
    };
    return types.value(baseClass, QStringLiteral("CN"));
}

bool DirectoryTree::isContainerClass(const QString& baseClass)
{
    return baseClass == kRootClass || namingType(baseClass) != QLatin1String("CN");
}

uint32_t DirectoryTree::rootId() const
{
    return static_cast<uint32_t>(
        m_db.scalar("SELECT id FROM nds_entries WHERE parent = 0").toLongLong());
}

uint32_t DirectoryTree::createRoot(uint32_t modified)
{
    return addEntry(0, kRootName, kRootClass, modified);
}

uint32_t DirectoryTree::addEntry(
    uint32_t parent, const QString& name, const QString& baseClass, uint32_t modified)
{
    const qint64 top
        = m_db.scalar("SELECT MAX(id) FROM nds_entries WHERE object IS NULL").toLongLong();
    const auto id = static_cast<uint32_t>(std::max<qint64>(top + 1, kFirstEntryId));
    m_db.run("INSERT INTO nds_entries(id, parent, name, class, modified) VALUES(?, ?, ?, ?, ?)",
        { idArg(id), idArg(parent), name.toUpper(), baseClass, idArg(modified) });
    return id;
}

uint32_t DirectoryTree::addObjectEntry(
    uint32_t parent, uint32_t objectId, const QString& baseClass, uint32_t modified)
{
    m_db.run("INSERT INTO nds_entries(id, parent, object, class, modified) VALUES(?, ?, ?, ?, ?)",
        { idArg(objectId), idArg(parent), idArg(objectId), baseClass, idArg(modified) });
    return objectId;
}

void DirectoryTree::addText(uint32_t id, const QString& attribute, const QString& value)
{
    m_db.run("INSERT INTO nds_values(entry_id, attribute, text) VALUES(?, ?, ?)",
        { idArg(id), attribute, value });
}

void DirectoryTree::addReference(uint32_t id, const QString& attribute, uint32_t target)
{
    m_db.run("INSERT INTO nds_values(entry_id, attribute, ref) VALUES(?, ?, ?)",
        { idArg(id), attribute, idArg(target) });
}

std::optional<DirectoryEntry> DirectoryTree::readEntry(const char* where, uint32_t key) const
{
    Statement st(m_db, (QByteArray(kSelect) + where).constData());
    st.bind(1, idArg(key));
    if (!st.step())
        return std::nullopt;
    DirectoryEntry e;
    e.id = static_cast<uint32_t>(st.integer(0));
    e.parent = static_cast<uint32_t>(st.integer(1));
    e.name = st.text(2);
    e.baseClass = st.text(3);
    e.modified = static_cast<uint32_t>(st.integer(4));
    e.subordinates = static_cast<uint32_t>(st.integer(5));
    if (isContainerClass(e.baseClass))
        e.flags |= dsentry::Container;
    if (e.parent == 0)
        e.flags |= dsentry::PartitionRoot;
    if (e.baseClass == QLatin1String("Alias"))
        e.flags |= dsentry::Alias;
    return e;
}

std::optional<DirectoryEntry> DirectoryTree::entry(uint32_t id) const
{
    return readEntry("WHERE e.id = ?", id);
}

std::vector<DirectoryEntry> DirectoryTree::children(uint32_t parent) const
{
    std::vector<DirectoryEntry> out;
    Statement st(m_db, "SELECT id FROM nds_entries WHERE parent = ? ORDER BY id");
    st.bind(1, idArg(parent));
    while (st.step())
        if (auto e = entry(static_cast<uint32_t>(st.integer(0))))
            out.push_back(*e);
    return out;
}

NWDSCCODE DirectoryTree::resolve(const QString& name, uint32_t& id) const
{
    uint32_t at = rootId();
    if (at == 0)
        return ndserr::NoSuchEntry;
    const QString n = name.startsWith(QLatin1Char('.')) ? name.mid(1) : name;
    if (n.compare(kRootName, Qt::CaseInsensitive) == 0) {
        id = at;
        return ndserr::Success;
    }
    const QStringList parts = n.split(QLatin1Char('.'));
    for (auto it = parts.crbegin(); it != parts.crend(); ++it) {
        const auto [type, value] = splitComponent(*it);
        if (value.isEmpty())
            return ndserr::InvalidObjectName;
        Statement st(m_db,
            "SELECT e.id, e.class FROM nds_entries e LEFT JOIN objects o ON o.id = e.object"
            " WHERE e.parent = ? AND COALESCE(e.name, o.name) = ? COLLATE NOCASE");
        st.bindAll({ idArg(at), value });
        bool found = false;
        while (!found && st.step())
            found
                = type.isEmpty() || type.compare(namingType(st.text(1)), Qt::CaseInsensitive) == 0;
        if (!found)
            return ndserr::NoSuchEntry;
        at = static_cast<uint32_t>(st.integer(0));
    }
    id = at;
    return ndserr::Success;
}

QString DirectoryTree::distinguishedName(uint32_t id) const
{
    QStringList parts;
    for (auto e = entry(id); e; e = entry(e->parent)) {
        if (e->parent == 0)
            return parts.isEmpty() ? kRootName : parts.join(QLatin1Char('.'));
        parts << namingType(e->baseClass) + QLatin1Char('=') + e->name;
    }
    return QString();
}

QStringList DirectoryTree::namesOf(const std::vector<uint32_t>& ids) const
{
    QStringList out;
    for (uint32_t id : ids) {
        const QString dn = distinguishedName(id);
        if (!dn.isEmpty())
            out << dn;
    }
    return out;
}

std::vector<DirectoryAttribute> DirectoryTree::attributes(uint32_t id) const
{
    const auto e = entry(id);
    if (!e)
        return {};
    std::vector<DirectoryAttribute> out;
    out.push_back(
        { QStringLiteral("Object Class"), dssyntax::ClassName, superclassesOf(e->baseClass) });
    if (e->parent != 0)
        out.push_back({ namingType(e->baseClass), dssyntax::CaseIgnoreString, { e->name } });

    Statement st(
        m_db, "SELECT attribute, text, ref FROM nds_values WHERE entry_id = ? ORDER BY rowid");
    st.bind(1, idArg(id));
    while (st.step()) {
        const QString attribute = st.text(0);
        const bool isRef = !st.isNull(2);
        const QString value
            = isRef ? distinguishedName(static_cast<uint32_t>(st.integer(2))) : st.text(1);
        auto it = std::find_if(out.begin(), out.end(), [&](const DirectoryAttribute& a) {
            return a.name.compare(attribute, Qt::CaseInsensitive) == 0;
        });
        if (it == out.end()) {
            out.push_back({ attribute,
                isRef ? dssyntax::DistinguishedName : dssyntax::CaseIgnoreString, {} });
            it = out.end() - 1;
        }
        it->values << value;
    }

    const auto object = m_objects.byId(id);
    const auto add = [&](const char* name, const QStringList& values) {
        if (!values.isEmpty())
            out.push_back({ QString::fromLatin1(name), dssyntax::DistinguishedName, values });
    };
    if (object && object->type == objtype::User) {
        std::vector<uint32_t> equals = m_objects.groupsOf(id);
        add("Group Membership", namesOf(equals));
        for (uint32_t q : m_objects.equivalencesOf(id))
            equals.push_back(q);
        std::sort(equals.begin(), equals.end());
        equals.erase(std::unique(equals.begin(), equals.end()), equals.end());
        add("Security Equals", namesOf(equals));
    }
    if (object && object->type == objtype::Group)
        add("Member", namesOf(m_objects.membersOf(id)));
    return out;
}

} // namespace nwserver
