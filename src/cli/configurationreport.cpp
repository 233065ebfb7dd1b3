#include "configurationreport.h"

#include "boardobj.h"
#include "hivetext.h"
#include "portobj.h"
#include "qserdoc.h"
#include "recordfields.h"
#include "stringtable.h"

namespace {
template <typename Record>
nlohmann::ordered_json RecordJson(const Record& record,
                                  const std::vector<SRecordField<Record>>& fields) {
    nlohmann::ordered_json json;
    for (const SRecordField<Record>* field : FieldsAsShown(fields)) {
        nlohmann::ordered_json& value = json[LoadString(field->valueNameId)];
        if (field->kind == EFieldKind::Text) {
            value = CHiveText::ToUtf8(field->Text(record));
        } else {
            value = field->Number(record);
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
    AppendText(report, 0, out);
    return out;
}

void CConfigurationReport::AppendText(const nlohmann::ordered_json& object, int indent,
                                      std::string& out) {
    const std::string margin(static_cast<std::size_t>(indent), ' ');
    for (const auto& [key, value] : object.items()) {
        if (!value.is_array()) {
            out += margin + key + ": " +
                   (value.is_string() ? value.get<std::string>() : value.dump()) + "\n";
            continue;
        }
        // The first field of a board or port (its name) heads its block.
        for (const auto& element : value) {
            out += margin + element.begin().value().get<std::string>() + "\n";
            nlohmann::ordered_json rest = element;
            rest.erase(element.begin().key());
            AppendText(rest, indent + 2, out);
        }
    }
}
