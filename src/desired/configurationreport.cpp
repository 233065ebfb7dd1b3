#include "configurationreport.h"

#include "boardobj.h"
#include "hivetext.h"
#include "portobj.h"
#include "qserdoc.h"
#include "recordfields.h"
#include "stringtable.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {
// Each shown field of record in its order, with its value name and its value: a text in UTF-8
// (onText) or a number (onNumber).
template <typename Record, typename OnText, typename OnNumber>
void ForEachShownField(const Record& record, const std::vector<SRecordField<Record>>& fields,
                       OnText&& onText, OnNumber&& onNumber) {
    for (const SRecordField<Record>* field : FieldsAsShown(fields)) {
        if (field->kind == EFieldKind::Text) {
            onText(LoadString(field->valueNameId), CHiveText::ToUtf8(field->Text(record)));
        } else {
            onNumber(LoadString(field->valueNameId), field->Number(record));
        }
    }
}

std::array<std::pair<const std::string&, std::string>, 3> SystemValues(const CQSERDoc& doc) {
    return {{{LoadString(IDS_SYSTEM_DRIVER_NAME), CHiveText::ToUtf8(doc.GetSystemName())},
             {LoadString(IDS_SYSTEM_NUM_BOARDS), CHiveText::ToUtf8(doc.GetNumBoards())},
             {LoadString(IDS_SYSTEM_NUM_PORTS), CHiveText::ToUtf8(doc.GetNumPorts())}}};
}

template <typename Record>
nlohmann::ordered_json RecordJson(const Record& record,
                                  const std::vector<SRecordField<Record>>& fields) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    auto& object = json.get_ref<nlohmann::ordered_json::object_t&>();
    // One more for the list a board adds.
    object.reserve(fields.size() + 1);
    ForEachShownField(
        record, fields,
        [&](const std::string& name, std::string text) {
            object.emplace_back(name, std::move(text));
        },
        [&](const std::string& name, int number) { object.emplace_back(name, number); });
    return json;
}

void AppendLine(std::string& out, int indent, const std::string& name, const std::string& value) {
    out.append(static_cast<std::size_t>(indent), ' ');
    out += name;
    out += ": ";
    out += value;
    out += '\n';
}

// A board or port is headed by its first field, its name; the block below skips it.
template <typename Record>
void AppendRecordText(const Record& record, const std::vector<SRecordField<Record>>& fields,
                      int indent, std::string& out) {
    bool first = true;
    const auto onText = [&](const std::string& name, const std::string& text) {
        if (std::exchange(first, false)) {
            out.append(static_cast<std::size_t>(indent), ' ');
            out += text;
            out += '\n';
        } else {
            AppendLine(out, indent + 2, name, text);
        }
    };
    const auto onNumber = [&](const std::string& name, int number) {
        first = false;
        AppendLine(out, indent + 2, name, std::to_string(number));
    };
    ForEachShownField(record, fields, onText, onNumber);
}
} // namespace

nlohmann::ordered_json CConfigurationReport::BoardJson(const CBoardObj& board) {
    nlohmann::ordered_json ports = nlohmann::ordered_json::array();
    ports.get_ref<nlohmann::ordered_json::array_t&>().reserve(board.m_PortList.size());
    for (const CPortObj* port : board.m_PortList) {
        ports.push_back(PortJson(*port));
    }
    nlohmann::ordered_json json = RecordJson(board, BoardFields());
    json.get_ref<nlohmann::ordered_json::object_t&>().emplace_back("Ports", std::move(ports));
    return json;
}

nlohmann::ordered_json CConfigurationReport::PortJson(const CPortObj& port) {
    return RecordJson(port, PortFields());
}

nlohmann::ordered_json CConfigurationReport::Json(const CQSERDoc& doc) {
    nlohmann::ordered_json json;
    for (auto& [name, value] : SystemValues(doc)) {
        json[name] = std::move(value);
    }
    nlohmann::ordered_json boards = nlohmann::ordered_json::array();
    boards.get_ref<nlohmann::ordered_json::array_t&>().reserve(doc.m_boardList.size());
    for (const CBoardObj* board : doc.m_boardList) {
        boards.push_back(BoardJson(*board));
    }
    json["Boards"] = std::move(boards);
    return json;
}

std::string CConfigurationReport::Text(const CQSERDoc& doc) {
    std::string out;
    for (const auto& [name, value] : SystemValues(doc)) {
        AppendLine(out, 0, name, value);
    }
    for (const CBoardObj* board : doc.m_boardList) {
        AppendRecordText(*board, BoardFields(), 0, out);
        for (const CPortObj* port : board->m_PortList) {
            AppendRecordText(*port, PortFields(), 2, out);
        }
    }
    return out;
}
