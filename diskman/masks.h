#pragma once

#include <QString>
#include <QStringList>

// Mask lists and the wildcard matcher of the disk manager, and the DOS-style wildcard rename.
// Plain text routines: no server is asked.

// The maximal runs of characters that are not in separators. Runs of separators count as one;
// separators at either end give no empty words.
QStringList SplitWords(const QString& text, const QString& separators);

// "*.EXE; *.COM," into its trimmed masks. An empty (or blank) text is "*.*". The list ends at
// the first word that is blank, so "A, ,B" keeps only "A".
QStringList ParseMaskList(const QString& text);

// Case-insensitive (ASCII) match of name against one mask. An empty mask, "*" and "*.*" match
// every name; otherwise an empty name matches nothing. "?" matches one character, or the end of
// the name. "*" consumes at least one character and then jumps to the first following occurrence
// of the mask's next character, without backtracking: "*.TXT" does not match "A.B.TXT".
bool MatchMask(const QString& name, const QString& mask);

// True when name matches at least one of masks (none: false).
bool MatchesAny(const QStringList& masks, const QString& name);

// ParseMaskList(maskList), then MatchesAny.
bool MatchMaskList(const QString& name, const QString& maskList);

// The new name of a DOS wildcard rename: "?" keeps the name's character, any other pattern
// character replaces it, "*" keeps the name up to the pattern's next character. An empty
// pattern, "*" and "*.*" keep the name. FILE.TXT with *.BAK gives FILE.BAK.
QString ApplyRenamePattern(const QString& name, const QString& pattern);
