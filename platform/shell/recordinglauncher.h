#pragma once

#include "platform/shell/processlauncher.h"

#include <QList>

namespace shell {

// A launcher for tests: records every command line and answers a set result (success unless
// setResult says otherwise); starts nothing.
class RecordingLauncher : public ProcessLauncher {
public:
    struct Launch {
        QString commandLine;
        ShowMode mode;
    };

    LaunchResult start(const QString& commandLine, ShowMode mode) override
    {
        m_launches.append({ commandLine, mode });
        return m_result;
    }

    void setResult(const LaunchResult& result) { m_result = result; }
    const QList<Launch>& launches() const { return m_launches; }
    QStringList commandLines() const
    {
        QStringList lines;
        for (const Launch& l : m_launches)
            lines.append(l.commandLine);
        return lines;
    }

private:
    LaunchResult m_result = LaunchResult::success();
    QList<Launch> m_launches;
};

} // namespace shell
