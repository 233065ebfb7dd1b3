#include "sqliteservicestates.h"

#include "sqliteconnection.h"
#include "sqliteerror.h"
#include "sqlitequery.h"
#include "sqlitestore.h"

#include <sqlite3.h>

namespace {
constexpr const char* kReadRow =
    "SELECT running, refuse_stop, marked_for_deletion FROM services WHERE name = ?1";
constexpr const char* kForget = "DELETE FROM services WHERE name = ?1";
constexpr const char* kStop =
    "UPDATE services SET running = 0 WHERE name = ?1 AND running <> 0 AND refuse_stop = 0";
constexpr const char* kStart =
    "INSERT INTO services(name, running) VALUES(?1, 1) ON CONFLICT(name) DO UPDATE "
    "SET running = 1 WHERE running = 0 AND marked_for_deletion = 0";
constexpr const char* kSetRefuseStop =
    "INSERT INTO services(name, refuse_stop) VALUES(?1, ?2) ON CONFLICT(name) DO UPDATE "
    "SET refuse_stop = excluded.refuse_stop";
constexpr const char* kSetMarkedForDeletion =
    "INSERT INTO services(name, marked_for_deletion) VALUES(?1, ?2) ON CONFLICT(name) DO UPDATE "
    "SET marked_for_deletion = excluded.marked_for_deletion";
} // namespace

std::unique_ptr<IServiceStates> CSqliteServiceStates::Of(CHive& hive) {
    CSqliteConnection* connection = CSqliteStore::ConnectionOf(hive);
    if (connection == nullptr) {
        return nullptr;
    }
    return std::make_unique<CSqliteServiceStates>(*connection);
}

CSqliteServiceStates::CSqliteServiceStates(CSqliteConnection& connection)
    : m_connection(connection) {}

Win32Status CSqliteServiceStates::Read(const std::string& name, SServiceState& state) {
    try {
        CSqliteQuery query = m_connection.Query(kReadRow);
        query.Bind(1, name);
        if (query.Step()) {
            state.running = query.ColumnInt64(0) != 0;
            state.refuseStop = query.ColumnInt64(1) != 0;
            state.markedForDeletion = query.ColumnInt64(2) != 0;
        }
        return ERROR_SUCCESS;
    } catch (const CSqliteError&) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

Win32Status CSqliteServiceStates::Change(const char* sql, const std::string& name, bool& changed) {
    try {
        m_connection.Query(sql).Bind(1, name).Run();
        changed = sqlite3_changes(m_connection.Handle()) > 0;
        return ERROR_SUCCESS;
    } catch (const CSqliteError&) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

Win32Status CSqliteServiceStates::SetFlag(const char* sql, const std::string& name, bool value) {
    try {
        m_connection.Query(sql).Bind(1, name).Bind(2, std::int64_t{value ? 1 : 0}).Run();
        return ERROR_SUCCESS;
    } catch (const CSqliteError&) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

Win32Status CSqliteServiceStates::Forget(const std::string& name) {
    bool changed = false;
    return Change(kForget, name, changed);
}

Win32Status CSqliteServiceStates::Stop(const std::string& name, bool& changed) {
    return Change(kStop, name, changed);
}

Win32Status CSqliteServiceStates::Start(const std::string& name, bool& changed) {
    return Change(kStart, name, changed);
}

Win32Status CSqliteServiceStates::SetRefuseStop(const std::string& name, bool refuse) {
    return SetFlag(kSetRefuseStop, name, refuse);
}

Win32Status CSqliteServiceStates::SetMarkedForDeletion(const std::string& name, bool marked) {
    return SetFlag(kSetMarkedForDeletion, name, marked);
}
