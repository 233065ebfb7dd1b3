#include "sqlitestore.h"

#include "hiveimpl.h"
#include "hivepath.h"
#include "hiveschema.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"
#include "sqlitefile.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>
#include <unordered_set>

namespace {
constexpr const char* kSubTree = "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION "
                                 "SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id) ";
// The sub-keys whose names a key path can hold: text of 1 to 255 bytes without a backslash.
const std::string kUsableSubKeys =
    "SELECT name FROM keys WHERE parent = ?1 AND typeof(name) = 'text' AND "
    "length(CAST(name AS BLOB)) BETWEEN 1 AND 255 AND instr(name, '\\') = 0 ";

// A row written by hand may hold anything; only a number type and a blob make a value.
bool ReadRow(const CSqliteQuery& row, SHiveValue& value) {
    if (row.ColumnType(1) != SQLITE_INTEGER || row.ColumnType(2) != SQLITE_BLOB) {
        return false;
    }
    std::int64_t type = row.ColumnInt64(1);
    if (type < 0 || type > UINT32_MAX) {
        return false;
    }
    value.name = row.ColumnText(0);
    value.type = static_cast<std::uint32_t>(type);
    value.data = row.ColumnBlob(2);
    return true;
}

// The log files that an open made and left behind. Beside a refused file nobody uses them;
// beside a file opened for reading only the empty ones are surely nobody's.
void RemoveNewLogs(const std::string& path, bool walExisted, bool shmExisted, bool refused) {
    std::error_code ignored;
    for (const auto& [suffix, existed] : {std::pair{"-wal", walExisted}, {"-shm", shmExisted}}) {
        const std::string log = path + suffix;
        if (!existed && (refused || std::filesystem::file_size(log, ignored) == 0)) {
            std::filesystem::remove(log, ignored);
        }
    }
}
} // namespace

std::unique_ptr<CSqliteStore> CSqliteStore::Open(const std::string& path, EHiveOpen mode,
                                                 std::string& readOnlyReason) {
    std::error_code ignored;
    const bool walExisted = std::filesystem::exists(path + "-wal", ignored);
    const bool shmExisted = std::filesystem::exists(path + "-shm", ignored);
    try {
        SHiveConnection connection = CHiveSchema::Open(path, CSqliteFile::Check(path, mode), mode);
        auto store = std::make_unique<CSqliteStore>(std::move(connection.pConnection));
        readOnlyReason = std::move(connection.readOnlyReason);
        if (!readOnlyReason.empty()) {
            RemoveNewLogs(path, walExisted, shmExisted, false);
        }
        return store;
    } catch (const CHiveError&) {
        RemoveNewLogs(path, walExisted, shmExisted, true);
        throw;
    }
}

CSqliteConnection* CSqliteStore::ConnectionOf(CHive& hive) {
    auto* store = dynamic_cast<CSqliteStore*>(&hive.Impl().Store());
    return store == nullptr ? nullptr : store->m_pConnection.get();
}

CSqliteStore::CSqliteStore(std::unique_ptr<CSqliteConnection> connection)
    : m_pConnection(std::move(connection)), m_connection(*m_pConnection) {}

CSqliteStore::~CSqliteStore() = default;

bool CSqliteStore::TryExec(const char* sql) {
    try {
        m_connection.Exec(sql);
        m_failureReason.clear();
        return true;
    } catch (const CSqliteError& error) {
        // Only a lock that was not granted says more than "unable to write".
        m_failureReason = error.Code() == SQLITE_BUSY ? CSqliteFile::Reason(error) : std::string();
        return false;
    }
}

bool CSqliteStore::Begin(bool write) {
    EndTransaction();
    // The whole transaction takes the write lock at once: a deferred transaction that later
    // wants to write could find its snapshot stale and fail without waiting. A connection that
    // only reads cannot take it.
    const bool immediate = write && sqlite3_db_readonly(m_connection.Handle(), "main") != 1;
    m_bOwnTransaction = TryExec(immediate ? "BEGIN IMMEDIATE" : "BEGIN");
    return m_bOwnTransaction;
}

bool CSqliteStore::Commit() {
    EndTransaction();
    if (TryExec("COMMIT")) {
        return true;
    }
    Rollback();
    EndFailedFrames();
    return false;
}

// A commit whose log could not be synced may have left all its frames in the write-ahead log,
// where a recovery of the log (the next open after every connection closed) would find them
// whole and bring back what the person was told had not been written. The next commit writes
// from the same place on and so ends that chain of frames: commit one that changes nothing.
// When another process holds the write lock, its own commit does the same.
void CSqliteStore::EndFailedFrames() {
    if (sqlite3_db_readonly(m_connection.Handle(), "main") == 1) {
        return;
    }
    sqlite3_busy_timeout(m_connection.Handle(), 0);
    try {
        const std::string version = m_connection.QueryText("PRAGMA user_version");
        m_connection.Exec("BEGIN IMMEDIATE");
        m_connection.Exec("PRAGMA user_version = " + version);
        m_connection.Exec("COMMIT");
    } catch (const CSqliteError&) {
        Rollback();
    }
    sqlite3_busy_timeout(m_connection.Handle(), CSqliteFile::kBusyTimeoutMs);
}

