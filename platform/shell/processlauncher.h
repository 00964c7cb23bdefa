#pragma once

#include <QString>
#include <QStringList>

namespace shell {

// The window state a Windows program was asked to start in. Linux window managers decide
// this themselves, so the system launcher does not apply it; it is kept for the record.
enum class ShowMode { Normal, Minimized, Maximized, Hidden };

struct LaunchResult {
    bool ok = false;
    QString error; // the reason, for the user, when not ok

    static LaunchResult success() { return { true, {} }; }
    static LaunchResult failure(const QString& error) { return { false, error }; }
};

// Starts programs by a Windows command line (program path, blank, arguments; double quotes
// around parts with blanks), without waiting for them. Interface thread.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual LaunchResult start(const QString& commandLine, ShowMode mode) = 0;

    // The current launcher: a SystemLauncher unless one was set.
    static ProcessLauncher& instance();
    // Makes launcher current (not owned); nullptr goes back to the system launcher.
    static void setInstance(ProcessLauncher* launcher);
};

// ProcessLauncher::instance().start(commandLine, mode).
LaunchResult startProgram(const QString& commandLine, ShowMode mode = ShowMode::Normal);

// Splits a command line the way Windows programs split theirs: blanks separate arguments,
// double quotes group, backslashes are literal except before a double quote (2n backslashes
// and a quote give n backslashes and toggle quoting, 2n+1 give n and a literal quote).
QStringList splitCommandLine(const QString& commandLine);

} // namespace shell
