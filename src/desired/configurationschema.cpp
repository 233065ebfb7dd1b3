#include "configurationschema.h"

#include <regex>
#include <strings.h>

namespace {
using Json = nlohmann::ordered_json;

std::string KindOf(const Json& value) {
    switch (value.type()) {
    case Json::value_t::string:
        return "a text";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
        return "a whole number";
    case Json::value_t::number_float:
        return "a number with a fraction";
    case Json::value_t::boolean:
        return "true or false";
    case Json::value_t::array:
        return "a list";
    case Json::value_t::object:
        return "an object";
    default:
        return "null";
    }
}

bool HasType(const Json& value, const std::string& type) {
    if (type == "string") {
        return value.is_string();
    }
    if (type == "integer") {
        return value.is_number_integer();
    }
    if (type == "array") {
        return value.is_array();
    }
    return type == "object" && value.is_object();
}

const char* TypeWords(const std::string& type) {
    if (type == "string") {
        return "a text";
    }
    if (type == "integer") {
        return "a whole number";
    }
    return type == "array" ? "a list" : "an object";
}

std::string Field(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "." + name;
}

std::string Place(const std::string& path) {
    return path.empty() ? "the configuration" : path;
}

// One walk of a value against a schema node, collecting what does not fit.
class CSchemaWalk {
public:
    explicit CSchemaWalk(const nlohmann::json& root) : m_root(root) {}

    void Check(const nlohmann::json& node, const Json& value, const std::string& path) {
        if (const auto ref = node.find("$ref"); ref != node.end()) {
            // Only references into this schema's own $defs are made.
            const std::string target = ref->get<std::string>();
            Check(m_root.at(nlohmann::json::json_pointer(target.substr(1))), value, path);
            return;
        }
        if (const auto type = node.find("type"); type != node.end()) {
            if (!HasType(value, *type)) {
                Add(path, std::string("must be ") + TypeWords(*type) + ", not " + KindOf(value));
                return;
            }
        }
        if (value.is_object()) {
            CheckObject(node, value, path);
        } else if (value.is_array()) {
            CheckItems(node, value, path);
        } else if (value.is_string()) {
            CheckText(node, value.get<std::string>(), path);
        } else if (value.is_number_integer()) {
            CheckNumber(node, value, path);
        }
    }

    std::vector<std::string> Take() { return std::move(m_problems); }

    void Add(const std::string& path, const std::string& reason) {
        m_problems.push_back(Place(path) + ": " + reason);
    }

private:
    void CheckObject(const nlohmann::json& node, const Json& value, const std::string& path) {
        const nlohmann::json properties = node.value("properties", nlohmann::json::object());
        for (const auto& required : node.value("required", nlohmann::json::array())) {
            if (!value.contains(required.get<std::string>())) {
                Add(path, required.get<std::string>() + " is missing");
            }
        }
        for (const auto& [name, member] : value.items()) {
            if (const auto property = properties.find(name); property != properties.end()) {
                Check(*property, member, Field(path, name));
            } else if (node.value("additionalProperties", true) == false) {
                Add(path, "unknown field '" + name + "'");
            }
        }
    }

    void CheckItems(const nlohmann::json& node, const Json& value, const std::string& path) {
        const auto items = node.find("items");
        if (items == node.end()) {
            return;
        }
        for (std::size_t index = 0; index < value.size(); ++index) {
            Check(*items, value[index], path + "[" + std::to_string(index) + "]");
        }
    }

    void CheckText(const nlohmann::json& node, const std::string& text, const std::string& path) {
        if (text.size() < node.value("minLength", std::size_t{0})) {
            Add(path, "must not be empty");
        } else if (text.size() > node.value("maxLength", text.size())) {
            Add(path, "is longer than " + std::to_string(node["maxLength"].get<std::size_t>()) +
                          " characters");
        } else if (const auto pattern = node.find("pattern");
                   pattern != node.end() &&
                   !std::regex_search(text, std::regex(pattern->get<std::string>()))) {
            Add(path, "'" + text + "' is not " + node.value("description", "allowed here"));
        }
    }

    void CheckNumber(const nlohmann::json& node, const Json& value, const std::string& path) {
        const auto minimum = node.find("minimum");
        const auto maximum = node.find("maximum");
        if (minimum == node.end() || maximum == node.end()) {
            return;
        }
        // A number below zero is read as signed, any other as unsigned.
        const bool below =
            !value.is_number_unsigned() && value.get<std::int64_t>() < minimum->get<std::int64_t>();
        const bool above = value.is_number_unsigned() &&
                           value.get<std::uint64_t>() > maximum->get<std::uint64_t>();
        if (below || above) {
            Add(path, "is out of range (" + std::to_string(minimum->get<std::int64_t>()) + " to " +
                          std::to_string(maximum->get<std::uint64_t>()) + ")");
        }
    }

    const nlohmann::json& m_root;
    std::vector<std::string> m_problems;
};

// Names as the registry compares key names: without regard to case.
void CheckNamedOnce(const Json& list, const char* nameField, const std::string& path,
                    CSchemaWalk& walk) {
    if (!list.is_array()) {
        return;
    }
    for (std::size_t index = 0; index < list.size(); ++index) {
        const auto name = list[index].find(nameField);
        if (!list[index].is_object() || name == list[index].end() || !name->is_string()) {
            continue;
        }
        for (std::size_t earlier = 0; earlier < index; ++earlier) {
            const auto other =
                list[earlier].is_object() ? list[earlier].find(nameField) : list[earlier].end();
            if (other != list[earlier].end() && other->is_string() &&
                strcasecmp(other->get<std::string>().c_str(), name->get<std::string>().c_str()) ==
                    0) {
                walk.Add(path + "[" + std::to_string(index) + "]." + nameField,
                         name->get<std::string>() + " is named twice (also " + path + "[" +
                             std::to_string(earlier) + "])");
                break;
            }
        }
    }
}
} // namespace

const nlohmann::json& CConfigurationSchema::Schema() {
    static const nlohmann::json schema = nlohmann::json::parse(Text());
    return schema;
}

std::vector<std::string> CConfigurationSchema::Problems(const Json& configuration) {
    CSchemaWalk walk(Schema());
    walk.Check(Schema(), configuration, "");
    if (configuration.is_object() && configuration.contains("Boards")) {
        const Json& boards = configuration["Boards"];
        CheckNamedOnce(boards, "BoardName", "Boards", walk);
        for (std::size_t index = 0; boards.is_array() && index < boards.size(); ++index) {
            if (boards[index].is_object() && boards[index].contains("Ports")) {
                CheckNamedOnce(boards[index]["Ports"], "PortName",
                               "Boards[" + std::to_string(index) + "].Ports", walk);
            }
        }
    }
    return walk.Take();
}
