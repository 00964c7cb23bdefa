#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace nwserver {

// A failure of the server's own storage. Operations turn it into an I/O error code for the
// client; it never reaches the console as anything else.
class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Statement;

// A kept statement lent out for one use; it is reset (ending its read) when the lease ends.
struct StatementLease {
    Statement& st;
    ~StatementLease();
};

// The server's metadata store: one SQLite file in WAL mode. Every change runs inside a
// Transaction so that a crash leaves either all of an operation or none of it.
class Database {
public:
    explicit Database(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const char* sql);
    Statement prepare(const char* sql);
    qint64 lastInsertId() const;
    int changes() const;

    // The first column of the first row as text (convert as needed), or an invalid QVariant.
    QVariant scalar(const char* sql, std::initializer_list<QVariant> args = {});
    void run(const char* sql, std::initializer_list<QVariant> args = {});
    // The statement of sql, prepared on first use and kept: for the lookups that run on every
    // request, where preparing costs more than the lookup. Not for a statement that is still
    // being stepped further up the stack.
    StatementLease cached(const char* sql);
    // A number that moves whenever stored data may have changed since it was last read: a
    // transaction of this connection committed or rolled back, or another process committed.
    // What is kept in memory from the store is valid while it stays the same.
    uint64_t version();
    // True inside an open transaction, whose writes are not settled yet.
    bool inTransaction() const;

    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    std::unordered_map<std::string, std::unique_ptr<Statement>> m_cached;
    uint64_t m_version = 0;
    qint64 m_otherVersion = -1; // SQLite's data_version: moves with other connections' commits
};

class Statement {
public:
    Statement(Database& db, const char* sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const QVariant& value); // 1-based like SQLite
    Statement& bindAll(std::initializer_list<QVariant> args);
    bool step(); // true while a row is available
    void reset();

    qint64 integer(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;
    bool isNull(int column) const;

private:
    Database* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction(); // rolls back unless committed
    void commit();

private:
    Database& m_db;
    bool m_done = false;
};

} // namespace nwserver
