#include "configurationreport.h"

#include "boardobj.h"
#include "hivetext.h"
#include "portobj.h"
#include "qserdoc.h"
#include "recordfields.h"
#include "stringtable.h"

#include <cstdint>
#include <utility>

namespace {
// Each field once, so the names need no lookup.
template <typename Record>
nlohmann::ordered_json RecordJson(const Record& record,
                                  const std::vector<SRecordField<Record>>& fields) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    auto& object = json.get_ref<nlohmann::ordered_json::object_t&>();
    const auto shown = FieldsAsShown(fields);
    // One more for the list a board adds.
    object.reserve(shown.size() + 1);
    for (const SRecordField<Record>* field : shown) {
        if (field->kind == EFieldKind::Text) {
            object.emplace_back(LoadString(field->valueNameId),
                                CHiveText::ToUtf8(field->Text(record)));
        } else {
            object.emplace_back(LoadString(field->valueNameId), field->Number(record));
        }
    }
    return json;
}

nlohmann::ordered_json BoardJson(const CBoardObj& board) {
    nlohmann::ordered_json ports = nlohmann::ordered_json::array();
    ports.get_ref<nlohmann::ordered_json::array_t&>().reserve(board.m_PortList.size());
    for (const CPortObj* port : board.m_PortList) {
        ports.push_back(RecordJson(*port, PortFields()));
    }
    nlohmann::ordered_json json = RecordJson(board, BoardFields());
    json.get_ref<nlohmann::ordered_json::object_t&>().emplace_back("Ports", std::move(ports));
    return json;
}
} // namespace

nlohmann::ordered_json CConfigurationReport::Json(const CQSERDoc& doc) {
    nlohmann::ordered_json json;
    json[LoadString(IDS_SYSTEM_DRIVER_NAME)] = CHiveText::ToUtf8(doc.GetSystemName());
    json[LoadString(IDS_SYSTEM_NUM_BOARDS)] = CHiveText::ToUtf8(doc.GetNumBoards());
    json[LoadString(IDS_SYSTEM_NUM_PORTS)] = CHiveText::ToUtf8(doc.GetNumPorts());
    nlohmann::ordered_json boards = nlohmann::ordered_json::array();
    boards.get_ref<nlohmann::ordered_json::array_t&>().reserve(doc.m_boardList.size());
    for (const CBoardObj* board : doc.m_boardList) {
        boards.push_back(BoardJson(*board));
    }
    json["Boards"] = std::move(boards);
    return json;
}

std::string CConfigurationReport::Text(const nlohmann::ordered_json& report) {
    std::string out;
    AppendText(report, 0, false, out);
    return out;
}

// The first field of a board or port (its name) heads its block, so the block skips it.
void CConfigurationReport::AppendText(const nlohmann::ordered_json& object, int indent,
                                      bool skipFirst, std::string& out) {
    const std::string margin(static_cast<std::size_t>(indent), ' ');
    bool first = true;
    for (const auto& [key, value] : object.get_ref<const nlohmann::ordered_json::object_t&>()) {
        if (std::exchange(first, false) && skipFirst) {
            continue;
        }
        if (!value.is_array()) {
            out += margin;
            out += key;
            out += ": ";
            out += value.is_string()           ? value.get_ref<const std::string&>()
                   : value.is_number_integer() ? std::to_string(value.get<std::int64_t>())
                                               : value.dump();
            out += '\n';
            continue;
        }
        for (const auto& element : value) {
            out += margin;
            out += element.begin().value().get_ref<const std::string&>();
            out += '\n';
            AppendText(element, indent + 2, true, out);
        }
    }
}
