#include "configurationdiff.h"

#include <algorithm>
#include <array>
#include <strings.h>

namespace {
using Json = nlohmann::ordered_json;
using EKind = SConfigurationDifference::EKind;

constexpr const char* kBoards = "Boards";
constexpr const char* kPorts = "Ports";
constexpr const char* kBoardName = "BoardName";
constexpr const char* kPortName = "PortName";

const Json& Empty() {
    static const Json empty = Json::array();
    return empty;
}

const Json& ListOf(const Json& record, const char* name) {
    const auto list = record.find(name);
    return list == record.end() ? Empty() : *list;
}

std::string NameOf(const Json& record, const char* field) {
    const auto name = record.find(field);
    return name == record.end() || !name->is_string() ? std::string() : name->get<std::string>();
}

const Json* FindNamed(const Json& list, const char* field, const std::string& name) {
    const auto found = std::find_if(list.begin(), list.end(), [&](const Json& record) {
        return strcasecmp(NameOf(record, field).c_str(), name.c_str()) == 0;
    });
    return found == list.end() ? nullptr : &*found;
}

// The record without its list of ports, for what a plan shows of an added or removed board.
Json WithoutPorts(const Json& record) {
    Json copy = record;
    copy.erase(kPorts);
    return copy;
}

std::string Shown(const Json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

class CDiffWalk {
public:
    explicit CDiffWalk(EDiffScope scope) : m_scope(scope) {}

    void Values(const Json& from, const Json& to, const std::string& board,
                const std::string& port) {
        for (const auto& [name, value] : to.items()) {
            const auto old = from.find(name);
            if (value.is_array() || old == from.end() || *old == value ||
                (m_scope == EDiffScope::Configuration &&
                 CConfigurationDiff::IsMachineValue(name))) {
                continue;
            }
            m_diffs.push_back({EKind::ValueChanged, board, port, name, *old, value, {}});
        }
    }

    void Records(const Json& from, const Json& to, const char* field, const std::string& board) {
        const bool ports = !board.empty();
        for (const Json& record : from) {
            const std::string name = NameOf(record, field);
            if (FindNamed(to, field, name) == nullptr) {
                Add(ports ? EKind::PortRemoved : EKind::BoardRemoved, board, name, record);
            }
        }
        for (const Json& record : to) {
            const std::string name = NameOf(record, field);
            const Json* old = FindNamed(from, field, name);
            if (old == nullptr) {
                Add(ports ? EKind::PortAdded : EKind::BoardAdded, board, name, record);
            } else if (ports) {
                Values(*old, record, board, name);
            } else {
                Values(*old, record, name, {});
                Records(ListOf(*old, kPorts), ListOf(record, kPorts), kPortName, name);
            }
        }
    }

    std::vector<SConfigurationDifference> Take() { return std::move(m_diffs); }

private:
    void Add(EKind kind, const std::string& board, const std::string& name, const Json& record) {
        const bool port = kind == EKind::PortAdded || kind == EKind::PortRemoved;
        m_diffs.push_back({kind,
                           port ? board : name,
                           port ? name : std::string(),
                           {},
                           {},
                           {},
                           port ? record : WithoutPorts(record)});
    }

    EDiffScope m_scope;
    std::vector<SConfigurationDifference> m_diffs;
};
} // namespace

std::vector<SConfigurationDifference> CConfigurationDiff::Compare(const Json& from, const Json& to,
                                                                  EDiffScope scope) {
    CDiffWalk walk(scope);
    walk.Values(from, to, {}, {});
    walk.Records(ListOf(from, kBoards), ListOf(to, kBoards), kBoardName, {});
    return walk.Take();
}

bool CConfigurationDiff::IsMachineValue(const std::string& name) {
    static const std::array<std::string, 4> names = {"SystemDriverName", "SystemNumBoards",
                                                     "SystemNumPorts", "PortSerialPort"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

const char* CConfigurationDiff::KindName(EKind kind) {
    switch (kind) {
    case EKind::BoardAdded:
        return "board-added";
    case EKind::BoardRemoved:
        return "board-removed";
    case EKind::PortAdded:
        return "port-added";
    case EKind::PortRemoved:
        return "port-removed";
    case EKind::ValueChanged:
        break;
    }
    return "value-changed";
}

std::vector<std::string>
CConfigurationDiff::Lines(const std::vector<SConfigurationDifference>& diffs) {
    std::vector<std::string> lines;
    for (const SConfigurationDifference& diff : diffs) {
        std::string item = diff.port.empty() ? diff.board : diff.board + "/" + diff.port;
        switch (diff.kind) {
        case EKind::BoardAdded: {
            const std::size_t ports = ListOf(diff.record, kPorts).size();
            lines.push_back(item + ": added" +
                            (diff.record.contains("BoardType")
                                 ? ", " + Shown(diff.record["BoardType"])
                                 : std::string()) +
                            ", " + std::to_string(ports) + (ports == 1 ? " port" : " ports"));
            break;
        }
        case EKind::PortAdded:
            lines.push_back(item + ": added");
            break;
        case EKind::BoardRemoved:
        case EKind::PortRemoved:
            lines.push_back(item + ": removed");
            break;
        case EKind::ValueChanged:
            lines.push_back((item.empty() ? "" : item + ": ") + diff.name + " " +
                            Shown(diff.oldValue) + " -> " + Shown(diff.newValue));
            break;
        }
    }
    return lines;
}

Json CConfigurationDiff::ToJson(const std::vector<SConfigurationDifference>& diffs) {
    Json list = Json::array();
    for (const SConfigurationDifference& diff : diffs) {
        Json entry;
        entry["kind"] = KindName(diff.kind);
        if (!diff.board.empty()) {
            entry["board"] = diff.board;
        }
        if (!diff.port.empty()) {
            entry["port"] = diff.port;
        }
        if (diff.kind == EKind::ValueChanged) {
            entry["name"] = diff.name;
            entry["old"] = diff.oldValue;
            entry["new"] = diff.newValue;
        } else {
            entry["values"] = diff.record;
        }
        list.push_back(std::move(entry));
    }
    return list;
}
