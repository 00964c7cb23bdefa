#pragma once

#include "platform/shell/processlauncher.h"

#include <QProcessEnvironment>
#include <functional>
#include <optional>

namespace shell {

// What a command line becomes on this system: a program and its arguments, or why it cannot run.
struct LaunchPlan {
    QString program;
    QStringList arguments;
    QString error; // set when the command cannot be started here
};

// Starts programs on Linux, mapping the Windows programs the console names:
// - RCONSOLE.EXE (from any folder, usually a server's \\SERVER\SYS\PUBLIC) starts our own
//   remote console program "orvo-rconsole" in the program folder with the same arguments;
// - Notepad.exe starts the desktop's text editor: $VISUAL when set, else xdg-open;
// - explorer starts xdg-open (the file manager for a folder; the home folder without one);
// - anything else runs as given when it is found as a local program.
// Arguments that are network paths (\\SERVER\...) go through the network path resolver (a
// higher layer that can make a server file reachable locally); without one, or when it cannot,
// the start is refused. Nothing is ever reported as started that was not.
class SystemLauncher : public ProcessLauncher {
public:
    using NetworkPathResolver = std::function<std::optional<QString>(const QString& uncPath)>;

    SystemLauncher();

    // Where orvo-rconsole is looked for; by default the running program's folder.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    void setEnvironment(const QProcessEnvironment& environment) { m_environment = environment; }
    void setNetworkPathResolver(NetworkPathResolver resolver) { m_resolver = std::move(resolver); }

    LaunchPlan plan(const QString& commandLine) const;
    LaunchResult start(const QString& commandLine, ShowMode mode) override;

private:
    QString findProgram(const QString& name) const;

    QString m_programFolder;
    QProcessEnvironment m_environment;
    NetworkPathResolver m_resolver;
};

} // namespace shell
