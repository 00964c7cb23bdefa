#include "platform/nwclient/ndsnames.h"

namespace nwclient::ndsnames {

using namespace nwproto;

namespace {
constexpr uint32_t kTypeless = 0x04;
constexpr uint32_t kCanonicalize = 0x10;

QString valueOf(const QString& component)
{
    const qsizetype eq = component.indexOf(QLatin1Char('='));
    return eq < 0 ? component : component.mid(eq + 1);
}

bool sameValue(const QString& a, const QString& b)
{
    return valueOf(a).compare(valueOf(b), Qt::CaseInsensitive) == 0;
}
} // namespace

QStringList components(const QString& name)
{
    QStringList out;
    QString current;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QLatin1Char('\\') && i + 1 < name.size()) {
            current += c;
            current += name[++i];
        } else if (c == QLatin1Char('.')) {
            out << current;
            current.clear();
        } else {
            current += c;
        }
    }
    out << current;
    return out;
}

QString typeless(const QString& name)
{
    if (isRoot(name))
        return name;
    QStringList parts = components(name);
    for (QString& p : parts)
        p = valueOf(p);
    return parts.join(QLatin1Char('.'));
}

bool isRoot(const QString& name)
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('.')))
        n = n.mid(1);
    return n.isEmpty() || n.compare(QLatin1String("[Root]"), Qt::CaseInsensitive) == 0;
}

NWDSCCODE absolute(const QString& name, uint32_t flags, const QString& nameContext, QString& result)
{
    if (name.isEmpty())
        return ndserr::InvalidObjectName;
    if (isRoot(name)) {
        result = QStringLiteral("[Root]");
        return ndserr::Success;
    }
    if (name.startsWith(QLatin1Char('.')) || !(flags & kCanonicalize) || isRoot(nameContext)) {
        QString n = name.startsWith(QLatin1Char('.')) ? name.mid(1) : name;
        while (n.endsWith(QLatin1Char('.')) && !n.endsWith(QLatin1String("\\.")))
            n.chop(1);
        if (n.isEmpty())
            return ndserr::InvalidObjectName;
        result = n;
        return ndserr::Success;
    }
    QString n = name;
    int up = 0;
    while (n.endsWith(QLatin1Char('.')) && !n.endsWith(QLatin1String("\\."))) {
        n.chop(1);
        ++up;
    }
    QStringList context
        = components(nameContext.startsWith(QLatin1Char('.')) ? nameContext.mid(1) : nameContext);
    if (n.isEmpty() || up > context.size())
        return ndserr::InvalidObjectName;
    context = context.mid(up);
    result = context.isEmpty() ? n : n + QLatin1Char('.') + context.join(QLatin1Char('.'));
    return ndserr::Success;
}

QString abbreviate(const QString& name, uint32_t flags, const QString& nameContext)
{
    if (!(flags & kCanonicalize) || isRoot(nameContext) || isRoot(name))
        return name;
    const QString n = name.startsWith(QLatin1Char('.')) ? name.mid(1) : name;
    const QStringList parts = components(n);
    const QStringList context
        = components(nameContext.startsWith(QLatin1Char('.')) ? nameContext.mid(1) : nameContext);
    const qsizetype keep = parts.size() - context.size();
    bool below = keep > 0;
    for (qsizetype k = 0; below && k < context.size(); ++k)
        below = sameValue(parts[keep + k], context[k]);
    if (!below)
        return QLatin1Char('.') + n;
    return parts.mid(0, keep).join(QLatin1Char('.'));
}

QString output(const QString& name, uint32_t flags)
{
    return (flags & kTypeless) ? typeless(name) : name;
}

} // namespace nwclient::ndsnames
