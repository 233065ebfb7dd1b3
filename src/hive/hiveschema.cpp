#include "hiveschema.h"

#include "hivefile.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"

#include <chrono>
#include <sqlite3.h>
#include <string>
#include <thread>

namespace {
// The same tables in the connection's temporary schema.
std::string AsTemporary(std::string tables) {
    const std::string create = "CREATE TABLE";
    const std::string temporary = "CREATE TEMP TABLE";
    for (std::size_t at = tables.find(create); at != std::string::npos;
         at = tables.find(create, at + temporary.size())) {
        tables.replace(at, create.size(), temporary);
    }
    return tables;
}

// Key ids are never reused (AUTOINCREMENT), so an open key that was deleted cannot come back
// as a different key. The root (HKEY_LOCAL_MACHINE) has no row; its id is 0.
constexpr const char* kTables = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE);
CREATE UNIQUE INDEX IF NOT EXISTS keys_by_parent ON keys(parent, name COLLATE NOCASE);
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    seq INTEGER NOT NULL,
    PRIMARY KEY(key, name)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS services(
    name TEXT PRIMARY KEY COLLATE NOCASE,
    running INTEGER NOT NULL DEFAULT 0,
    refuse_stop INTEGER NOT NULL DEFAULT 0,
    marked_for_deletion INTEGER NOT NULL DEFAULT 0);
)sql";

// A key can only be added under one that exists and never moves: with ids that only grow, its
// parent's id is smaller than its own, so the parent chain of every key ends at the root.
// Files of version 1 made before the guards get them at the first opening for writing.
constexpr const char* kGuards = R"sql(
CREATE TRIGGER IF NOT EXISTS keys_parent_exists BEFORE INSERT ON keys
WHEN NEW.parent <> 0 AND NOT EXISTS (SELECT 1 FROM keys WHERE id = NEW.parent)
BEGIN SELECT RAISE(ABORT, 'the parent key does not exist'); END;
CREATE TRIGGER IF NOT EXISTS keys_stay BEFORE UPDATE OF id, parent ON keys
BEGIN SELECT RAISE(ABORT, 'keys do not move'); END;
)sql";

bool IsBusy(const CSqliteError& error) {
    int primary = error.Code() & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}
} // namespace

SHiveConnection CHiveSchema::Open(const std::string& path, const SHiveFileFacts& facts,
                                  EHiveOpen mode) {
    std::string readOnlyReason = facts.readOnlyReason;
    // Reading a file that holds no registry yet must not turn it into one.
    const bool reading = facts.bEmpty && mode == EHiveOpen::ForReading;
    if (readOnlyReason.empty() && !reading) {
        try {
            return {OpenForWriting(path, mode), {}};
        } catch (const CSqliteError& error) {
            if (facts.bEmpty || !CHiveFile::IsDiskFull(error)) {
                throw CHiveFile::Refusal(path, CHiveFile::Reason(error));
            }
            readOnlyReason = CHiveFile::Reason(error);
        }
    }
    try {
        return {OpenForReading(path, facts.bEmpty), readOnlyReason};
    } catch (const CSqliteError& error) {
        throw CHiveFile::Refusal(path, CHiveFile::Reason(error));
    }
}

std::unique_ptr<CSqliteConnection> CHiveSchema::OpenForWriting(const std::string& path,
                                                               EHiveOpen mode) {
    auto connection =
        std::make_unique<CSqliteConnection>(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_busy_timeout(connection->Handle(), CHiveFile::kBusyTimeoutMs);
    // Changing the journal mode and the first look at a new WAL file can report a busy file
    // without waiting on the busy handler, while another process sets up the same file.
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(CHiveFile::kBusyTimeoutMs);
    while (true) {
        try {
            Configure(*connection, path, mode);
            return connection;
        } catch (const CSqliteError& error) {
            if (!IsBusy(error) || std::chrono::steady_clock::now() > deadline) {
                throw;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::unique_ptr<CSqliteConnection> CHiveSchema::OpenInMemory() {
    auto connection =
        std::make_unique<CSqliteConnection>(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    connection->Exec("PRAGMA trusted_schema=OFF");
    Create(*connection, ":memory:");
    return connection;
}

// An empty file read as an empty registry: the tables live in the connection's temporary
// schema, so nothing ever reaches the file.
std::unique_ptr<CSqliteConnection> CHiveSchema::OpenForReading(const std::string& path,
                                                               bool empty) {
    std::unique_ptr<CSqliteConnection> connection = CHiveFile::OpenReadOnly(path);
    connection->Exec("PRAGMA trusted_schema=OFF");
    if (empty) {
        connection->Exec(AsTemporary(kTables));
    }
    return connection;
}

void CHiveSchema::Configure(CSqliteConnection& connection, const std::string& path,
                            EHiveOpen mode) {
    connection.Exec("PRAGMA trusted_schema=OFF");
    connection.Exec("PRAGMA synchronous=FULL");
    // A reader finds the tables in place (an empty file is read otherwise) and changes nothing.
    if (mode == EHiveOpen::ForReading) {
        return;
    }
    if (connection.QueryText("PRAGMA journal_mode") != "wal" &&
        connection.QueryText("PRAGMA journal_mode=WAL") != "wal") {
        throw CHiveFile::Refusal(path, "it cannot be switched to write-ahead logging");
    }
    Create(connection, path);
}

void CHiveSchema::Create(CSqliteConnection& connection, const std::string& path) {
    // Another process may be creating the same new file: decide under the write lock.
    connection.Exec("BEGIN IMMEDIATE");
    std::string version = connection.QueryText("PRAGMA user_version");
    std::string application = connection.QueryText("PRAGMA application_id");
    if (version == "0" && application == "0") {
        connection.Exec(kTables);
        connection.Exec("PRAGMA application_id=" + std::to_string(CHiveFile::kApplicationId));
        connection.Exec("PRAGMA user_version=" + std::to_string(CHiveFile::kSchemaVersion));
    } else if (application != std::to_string(CHiveFile::kApplicationId) ||
               version != std::to_string(CHiveFile::kSchemaVersion)) {
        // Checked before, but another process may have changed the file since.
        connection.Exec("ROLLBACK");
        throw CHiveFile::Refusal(path, "it is the database of another program");
    }
    // Writes nothing when the guards are there.
    connection.Exec(kGuards);
    connection.Exec("COMMIT");
}
