#include "configurationreport.h"

#include "boardobj.h"
#include "latin1utf8.h"
#include "portobj.h"
#include "qserdoc.h"
#include "stringtable.h"

namespace {
nlohmann::ordered_json PortJson(const CPortObj& port) {
    nlohmann::ordered_json json;
    json[LoadString(IDS_PORT_NAME)] = Latin1ToUtf8(port.GetPortName());
    json[LoadString(IDS_PORT_COM_PORT)] = Latin1ToUtf8(port.GetPortCOMPort());
    json[LoadString(IDS_PORT_IRQ)] = Latin1ToUtf8(port.GetPortIRQ());
    json[LoadString(IDS_PORT_ADDRESS)] = Latin1ToUtf8(port.GetPortAddress());
    json[LoadString(IDS_PORT_INDEX)] = Latin1ToUtf8(port.GetPortIndex());
    json[LoadString(IDS_PORT_SERIAL_PORT)] = Latin1ToUtf8(port.GetPortSerialPort());
    return json;
}

nlohmann::ordered_json BoardJson(const CBoardObj& board) {
    nlohmann::ordered_json json;
    json[LoadString(IDS_BOARD_NAME)] = Latin1ToUtf8(board.GetBoardName());
    json[LoadString(IDS_BOARD_TYPE)] = Latin1ToUtf8(board.GetBoardType());
    json[LoadString(IDS_BOARD_BASE_ADDRESS)] = Latin1ToUtf8(board.GetBaseAddress());
    json[LoadString(IDS_BOARD_BASE_COM_PORT)] = Latin1ToUtf8(board.GetBaseCOMPort());
    json[LoadString(IDS_BOARD_SHARE_IRQ_ENABLED)] = board.GetShareIRQEnabled();
    json[LoadString(IDS_BOARD_SHARE_IRQ)] = Latin1ToUtf8(board.GetShareIRQ());
    json[LoadString(IDS_BOARD_VECTOR_ADDRESS)] = Latin1ToUtf8(board.GetVectorAddress());
    json[LoadString(IDS_BOARD_STANDARD_MODE_ENABLED)] = board.GetStandardModeEnabled();
    json["Ports"] = nlohmann::ordered_json::array();
    for (const CPortObj* port : board.m_PortList) {
        json["Ports"].push_back(PortJson(*port));
    }
    return json;
}
} // namespace

nlohmann::ordered_json CConfigurationReport::Json(const CQSERDoc& doc) {
    nlohmann::ordered_json json;
    json[LoadString(IDS_SYSTEM_DRIVER_NAME)] = Latin1ToUtf8(doc.GetSystemName());
    json[LoadString(IDS_SYSTEM_NUM_BOARDS)] = Latin1ToUtf8(doc.GetNumBoards());
    json[LoadString(IDS_SYSTEM_NUM_PORTS)] = Latin1ToUtf8(doc.GetNumPorts());
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
