#pragma once

#include "hive.h"

#include <memory>
#include <string>

class CSqliteConnection;
struct SHiveFileFacts;

// The connection a checked file is used through and, when it cannot be written, why.
struct SHiveConnection {
    std::unique_ptr<CSqliteConnection> pConnection;
    std::string readOnlyReason;
};

// Sets up the connection to a checked file: its settings, and the tables of version 1 when the
// file is new. Opening writes to the file only when something must be written: a new file's
// tables, an older file's guards. A file that cannot be written, or whose disk is full, is
// opened for reading. Throws CHiveError.
class CHiveSchema {
public:
    static SHiveConnection Open(const std::string& path, const SHiveFileFacts& facts,
                                EHiveOpen mode);
    // A database in memory with the tables of the current version. Throws CSqliteError.
    static std::unique_ptr<CSqliteConnection> OpenInMemory();

private:
    static std::unique_ptr<CSqliteConnection> OpenForWriting(const std::string& path,
                                                             EHiveOpen mode);
    static std::unique_ptr<CSqliteConnection> OpenForReading(const std::string& path, bool empty);
    static void Configure(CSqliteConnection& connection, const std::string& path, EHiveOpen mode);
    static void Create(CSqliteConnection& connection, const std::string& path);
};
