#include "platform/shell/processlauncher.h"

#include "platform/shell/systemlauncher.h"

#include <atomic>

namespace shell {
namespace {

std::atomic<ProcessLauncher*> g_current { nullptr };

} // namespace

ProcessLauncher& ProcessLauncher::instance()
{
    if (ProcessLauncher* current = g_current.load())
        return *current;
    static SystemLauncher system;
    return system;
}

void ProcessLauncher::setInstance(ProcessLauncher* launcher)
{
    g_current.store(launcher);
}

LaunchResult startProgram(const QString& commandLine, ShowMode mode)
{
    return ProcessLauncher::instance().start(commandLine, mode);
}

QStringList splitCommandLine(const QString& commandLine)
{
    QStringList args;
    QString current;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine[i];
        if (c == u'\\') {
            qsizetype n = 0;
            while (i + n < commandLine.size() && commandLine[i + n] == u'\\')
                ++n;
            inArg = true;
            if (i + n < commandLine.size() && commandLine[i + n] == u'"') {
                current += QString(n / 2, u'\\');
                if (n % 2)
                    current += u'"';
                else
                    quoted = !quoted;
                i += n;
            } else {
                current += QString(n, u'\\');
                i += n - 1;
            }
        } else if (c == u'"') {
            inArg = true;
            quoted = !quoted;
        } else if (c.isSpace() && !quoted) {
            if (inArg)
                args.append(current);
            current.clear();
            inArg = false;
        } else {
            inArg = true;
            current += c;
        }
    }
    if (inArg)
        args.append(current);
    return args;
}

} // namespace shell
