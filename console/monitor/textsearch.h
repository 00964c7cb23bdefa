#pragma once

#include <QString>

class QPlainTextEdit;

// Searching and replacing in the text of the log and configuration-file pages.
struct TSearchOptions {
    bool backward = false;
    bool caseSensitive = false;
    bool global = false; // the whole text rather than from the caret
    bool wholeWords = false;
    bool prompt = true; // replacing: ask before each occurrence
    bool replaceAll = false;
};

// A window's last search: the text (empty at each open) and the options it ran with.
struct TSearchState {
    QString text;
    TSearchOptions options;
};

// Finds and selects the next occurrence; false when there is none (the caret stays).
bool FindInText(QPlainTextEdit* edit, const QString& text, const TSearchOptions& options);

// Replaces occurrences of text with replacement from the caret (or from the start with the
// global option), asking "Replace this occurrence?" through the dialog service when options
// say so: Yes replaces, No skips, Cancel stops. Without replaceAll it stops after the first
// occurrence. Says "Search string '%s' not found" when nothing was found and the user did not
// stop. Answers the number of replacements.
int ReplaceInText(QPlainTextEdit* edit, const QString& text, const QString& replacement,
    const TSearchOptions& options);

// "Search string '%s' not found" as an information box.
void SayNotFound(const QString& text);
