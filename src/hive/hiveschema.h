#pragma once

#include <string>

class CSqliteConnection;

// Sets up a read-write connection to a checked file: the connection's settings, and the tables
// of version 1 when the file is new. Throws CHiveError.
class CHiveSchema {
public:
    static void Prepare(CSqliteConnection& connection, const std::string& path);

private:
    static void Configure(CSqliteConnection& connection, const std::string& path);
    static void Create(CSqliteConnection& connection, const std::string& path);
};