void CSqliteStore::EndTransaction() {
    m_bOwnTransaction = false;
    m_values.Clear();
}

bool CSqliteStore::CachesValues() {
    return m_bOwnTransaction && InTransaction();
}

void CSqliteStore::Rollback() {
    EndTransaction();
    if (InTransaction()) {
        try {
            m_connection.Exec("ROLLBACK");
        } catch (const CSqliteError&) {
            // SQLite ends the transaction even when ROLLBACK reports a failure.
        }
    }
}

bool CSqliteStore::InTransaction() {
    return sqlite3_get_autocommit(m_connection.Handle()) == 0;
}

std::int64_t CSqliteStore::DataVersion() {
    CSqliteQuery query = m_connection.Query("PRAGMA data_version");
    return query.Step() ? query.ColumnInt64(0) : -1;
}

bool CSqliteStore::FindChild(HiveKeyId parent, const std::string& name, HiveKeyId& id) {
    CSqliteQuery query = m_connection.Query("SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    query.Bind(1, parent).Bind(2, name);
    if (!query.Step()) {
        return false;
    }
    id = query.ColumnInt64(0);
    return true;
}

Win32Status CSqliteStore::FindPath(HiveKeyId from, std::span<const std::string> names,
                                   HiveKeyId& id) {
    HiveKeyId key = from;
    for (const std::string& name : names) {
        if (!FindChild(key, name, key)) {
            return ERROR_FILE_NOT_FOUND;
        }
    }
    id = key;
    return ERROR_SUCCESS;
}

int CSqliteStore::CreatePath(HiveKeyId from, std::span<const std::string> names, HiveKeyId& id) {
    HiveKeyId key = from;
    int created = 0;
    for (const std::string& name : names) {
        if (FindChild(key, name, key)) {
            continue;
        }
        CSqliteQuery insert = m_connection.Query("INSERT INTO keys(parent, name) VALUES(?1, ?2)");
        insert.Bind(1, key).Bind(2, name).Run();
        key = sqlite3_last_insert_rowid(m_connection.Handle());
        ++created;
    }
    id = key;
    return created;
}

bool CSqliteStore::HasSubKeys(HiveKeyId key) {
    CSqliteQuery query = m_connection.Query("SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
    return query.Bind(1, key).Step();
}

void CSqliteStore::DeleteKey(HiveKeyId key) {
    m_values.Clear();
    m_connection.Query("DELETE FROM vals WHERE key = ?1").Bind(1, key).Run();
    m_connection.Query("DELETE FROM keys WHERE id = ?1").Bind(1, key).Run();
}

void CSqliteStore::DeleteTree(HiveKeyId key) {
    m_values.Clear();
    static const std::string values = std::string(kSubTree) + "DELETE FROM vals WHERE key IN sub";
    static const std::string keys = std::string(kSubTree) + "DELETE FROM keys WHERE id IN sub";
    m_connection.Query(values.c_str()).Bind(1, key).Run();
    m_connection.Query(keys.c_str()).Bind(1, key).Run();
}

std::string CSqliteStore::KeyPath(HiveKeyId key) {
    std::vector<std::string> names;
    std::unordered_set<HiveKeyId> seen; // a hand-edited file may hold a cycle
    while (key != 0 && seen.insert(key).second) {
        CSqliteQuery query = m_connection.Query("SELECT parent, name FROM keys WHERE id = ?1");
        if (!query.Bind(1, key).Step()) {
            break;
        }
        names.push_back(query.ColumnText(1));
        key = query.ColumnInt64(0);
    }
    std::reverse(names.begin(), names.end());
    return CHivePath::Join(names);
}

void CSqliteStore::CacheValues(HiveKeyId key) {
    // A name that is not text never equals the name asked for, so it is no value of the cache.
    CSqliteQuery query = m_connection.Query("SELECT name, type, data FROM vals WHERE key = ?1");
    query.Bind(1, key);
    m_values.Start(key);
    while (query.Step()) {
        SHiveValue value;
        if (query.ColumnType(0) != SQLITE_TEXT) {
            continue;
        }
        if (ReadRow(query, value)) {
            m_values.Add(std::move(value));
        } else {
            m_values.AddUnreadable(query.ColumnText(0));
        }
    }
}

Win32Status CSqliteStore::ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value) {
    if (CachesValues()) {
        if (!m_values.Holds(key)) {
            CacheValues(key);
        }
        return m_values.Read(name, value);
    }
    CSqliteQuery query =
        m_connection.Query("SELECT name, type, data FROM vals WHERE key = ?1 AND name = ?2");
    if (!query.Bind(1, key).Bind(2, name).Step()) {
        return ERROR_FILE_NOT_FOUND;
    }
    return ReadRow(query, value) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

Win32Status CSqliteStore::WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                                     const std::vector<std::uint8_t>& data) {
    m_values.Clear();
    // Overwriting is the common case and keeps the value's place and name. (An INSERT whose
    // SELECT reads vals would stage its rows in a temporary table: slow.)
    CSqliteQuery update =
        m_connection.Query("UPDATE vals SET type = ?3, data = ?4 WHERE key = ?1 AND name = ?2");
    update.Bind(1, key).Bind(2, name).Bind(3, std::int64_t{type}).BindBlob(4, data).Run();
    if (sqlite3_changes(m_connection.Handle()) != 0) {
        return ERROR_SUCCESS;
    }
    CSqliteQuery last = m_connection.Query("SELECT ifnull(max(seq), 0) FROM vals WHERE key = ?1");
    last.Bind(1, key).Step();
    CSqliteQuery insert =
        m_connection.Query("INSERT INTO vals(key, name, type, data, seq) SELECT ?1, ?2, ?3, ?4, ?5 "
                           "WHERE EXISTS (SELECT 1 FROM keys WHERE id = ?1)");
    insert.Bind(1, key).Bind(2, name).Bind(3, std::int64_t{type}).BindBlob(4, data);
    insert.Bind(5, last.ColumnInt64(0) + 1).Run();
    return sqlite3_changes(m_connection.Handle()) == 0 ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

Win32Status CSqliteStore::DeleteValue(HiveKeyId key, const std::string& name) {
    m_values.Clear();
    m_connection.Query("DELETE FROM vals WHERE key = ?1 AND name = ?2")
        .Bind(1, key)
        .Bind(2, name)
        .Run();
    return sqlite3_changes(m_connection.Handle()) == 0 ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

Win32Status CSqliteStore::Values(HiveKeyId key, std::vector<SHiveValue>& values,
                                 std::vector<std::string>* unreadable) {
    values.clear();
    Win32Status status = ERROR_SUCCESS;
    CSqliteQuery query =
        m_connection.Query("SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY seq");
    query.Bind(1, key);
    while (query.Step()) {
        SHiveValue value;
        if (ReadRow(query, value)) {
            values.push_back(std::move(value));
        } else {
            status = ERROR_INVALID_DATA;
            if (unreadable != nullptr) {
                unreadable->push_back(query.ColumnText(0));
            }
        }
    }
    return status;
}

void CSqliteStore::Collect(CSqliteQuery& query, std::vector<std::string>& names) {
    names.clear();
    while (query.Step()) {
        names.push_back(query.ColumnText(0));
    }
}

void CSqliteStore::SubKeysAt(HiveKeyId key, std::uint32_t index, std::uint32_t limit,
                             std::vector<std::string>& names) {
    static const std::string sql = kUsableSubKeys + "ORDER BY name LIMIT ?3 OFFSET ?2";
    CSqliteQuery query = m_connection.Query(sql.c_str());
    query.Bind(1, key).Bind(2, std::int64_t{index}).Bind(3, std::int64_t{limit});
    Collect(query, names);
}

void CSqliteStore::SubKeysAfter(HiveKeyId key, const std::string& previous, std::uint32_t limit,
                                std::vector<std::string>& names) {
    static const std::string sql = kUsableSubKeys + "AND name > ?2 ORDER BY name LIMIT ?3";
    CSqliteQuery query = m_connection.Query(sql.c_str());
    query.Bind(1, key).Bind(2, previous).Bind(3, std::int64_t{limit});
    Collect(query, names);
}

void CSqliteStore::SubKeyNames(HiveKeyId key, std::vector<std::string>& names) {
    static const std::string sql = kUsableSubKeys + "ORDER BY name";
    CSqliteQuery query = m_connection.Query(sql.c_str());
    query.Bind(1, key);
    Collect(query, names);
}

void CSqliteStore::SubKeyEntries(HiveKeyId key, std::vector<SHiveSubKey>& subKeys) {
    CSqliteQuery query =
        m_connection.Query("SELECT id, name FROM keys WHERE parent = ?1 ORDER BY name");
    query.Bind(1, key);
    subKeys.clear();
    while (query.Step()) {
        // Before the text is read: reading converts the column.
        const bool text = query.ColumnType(1) == SQLITE_TEXT;
        subKeys.push_back({query.ColumnInt64(0), query.ColumnText(1), text});
    }
}
