#include "rawdatabase.h"

#include <sqlite3.h>
#include <stdexcept>

CRawDatabase::CRawDatabase(const std::string& path) {
    if (sqlite3_open(path.c_str(), &m_pDb) != SQLITE_OK) {
        sqlite3_close(m_pDb);
        throw std::runtime_error("cannot open " + path);
    }
}

CRawDatabase::~CRawDatabase() {
    sqlite3_close(m_pDb);
}

int CRawDatabase::Exec(const std::string& sql) {
    return sqlite3_exec(m_pDb, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string CRawDatabase::Text(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(m_pDb));
    }
    std::string text;
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0) != nullptr) {
        text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    return text;
}
