#include "platform/nwserver/database.h"

#include <sqlite3.h>

namespace nwserver {

namespace {
[[noreturn]] void fail(sqlite3* db, const char* what)
{
    throw StorageError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "no database"));
}
} // namespace

Database::Database(const QString& path)
{
    const QByteArray file = path.toUtf8();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(file.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        std::string msg = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StorageError("cannot open " + file.toStdString() + ": " + msg);
    }
    sqlite3_busy_timeout(m_db, 5000);
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=NORMAL");
    exec("PRAGMA foreign_keys=ON");
    // Commit and rollback both move the version: a reader inside a transaction may have seen
    // rows that a rollback takes back.
    sqlite3_commit_hook(
        m_db,
        [](void* self) {
            ++static_cast<Database*>(self)->m_version;
            return 0;
        },
        this);
    sqlite3_rollback_hook(
        m_db, [](void* self) { ++static_cast<Database*>(self)->m_version; }, this);
}

Database::~Database()
{
    m_cached.clear();
    sqlite3_close(m_db);
}

StatementLease Database::cached(const char* sql)
{
    auto& st = m_cached[sql];
    if (!st)
        st = std::make_unique<Statement>(*this, sql);
    return StatementLease { *st };
}

uint64_t Database::version()
{
    StatementLease l = cached("PRAGMA data_version");
    const qint64 other = l.st.step() ? l.st.integer(0) : -1;
    if (other != m_otherVersion) {
        m_otherVersion = other;
        ++m_version;
    }
    return m_version;
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

StatementLease::~StatementLease()
{
    st.reset();
}

void Database::exec(const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "unknown";
        sqlite3_free(err);
        throw StorageError(std::string("sql failed: ") + msg);
    }
}

Statement Database::prepare(const char* sql)
{
    return Statement(*this, sql);
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

QVariant Database::scalar(const char* sql, std::initializer_list<QVariant> args)
{
    Statement st(*this, sql);
    st.bindAll(args);
    if (!st.step())
        return {};
    if (st.isNull(0))
        return {};
    return QVariant::fromValue(st.text(0));
}

void Database::run(const char* sql, std::initializer_list<QVariant> args)
{
    Statement st(*this, sql);
    st.bindAll(args);
    while (st.step()) { }
}

Statement::Statement(Database& db, const char* sql)
    : m_db(&db)
{
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail(db.handle(), "prepare");
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db)
    , m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement& Statement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(m_stmt, index);
        break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Char:
        rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = value.toByteArray();
        rc = sqlite3_bind_blob64(
            m_stmt, index, b.constData(), static_cast<sqlite3_uint64>(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray t = value.toString().toUtf8();
        rc = sqlite3_bind_text64(m_stmt, index, t.constData(),
            static_cast<sqlite3_uint64>(t.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
    }
    }
    if (rc != SQLITE_OK)
        fail(m_db->handle(), "bind");
    return *this;
}

Statement& Statement::bindAll(std::initializer_list<QVariant> args)
{
    int i = 1;
    for (const QVariant& a : args)
        bind(i++, a);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(m_db->handle(), "step");
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString Statement::text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QByteArray Statement::blob(int column) const
{
    const void* p = sqlite3_column_blob(m_stmt, column);
    return p ? QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(m_stmt, column))
             : QByteArray();
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Transaction::Transaction(Database& db)
    : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.exec("ROLLBACK");
        } catch (const StorageError&) {
            // Rolling back an aborted transaction can fail once SQLite rolled back already.
        }
    }
}

void Transaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

} // namespace nwserver
