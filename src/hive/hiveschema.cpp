#include "hiveschema.h"

#include "hivefile.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"

#include <sqlite3.h>

namespace {
constexpr int kBusyTimeoutMs = 30000;

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
} // namespace

void CHiveSchema::Prepare(CSqliteConnection& connection, const std::string& path) {
    try {
        sqlite3_busy_timeout(connection.Handle(), kBusyTimeoutMs);
        connection.Exec("PRAGMA trusted_schema=OFF");
        if (connection.QueryText("PRAGMA journal_mode=WAL") != "wal") {
            throw CHiveFile::Refusal(path, "it cannot be switched to write-ahead logging");
        }
        connection.Exec("PRAGMA synchronous=FULL");
        Create(connection, path);
    } catch (const CSqliteError& error) {
        throw CHiveFile::Refusal(path, error.what());
    }
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
