#include "platform/registry/regformat.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace registry {
namespace {

const QString kVersion4 = QStringLiteral("REGEDIT4");
const QString kVersion5 = QStringLiteral("Windows Registry Editor Version 5.00");

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return utf16(bytes.mid(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

// Strings inside hex(1)/hex(2) data: UTF-16LE in version 5 files, the file's own 8-bit text in
// REGEDIT4 files; a terminating zero is not part of the text.
QString decodeHexString(QByteArray data, bool unicode)
{
    if (unicode) {
        if (data.size() % 2)
            data.chop(1);
        QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(data.constData()), data.size() / 2);
        while (text.endsWith(QChar(0)))
            text.chop(1);
        return text;
    }
    while (data.endsWith('\0'))
        data.chop(1);
    return decodeText(data);
}

bool fail(QString* error, int line, const QString& what)
{
    if (error)
        *error = QStringLiteral("line %1: %2").arg(line).arg(what);
    return false;
}

// Reads a quoted string starting at pos (on the opening quote); pos ends after the closing one.
std::optional<QString> readQuoted(const QString& line, qsizetype& pos)
{
    QString out;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"') {
            pos = i + 1;
            return out;
        }
        if (c == u'\\' && i + 1 < line.size() && (line[i + 1] == u'\\' || line[i + 1] == u'"'))
            ++i;
        out.append(line[i]);
    }
    return std::nullopt;
}

std::optional<QByteArray> readHexBytes(QStringView text)
{
    QByteArray bytes;
    const QList<QStringView> items = text.split(u',');
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QStringView item = items[i].trimmed();
        if (item.isEmpty() && i == items.size() - 1)
            break; // "hex:" without data, or a comma before the line end
        bool ok = false;
        const uint b = item.toUInt(&ok, 16);
        if (!ok || item.size() > 2)
            return std::nullopt;
        bytes.append(char(b));
    }
    return bytes;
}

std::optional<RegValueChange> readValueData(QStringView data, bool unicode)
{
    RegValueChange change;
    RegValue& v = change.value;
    if (data == u"-") {
        change.remove = true;
        return change;
    }
    if (data.startsWith(u'"')) {
        const QString line = data.toString();
        qsizetype pos = 0;
        std::optional<QString> text = readQuoted(line, pos);
        if (!text || !QStringView(line).mid(pos).trimmed().isEmpty())
            return std::nullopt;
        v.type = RegSz;
        v.text = *text;
        return change;
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        const QStringView digits = data.mid(6).trimmed();
        bool ok = false;
        v.dword = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        v.type = RegDword;
        return change;
    }
    if (!data.startsWith(u"hex", Qt::CaseInsensitive))
        return std::nullopt;
    QStringView rest = data.mid(3);
    v.type = RegBinary;
    if (rest.startsWith(u'(')) {
        const qsizetype close = rest.indexOf(u')');
        bool ok = false;
        v.type = close > 1 ? rest.mid(1, close - 1).toUInt(&ok, 16) : 0;
        if (!ok)
            return std::nullopt;
        rest = rest.mid(close + 1);
    }
    if (!rest.startsWith(u':'))
        return std::nullopt;
    std::optional<QByteArray> bytes = readHexBytes(rest.mid(1));
    if (!bytes)
        return std::nullopt;
    if (v.type == RegSz || v.type == RegExpandSz) {
        v.text = decodeHexString(*bytes, unicode);
    } else if (v.type == RegDword) {
        if (bytes->size() != 4)
            return std::nullopt;
        const auto* b = reinterpret_cast<const uchar*>(bytes->constData());
        v.dword = b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24);
    } else {
        v.data = *bytes;
    }
    return change;
}

QStringList logicalLines(const QString& text, QList<int>& numbers)
{
    const QStringList raw = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    QStringList lines;
    for (int i = 0; i < raw.size(); ++i) {
        QString line = raw[i].trimmed();
        const int first = i + 1;
        while (line.endsWith(u'\\') && !line.startsWith(u'[') && i + 1 < raw.size()) {
            line.chop(1);
            line += raw[++i].trimmed();
        }
        lines.append(line);
        numbers.append(first);
    }
    return lines;
}

