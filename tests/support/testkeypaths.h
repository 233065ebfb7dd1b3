#pragma once

#include <string>

// Registry paths as the tests expect them, written out rather than taken from the code under
// test, so that a wrong path in the code fails a test.
inline const std::string kServicesKey = "SYSTEM\\CurrentControlSet\\Services";
inline const std::string kDriverKey = kServicesKey + "\\QSERDRV";
inline const std::string kSerialKey = kServicesKey + "\\Serial";
inline const std::string kSerialParameters = kSerialKey + "\\Parameters";
inline const std::string kClassPorts = "SYSTEM\\CurrentControlSet\\Services\\Class\\Ports";
inline const std::string kEnumRootPorts = "Enum\\Root\\Ports";
inline const std::string kComNameArbiter = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";

inline std::string BoardKey(const std::string& board) {
    return kDriverKey + "\\" + board;
}

inline std::string PortKey(const std::string& board, const std::string& port) {
    return BoardKey(board) + "\\" + port;
}

// A key of its own for tests that need a tree of arbitrary keys: SYSTEM is all that a Windows
// hive file holds, and it already holds an installation's keys.
inline const std::string kTestRoot = kServicesKey + "\\QserTest";

inline std::string TestKey(const std::string& relative) {
    return kTestRoot + "\\" + relative;
}
