#pragma once

#include <nlohmann/json.hpp>
#include <string>

class CBoardObj;
class CPortObj;
class CQSERDoc;

// The configuration as the document holds it: the system values, then every board with its
// values and its ports, keyed by the registry value names, in the document's order. Texts are
// converted from the hive's Latin-1 to UTF-8; the two board flags stay numbers.
class CConfigurationReport {
public:
    static nlohmann::ordered_json Json(const CQSERDoc& doc);
    // One board with its ports, or one port, as Json lists them.
    static nlohmann::ordered_json BoardJson(const CBoardObj& board);
    static nlohmann::ordered_json PortJson(const CPortObj& port);
    // The same as an indented tree a person can read: a board or port is headed by its name.
    static std::string Text(const CQSERDoc& doc);
};
