#include "platform/nwserver/fsnames.h"

#include <algorithm>

namespace nwserver::fsnames {

namespace {
bool forbiddenChar(QChar c)
{
    return c.unicode() < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?'
        || c == u'"' || c == u'<' || c == u'>' || c == u'|';
}

// Characters an 8.3 name may hold besides letters and digits.
bool dosChar(QChar c)
{
    static const QString extra = QStringLiteral("!#$%&'()-@^_`{}~");
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')
        || extra.contains(c);
}

QString dosPart(const QString& text, int max)
{
    QString out;
    for (QChar c : text) {
        if (out.size() == max)
            break;
        if (dosChar(c))
            out += c.toUpper();
        else if (c != u' ' && c != u'.')
            out += u'_';
    }
    return out;
}

// Two-pointer match with one backtrack point: linear in practice and never exponential, since
// patterns come from stations.
bool matchFrom(const QString& n, const QString& p)
{
    qsizetype i = 0, j = 0, star = -1, mark = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == u'?' || p[j].toUpper() == n[i].toUpper())) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == u'*') {
            star = j++;
            mark = i;
        } else if (star >= 0) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    // At the end of the name, "?", "*" and one "." of the pattern may stand for nothing, so
    // that "*.*" matches "README" and "READ????" matches "READ".
    const QString rest = p.mid(j);
    return rest.count(u'.') <= 1 && std::all_of(rest.begin(), rest.end(), [](QChar r) {
        return r == u'?' || r == u'*' || r == u'.';
    });
}
} // namespace

bool isForbidden(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return true;
    for (QChar c : name)
        if (forbiddenChar(c))
            return true;
    return false;
}

bool isDosName(const QString& name)
{
    if (isForbidden(name))
        return false;
    const qsizetype dot = name.indexOf(u'.');
    const QString base = dot < 0 ? name : name.left(dot);
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1);
    if (base.isEmpty() || base.size() > 8 || ext.size() > 3 || (dot >= 0 && ext.isEmpty()))
        return false;
    for (QChar c : base + ext)
        if (!dosChar(c))
            return false;
    return true;
}

bool isLongName(const QString& name)
{
    return !isForbidden(name) && name.size() <= 255 && !name.endsWith(u' ') && !name.endsWith(u'.');
}

QString makeDosName(const QString& longName, const std::function<bool(const QString&)>& taken,
    const std::function<int(const QString&, int, const QString&)>& highest)
{
    if (isDosName(longName) && !taken(longName.toUpper()))
        return longName.toUpper();
    const qsizetype dot = longName.lastIndexOf(u'.');
    const QString base = dosPart(dot > 0 ? longName.left(dot) : longName, 8);
    const QString ext = dot > 0 ? dosPart(longName.mid(dot + 1), 3) : QString();
    const QString stem = base.isEmpty() ? QStringLiteral("_") : base;
    // The first free number of the shortest tail, found by asking for each number while that
    // is cheap; past one digit, from the highest number in use, so that a folder of many
    // similar long names costs a few lookups per new name instead of one per name before it.
    int first = 1;
    for (int digits = 1; digits <= 7; ++digits) {
        const QString prefix = stem.left(7 - digits) + u'~';
        const int last = first * 10 - 1;
        int n = first;
        if (digits > 1)
            n = std::max(n, highest(prefix, digits, ext) + 1);
        for (; n <= last; ++n) {
            QString candidate = prefix + QString::number(n);
            if (!ext.isEmpty())
                candidate += u'.' + ext;
            if (!taken(candidate))
                return candidate;
        }
        first *= 10;
    }
    return {};
}

bool matches(const QString& name, const QString& pattern)
{
    if (pattern.isEmpty() || pattern == u"*" || pattern == u"*.*")
        return true;
    return matchFrom(name, pattern);
}

bool hasWildcards(const QString& pattern)
{
    return pattern.contains(u'*') || pattern.contains(u'?');
}

} // namespace nwserver::fsnames
