#include "platform/nwserver/bindery.h"

#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/directory.h"

#include <QtEndian>
#include <algorithm>
#include <stdexcept>

namespace nwserver {

using namespace nwproto;

namespace {
const QString kGroupsImIn = QStringLiteral("GROUPS_I'M_IN");
const QString kGroupMembers = QStringLiteral("GROUP_MEMBERS");
const QString kSecurityEquals = QStringLiteral("SECURITY_EQUALS");

QVariant idArg(uint32_t id)
{
    return QVariant::fromValue<qint64>(id);
}

bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::vector<uint32_t> decodeIds(const QByteArray& blob)
{
    std::vector<uint32_t> ids;
    for (qsizetype i = 0; i + 4 <= blob.size(); i += 4)
        ids.push_back(qFromBigEndian<uint32_t>(blob.constData() + i));
    return ids;
}

bool matchAt(const QString& name, qsizetype n, const QString& pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar c = pattern[p];
        if (c == QLatin1Char('*')) {
            for (qsizetype k = n; k <= name.size(); ++k)
                if (matchAt(name, k, pattern, p + 1))
                    return true;
            return false;
        }
        if (n >= name.size())
            return false;
        if (c != QLatin1Char('?') && c.toUpper() != name[n].toUpper())
            return false;
        ++n;
        ++p;
    }
    return n == name.size();
}
} // namespace

Bindery::Bindery(Database& db, ObjectStore& objects)
    : m_db(db)
    , m_objects(objects)
{
}

void Bindery::createSchema(Database& db)
{
    db.exec("CREATE TABLE IF NOT EXISTS bindery_properties ("
            " object_id INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,"
            " name TEXT NOT NULL COLLATE NOCASE,"
            " flags INTEGER NOT NULL, security INTEGER NOT NULL, value BLOB,"
            " PRIMARY KEY(object_id, name))");
}

bool Bindery::matchesWildcard(const QString& name, const QString& pattern)
{
    return matchAt(name, 0, pattern, 0);
}

std::optional<ServerObject> Bindery::scan(
    uint32_t lastId, uint16_t type, const QString& pattern) const
{
    Statement st(
        m_db, "SELECT id FROM objects WHERE id > ? AND (type = ? OR ? = 65535) ORDER BY id");
    st.bindAll({ lastId == 0xFFFFFFFF ? QVariant(-1) : idArg(lastId), type, type });
    while (st.step()) {
        auto o = m_objects.byId(static_cast<uint32_t>(st.integer(0)));
        if (o && matchesWildcard(o->name, pattern))
            return o;
    }
    return std::nullopt;
}

std::optional<std::vector<uint32_t>> Bindery::derivedSet(
    const ServerObject& o, const QString& property) const
{
    if (same(property, kGroupsImIn) && o.type == objtype::User)
        return m_objects.groupsOf(o.id);
    if (same(property, kGroupMembers) && o.type == objtype::Group)
        return m_objects.membersOf(o.id);
    if (same(property, kSecurityEquals)) {
        // A member of a group is security-equivalent to it, as the file system treats it.
        std::vector<uint32_t> ids = m_objects.groupsOf(o.id);
        for (uint32_t e : m_objects.equivalencesOf(o.id))
            ids.push_back(e);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        if (ids.empty() && o.type != objtype::User)
            return std::nullopt;
        return ids;
    }
    return std::nullopt;
}

std::vector<BinderyProperty> Bindery::properties(const ServerObject& o) const
{
    std::vector<BinderyProperty> out;
    for (const QString& name : { kGroupMembers, kGroupsImIn, kSecurityEquals }) {
        if (const auto ids = derivedSet(o, name))
            out.push_back({ name, bindery::PropertySet, 0x31, !ids->empty() });
    }
    Statement st(m_db,
        "SELECT name, flags, security, length(value) FROM bindery_properties"
        " WHERE object_id = ?");
    st.bind(1, idArg(o.id));
    while (st.step())
        out.push_back({ st.text(0), static_cast<uint8_t>(st.integer(1)),
            static_cast<uint8_t>(st.integer(2)), st.integer(3) > 0 });
    std::sort(out.begin(), out.end(),
        [](const BinderyProperty& a, const BinderyProperty& b) { return a.name < b.name; });
    return out;
}

