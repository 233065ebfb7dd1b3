#include "sqlitequery.h"

#include "sqliteerror.h"

#include <sqlite3.h>

namespace {
void Check(sqlite3_stmt* stmt, int rc) {
    if (rc != SQLITE_OK) {
        throw CSqliteError(rc, sqlite3_errmsg(sqlite3_db_handle(stmt)));
    }
}
} // namespace

CSqliteQuery::~CSqliteQuery() {
    sqlite3_reset(m_pStmt);
}

CSqliteQuery& CSqliteQuery::Bind(int index, std::int64_t value) {
    Check(m_pStmt, sqlite3_bind_int64(m_pStmt, index, value));
    return *this;
}

CSqliteQuery& CSqliteQuery::Bind(int index, std::string_view text) {
    Check(m_pStmt, sqlite3_bind_text64(m_pStmt, index, text.data(), text.size(), SQLITE_STATIC,
                                       SQLITE_UTF8));
    return *this;
}

CSqliteQuery& CSqliteQuery::BindBlob(int index, const std::vector<std::uint8_t>& bytes) {
    // A null pointer would store NULL instead of an empty value.
    static const std::uint8_t empty = 0;
    const void* data = bytes.empty() ? &empty : bytes.data();
    Check(m_pStmt, sqlite3_bind_blob64(m_pStmt, index, data, bytes.size(), SQLITE_STATIC));
    return *this;
}

bool CSqliteQuery::Step() {
    int rc = sqlite3_step(m_pStmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    sqlite3* db = sqlite3_db_handle(m_pStmt);
    throw CSqliteError(rc, sqlite3_errmsg(db), sqlite3_system_errno(db));
}

void CSqliteQuery::Run() {
    while (Step()) {
    }
}

int CSqliteQuery::ColumnType(int column) const {
    return sqlite3_column_type(m_pStmt, column);
}

std::int64_t CSqliteQuery::ColumnInt64(int column) const {
    return sqlite3_column_int64(m_pStmt, column);
}

std::string CSqliteQuery::ColumnText(int column) const {
    const unsigned char* text = sqlite3_column_text(m_pStmt, column);
    int size = sqlite3_column_bytes(m_pStmt, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text), size);
}

std::vector<std::uint8_t> CSqliteQuery::ColumnBlob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_pStmt, column));
    int size = sqlite3_column_bytes(m_pStmt, column);
    return data == nullptr ? std::vector<std::uint8_t>()
                           : std::vector<std::uint8_t>(data, data + size);
}
