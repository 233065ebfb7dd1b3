#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

// One use of a cached statement: bind, step, read columns. The statement is reset when the
// query ends, so no read transaction outlives the operation that ran it.
class CSqliteQuery {
public:
    explicit CSqliteQuery(sqlite3_stmt* stmt) : m_pStmt(stmt) {}
    ~CSqliteQuery();
    CSqliteQuery(const CSqliteQuery&) = delete;
    CSqliteQuery& operator=(const CSqliteQuery&) = delete;

    // Parameters count from 1, as in SQL.
    CSqliteQuery& Bind(int index, std::int64_t value);
    CSqliteQuery& Bind(int index, std::string_view text);
    CSqliteQuery& BindBlob(int index, const std::vector<std::uint8_t>& bytes);

    // True while a row is available. Throws CSqliteError on failure.
    bool Step();
    // Steps to the end (statements that return no rows).
    void Run();

    // Columns count from 0. The type is one of SQLITE_INTEGER, SQLITE_TEXT, SQLITE_BLOB, ...
    int ColumnType(int column) const;
    std::int64_t ColumnInt64(int column) const;
    std::string ColumnText(int column) const;
    std::vector<std::uint8_t> ColumnBlob(int column) const;

private:
    sqlite3_stmt* m_pStmt;
};
