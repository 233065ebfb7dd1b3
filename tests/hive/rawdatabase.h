#pragma once

#include <string>

struct sqlite3;

// A plain SQLite connection beside the hive, for looking at and tampering with the file the way
// another tool would.
class CRawDatabase {
public:
    explicit CRawDatabase(const std::string& path);
    ~CRawDatabase();
    CRawDatabase(const CRawDatabase&) = delete;
    CRawDatabase& operator=(const CRawDatabase&) = delete;

    // Returns the SQLite result code of the whole script.
    int Exec(const std::string& sql);
    // The first column of the first row, as text; "" without a row.
    std::string Text(const std::string& sql);

private:
    sqlite3* m_pDb = nullptr;
};
