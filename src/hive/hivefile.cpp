#include "hivefile.h"

#include "sqliteconnection.h"
#include "sqliteerror.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>

namespace {
constexpr std::size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3"; // with its zero: 16 bytes

std::uint32_t BigEndian32(const std::array<unsigned char, kHeaderSize>& header,
                          std::size_t offset) {
    return std::uint32_t{header[offset]} << 24 | std::uint32_t{header[offset + 1]} << 16 |
           std::uint32_t{header[offset + 2]} << 8 | std::uint32_t{header[offset + 3]};
}
} // namespace

CHiveError CHiveFile::Refusal(const std::string& path, const std::string& reason) {
    return CHiveError("Cannot use registry file '" + path + "': " + reason);
}

void CHiveFile::Check(const std::string& path, EHiveOpen mode) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        if (mode == EHiveOpen::MustExist) {
            throw Refusal(path, "it does not exist");
        }
        fs::path folder = fs::path(path).parent_path();
        if (!folder.empty() && !fs::create_directories(folder, error) && error) {
            throw Refusal(path, "its folder cannot be created (" + error.message() + ")");
        }
        return;
    }
    if (status.type() != fs::file_type::regular) {
        throw Refusal(path, "it is not a regular file");
    }
    if (fs::file_size(path, error) == 0 && !error) {
        return;
    }
    CheckContent(path, CheckHeader(path));
}

bool CHiveFile::CheckHeader(const std::string& path) {
    std::array<unsigned char, kHeaderSize> header{};
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw Refusal(path, "it cannot be read");
    }
    file.read(reinterpret_cast<char*>(header.data()), header.size());
    if (file.gcount() != static_cast<std::streamsize>(header.size()) ||
        std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) {
        throw Refusal(path, "it is not an SQLite database");
    }
    std::uint32_t application = BigEndian32(header, 68);
    std::uint32_t version = BigEndian32(header, 60);
    bool unmarked = application == 0 && version == 0;
    if (application != kApplicationId && !unmarked) {
        throw Refusal(path, "it is the database of another program");
    }
    if (version > kSchemaVersion) {
        throw Refusal(path, "it was written by a newer version of QSER");
    }
    return unmarked;
}

void CHiveFile::CheckContent(const std::string& path, bool unmarked) {
    std::string verdict;
    std::string application;
    std::string version;
    std::string tables;
    try {
        // A read-only connection never checkpoints, so the check leaves the file as it was.
        CSqliteConnection connection(path, SQLITE_OPEN_READONLY);
        sqlite3_busy_timeout(connection.Handle(), kBusyTimeoutMs);
        verdict = connection.QueryText("PRAGMA quick_check");
        // The header in the file may lag behind the write-ahead log: ask again through SQLite.
        application = connection.QueryText("PRAGMA application_id");
        version = connection.QueryText("PRAGMA user_version");
        tables = connection.QueryText("SELECT count(*) FROM sqlite_schema");
    } catch (const CSqliteError& error) {
        verdict = error.what();
    }
    if (verdict != "ok") {
        throw Refusal(path, "it is damaged (" + verdict + ")");
    }
    // An unmarked database without tables holds nobody's data: another process of ours may be
    // creating it right now.
    bool ours = application == std::to_string(kApplicationId);
    if (!ours && !(unmarked && application == "0" && tables == "0")) {
        throw Refusal(path, "it is the database of another program");
    }
    if (std::stoll(version) > kSchemaVersion) {
        throw Refusal(path, "it was written by a newer version of QSER");
    }
}
