#pragma once

#include <array>
#include <cstdint>
#include <string>

// The binary records of a Windows 95/98 port: the 26 bytes of its default device control block
// and the 60-byte logical configuration record (configuration manager layout, little-endian)
// used for the forced configuration and the nine basic configurations.
using CConfigRecordBytes = std::array<std::uint8_t, 60>;
using CDcbBytes = std::array<std::uint8_t, 26>;

class CConfigRecord {
public:
    static const CDcbBytes& DefaultDCB();
    // The forced configuration before it is patched with the port's range and IRQ.
    static CConfigRecordBytes ForcedConfigTemplate();
    // Basic configuration "0" to "8".
    static CConfigRecordBytes LogConfig(int number);

    // Patch the allocated range and the range minimum and maximum with the port address (read
    // from its address digits as hexadecimal), and the end with address + 7. Return 1.
    static int SetForcedConfigRange(const std::string& address, CConfigRecordBytes& record);
    // Patch the allocated IRQ (byte 50) with the decimal IRQ text. Byte 51 is left. Return 1.
    static int SetForcedConfigIRQ(const std::string& irq, CConfigRecordBytes& record);
};
