#include "sqlitefile.h"

#include "checkedstates.h"
#include "hivefile.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

constexpr std::size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3"; // with its zero: 16 bytes

// Every key reachable from the root, each once: a key whose parent chain never reaches the root
// (a cycle) is left out. UNION keeps the walk finite whatever the rows hold.
constexpr const char* kUnreachedKeys =
    "WITH RECURSIVE reach(id) AS (SELECT id FROM keys WHERE parent = 0 UNION "
    "SELECT keys.id FROM keys JOIN reach ON keys.parent = reach.id) "
    "SELECT (SELECT count(*) FROM keys) - (SELECT count(*) FROM reach)";

// A row when some key's parent is missing; each parent is looked up once.
constexpr const char* kMissingParent =
    "SELECT 1 FROM (SELECT DISTINCT parent FROM keys WHERE parent <> 0) AS p "
    "WHERE NOT EXISTS (SELECT 1 FROM keys WHERE id = p.parent) LIMIT 1";
// A row when some key's parent id is not below its own (NULL, text and blobs included).
constexpr const char* kParentNotBelow =
    "SELECT 1 FROM keys WHERE parent IS NULL OR parent >= id LIMIT 1";

std::uint32_t BigEndian32(const std::array<unsigned char, kHeaderSize>& header,
                          std::size_t offset) {
    return std::uint32_t{header[offset]} << 24 | std::uint32_t{header[offset + 1]} << 16 |
           std::uint32_t{header[offset + 2]} << 8 | std::uint32_t{header[offset + 3]};
}

// A URI for SQLite that reads the file without locks or shared memory.
std::string ImmutableUri(const std::string& path) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char ch : path) {
        const auto byte = static_cast<unsigned char>(ch);
        if (std::isalnum(byte) || std::strchr("/-._~", ch) != nullptr) {
            uri += ch;
        } else {
            uri += '%';
            uri += kDigits[byte >> 4];
            uri += kDigits[byte & 0x0F];
        }
    }
    return uri + "?immutable=1";
}

// Whether the write-ahead log holds frames that an immutable reader would not see.
bool HasLogContent(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path + "-wal", error);
    return !error && size > 0;
}
} // namespace

bool CSqliteFile::IsDiskFull(const CSqliteError& error) {
    return (error.Code() & 0xff) == SQLITE_FULL || error.SystemError() == ENOSPC ||
           error.SystemError() == EDQUOT;
}

std::string CSqliteFile::Reason(const CSqliteError& error) {
    const int primary = error.Code() & 0xff;
    if (IsDiskFull(error)) {
        return "the disk is full";
    }
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        return std::string("it is damaged (") + error.what() + ")";
    }
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        return "another process keeps it locked";
    }
    // Only these come from a system call; for the others the system's error may be stale.
    const bool system = primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN ||
                        primary == SQLITE_READONLY || primary == SQLITE_PERM;
    if (system && error.SystemError() != 0) {
        return CHiveFile::SystemReason(error.SystemError());
    }
    if (primary == SQLITE_IOERR) {
        return std::string("an I/O error occurred (") + error.what() + ")";
    }
    return error.what();
}

std::unique_ptr<CSqliteConnection> CSqliteFile::OpenReadOnly(const std::string& path) {
    try {
        auto connection = std::make_unique<CSqliteConnection>(path, SQLITE_OPEN_READONLY);
        sqlite3_busy_timeout(connection->Handle(), kBusyTimeoutMs);
        connection->QueryText("SELECT count(*) FROM sqlite_schema");
        return connection;
    } catch (const CSqliteError& error) {
        // Without a log no other process is writing, so reading without locks sees it all.
        const int primary = error.Code() & 0xff;
        const bool noSharedMemory = primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR ||
                                    primary == SQLITE_READONLY || primary == SQLITE_FULL;
        if (!noSharedMemory || HasLogContent(path)) {
            throw;
        }
    }
    return std::make_unique<CSqliteConnection>(ImmutableUri(path),
                                               SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
}

SHiveFileFacts CSqliteFile::Check(const std::string& path, EHiveOpen mode) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        CheckMissing(path, mode);
        return {true, {}};
    }
    if (error) {
        throw CHiveFile::Refusal(path, CHiveFile::SystemReason(error.value()));
    }
    if (status.type() != fs::file_type::regular) {
        throw CHiveFile::Refusal(path, "it is not a regular file");
    }
    if (access(path.c_str(), R_OK) != 0) {
        throw CHiveFile::Refusal(path, CHiveFile::SystemReason(errno));
    }
    SHiveFileFacts facts;
    facts.readOnlyReason = WriteRefusal(path);
    const std::uintmax_t size = fs::file_size(path, error);
    facts.bEmpty = (size == 0 && !error) || CheckContent(path, CheckHeader(path));
    return facts;
}

// A path the user chose must name an existing folder: a typing mistake must not create one.
void CSqliteFile::CheckMissing(const std::string& path, EHiveOpen mode) {
    if (mode != EHiveOpen::CreateIfMissing) {
        throw CHiveFile::Refusal(path, "it does not exist");
    }
    const fs::path folder = fs::path(path).parent_path();
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) {
        if (access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
            throw CHiveFile::Refusal(path, CHiveFile::SystemReason(errno));
        }
        return;
    }
    if (path != CHive::DefaultPath()) {
        throw CHiveFile::Refusal(path, "its folder does not exist");
    }
    if (!fs::create_directories(folder, error) && error) {
        throw CHiveFile::Refusal(path, "its folder cannot be created (" +
                                           CHiveFile::SystemReason(error.value()) + ")");
    }
}

