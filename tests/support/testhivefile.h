#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Builds Windows SYSTEM hive files from code: a base block and one bin holding the root key and
// its security descriptor, then hivex adds the keys. The content imitates an installation:
// Select, and per control set the serial service with instance keys that are not QSER's, and
// other services with expandable and multi-string values.
class CTestHiveFile {
public:
    struct SOptions {
        // The control set that Select\Current names (1 or 2).
        unsigned current = 1;
        // Also ControlSet002 (always there when current is 2).
        bool bSecondSet = false;
        // Without Select the file is no SYSTEM hive.
        bool bSelect = true;
        // Further services, each with a few values, to make the file large.
        std::size_t bulkServices = 0;
        // More instance keys of the machine's own ports under Serial\Parameters, beside
        // Serial10000 and Serial10001 (both COM1), in each control set.
        struct SInstance {
            std::string name;
            std::u16string comName;
        };
        std::vector<SInstance> extraInstances = {};
        // The ports and the COM name database of Windows 2000 and later in each control set:
        // the built-in COM1 (Enum\ACPI\PNP0501\1, 0x3f8, interrupt 4, a 32-bit resource list)
        // and COM2 (\2, 0x2f8, interrupt 3, a 64-bit one), and ComDB, 32 bytes, marking COM1,
        // COM2 and the foreign COM12 and COM256.
        bool bMachinePorts = false;
    };

    // A hive with the root key only.
    static void WriteEmpty(const std::string& path);
    static void WriteSystem(const std::string& path, const SOptions& options);
    static void WriteSystem(const std::string& path) { WriteSystem(path, SOptions()); }

    // The damage a real file may show, each with a valid checksum unless said otherwise.
    static void MakeDirty(const std::string& path);
    static void BreakChecksum(const std::string& path);
    static void Truncate(const std::string& path, std::size_t size);
    // The record of the first key of that name loses its signature: the file opens, and the
    // first read that reaches the key finds the damage.
    static void BreakKey(const std::string& path, const std::string& name);
};
