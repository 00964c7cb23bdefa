#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

namespace nwserver {

class Server;

// A few workstations inside the server that attach, log in, open, read and write files and
// leave again, so that the connection table, the open files and the statistics show a living
// server. They send their requests through the server's own request path (counted like any
// station's); only their login is the server's own, so no password needs to be kept. Their
// choices come from a generator seeded by the server's name and their pace from the server's
// clock: on a ManualClock the same sequence of steps happens every run.
class SimulatedStations {
public:
    // One station: its user, the files it reads and the file it writes (created when missing,
    // kept below kWorkFileBytes).
    struct Plan {
        QString user;
        QStringList readFiles;
        QString workFile;
    };
    static constexpr int64_t kStepMs = 1000;
    // Steps caught up in one tick at most; a longer pause is skipped, not replayed.
    static constexpr int kMaxCatchUp = 120;
    static constexpr int64_t kWorkFileBytes = 65536;

    explicit SimulatedStations(Server& server);
    ~SimulatedStations();

    // Server-side set-up under the server's lock: the stations are kept in server.db and run
    // whenever the server is opened and ticked. An empty list removes them.
    void configure(const std::vector<Plan>& plans);

    // Call without holding the server's lock. tick() takes one step per kStepMs of the server's
    // clock since the previous tick (the first tick only sets the pace). stop() makes every
    // station leave at once; start() lets them come back.
    void tick();
    void start();
    void stop();
    bool running();
    // Connection numbers of the stations attached now, in station order.
    std::vector<uint32_t> connections();

private:
    struct Station {
        Plan plan;
        uint32_t conn = 0; // 0 while away
        QByteArray address; // tells its connection from a newcomer that took the number
        int wait = 0; // steps until it comes back
        int sessionLeft = 0;
        uint32_t file = 0; // open file handle, 0 = none
        bool writing = false;
        int opsLeft = 0;
        uint64_t offset = 0;
        uint64_t size = 0;
    };

    void load();
    void step(Station& st);
    void arrive(Station& st, size_t index);
    void leave(Station& st);
    void openSomething(Station& st);
    void work(Station& st);
    void closeFile(Station& st);
    bool send(Station& st, uint16_t fn, const QByteArray& body, QByteArray* reply = nullptr);
    uint32_t next(uint32_t bound) { return static_cast<uint32_t>(m_random() % bound); }

    Server& m_server;
    std::mutex m_mutex; // taken before the server's lock, never after it
    std::optional<std::vector<Station>> m_stations; // read from server.db at the first tick
    std::mt19937 m_random;
    int64_t m_lastStepMs = -1;
    bool m_running = true;
    std::atomic<bool> m_reload { true };
};

} // namespace nwserver
