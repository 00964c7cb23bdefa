#pragma once

#include <QString>
#include <vector>

namespace nwclient {

// A server the workstation attaches to at start. Without a password it is attached but not
// logged in (it then shows in the attach table as unauthenticated).
struct ServerEntry {
    QString name;
    QString dataDir; // the embedded server's data directory
    QString user;
    QString password;
    bool login = true;
};

struct WorkstationConfig {
    std::vector<ServerEntry> servers;

    // The embedded demo servers FS1 and FS2 under root, attached and logged in as ADMIN.
    static WorkstationConfig demo(const QString& root);

    // Reads an INI file: one group per server ([FS1]) with the keys path, user, password.
    // Returns false (config untouched) when the file is missing or names no server.
    static bool load(const QString& file, WorkstationConfig& config);

    // $XDG_CONFIG_HOME/orvo/workstation.conf
    static QString defaultFile();

    // The configuration the console starts with: the workstation file when there is one, else
    // the demo world (created on first start) under $ORVO_SERVERS or the default data folder.
    static WorkstationConfig startup();
};

} // namespace nwclient
