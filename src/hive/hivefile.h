#pragma once

#include "hive.h"

#include <cstdint>
#include <string>

// Decides whether a file may be used as a hive before anything writes to it: switching the
// journal mode alone would rewrite the header of a file that belongs to someone else.
class CHiveFile {
public:
    static constexpr std::uint32_t kApplicationId = 0x51534552; // "QSER"
    static constexpr std::uint32_t kSchemaVersion = 1;
    // How long a connection waits for another process's lock before it gives up.
    static constexpr int kBusyTimeoutMs = 30000;

    // Throws CHiveError when the file must not be used. A missing file is allowed only with
    // EHiveOpen::CreateIfMissing, which also creates its folder; a zero-length file counts as new.
    static void Check(const std::string& path, EHiveOpen mode);
    // The error for a refused file: names the file and the reason.
    static CHiveError Refusal(const std::string& path, const std::string& reason);

private:
    // Returns whether the file is not yet marked (application_id 0).
    static bool CheckHeader(const std::string& path);
    static void CheckContent(const std::string& path, bool unmarked);
};
