#pragma once

#include <cstdint>
#include <string>

class CBoardObj;
class CRegistry;
class CPortObj;
class IConfigurationBuilder;

// The driver key SYSTEM\CurrentControlSet\Services\QSERDRV: one sub-key per board, one sub-key
// per port under its board. Each procedure opens its own key, reports failures with the
// system's message boxes and returns 1 on success, 0 after a failure that stopped it.
class CDriverKeyStore {
public:
    // Builds the configuration from the driver key, creating the key when it is missing.
    static int LoadConfiguration(IConfigurationBuilder& builder);

    static int ReadBoardKey(const std::string& boardKeyName, CBoardObj& board);
    static int WriteBoardKey(const CBoardObj& board);
    static int ReadPortKey(const std::string& boardKeyName, const std::string& portKeyName,
                           CPortObj& port);
    static int WritePortKey(const std::string& boardKeyName, const CPortObj& port);
    static int SaveSystemValues(const std::string& systemName, const std::string& numBoards,
                                const std::string& numPorts);

    // Deletes a port's key and then its operating-system instance keys, when they are its own
    // (CInstanceOwnership): a port without a valid instance name, or whose instance another
    // port still names, leaves every instance key alone.
    static void DeletePortKeys(const std::string& boardKeyName, const CPortObj& port);
    // Deletes a board's key (its ports must be deleted first); 0 when that failed.
    static int DeleteBoardKey(const std::string& boardKeyName);

    // One value of a board's existing key, as a form writes a choice: "Open registry failed"
    // when the key cannot be opened, "Unable to write to registry" when the value cannot be
    // written; 1 when written.
    static int WriteBoardValue(const std::string& boardKeyName, const std::string& valueName,
                               const std::string& text);
    static int WriteBoardValue(const std::string& boardKeyName, const std::string& valueName,
                               std::uint32_t number);
    // The same for a port's existing key, except that a missing key is not reported (nothing is
    // written then either).
    static int WritePortValue(const std::string& boardKeyName, const std::string& portKeyName,
                              const std::string& valueName, const std::string& text);

    // Opens an existing board key into key; reports "Open registry failed" when it cannot.
    static bool OpenBoardKey(CRegistry& key, const std::string& boardKeyName);

    static constexpr const char* kLoadedSystemName = "Brimholde QSER 32bit Utility Ver. 1.10";
};
