#pragma once

#include "hive.h"

#include <cstdint>
#include <memory>
#include <string>

class CSqliteConnection;
class CSqliteError;

// What the check of a usable file found out.
struct SHiveFileFacts {
    // Missing, zero length, or an unmarked database without tables: it holds no registry yet.
    bool bEmpty = false;
    // Why the file cannot be written; empty when it can. Such a file is opened for reading.
    std::string readOnlyReason;
};

// Decides whether a file may be used as our registry file before anything writes to it:
// switching the journal mode alone would rewrite the header of a file that belongs to someone
// else.
class CSqliteFile {
public:
    static constexpr std::uint32_t kApplicationId = 0x51534552; // "QSER"
    static constexpr std::uint32_t kSchemaVersion = 1;
    // How long a connection waits for another process's lock before it gives up.
    static constexpr int kBusyTimeoutMs = 30000;

    // Throws CHiveError when the file must not be used. A missing file is allowed only with
    // EHiveOpen::CreateIfMissing; its folder is created only for CHive::DefaultPath().
    static SHiveFileFacts Check(const std::string& path, EHiveOpen mode);
    // What a failed SQLite call on the file means for the user: the disk is full, an I/O error,
    // damage, a lock, ...
    static std::string Reason(const CSqliteError& error);
    static bool IsDiskFull(const CSqliteError& error);
    // A connection that never writes the file or its logs, also where SQLite cannot make the
    // shared-memory file (a folder that cannot be written, a full disk). Throws CSqliteError.
    static std::unique_ptr<CSqliteConnection> OpenReadOnly(const std::string& path);

private:
    static void CheckMissing(const std::string& path, EHiveOpen mode);
    // Returns whether the file is not yet marked (application_id 0).
    static bool CheckHeader(const std::string& path);
    // Returns whether the file holds no registry yet. A file of ours is read whole only when
    // its state has not passed before.
    static bool CheckContent(const std::string& path, bool unmarked);
    static bool InspectContent(const std::string& path, bool unmarked);
    static std::string TreeDamage(CSqliteConnection& connection);
    static std::string WriteRefusal(const std::string& path);
};
