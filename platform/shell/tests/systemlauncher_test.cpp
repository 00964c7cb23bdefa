#include "platform/shell/recordinglauncher.h"
#include "platform/shell/systemlauncher.h"
#include "testsupport/tempdir.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

using namespace shell;

namespace {

TEST(SplitCommandLine, FollowsWindowsRules)
{
    struct Case {
        const char* line;
        QStringList args;
    } const cases[] = {
        { R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)", { R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE)", "FS1" } },
        { R"("C:\Program Files\Edit\edit.exe"  "\\FS1\SYS\a b.txt")",
            { R"(C:\Program Files\Edit\edit.exe)", R"(\\FS1\SYS\a b.txt)" } },
        { R"(x a\\\"b c\\"d e" "")", { "x", R"(a\"b)", R"(c\d e)", "" } },
        { "  Notepad.exe\t", { "Notepad.exe" } },
        { "", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

class SystemLauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(m_home.path()).mkpath("bin");
        QDir(m_home.path()).mkpath("app");
        m_env.insert("PATH", m_home.file("bin"));
        m_launcher.setEnvironment(m_env);
        m_launcher.setProgramFolder(m_home.file("app"));
    }
    // A script that writes its arguments, one per line, to a file named like itself + ".out"
    // (complete once it is there).
    QString makeProgram(const QString& relative)
    {
        const QString path = m_home.file(relative);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.out\"\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
        return path;
    }

    testsupport::TempHome m_home;
    QProcessEnvironment m_env;
    SystemLauncher m_launcher;
};

TEST_F(SystemLauncherTest, MapsTheWindowsProgramsTheConsoleNames)
{
    const QString rconsole = makeProgram("app/orvo-rconsole");
    const QString xdgOpen = makeProgram("bin/xdg-open");
    const QString tool = makeProgram("bin/tool");
    struct Case {
        QString line;
        QString program;
        QStringList args;
    } const cases[] = {
        { R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)", rconsole, { "FS1" } },
        { R"(\\FS2\SYS\SYSTEM\rconsole.exe FS2)", rconsole, { "FS2" } },
        { "Notepad.exe /tmp/a.txt", xdgOpen, { "/tmp/a.txt" } },
        { "explorer /tmp", xdgOpen, { "/tmp" } },
        { "EXPLORER.EXE", xdgOpen, { QDir::homePath() } },
        { "tool -x \"a b\"", tool, { "-x", "a b" } },
    };
    for (const Case& c : cases) {
        const LaunchPlan plan = m_launcher.plan(c.line);
        EXPECT_EQ(plan.error, QString()) << c.line.toStdString();
        EXPECT_EQ(plan.program, c.program) << c.line.toStdString();
        EXPECT_EQ(plan.arguments, c.args) << c.line.toStdString();
    }

    m_env.insert("VISUAL", "tool --wait");
    m_launcher.setEnvironment(m_env);
    const LaunchPlan editor = m_launcher.plan("Notepad.exe /tmp/a.txt");
    EXPECT_EQ(editor.program, tool);
    EXPECT_EQ(editor.arguments, QStringList({ "--wait", "/tmp/a.txt" }));
}

TEST_F(SystemLauncherTest, RefusesWhatCannotRunHere)
{
    const QString cases[] = {
        R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)", // no orvo-rconsole beside the program
        "Notepad.exe /tmp/a.txt", // no xdg-open
        "missing-tool",
        R"(C:\WINDOWS\CALC.EXE)",
        "",
    };
    for (const QString& line : cases) {
        const LaunchPlan plan = m_launcher.plan(line);
        EXPECT_FALSE(plan.error.isEmpty()) << line.toStdString();
        const LaunchResult result = m_launcher.start(line, ShowMode::Normal);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, plan.error);
    }
    EXPECT_EQ(m_launcher.plan(R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)").error,
        "The remote console program \"" + m_home.file("app/orvo-rconsole") + "\" was not found.");
}

TEST_F(SystemLauncherTest, NetworkPathsNeedAResolver)
{
    makeProgram("bin/xdg-open");
    const QString line = R"(Notepad.exe \\FS1\SYS\SYSTEM\AUTOEXEC.NCF)";
    EXPECT_EQ(m_launcher.plan(line).error,
        R"(The network path "\\FS1\SYS\SYSTEM\AUTOEXEC.NCF" cannot be opened by a local )"
        "program.");
    m_launcher.setNetworkPathResolver([](const QString& unc) -> std::optional<QString> {
        if (unc.endsWith("AUTOEXEC.NCF"))
            return QString("/cache/AUTOEXEC.NCF");
        return std::nullopt;
    });
    EXPECT_EQ(m_launcher.plan(line).arguments, QStringList({ "/cache/AUTOEXEC.NCF" }));
    EXPECT_FALSE(m_launcher.plan(R"(explorer \\FS1\VOL1\DATA)").error.isEmpty());
}

TEST_F(SystemLauncherTest, StartsDetachedPrograms)
{
    const QString rconsole = makeProgram("app/orvo-rconsole");
    const LaunchResult result
        = m_launcher.start(R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)", ShowMode::Normal);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    QFile out(rconsole + ".out");
    QDeadlineTimer deadline(30000);
    while (!out.exists() && !deadline.hasExpired())
        QThread::msleep(10);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), "FS1\n");
}

TEST(RecordingLauncher, RecordsThroughStartProgram)
{
    RecordingLauncher recorder;
    ProcessLauncher::setInstance(&recorder);
    EXPECT_TRUE(startProgram(R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)").ok);
    recorder.setResult(LaunchResult::failure("no"));
    EXPECT_EQ(startProgram("explorer /tmp", ShowMode::Maximized).error, "no");
    ProcessLauncher::setInstance(nullptr);

    EXPECT_EQ(recorder.commandLines(),
        QStringList({ R"(\\FS1\SYS\PUBLIC\RCONSOLE.EXE FS1)", "explorer /tmp" }));
    EXPECT_EQ(recorder.launches()[1].mode, ShowMode::Maximized);
    EXPECT_NE(&ProcessLauncher::instance(), &recorder);
}

} // namespace
