#include "console/monitor/navigation.h"

namespace {

const TServerFile kFiles[] = {
    { "Bootconf.sys", "LOGIN\\BOOTCONF.SYS", TServerFileView::Editor },
    { "Autoexec.ncf", "SYSTEM\\AUTOEXEC.NCF", TServerFileView::Editor },
    { "Bindery login script", "PUBLIC\\NET$LOG.DAT", TServerFileView::Editor },
    { "Console log", "ETC\\CONSOLE.LOG", TServerFileView::Viewer },
    { "TTS errors", "TTS$LOG.ERR", TServerFileView::Viewer },
    { "System errors", "SYSTEM\\SYS$LOG.ERR", TServerFileView::Viewer },
    { "Server abend errors", "SYSTEM\\ABEND.LOG", TServerFileView::Viewer },
    { "Bootstrap errors", "SYSTEM\\BOOT$LOG.ERR", TServerFileView::Viewer },
};

TNavNode leaf(const char* text, TNavIcon icon)
{
    return { QString::fromLatin1(text), icon, {} };
}

TNavNode group(
    const char* text, TNavIcon icon, std::initializer_list<const char*> leaves, TNavIcon leafIcon)
{
    TNavNode node { QString::fromLatin1(text), icon, {} };
    for (const char* l : leaves)
        node.children.push_back(leaf(l, leafIcon));
    return node;
}

} // namespace

std::vector<TNavNode> NavigationNodes(bool netWare4, bool consoleOperator)
{
    std::vector<TNavNode> roots;
    roots.push_back(leaf("Information", TNavIcon::Information));
    roots.push_back(group("Configuration files", TNavIcon::Category,
        { "Autoexec.ncf", "Bootconf.sys", "Bindery login script" }, TNavIcon::File));
    if (!netWare4)
        return roots;
    roots.push_back(group("System logs", TNavIcon::Category,
        { "Console log", "TTS errors", "System errors", "Server abend errors", "Bootstrap errors" },
        TNavIcon::File));

    TNavNode stats { QStringLiteral("Statistics"), TNavIcon::Category, {} };
    const TNavIcon s = TNavIcon::Statistic;
    if (consoleOperator)
        stats.children.push_back(group(
            "Memory", TNavIcon::Group, { "Cache", "Directory Cache", "Garbage Collection" }, s));
    stats.children.push_back(
        group("Server", TNavIcon::Group, { "Processor", "File Server Info", "NCP Extensions" }, s));
    if (consoleOperator) {
        stats.children.push_back(
            group("Network", TNavIcon::Group, { "IPX & SPX", "LSL - ECB's", "Packet Burst" }, s));
        stats.children.push_back(
            group("Frames", TNavIcon::Group, { "Type 1", "Type 2", "Type 3", "Type 4" }, s));
    } else {
        stats.children.push_back(group("Network", TNavIcon::Group, { "IPX & SPX" }, s));
    }
    roots.push_back(stats);
    return roots;
}

const TServerFile* ServerFileOf(const QString& node)
{
    for (const TServerFile& f : kFiles)
        if (node == QLatin1String(f.node))
            return &f;
    return nullptr;
}

QString ServerFilePath(const QString& server, const TServerFile& file)
{
    return QStringLiteral("\\\\") + server + QStringLiteral("\\SYS\\")
        + QString::fromLatin1(file.path);
}
