#pragma once

#include <optional>
#include <string>
#include <vector>

// Which operating-system instance keys the system owns, in one place: the keys
// (Serial\Parameters\<S> on Windows NT; Class\Ports\<S> and Enum\Root\Ports\<S> on Windows
// 95/98) of an instance name S of the running family's form (IsInstanceName) that a port key
// under the driver key names in its PortSerialPort. No other key outside the driver key is
// written or deleted, least of all the parents that hold every port's instance.
class CInstanceOwnership {
public:
    // The port keys under the driver key, as the load walks them, whose stored PortSerialPort
    // names the instance (compared as key names compare, without case). A key that exists but
    // cannot be read counts as naming it.
    static int NamingPorts(const std::string& instance);

    // The text of the value valueId (a string resource) of every port key under the driver key,
    // as the load walks them ("" where the value is missing or no text); nothing stands for a
    // port or board key that exists but cannot be read.
    static std::vector<std::optional<std::string>> PortTexts(unsigned valueId);

    // Whether the instance keys of a port that is being removed go with it: the instance is of
    // the family's form and no port key left names it. Asked after the port's own key is gone,
    // so a key named by two ports goes with the last of them.
    static bool MayDeleteAfterRemoval(const std::string& instance);
};
