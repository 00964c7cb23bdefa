#include "diskman/masks.h"

namespace {

// Past the end a text reads as the character 0, as the matchers expect.
QChar at(const QString& s, qsizetype i)
{
    return i < s.size() ? s[i] : QChar(0);
}

QString upperAscii(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

bool matchesAll(const QString& mask)
{
    return mask.isEmpty() || mask == QLatin1String("*") || mask == QLatin1String("*.*");
}

// The pattern from index j up to its end or its next wildcard.
QString literalRun(const QString& pattern, qsizetype j)
{
    qsizetype end = j;
    while (end < pattern.size() && pattern[end] != u'*' && pattern[end] != u'?')
        ++end;
    return pattern.mid(j, end - j);
}

} // namespace

QStringList SplitWords(const QString& text, const QString& separators)
{
    QStringList words;
    QString word;
    for (QChar c : text) {
        if (separators.contains(c)) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

QStringList ParseMaskList(const QString& text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        t = QStringLiteral("*.*");
    QStringList masks;
    for (const QString& word : SplitWords(t, QStringLiteral(",;"))) {
        const QString mask = word.trimmed();
        if (mask.isEmpty())
            break;
        masks << mask;
    }
    return masks;
}

bool MatchMask(const QString& name, const QString& mask)
{
    if (matchesAll(mask))
        return true;
    if (name.isEmpty())
        return false;
    const QString n = upperAscii(name);
    const QString m = upperAscii(mask);
    qsizetype i = 0;
    qsizetype j = 0;
    for (;;) {
        const QChar c = at(m, j++);
        const QChar a = at(n, i++);
        if (c != u'*') {
            if (a.isNull())
                return c.isNull() || c == u'*' || c == u'?';
            if (c == u'?' || c == a)
                continue;
            return false;
        }
        if (a.isNull())
            return true;
        const QChar d = at(m, j);
        while (at(n, i) != d && !at(n, i).isNull())
            ++i;
        if (d.isNull())
            return true;
        if (at(n, i).isNull())
            return false;
        ++j;
        ++i;
    }
}

bool MatchesAny(const QStringList& masks, const QString& name)
{
    for (const QString& mask : masks)
        if (MatchMask(name, mask))
            return true;
    return false;
}

bool MatchMaskList(const QString& name, const QString& maskList)
{
    return MatchesAny(ParseMaskList(maskList), name);
}

QString ApplyRenamePattern(const QString& name, const QString& pattern)
{
    if (matchesAll(pattern))
        return name;
    QString result;
    qsizetype i = 0;
    qsizetype j = 0;
    QChar n(u'.'); // anything but 0 until the name is used up
    for (;;) {
        const QChar c = at(pattern, j++);
        if (!n.isNull())
            n = at(name, i++);
        if (c == u'*') {
            if (n.isNull())
                break;
            const QChar d = at(pattern, j);
            result += n;
            while (!at(name, i).isNull() && at(name, i) != d)
                result += name[i++];
            if (d.isNull())
                break;
            result += d;
            ++j;
            if (at(name, i).isNull()) {
                result += literalRun(pattern, j);
                break;
            }
            ++i;
            continue;
        }
        if (c.isNull())
            break;
        if (n.isNull()) {
            result += literalRun(pattern, j - 1);
            break;
        }
        result += c == u'?' ? n : c;
    }
    return result;
}
