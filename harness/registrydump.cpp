#include "registrydump.h"

#include "hive.h"

#include <memory>
#include <sqlite3.h>

namespace {
// Paths are built by walking down from the root; the depth bound keeps a parent cycle made by
// hand from recursing for ever.
constexpr const char* kDumpSql =
    "WITH RECURSIVE tree(id, path, depth) AS ("
    " SELECT id, name, 1 FROM keys WHERE parent = 0"
    " UNION ALL SELECT k.id, t.path || '\\' || k.name, t.depth + 1 FROM keys k"
    " JOIN tree t ON k.parent = t.id WHERE t.depth < 512)"
    " SELECT t.path, coalesce(v.name, ''), coalesce(v.type, ''), coalesce(hex(v.data), ''),"
    " coalesce(v.seq, '') FROM tree t LEFT JOIN vals v ON v.key = t.id"
    " UNION ALL SELECT '[service]' || name, running, refuse_stop, marked_for_deletion, ''"
    " FROM services"
    " UNION ALL SELECT '[keys]', count(*), '', '', '' FROM keys"
    " ORDER BY 1, 2";

using Connection = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

Connection OpenPlain(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, "unix");
    sqlite3_busy_timeout(db, 30000);
    return Connection(db, sqlite3_close_v2);
}

std::string Rows(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        return std::string("error: ") + sqlite3_errmsg(db);
    }
    std::string text;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            const unsigned char* value = sqlite3_column_text(statement, column);
            text += column == 0 ? "" : "\t";
            text += value != nullptr ? reinterpret_cast<const char*>(value) : "";
        }
        text += '\n';
    }
    if (rc != SQLITE_DONE) {
        text += std::string("error: ") + sqlite3_errmsg(db) + '\n';
    }
    sqlite3_finalize(statement);
    return text;
}
} // namespace

std::string CRegistryDump::Dump(const std::string& path) {
    return Rows(OpenPlain(path).get(), kDumpSql);
}

SFileVerdict CRegistryDump::Inspect(const std::string& path, bool quick) {
    SFileVerdict verdict;
    try {
        CHive::Open(path, EHiveOpen::MustExist);
        verdict.opens = true;
    } catch (const CHiveError& error) {
        verdict.openError = error.what();
    }
    Connection db = OpenPlain(path);
    verdict.integrity = Rows(db.get(), quick ? "PRAGMA quick_check" : "PRAGMA integrity_check");
    if (!verdict.integrity.empty() && verdict.integrity.back() == '\n') {
        verdict.integrity.pop_back();
    }
    verdict.dump = Rows(db.get(), kDumpSql);
    return verdict;
}
