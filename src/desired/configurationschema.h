#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The shipped JSON Schema of a configuration file (res/schema/qser-configuration.schema.json)
// and the check of a file against it. The check knows the parts of JSON Schema that schema
// uses (types, properties, required and unknown fields, items, references into $defs, bounds
// of numbers and texts, patterns); what no schema can say, that a board or a port of a board
// is named once, it checks as well.
class CConfigurationSchema {
public:
    static const nlohmann::json& Schema();
    static const std::string& Text();

    // Each place that does not fit, as "Boards[1].Ports[0].PortIRQ: must be a text, not a
    // number"; empty when the configuration fits.
    static std::vector<std::string> Problems(const nlohmann::ordered_json& configuration);
};
