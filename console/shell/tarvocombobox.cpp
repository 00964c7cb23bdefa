#include "console/shell/tarvocombobox.h"

#include <QCompleter>

TTarvoComboBox::TTarvoComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // Entries come only from the accepted texts, never from pressing Enter in the field.
    setInsertPolicy(QComboBox::NoInsert);
    completer()->setCaseSensitivity(Qt::CaseInsensitive);
    completer()->setCompletionMode(QCompleter::InlineCompletion);
}

void TTarvoComboBox::AddToHistory()
{
    const QString text = currentText();
    if (m_historyLen <= 0 || text.isEmpty()
        || findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    const QSignalBlocker block(this);
    insertItem(0, text);
    if (count() > m_historyLen)
        removeItem(count() - 1);
    setEditText(text);
}

QStringList TTarvoComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items.append(itemText(i));
    return items;
}
