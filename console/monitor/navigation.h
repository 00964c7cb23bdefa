#pragma once

#include <QString>
#include <vector>

// What the server information page can show about a server, as the nodes of its navigation
// tree, and the server files behind its file leaves.

enum class TNavIcon { Category, Information, File, Group, Statistic };

struct TNavNode {
    QString text;
    TNavIcon icon;
    std::vector<TNavNode> children;
};

// The root nodes for a server of that version, as seen with or without console-operator
// rights: NetWare 3 offers only the information and the configuration files; the memory and
// frame counters and most network counters need a console operator.
std::vector<TNavNode> NavigationNodes(bool netWare4, bool consoleOperator);

enum class TServerFileView { Editor, Viewer };

struct TServerFile {
    const char* node; // "Autoexec.ncf"
    const char* path; // below SYS: "SYSTEM\AUTOEXEC.NCF"
    TServerFileView view;
};

// The file behind a leaf, or nullptr for a leaf that is no file.
const TServerFile* ServerFileOf(const QString& node);
// "\\SERVER\SYS\" + the file's path.
QString ServerFilePath(const QString& server, const TServerFile& file);
