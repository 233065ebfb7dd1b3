#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// One way two configurations differ, going from one (the old) to the other (the new).
struct SConfigurationDifference {
    enum class EKind { BoardAdded, BoardRemoved, PortAdded, PortRemoved, ValueChanged };

    EKind kind = EKind::ValueChanged;
    std::string board; // empty for a system value
    std::string port;  // empty for a board or system value
    std::string name;  // the value's name, for ValueChanged
    nlohmann::ordered_json oldValue;
    nlohmann::ordered_json newValue;
    // The added or removed board or port as the configuration states it.
    nlohmann::ordered_json record;

    bool operator==(const SConfigurationDifference&) const = default;
};

// Which values a comparison looks at: those of the configuration, or also those that belong to
// the machine (the counters and the driver's name of the driver key, the instance names in
// PortSerialPort).
enum class EDiffScope { Configuration, All };

// Compares two configurations in the form of show --json as an administrator sees them: boards
// and ports matched by name (without regard to case, as key names compare), in the order of the
// new configuration. A value that one of them does not state is not compared.
class CConfigurationDiff {
public:
    static std::vector<SConfigurationDifference>
    Compare(const nlohmann::ordered_json& from, const nlohmann::ordered_json& to, EDiffScope scope);
    static bool IsMachineValue(const std::string& name);

    // One line a difference, as "Board000/Port001: PortIRQ 7 -> 5".
    static std::vector<std::string> Lines(const std::vector<SConfigurationDifference>& diffs);
    static nlohmann::ordered_json ToJson(const std::vector<SConfigurationDifference>& diffs);
    static const char* KindName(SConfigurationDifference::EKind kind);
};
