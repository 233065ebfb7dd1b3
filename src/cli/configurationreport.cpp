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
    for (const SRecordField<Record>* field : FieldsAsShown(fields)) {
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
    nlohmann::ordered_json json = RecordJson(board, BoardFields());
    json["Ports"] = nlohmann::ordered_json::array();
    for (const CPortObj* port : board.m_PortList) {
        json["Ports"].push_back(RecordJson(*port, PortFields()));
    }
    return json;
}
} // namespace

nlohmann::ordered_json CConfigurationReport::Json(const CQSERDoc& doc) {
    nlohmann::ordered_json json;
    json[LoadString(IDS_SYSTEM_DRIVER_NAME)] = CHiveText::ToUtf8(doc.GetSystemName());
    json[LoadString(IDS_SYSTEM_NUM_BOARDS)] = CHiveText::ToUtf8(doc.GetNumBoards());
    json[LoadString(IDS_SYSTEM_NUM_PORTS)] = CHiveText::ToUtf8(doc.GetNumPorts());
    json["Boards"] = nlohmann::ordered_json::array();
    for (const CBoardObj* board : doc.m_boardList) {
        json["Boards"].push_back(BoardJson(*board));
    }
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
