#pragma once

#include <string>

class CBoardObj;
class CPortObj;

// What the load of the driver key builds: the document's records, counters and system name.
class IConfigurationBuilder {
public:
    virtual ~IConfigurationBuilder() = default;
    virtual void SetSystemName(const std::string& name) = 0;
    virtual void SetNumBoards(const std::string& number) = 0;
    virtual void SetNumPorts(const std::string& number) = 0;
    // A new board of that name appended to the configuration and made current; null when none
    // can be made.
    virtual CBoardObj* AppendBoard(const std::string& boardName) = 0;
    // A new port without a generated name on the current board, made current.
    virtual CPortObj* AppendPort() = 0;
};
