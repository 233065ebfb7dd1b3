#pragma once

struct sqlite3;
struct sqlite3_stmt;

// Owns one prepared statement for the life of its connection's statement cache.
class CSqliteStatement {
public:
    // Throws CSqliteError when the text does not compile (a damaged or foreign schema).
    CSqliteStatement(sqlite3* db, const char* sql);
    ~CSqliteStatement();
    CSqliteStatement(const CSqliteStatement&) = delete;
    CSqliteStatement& operator=(const CSqliteStatement&) = delete;

    sqlite3_stmt* Handle() const { return m_pStmt; }

private:
    sqlite3_stmt* m_pStmt = nullptr;
};
