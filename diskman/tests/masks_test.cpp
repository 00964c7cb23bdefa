#include "diskman/masks.h"
#include "diskman/pathforms.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char* mask;
    const char* name;
    bool match;
};

TEST(MatchMask, FollowsTheConsoleMatcher)
{
    const MatchCase cases[] = {
        { "*.EXE", "A.EXE", true },
        { "*.EXE", ".EXE", false }, // "*" takes at least one character
        { "A*B", "AB", false },
        { "*.TXT", "A.B.TXT", false }, // no backtracking to a later "."
        { "READ*.", "README.", true },
        { "ABC?", "ABC", true }, // "?" also matches the end of the name
        { "$T*.", "$TMP.", true },
        { "*.exe", "a.EXE", true },
        { "*.EXE", "a.exe", true },
        { "", "ANY.TXT", true },
        { "*", "ANY.TXT", true },
        { "*.*", "NOEXT", true },
        { "*.*", "", true },
        { "A*", "", false }, // only the match-all masks meet an empty name
        { "AB", "ABC", false }, // the mask ends before the name
        { "ABC", "AB", false },
        { "A?C", "ABC", true },
        { "A?C", "AC", false },
        { "A*", "AXYZ", true }, // "*" at the end takes the rest
        { "A*", "A", true },
        { "*X", "ABX", true },
        { "*X", "ABXY", false },
        { "A*?", "AB", false }, // the character after "*" must be found
        { "A**", "AB", false },
        { "*.B*", "X.BAK", true },
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(MatchMask(QString::fromLatin1(c.name), QString::fromLatin1(c.mask)), c.match)
            << c.mask << " vs " << c.name;
}

TEST(SplitWords, RunsOfSeparatorsCountAsOne)
{
    const struct {
        const char* text;
        QStringList words;
    } cases[] = {
        { "a,b;c", { "a", "b", "c" } },
        { ",,a;;;b,", { "a", "b" } },
        { "", {} },
        { ";,;", {} },
        { " a , b ", { " a ", " b " } },
        { "abc", { "abc" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitWords(QString::fromLatin1(c.text), QStringLiteral(",;")), c.words) << c.text;
}

TEST(ParseMaskList, TrimsMasksAndStopsAtABlankWord)
{
    const struct {
        const char* text;
        QStringList masks;
    } cases[] = {
        { "*.EXE ; *.COM,", { "*.EXE", "*.COM" } },
        { "", { "*.*" } },
        { "   ", { "*.*" } },
        { "*.BAK, *.{*, *.~*", { "*.BAK", "*.{*", "*.~*" } },
        { "*.A, ,*.B", { "*.A" } }, // a word of blanks ends the list
        { "*.A;  ;*.B;*.C", { "*.A" } },
        { ",;", {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseMaskList(QString::fromLatin1(c.text)), c.masks) << c.text;
}

TEST(MatchMaskList, MatchesWhenAnyMaskDoes)
{
    EXPECT_TRUE(MatchMaskList(QStringLiteral("FILE.BAK"), QStringLiteral("*.BAK, *.{*, *.~*")));
    EXPECT_TRUE(MatchMaskList(QStringLiteral("FILE.~DO"), QStringLiteral("*.BAK, *.{*, *.~*")));
    EXPECT_FALSE(MatchMaskList(QStringLiteral("FILE.DOC"), QStringLiteral("*.BAK, *.{*, *.~*")));
    EXPECT_TRUE(MatchMaskList(QStringLiteral("FILE.DOC"), QString())); // "*.*"
    EXPECT_FALSE(MatchesAny({}, QStringLiteral("FILE.DOC")));
}

TEST(ApplyRenamePattern, RenamesLikeDos)
{
    const struct {
        const char* name;
        const char* pattern;
        const char* result;
    } cases[] = {
        { "FILE.TXT", "*.BAK", "FILE.BAK" },
        { "REPORT.DOC", "??????.OLD", "REPORT.OLD" },
        { "A.TXT", "NEW.TXT", "NEW.TXT" },
        { "FILE.TXT", "", "FILE.TXT" },
        { "FILE.TXT", "*", "FILE.TXT" },
        { "FILE.TXT", "*.*", "FILE.TXT" },
        { "NOEXT", "*.BAK", "NOEXT.BAK" }, // the name ends at "*": the pattern's rest follows
        { "FILE.TXT", "*Q", "FILE.TXTQ" }, // no "Q" in the name: the whole name, then "Q"
        { "FILE.TXT", "*X", "FILE.TX" }, // up to the first "X", then the pattern ends
        { "FILE.TXT", "X*", "XILE.TXT" },
        { "FILE.TXT", "?", "F" },
        { "AB", "???X", "AB" }, // the name ends at a "?": no literal run follows
        { "AB", "??X?Y", "ABX" },
        { "FILE.TXT", "*.?A*", "FILE.TAT" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyRenamePattern(QString::fromLatin1(c.name), QString::fromLatin1(c.pattern)),
            QString::fromLatin1(c.result))
            << c.name << " with " << c.pattern;
}

TEST(JoinPath, JoinsWithOneBackslash)
{
    const struct {
        const char* directory;
        const char* name;
        const char* path;
    } cases[] = {
        { "SYS:", "\\PUBLIC", "SYS:PUBLIC" },
        { "SYS:PUBLIC", "UTILS", "SYS:PUBLIC\\UTILS" },
        { "", "NAME", "NAME" },
        { "", "\\NAME", "\\NAME" },
        { "SYS:PUBLIC\\", "UTILS", "SYS:PUBLIC\\UTILS" },
        { "SYS:PUBLIC\\", "\\UTILS", "SYS:PUBLIC\\UTILS" },
        { "FS1/", "SYS:", "FS1/SYS:" },
        { "SYS:PUBLIC", "\\UTILS", "SYS:PUBLIC\\UTILS" },
        { "SYS:PUBLIC", "", "SYS:PUBLIC" },
        { "SYS", "PUBLIC", "SYS\\PUBLIC" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            JoinPath(QString::fromLatin1(c.directory), QString::fromLatin1(c.name)).toStdString(),
            c.path)
            << c.directory << " + " << c.name;
}

TEST(VolumePrefix, IsTheTextUpToTheFirstColon)
{
    EXPECT_EQ(VolumePrefix(QStringLiteral("SYS:PUBLIC\\A:B")), QStringLiteral("SYS:"));
    EXPECT_EQ(VolumePrefix(QStringLiteral("FS1/VOL1:USERS")), QStringLiteral("FS1/VOL1:"));
    EXPECT_EQ(VolumePrefix(QStringLiteral("PUBLIC")), QString());
    EXPECT_EQ(VolumePrefix(QString()), QString());
}

} // namespace