QString escaped(const QString& text)
{
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'"', QStringLiteral("\\\""));
    return out;
}

QByteArray hexList(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            out += ',';
        out += QByteArray::number(uchar(bytes[i]), 16).rightJustified(2, '0');
    }
    return out;
}

bool hasControl(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

QByteArray valueLine(const RegValue& v)
{
    QByteArray line = v.name.isEmpty() ? QByteArray("@") : '"' + escaped(v.name).toUtf8() + '"';
    line += '=';
    switch (v.type) {
    case RegSz:
    case RegExpandSz:
        if (v.type == RegSz && !hasControl(v.text))
            line += '"' + escaped(v.text).toUtf8() + '"';
        else
            line
                += "hex(" + QByteArray::number(v.type, 16) + "):" + hexList(v.text.toUtf8() + '\0');
        break;
    case RegDword:
        line += "dword:" + QByteArray::number(v.dword, 16).rightJustified(8, '0');
        break;
    case RegBinary:
        line += "hex:" + hexList(v.data);
        break;
    default:
        line += "hex(" + QByteArray::number(v.type, 16) + "):" + hexList(v.data);
        break;
    }
    return line + "\r\n";
}

void writeNode(QByteArray& out, const QString& path, const RegNode& node, bool isRoot)
{
    if (!isRoot || !node.values().isEmpty()) {
        out += '[' + path.toUtf8() + "]\r\n";
        for (const RegValue& v : node.values())
            out += valueLine(v);
        out += "\r\n";
    }
    for (const RegNode* child : node.children())
        writeNode(out, path + u'\\' + child->name(), *child, false);
}

} // namespace

std::optional<RegDocument> parseRegFile(const QByteArray& bytes, QString* error)
{
    QList<int> numbers;
    const QStringList lines = logicalLines(decodeText(bytes), numbers);
    RegDocument doc;
    bool headerSeen = false;
    bool unicode = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const int number = numbers[i];
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!headerSeen) {
            if (line != kVersion4 && line != kVersion5) {
                fail(error, number, QStringLiteral("not a registry export file"));
                return std::nullopt;
            }
            headerSeen = true;
            unicode = line == kVersion5;
            continue;
        }
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                fail(error, number, QStringLiteral("unterminated key name"));
                return std::nullopt;
            }
            RegSection section;
            QString full = line.mid(1, line.size() - 2);
            if (full.startsWith(u'-')) {
                section.removeKey = true;
                full.remove(0, 1);
            }
            QStringList parts = full.split(u'\\');
            section.hiveName = parts.takeFirst();
            if (section.hiveName.isEmpty() || parts.contains(QString())) {
                fail(error, number, QStringLiteral("invalid key name"));
                return std::nullopt;
            }
            section.path = parts;
            doc.sections.append(section);
            continue;
        }
        if (doc.sections.isEmpty()) {
            fail(error, number, QStringLiteral("value outside of a key"));
            return std::nullopt;
        }
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else if (line.startsWith(u'"')) {
            std::optional<QString> quoted = readQuoted(line, pos);
            if (!quoted) {
                fail(error, number, QStringLiteral("unterminated value name"));
                return std::nullopt;
            }
            name = *quoted;
        } else {
            fail(error, number, QStringLiteral("unexpected text"));
            return std::nullopt;
        }
        QStringView rest = QStringView(line).mid(pos).trimmed();
        if (!rest.startsWith(u'=')) {
            fail(error, number, QStringLiteral("missing '='"));
            return std::nullopt;
        }
        std::optional<RegValueChange> change = readValueData(rest.mid(1).trimmed(), unicode);
        if (!change) {
            fail(error, number, QStringLiteral("invalid value data"));
            return std::nullopt;
        }
        change->value.name = name;
        doc.sections.last().changes.append(*change);
    }
    if (!headerSeen) {
        fail(error, 1, QStringLiteral("not a registry export file"));
        return std::nullopt;
    }
    return doc;
}

QByteArray writeRegFile(const QString& hiveName, const RegNode& root)
{
    QByteArray out = kVersion4.toUtf8() + "\r\n\r\n";
    writeNode(out, hiveName, root, true);
    return out;
}

} // namespace registry
