#include "rawtree.h"

#include "boardtype.h"
#include "recordfields.h"
#include "stringtable.h"

namespace {
// Texts the readers expect, so that the fuzzer gets past the first checks.
const std::vector<std::string>& Plausible() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> list = BoardTypeNames();
        for (const char* text :
             {"0x200", "0x2A0", "0x3F8", "NONE", "COM3", "COM256", "5", "15", "Serial002",
              "Serial998", "0000", "0", "1", "-1", "4294967296", "Yes", "Both", ""}) {
            list.emplace_back(text);
        }
        return list;
    }();
    return texts;
}

const std::vector<std::string>& ValueNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const SBoardField& field : BoardFields()) {
            list.push_back(LoadString(field.valueNameId));
        }
        for (const SPortField& field : PortFields()) {
            list.push_back(LoadString(field.valueNameId));
        }
        for (const char* name : {"SystemNumBoards", "SystemNumPorts", "SystemDriverName",
                                 "PortName", "DosDevices", "Start", ""}) {
            list.emplace_back(name);
        }
        return list;
    }();
    return names;
}

} // namespace

CRawTree::CRawTree(const std::string& path, FuzzedDataProvider& data) : m_data(data) {
    sqlite3_open_v2(path.c_str(), &m_pDb, SQLITE_OPEN_READWRITE, nullptr);
    Exec("BEGIN");
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_pDb, "SELECT id FROM keys", -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        m_ids.push_back(sqlite3_column_int64(statement, 0));
    }
    sqlite3_finalize(statement);
}

CRawTree::~CRawTree() {
    for (sqlite3_stmt* statement : m_statements) {
        sqlite3_finalize(statement);
    }
    Exec("COMMIT");
    sqlite3_close_v2(m_pDb);
}

sqlite3_int64 CRawTree::Find(const std::string& path) {
    sqlite3_int64 id = 0;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        end = end == std::string::npos ? path.size() : end;
        sqlite3_stmt* statement = Statement(kFindChild);
        sqlite3_bind_int64(statement, 1, id);
        std::string name = path.substr(start, end - start);
        sqlite3_bind_text(statement, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        id = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
        start = end + 1;
    }
    return id;
}

sqlite3_int64 CRawTree::AnyKey() {
    if (m_ids.empty() || m_data.ConsumeIntegralInRange(0, 15) == 0) {
        return m_data.ConsumeIntegralInRange<sqlite3_int64>(-2, 400);
    }
    return m_ids[m_data.ConsumeIntegralInRange<std::size_t>(0, m_ids.size() - 1)];
}

sqlite3_int64 CRawTree::Key(sqlite3_int64 parent, const std::string& name) {
    sqlite3_stmt* statement = Statement(kInsertKey);
    sqlite3_bind_int64(statement, 1, parent);
    sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    bool added = sqlite3_step(statement) == SQLITE_DONE && sqlite3_changes(m_pDb) > 0;
    if (!added) {
        return parent;
    }
    m_ids.push_back(sqlite3_last_insert_rowid(m_pDb));
    return m_ids.back();
}

void CRawTree::Value(sqlite3_int64 key, const std::string& name) {
    static constexpr std::uint32_t kTypes[] = {1, 2, 3, 4, 7, 11, 0};
    std::uint32_t type = m_data.ConsumeBool()
                             ? kTypes[m_data.ConsumeIntegralInRange<std::size_t>(0, 6)]
                             : m_data.ConsumeIntegral<std::uint32_t>();
    std::string bytes;
    if (m_data.ConsumeBool()) {
        bytes = Plausible()[m_data.ConsumeIntegralInRange<std::size_t>(0, Plausible().size() - 1)];
        bytes.push_back('\0');
    } else {
        bytes = m_data.ConsumeRandomLengthString(m_data.ConsumeBool() ? 16 : 4096);
    }
    sqlite3_stmt* statement = Statement(kInsertValue);
    sqlite3_bind_int64(statement, 1, key);
    sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 3, type);
    sqlite3_bind_blob(statement, 4, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 5, ++m_seq);
    sqlite3_step(statement);
}

void CRawTree::KnownValues(sqlite3_int64 key) {
    int count = m_data.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < count; ++i) {
        Value(key,
              ValueNames()[m_data.ConsumeIntegralInRange<std::size_t>(0, ValueNames().size() - 1)]);
    }
}

void CRawTree::Reparent(sqlite3_int64 key, sqlite3_int64 parent) {
    if (!m_bMovable) {
        // The hive puts the guard back when it next opens the file for writing, after its
        // checks have seen what the move made.
        Exec("DROP TRIGGER IF EXISTS keys_stay");
        m_bMovable = true;
    }
    sqlite3_stmt* statement = Statement(kMoveKey);
    sqlite3_bind_int64(statement, 1, parent);
    sqlite3_bind_int64(statement, 2, key);
    sqlite3_step(statement);
}

void CRawTree::Drop(sqlite3_int64 key) {
    sqlite3_stmt* statement = Statement(kDropKey);
    sqlite3_bind_int64(statement, 1, key);
    sqlite3_step(statement);
}

sqlite3_stmt* CRawTree::Statement(EStatement which) {
    static constexpr const char* kSql[kStatementCount] = {
        "SELECT id FROM keys WHERE parent = ? AND name = ?",
        "INSERT OR IGNORE INTO keys(parent, name) VALUES(?, ?)",
        "INSERT OR REPLACE INTO vals(key, name, type, data, seq) VALUES(?, ?, ?, ?, ?)",
        "UPDATE OR IGNORE keys SET parent = ? WHERE id = ?",
        "DELETE FROM keys WHERE id = ?",
    };
    sqlite3_stmt*& statement = m_statements[which];
    if (statement == nullptr) {
        sqlite3_prepare_v2(m_pDb, kSql[which], -1, &statement, nullptr);
    } else {
        // A schema change (the dropped trigger) makes SQLite prepare it again by itself.
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
    return statement;
}
