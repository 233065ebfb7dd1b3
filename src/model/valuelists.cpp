#include "valuelists.h"

#include <cstdio>

namespace {

std::vector<std::string> AddressList(unsigned first, unsigned step, unsigned count) {
    std::vector<std::string> list;
    list.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%03x", first + i * step);
        list.emplace_back(text);
    }
    return list;
}

std::vector<std::string> COMList(int first) {
    std::vector<std::string> list;
    for (int number = first; number <= 255; ++number) {
        list.push_back("COM" + std::to_string(number));
    }
    return list;
}

} // namespace

const std::vector<std::string>& BaseAddressListB1() {
    static const auto list = AddressList(0x200, 8, 61);
    return list;
}

const std::vector<std::string>& BaseAddressListB2() {
    static const auto list = AddressList(0x000, 8, 121);
    return list;
}

const std::vector<std::string>& VectorAddressListV1() {
    static const auto list = AddressList(0x200, 16, 32);
    return list;
}

const std::vector<std::string>& VectorAddressListV2() {
    static const auto list = AddressList(0x000, 8, 128);
    return list;
}

const std::vector<std::string>& PortAddressListP() {
    static const auto list = AddressList(0x200, 8, 64);
    return list;
}

const std::vector<std::string>& BaseCOMPortList() {
    static const auto list = COMList(3);
    return list;
}

const std::vector<std::string>& PortCOMPortList(int standardMode) {
    static const auto standardList = COMList(1);
    return standardMode != 0 ? standardList : BaseCOMPortList();
}

const std::vector<std::string>& ShareIRQList() {
    return PortIRQListFull();
}

const std::vector<std::string>& PortIRQListFull() {
    static const std::vector<std::string> list = {"3", "4",  "5",  "6",  "7",
                                                  "9", "10", "11", "12", "15"};
    return list;
}

const std::vector<std::string>& PortIRQListShort() {
    static const std::vector<std::string> list = {"3", "4", "5", "6", "7", "9"};
    return list;
}

const std::vector<SStandardModePort>& StandardModeTable() {
    static const std::vector<SStandardModePort> table = {
        {"0x3f8", "COM1", "4", "0x200", "COM3"},
        {"0x2f8", "COM2", "3", "0x208", "COM4"},
        {"0x3e8", "COM3", "10", "0x210", "COM5"},
        {"0x2e8", "COM4", "5", "0x218", "COM6"},
    };
    return table;
}
