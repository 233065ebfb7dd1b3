#pragma once

#include "platformfamily.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class CHive;

// What a source holds, recognised by its first bytes rather than its name.
enum class ESourceKind { RegistryFile, HiveFile, RegFile, Configuration };

// A source that cannot be read. Refused: it was read but does not fit (a configuration file
// that the schema refuses; the problems name each field and the reason); otherwise it could
// not be read at all (missing, damaged, not a source of any kind).
class CSourceError : public std::runtime_error {
public:
    CSourceError(const std::string& reason, bool refused = false)
        : std::runtime_error(reason), m_bRefused(refused) {}
    bool Refused() const { return m_bRefused; }

private:
    bool m_bRefused;
};

// The configuration that a source holds, in the form of show --json: our registry file or a
// Windows SYSTEM hive file (loaded as at start-up, read only), a .reg file (imported into a
// registry in memory that is never written anywhere, then loaded), or a configuration file
// (checked against the schema).
class CConfigurationSource {
public:
    // Throws CSourceError naming the file.
    static nlohmann::ordered_json Read(const std::string& path, EPlatformFamily family);
    static std::optional<ESourceKind> KindOf(std::span<const std::uint8_t> head);
    // The configuration a hive holds, loaded as at start-up inside a user action that is never
    // committed. Throws CSourceError with the load's messages when it fails.
    static nlohmann::ordered_json FromRegistry(CHive& hive, EPlatformFamily family);
    // The same inside the caller's user action on the current hive, with the current family:
    // what the registry holds now, as the next start-up would see it.
    static nlohmann::ordered_json Loaded();
    // A configuration file's text, checked against the schema. Throws CSourceError.
    static nlohmann::ordered_json FromConfiguration(const std::string& name,
                                                    const std::string& text);

private:
    static nlohmann::ordered_json Load(CHive& hive, EPlatformFamily family);
    static nlohmann::ordered_json FromRegFile(const std::string& path,
                                              const std::vector<std::uint8_t>& bytes,
                                              EPlatformFamily family);
};