std::string CSqliteFile::WriteRefusal(const std::string& path) {
    std::string refusal = CHiveFile::FileWriteRefusal(path);
    if (!refusal.empty()) {
        return refusal;
    }
    // SQLite keeps its log and shared memory in files beside the database.
    const bool logsWritable =
        access((path + "-wal").c_str(), W_OK) == 0 && access((path + "-shm").c_str(), W_OK) == 0;
    return logsWritable ? std::string() : CHiveFile::FolderWriteRefusal(path);
}

bool CSqliteFile::CheckHeader(const std::string& path) {
    std::array<unsigned char, kHeaderSize> header{};
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw CHiveFile::Refusal(path, CHiveFile::SystemReason(errno));
    }
    file.read(reinterpret_cast<char*>(header.data()), header.size());
    if (file.bad()) {
        throw CHiveFile::Refusal(path, CHiveFile::SystemReason(EIO));
    }
    if (file.gcount() != static_cast<std::streamsize>(header.size()) ||
        std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) {
        throw CHiveFile::Refusal(path, "it is not an SQLite database");
    }
    std::uint32_t application = BigEndian32(header, 68);
    std::uint32_t version = BigEndian32(header, 60);
    bool unmarked = application == 0 && version == 0;
    if (application != kApplicationId && !unmarked) {
        throw CHiveFile::Refusal(path, "it is the database of another program");
    }
    if (version > kSchemaVersion) {
        throw CHiveFile::Refusal(path, "it was written by a newer version of QSER");
    }
    return unmarked;
}

// Reading all of a file again that passed before and has not changed since only costs time.
bool CSqliteFile::CheckContent(const std::string& path, bool unmarked) {
    const CCheckedStates checked = CCheckedStates::ForUser();
    const std::optional<CCheckedStates::SState> state = CCheckedStates::Of(path);
    if (state && checked.Holds(*state)) {
        return false;
    }
    const std::int64_t startNs = CCheckedStates::NowNs();
    const bool empty = InspectContent(path, unmarked);
    // A state that changed during the check may not be the one that was checked.
    if (!empty && state && CCheckedStates::Of(path) == state) {
        checked.Remember(*state, startNs);
    }
    return empty;
}

bool CSqliteFile::InspectContent(const std::string& path, bool unmarked) {
    std::string verdict;
    std::string application;
    std::string version;
    std::string tables;
    std::string ourTables;
    std::string damage;
    try {
        // A read-only connection never checkpoints, so the check leaves the file as it was.
        std::unique_ptr<CSqliteConnection> connection = OpenReadOnly(path);
        verdict = connection->QueryText("PRAGMA quick_check");
        // The header in the file may lag behind the write-ahead log: ask again through SQLite.
        application = connection->QueryText("PRAGMA application_id");
        version = connection->QueryText("PRAGMA user_version");
        tables = connection->QueryText("SELECT count(*) FROM sqlite_schema");
        ourTables = connection->QueryText("SELECT count(*) FROM sqlite_schema WHERE type = "
                                          "'table' AND name IN ('keys', 'vals', 'services')");
        if (verdict == "ok" && ourTables == "3") {
            damage = TreeDamage(*connection);
        }
    } catch (const CSqliteError& error) {
        throw CHiveFile::Refusal(path, Reason(error));
    }
    if (verdict != "ok") {
        throw CHiveFile::Refusal(path, "it is damaged (" + verdict + ")");
    }
    // An unmarked database without tables holds nobody's data: another process of ours may be
    // creating it right now.
    const bool ours = application == std::to_string(kApplicationId);
    if (!ours && !(unmarked && application == "0" && tables == "0")) {
        throw CHiveFile::Refusal(path, "it is the database of another program");
    }
    if (std::stoll(version) > kSchemaVersion) {
        throw CHiveFile::Refusal(path, "it was written by a newer version of QSER");
    }
    if (!ours) {
        return true;
    }
    if (version != std::to_string(kSchemaVersion)) {
        throw CHiveFile::Refusal(path, "it is damaged (schema version " + version + ")");
    }
    if (ourTables != "3") {
        throw CHiveFile::Refusal(path, "it is damaged (the registry tables are missing)");
    }
    if (!damage.empty()) {
        throw CHiveFile::Refusal(path, "it is damaged (" + damage + ")");
    }
    return false;
}

// The tree must hang from the root: every walk of it relies on that to end. quick_check does
// not look at what the rows mean.
//
// The exact walks cost many times a plain scan, so they run only when a cheap test fails: each
// parent is looked up once, not once per child; and when every key's parent id is below its own
// (as ids that only grow make them), every chain of existing parents descends to the root.
std::string CSqliteFile::TreeDamage(CSqliteConnection& connection) {
    if (connection.QueryText("SELECT count(*) FROM keys WHERE id <= 0") != "0") {
        return "a key has the id of HKEY_LOCAL_MACHINE";
    }
    if (!connection.QueryText(kMissingParent).empty()) {
        const std::string orphan =
            connection.QueryText("SELECT id FROM keys AS k WHERE parent <> 0 AND NOT EXISTS "
                                 "(SELECT 1 FROM keys WHERE id = k.parent) LIMIT 1");
        return "the parent of key " + orphan + " does not exist";
    }
    const bool mayCycle = !connection.QueryText(kParentNotBelow).empty();
    const std::string unreached = mayCycle ? connection.QueryText(kUnreachedKeys) : "0";
    if (unreached != "0") {
        return unreached + " keys are their own ancestors";
    }
    return {};
}
