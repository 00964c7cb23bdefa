#include "platform/nwclient/embeddedhost.h"

#include "platform/nwserver/server.h"

#include <QDir>
#include <map>
#include <mutex>
#include <vector>

namespace nwclient::embedded {

namespace {
std::mutex g_mutex;
std::map<QString, std::shared_ptr<nwserver::Server>> g_servers;
std::shared_ptr<nwserver::Clock> g_clock;
} // namespace

std::shared_ptr<nwserver::Server> serverFor(const QString& dataDir)
{
    const QString key = QDir(dataDir).absolutePath();
    std::lock_guard<std::mutex> guard(g_mutex);
    auto it = g_servers.find(key);
    if (it != g_servers.end())
        return it->second;
    std::shared_ptr<nwserver::Server> s = nwserver::Server::open(key, g_clock);
    g_servers.emplace(key, s);
    return s;
}

std::shared_ptr<nwserver::Server> findServer(const QString& name)
{
    std::lock_guard<std::mutex> guard(g_mutex);
    for (const auto& [dir, server] : g_servers)
        if (server->identity().name.compare(name, Qt::CaseInsensitive) == 0)
            return server;
    return nullptr;
}

void setClock(std::shared_ptr<nwserver::Clock> clock)
{
    std::lock_guard<std::mutex> guard(g_mutex);
    g_clock = std::move(clock);
}

void tickSimulations()
{
    std::vector<std::shared_ptr<nwserver::Server>> servers;
    {
        std::lock_guard<std::mutex> guard(g_mutex);
        for (const auto& [dir, server] : g_servers)
            servers.push_back(server);
    }
    for (const auto& s : servers)
        s->stations().tick();
}

void releaseAll()
{
    std::lock_guard<std::mutex> guard(g_mutex);
    g_servers.clear();
}

} // namespace nwclient::embedded