bool Bindery::hasProperties(const ServerObject& o) const
{
    return !properties(o).empty();
}

QByteArray Bindery::segmentOfIds(const std::vector<uint32_t>& ids, int segment)
{
    QByteArray data(bindery::kSegmentSize, '\0');
    const size_t first = static_cast<size_t>(segment - 1) * bindery::kIdsPerSegment;
    for (size_t k = 0; k < bindery::kIdsPerSegment && first + k < ids.size(); ++k)
        qToBigEndian<uint32_t>(ids[first + k], data.data() + 4 * k);
    return data;
}

uint32_t Bindery::readSegment(const ServerObject& o, const QString& property, uint8_t segment,
    QByteArray& data, bool& more, uint8_t& flags) const
{
    if (segment == 0)
        return bindery::NoSuchSegment;
    std::optional<std::vector<uint32_t>> ids = derivedSet(o, property);
    QByteArray value;
    if (ids) {
        flags = bindery::PropertySet;
    } else {
        Statement st(
            m_db, "SELECT flags, value FROM bindery_properties WHERE object_id = ? AND name = ?");
        st.bindAll({ idArg(o.id), property });
        if (!st.step())
            return bindery::NoSuchProperty;
        flags = static_cast<uint8_t>(st.integer(0));
        value = st.blob(1);
        if (flags & bindery::PropertySet)
            ids = decodeIds(value);
    }
    if (ids) {
        const size_t count = ids->size();
        const size_t first = static_cast<size_t>(segment - 1) * bindery::kIdsPerSegment;
        // An empty set still has its first segment, all zeros.
        if (first >= count && segment > 1)
            return bindery::NoSuchSegment;
        data = segmentOfIds(*ids, segment);
        more = first + bindery::kIdsPerSegment < count;
        return cc::Success;
    }
    const qsizetype offset = qsizetype(segment - 1) * bindery::kSegmentSize;
    if (offset >= value.size() && segment > 1)
        return bindery::NoSuchSegment;
    data = value.mid(offset, bindery::kSegmentSize);
    data.append(QByteArray(bindery::kSegmentSize - data.size(), '\0'));
    more = offset + bindery::kSegmentSize < value.size();
    return cc::Success;
}

void Bindery::refuseDerived(const QString& property)
{
    for (const QString& name : { kGroupsImIn, kGroupMembers, kSecurityEquals })
        if (same(property, name))
            throw std::logic_error("memberships and equivalences are kept by the object store");
}

void Bindery::setItemProperty(uint32_t id, const QString& property, const QByteArray& value)
{
    refuseDerived(property);
    m_db.run("INSERT INTO bindery_properties(object_id, name, flags, security, value)"
             " VALUES(?, ?, 0, 49, ?) ON CONFLICT(object_id, name)"
             " DO UPDATE SET flags = 0, value = excluded.value",
        { idArg(id), property.toUpper(), value });
}

void Bindery::setTextProperty(uint32_t id, const QString& property, const QString& text)
{
    setItemProperty(id, property, text.toLatin1() + QByteArray(1, '\0'));
}

void Bindery::setSetProperty(uint32_t id, const QString& property, const std::vector<uint32_t>& ids)
{
    refuseDerived(property);
    QByteArray blob(static_cast<qsizetype>(ids.size() * 4), '\0');
    for (size_t k = 0; k < ids.size(); ++k)
        qToBigEndian<uint32_t>(ids[k], blob.data() + 4 * k);
    m_db.run("INSERT INTO bindery_properties(object_id, name, flags, security, value)"
             " VALUES(?, ?, 2, 49, ?) ON CONFLICT(object_id, name)"
             " DO UPDATE SET flags = 2, value = excluded.value",
        { idArg(id), property.toUpper(), blob });
}

} // namespace nwserver
