#include "console/shell/formstorage.h"

#include "console/shell/windowplacement.h"
#include "platform/registry/registry.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QWidget>

namespace {

QString propertyPart(const QString& property)
{
    return property.section(QLatin1Char('.'), -1);
}

QString textOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

// The stored text in the type the control answers; an invalid variant when it does not parse.
QVariant parse(const QString& text, const QVariant& current)
{
    bool ok = false;
    switch (current.typeId()) {
    case QMetaType::Bool:
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        return {};
    case QMetaType::Int: {
        const int v = text.trimmed().toInt(&ok);
        return ok ? QVariant(v) : QVariant();
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double v = text.trimmed().toDouble(&ok);
        return ok ? QVariant(v) : QVariant();
    }
    default:
        return text;
    }
}

// A stored value as text; settings imported from a Windows export may hold numbers as DWORDs.
std::optional<QString> readText(const registry::RegKey& key, const QString& name)
{
    if (auto text = key.readString(name))
        return text;
    if (auto number = key.readInteger(name))
        return QString::number(*number);
    return std::nullopt;
}

std::optional<QStringList> readList(const registry::RegKey& key)
{
    const auto count = readText(key, QStringLiteral("Count"));
    if (!count)
        return std::nullopt;
    bool ok = false;
    const int n = count->trimmed().toInt(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    QStringList items;
    for (int i = 0; i < n; ++i)
        if (auto item = key.readString(QStringLiteral("Item%1").arg(i)))
            items.append(*item);
    return items;
}

void writeList(registry::RegKey& key, const QStringList& items)
{
    key.writeString(QStringLiteral("Count"), QString::number(items.size()));
    for (int i = 0; i < items.size(); ++i)
        key.writeString(QStringLiteral("Item%1").arg(i), items[i]);
}

void setComboItems(QComboBox* combo, const QStringList& items)
{
    const QString text = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    if (combo->isEditable())
        combo->setEditText(text);
    else
        combo->setCurrentIndex(combo->findText(text));
}

} // namespace

TFormStorage::TFormStorage(const TFormStoreDef& def, QWidget* form)
    : m_def(def)
    , m_form(form)
{
    form->installEventFilter(this);
}

TFormStorage::~TFormStorage()
{
    if (m_active && m_shown && !m_savedSinceShow)
        save();
}

void TFormStorage::bind(const QString& property, Getter get, Setter set)
{
    Q_ASSERT_X(m_def.properties.contains(property), "TFormStorage::bind",
        qPrintable(property + QStringLiteral(" is not declared for ") + m_def.section));
    if (!m_def.properties.contains(property))
        return;
    m_bindings.push_back({ property, std::move(get), std::move(set) });
}

void TFormStorage::bind(const QString& property, QAbstractButton* button)
{
    QPointer<QAbstractButton> b(button);
    bind(
        property, [b]() -> QVariant { return b ? QVariant(b->isChecked()) : QVariant(); },
        [b](const QVariant& v) {
            if (b)
                b->setChecked(v.toBool());
        });
}

void TFormStorage::bind(const QString& property, QAction* action)
{
    QPointer<QAction> a(action);
    bind(
        property, [a]() -> QVariant { return a ? QVariant(a->isChecked()) : QVariant(); },
        [a](const QVariant& v) {
            if (a)
                a->setChecked(v.toBool());
        });
}

void TFormStorage::bind(const QString& property, QSpinBox* spin)
{
    QPointer<QSpinBox> s(spin);
    bind(
        property, [s]() -> QVariant { return s ? QVariant(s->value()) : QVariant(); },
        [s](const QVariant& v) {
            if (s)
                s->setValue(v.toInt());
        });
}

void TFormStorage::bind(const QString& property, QLineEdit* edit)
{
    QPointer<QLineEdit> e(edit);
    bind(
        property, [e]() -> QVariant { return e ? QVariant(e->text()) : QVariant(); },
        [e](const QVariant& v) {
            if (e)
                e->setText(v.toString());
        });
}

void TFormStorage::bind(const QString& property, QComboBox* combo)
{
    QPointer<QComboBox> c(combo);
    if (propertyPart(property) == QLatin1String("Items")) {
        bind(
            property,
            [c]() -> QVariant {
                if (!c)
                    return {};
                QStringList items;
                for (int i = 0; i < c->count(); ++i)
                    items.append(c->itemText(i));
                return items;
            },
            [c](const QVariant& v) {
                if (c)
                    setComboItems(c, v.toStringList());
            });
        return;
    }
    bind(
        property, [c]() -> QVariant { return c ? QVariant(c->currentText()) : QVariant(); },
        [c](const QVariant& v) {
            if (!c)
                return;
            if (c->isEditable())
                c->setEditText(v.toString());
            else
                c->setCurrentIndex(c->findText(v.toString()));
        });
}

void TFormStorage::bind(const QString& property, QWidget* widget)
{
    QPointer<QWidget> w(widget);
    const QString part = propertyPart(property);
    Getter get;
    Setter set;
    if (part == QLatin1String("Visible")) {
        // The widget's own choice, not whether it is on screen now (its window may be hidden).
        get = [w]() -> QVariant { return w ? QVariant(!w->isHidden()) : QVariant(); };
        set = [w](const QVariant& v) {
            if (w)
                w->setVisible(v.toBool());
        };
    } else if (part == QLatin1String("Width") || part == QLatin1String("Height")) {
        const bool width = part == QLatin1String("Width");
        get = [w, width]() -> QVariant {
            return w ? QVariant(width ? w->width() : w->height()) : QVariant();
        };
        set = [w, width](const QVariant& v) {
            if (w)
                w->resize(width ? v.toInt() : w->width(), width ? w->height() : v.toInt());
        };
    } else {
        const QByteArray name = part.toLower().toLatin1();
        get = [w, name]() -> QVariant {
            return w ? QVariant(w->property(name).toInt()) : QVariant();
        };
        set = [w, name](const QVariant& v) {
            if (w)
                w->setProperty(name, v.toInt());
        };
    }
    bind(property, std::move(get), std::move(set));
}

QStringList TFormStorage::unboundProperties() const
{
    QStringList unbound = m_def.properties;
    for (const Binding& b : m_bindings)
        unbound.removeAll(b.property);
    return unbound;
}

QVariantList TFormStorage::values() const
{
    QVariantList values;
    for (const Binding& b : m_bindings)
        values.append(b.get());
    return values;
}

void TFormStorage::setValues(const QVariantList& values)
{
    for (size_t i = 0; i < m_bindings.size() && i < size_t(values.size()); ++i)
        if (values[qsizetype(i)].isValid())
            m_bindings[i].set(values[qsizetype(i)]);
}

std::vector<const TFormStorage::Binding*> TFormStorage::inDeclaredOrder() const
{
    std::vector<const Binding*> ordered;
    for (const QString& property : m_def.properties)
        for (const Binding& b : m_bindings)
            if (b.property == property)
                ordered.push_back(&b);
    return ordered;
}

void TFormStorage::readValues()
{
    m_valuesRead = true;
    registry::RegKey section;
    const bool haveSection = section.open(registry::Hive::CurrentUser, m_def.keyPath(), false);
    for (const Binding* binding : inDeclaredOrder()) {
        const Binding& b = *binding;
        const QVariant current = b.get();
        if (!current.isValid())
            continue;
        if (current.typeId() == QMetaType::QStringList) {
            registry::RegKey listKey;
            const QString listPath = m_def.path + QLatin1Char('\\') + m_def.section
                + QLatin1Char('.') + TFormStoreDef::valueName(b.property);
            if (!listKey.open(registry::Hive::CurrentUser, listPath, false))
                continue;
            if (const auto items = readList(listKey))
                b.set(*items);
            continue;
        }
        if (!haveSection)
            continue;
        const auto text = readText(section, TFormStoreDef::valueName(b.property));
        if (!text)
            continue;
        const QVariant value = parse(*text, current);
        if (value.isValid())
            b.set(value);
    }
}

void TFormStorage::restorePlacement()
{
    if (m_def.placement == TFormStoreDef::Placement::None)
        return;
    registry::RegKey section;
    if (!section.open(registry::Hive::CurrentUser, m_def.keyPath(), false))
        return;
    if (const auto placement = TWindowPlacement::read(section))
        placement->applyTo(m_form, m_def.placement == TFormStoreDef::Placement::StateOnly);
}

void TFormStorage::restore()
{
    readValues();
    restorePlacement();
}

void TFormStorage::save()
{
    if (m_shown)
        m_savedSinceShow = true;
    registry::RegKey section;
    // The key exists even for a store with nothing to keep, so its owner is seen in the tree.
    if (!section.open(registry::Hive::CurrentUser, m_def.keyPath(), true))
        return;
    // In the declared order, so the values lie in the registry as a reader expects them.
    for (const Binding* binding : inDeclaredOrder()) {
        const Binding& b = *binding;
        const QVariant value = b.get();
        if (!value.isValid())
            continue;
        if (value.typeId() == QMetaType::QStringList) {
            const QStringList items = value.toStringList();
            if (items.isEmpty())
                continue;
            registry::RegKey listKey;
            const QString listPath = m_def.path + QLatin1Char('\\') + m_def.section
                + QLatin1Char('.') + TFormStoreDef::valueName(b.property);
            if (listKey.open(registry::Hive::CurrentUser, listPath, true))
                writeList(listKey, items);
            continue;
        }
        section.writeString(TFormStoreDef::valueName(b.property), textOf(value));
    }
    if (m_def.placement != TFormStoreDef::Placement::None && m_shown)
        TWindowPlacement::of(m_form).write(section);
}

bool TFormStorage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_form)
        return false;
    if (event->type() == QEvent::Show && !event->spontaneous()) {
        const bool first = !m_shown;
        m_shown = true;
        m_savedSinceShow = false;
        if (first && m_active) {
            if (!m_valuesRead)
                readValues();
            restorePlacement();
        }
    } else if (event->type() == QEvent::Hide && !event->spontaneous() && m_active && m_shown) {
        save();
    }
    return false;
}
