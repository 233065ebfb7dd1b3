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

    // Throws CHiveError when the file must not be used. A missing file is allowed only with
    // EHiveOpen::CreateIfMissing, which also creates its folder; a zero-length file counts as new.
    static void Check(const std::string& path, EHiveOpen mode);
    // The error for a refused file: names the file and the reason.
    static CHiveError Refusal(const std::string& path, const std::string& reason);

private:
    static void CheckHeader(const std::string& path);
    static void CheckIntegrity(const std::string& path);
};
