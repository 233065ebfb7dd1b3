#include "hiveschema.h"

#include "hivefile.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"

#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace {
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

bool IsBusy(const CSqliteError& error) {
    int primary = error.Code() & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}
} // namespace

void CHiveSchema::Prepare(CSqliteConnection& connection, const std::string& path) {
    sqlite3_busy_timeout(connection.Handle(), CHiveFile::kBusyTimeoutMs);
    // Changing the journal mode and the first look at a new WAL file can report a busy file
    // without waiting on the busy handler, while another process sets up the same file.
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(CHiveFile::kBusyTimeoutMs);
    while (true) {
        try {
            Configure(connection, path);
            return;
        } catch (const CSqliteError& error) {
            if (!IsBusy(error) || std::chrono::steady_clock::now() > deadline) {
                throw CHiveFile::Refusal(path, error.what());
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void CHiveSchema::Configure(CSqliteConnection& connection, const std::string& path) {
    connection.Exec("PRAGMA trusted_schema=OFF");
    connection.Exec("PRAGMA synchronous=FULL");
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
        connection.Exec("COMMIT");
        return;
    }
    connection.Exec("ROLLBACK");
    if (application != std::to_string(CHiveFile::kApplicationId)) {
        throw CHiveFile::Refusal(path, "it is the database of another program");
    }
    if (std::stoll(version) > CHiveFile::kSchemaVersion) {
        throw CHiveFile::Refusal(path, "it was written by a newer version of QSER");
    }
    if (version != std::to_string(CHiveFile::kSchemaVersion)) {
        throw CHiveFile::Refusal(path, "it is damaged (schema version " + version + ")");
    }
}
