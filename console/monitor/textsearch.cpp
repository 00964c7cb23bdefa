#include "console/monitor/textsearch.h"

#include "platform/shell/dialogservice.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QTextDocument::FindFlags flagsOf(const TSearchOptions& o)
{
    QTextDocument::FindFlags flags;
    if (o.backward)
        flags |= QTextDocument::FindBackward;
    if (o.caseSensitive)
        flags |= QTextDocument::FindCaseSensitively;
    if (o.wholeWords)
        flags |= QTextDocument::FindWholeWords;
    return flags;
}

// Where a search starts: the caret, or an end of the text for a global search.
QTextCursor startOf(QPlainTextEdit* edit, const TSearchOptions& o)
{
    QTextCursor c = edit->textCursor();
    if (o.global)
        c.movePosition(o.backward ? QTextCursor::End : QTextCursor::Start);
    else if (c.hasSelection())
        // Repeating a search must not find the selected occurrence again.
        c.setPosition(o.backward ? c.selectionStart() : c.selectionEnd());
    return c;
}

} // namespace

bool FindInText(QPlainTextEdit* edit, const QString& text, const TSearchOptions& options)
{
    if (text.isEmpty())
        return false;
    const QTextCursor found
        = edit->document()->find(text, startOf(edit, options), flagsOf(options));
    if (found.isNull())
        return false;
    edit->setTextCursor(found);
    edit->ensureCursorVisible();
    return true;
}

int ReplaceInText(QPlainTextEdit* edit, const QString& text, const QString& replacement,
    const TSearchOptions& options)
{
    if (text.isEmpty())
        return 0;
    const QTextDocument::FindFlags flags = flagsOf(options);
    QTextCursor at = startOf(edit, options);
    int replaced = 0;
    bool foundAny = false;
    bool stopped = false;
    for (;;) {
        QTextCursor found = edit->document()->find(text, at, flags);
        if (found.isNull())
            break;
        foundAny = true;
        edit->setTextCursor(found);
        edit->ensureCursorVisible();
        shell::Button answer = shell::Button::Yes;
        if (options.prompt)
            answer = shell::DialogService::instance().confirm(
                QStringLiteral("Replace this occurrence?"),
                shell::Button::Yes | shell::Button::No | shell::Button::Cancel);
        // The caret moves past the occurrence in the search direction, whatever the answer.
        if (answer == shell::Button::Yes) {
            found.insertText(replacement);
            ++replaced;
            if (options.backward)
                found.setPosition(found.position() - static_cast<int>(replacement.size()));
        } else {
            found.setPosition(options.backward ? found.selectionStart() : found.selectionEnd());
        }
        edit->setTextCursor(found);
        at = found;
        if (answer == shell::Button::Cancel) {
            stopped = true;
            break;
        }
        if (!options.replaceAll)
            break;
    }
    if (!foundAny && !stopped)
        SayNotFound(text);
    return replaced;
}

void SayNotFound(const QString& text)
{
    shell::DialogService::instance().information(
        QStringLiteral("Search string '%1' not found").arg(text));
}
