#pragma once

#include <functional>
#include <string>

class CBoardObj;
class CPortObj;

// The document's values that Save writes into the driver key before the registration.
struct SSystemValues {
    std::string systemName;
    std::string numBoards;
    std::string numPorts;
};

// Enters every port found in the driver key in the operating system's own serial-port
// registry: on Windows NT as an instance of the Serial service, on Windows 95/98 as a class key
// and a root-enumerated device. A port whose PortSerialPort is no instance name of the running
// family (IsInstanceName) is registered nowhere; one message of the pass names every such port.
// Results: 1 when the pass ran to its end or had nothing to do, 0 when it stopped on a reported
// failure.
class CPortRegistration {
public:
    static int RegisterNTSerialPorts(const SSystemValues& values, bool hasBoards);
    static int Register95Ports(const SSystemValues& values, bool hasBoards);
    // The same pass on Linux, which writes no key: visit gets every port that has a line of
    // its own (ttyS4 to ttyS31) with its board, in driver-key order; the caller writes the
    // files.
    static int
    ForEachLinuxPort(const SSystemValues& values, bool hasBoards,
                     const std::function<void(const CBoardObj&, const CPortObj&)>& visit);

    // One port's entries; 0 when a key cannot be opened or the port has no instance name of the
    // running family (nothing is written then).
    static int WriteNTSerialPort(const CBoardObj& board, const CPortObj& port);
    static int Write95Port(const CBoardObj& board, const CPortObj& port);
};
