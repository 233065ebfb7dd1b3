#include "sqlitestatement.h"

#include "sqliteerror.h"

#include <sqlite3.h>

CSqliteStatement::CSqliteStatement(sqlite3* db, const char* sql) {
    int rc = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_pStmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_pStmt);
        throw CSqliteError(rc, sqlite3_errmsg(db));
    }
}

CSqliteStatement::~CSqliteStatement() {
    sqlite3_finalize(m_pStmt);
}
