#pragma once

#include "sqlitequery.h"
#include "sqlitestatement.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

// One connection to a database file with its cache of prepared statements. Statements are
// keyed by their text and kept until the connection closes.
class CSqliteConnection {
public:
    // flags as for sqlite3_open_v2. Throws CSqliteError.
    CSqliteConnection(const std::string& path, int flags);
    ~CSqliteConnection();
    CSqliteConnection(const CSqliteConnection&) = delete;
    CSqliteConnection& operator=(const CSqliteConnection&) = delete;

    sqlite3* Handle() const { return m_pDb; }

    // Runs statements that return nothing. Throws CSqliteError.
    void Exec(const std::string& sql);
    // The cached statement for sql, ready to bind. sql must outlive the connection (a literal).
    // Throws CSqliteError when it does not compile.
    CSqliteQuery Query(const char* sql);
    // The first column of the first row of a one-shot statement (pragmas); empty without a row.
    std::string QueryText(const char* sql);

private:
    sqlite3* m_pDb = nullptr;
    std::unordered_map<std::string_view, std::unique_ptr<CSqliteStatement>> m_statements;
};
