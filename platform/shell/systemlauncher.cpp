#include "platform/shell/systemlauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

namespace shell {
namespace {

const QString kRemoteConsole = QStringLiteral("orvo-rconsole");

// The program's name without folder and ".EXE", upper case: how Windows names match.
QString windowsName(const QString& program)
{
    const qsizetype slash = std::max(program.lastIndexOf(u'\\'), program.lastIndexOf(u'/'));
    QString name = program.mid(slash + 1).toUpper();
    if (name.endsWith(QStringLiteral(".EXE")))
        name.chop(4);
    return name;
}

bool isNetworkPath(const QString& path)
{
    return path.startsWith(QStringLiteral("\\\\"));
}

} // namespace

SystemLauncher::SystemLauncher()
    : m_environment(QProcessEnvironment::systemEnvironment())
{
    if (QCoreApplication::instance())
        m_programFolder = QCoreApplication::applicationDirPath();
    else
        m_programFolder
            = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

QString SystemLauncher::findProgram(const QString& name) const
{
    if (name.contains(u'/')) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    const QStringList path = m_environment.value(QStringLiteral("PATH")).split(u':');
    return QStandardPaths::findExecutable(name, path);
}

LaunchPlan SystemLauncher::plan(const QString& commandLine) const
{
    LaunchPlan plan;
    QStringList args = splitCommandLine(commandLine);
    if (args.isEmpty()) {
        plan.error = QStringLiteral("No program was given to start.");
        return plan;
    }
    const QString given = args.takeFirst();
    const QString name = windowsName(given);
    bool resolveArguments = true;
    if (name == QLatin1String("RCONSOLE")) {
        const QString program = QDir(m_programFolder).filePath(kRemoteConsole);
        plan.program = findProgram(program);
        if (plan.program.isEmpty()) {
            plan.error
                = QStringLiteral("The remote console program \"%1\" was not found.").arg(program);
            return plan;
        }
        resolveArguments = false; // the server name, not a path
    } else if (name == QLatin1String("NOTEPAD") || name == QLatin1String("EXPLORER")) {
        QStringList command;
        const QString visual = m_environment.value(QStringLiteral("VISUAL"));
        if (name == QLatin1String("NOTEPAD") && !visual.trimmed().isEmpty())
            command = QProcess::splitCommand(visual);
        else
            command = { QStringLiteral("xdg-open") };
        if (name == QLatin1String("EXPLORER") && args.isEmpty())
            args.append(QDir::homePath());
        plan.program = findProgram(command.first());
        if (plan.program.isEmpty()) {
            plan.error = QStringLiteral("No program was found to open files on this desktop "
                                        "(\"%1\" is missing).")
                             .arg(command.first());
            return plan;
        }
        args = command.mid(1) + args;
    } else if (given.contains(u'\\') || given.contains(u':')) {
        plan.error = QStringLiteral("The program \"%1\" cannot be run on this system.").arg(given);
        return plan;
    } else {
        plan.program = findProgram(given);
        if (plan.program.isEmpty()) {
            plan.error = QStringLiteral("The program \"%1\" was not found.").arg(given);
            return plan;
        }
    }
    for (QString& arg : args) {
        if (!resolveArguments || !isNetworkPath(arg))
            continue;
        const std::optional<QString> local = m_resolver ? m_resolver(arg) : std::nullopt;
        if (!local) {
            plan.error = QStringLiteral("The network path \"%1\" cannot be opened by a local "
                                        "program.")
                             .arg(arg);
            return plan;
        }
        arg = *local;
    }
    plan.arguments = args;
    return plan;
}

LaunchResult SystemLauncher::start(const QString& commandLine, ShowMode)
{
    const LaunchPlan planned = plan(commandLine);
    if (!planned.error.isEmpty())
        return LaunchResult::failure(planned.error);
    QProcess process;
    process.setProgram(planned.program);
    process.setArguments(planned.arguments);
    process.setProcessEnvironment(m_environment);
    if (!process.startDetached()) {
        return LaunchResult::failure(
            QStringLiteral("The program \"%1\" could not be started.").arg(planned.program));
    }
    return LaunchResult::success();
}

} // namespace shell
