#pragma once

#include <string>
#include <vector>

// The texts the forms offer, in the order they are offered. Each list is built once.

// Board base addresses: B1 for base-addressed models but RX-408, B2 for RX-408.
const std::vector<std::string>& BaseAddressListB1();
const std::vector<std::string>& BaseAddressListB2();
// Vector addresses: V1 for sharing mode "Both", V2 for RX-408.
const std::vector<std::string>& VectorAddressListV1();
const std::vector<std::string>& VectorAddressListV2();
// Port addresses of individually addressed models.
const std::vector<std::string>& PortAddressListP();

// "COM3" to "COM255".
const std::vector<std::string>& BaseCOMPortList();
// "COM1" to "COM255" while the board is in standard mode, else the base COM list.
const std::vector<std::string>& PortCOMPortList(int standardMode);

const std::vector<std::string>& ShareIRQList();
// Full for every model but RQ-6001, which gets the short list.
const std::vector<std::string>& PortIRQListFull();
const std::vector<std::string>& PortIRQListShort();

// Resources of ports 0 to 3 in standard mode and after leaving it.
struct SStandardModePort {
    std::string address;
    std::string comPort;
    std::string irq; // with sharing off
    std::string addressAfter;
    std::string comPortAfter;
};
const std::vector<SStandardModePort>& StandardModeTable();

// Values set when the user switches sharing on or standard mode off.
inline constexpr const char* kSharedIRQWhenSharing = "7";
inline constexpr const char* kVectorAddressWhenSharing = "0x2d0";
inline constexpr const char* kBaseAddressAfterStandardMode = "0x200";
inline constexpr const char* kBaseCOMPortAfterStandardMode = "COM3";
