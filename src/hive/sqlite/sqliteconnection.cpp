#include "sqliteconnection.h"

#include "sqliteerror.h"

#include <sqlite3.h>

CSqliteConnection::CSqliteConnection(const std::string& path, int flags) {
    // A connection is used by one thread only: SQLite need not lock it around every call.
    int rc = sqlite3_open_v2(path.c_str(), &m_pDb,
                             flags | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_pDb != nullptr ? sqlite3_errmsg(m_pDb) : sqlite3_errstr(rc);
        int systemError = m_pDb != nullptr ? sqlite3_system_errno(m_pDb) : 0;
        sqlite3_close_v2(m_pDb);
        throw CSqliteError(rc, message, systemError);
    }
}

CSqliteConnection::~CSqliteConnection() {
    m_statements.clear();
    sqlite3_close_v2(m_pDb);
}

void CSqliteConnection::Exec(const std::string& sql) {
    int rc = sqlite3_exec(m_pDb, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw CSqliteError(rc, sqlite3_errmsg(m_pDb), sqlite3_system_errno(m_pDb));
    }
}

CSqliteQuery CSqliteConnection::Query(const char* sql) {
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        found = m_statements.emplace(sql, std::make_unique<CSqliteStatement>(m_pDb, sql)).first;
    }
    return CSqliteQuery(found->second->Handle());
}

std::string CSqliteConnection::QueryText(const char* sql) {
    CSqliteStatement statement(m_pDb, sql);
    CSqliteQuery query(statement.Handle());
    return query.Step() ? query.ColumnText(0) : std::string();
}
