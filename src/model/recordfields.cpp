#include "recordfields.h"

#include "stringtable.h"

#include <stdexcept>

namespace {
template <typename Record>
const SRecordField<Record>& FieldOf(const std::vector<SRecordField<Record>>& fields,
                                    unsigned valueNameId) {
    const SRecordField<Record>* field = FindField(fields, valueNameId);
    if (field == nullptr) {
        throw std::out_of_range("no record field " + std::to_string(valueNameId));
    }
    return *field;
}
} // namespace

const std::vector<SBoardField>& BoardFields() {
    using B = CBoardObj;
    static const std::vector<SBoardField> fields = {
        TextField(IDS_BOARD_NAME, &B::GetBoardName, &B::SetBoardName, "Board000", 0),
        TextField(IDS_BOARD_TYPE, &B::GetBoardType, &B::SetBoardType, "RX-401", 1),
        TextField(IDS_BOARD_BASE_ADDRESS, &B::GetBaseAddress, &B::SetBaseAddress, "190", 2),
        DWordField(IDS_BOARD_SHARE_IRQ_ENABLED, &B::GetShareIRQEnabled, &B::SetShareIRQEnabled, 0,
                   4),
        TextField(IDS_BOARD_BASE_COM_PORT, &B::GetBaseCOMPort, &B::SetBaseCOMPort, "COM3", 3),
        TextField(IDS_BOARD_SHARE_IRQ, &B::GetShareIRQ, &B::SetShareIRQ, "7", 5),
        TextField(IDS_BOARD_VECTOR_ADDRESS, &B::GetVectorAddress, &B::SetVectorAddress, "2d0", 6),
        DWordField(IDS_BOARD_STANDARD_MODE_ENABLED, &B::GetStandardModeEnabled,
                   &B::SetStandardModeEnabled, 0, 7),
    };
    return fields;
}

const std::vector<SPortField>& PortFields() {
    using P = CPortObj;
    static const std::vector<SPortField> fields = {
        TextField(IDS_PORT_NAME, &P::GetPortName, &P::SetPortName, "Port000", 0),
        TextField(IDS_PORT_COM_PORT, &P::GetPortCOMPort, &P::SetPortCOMPort, "COM3", 1),
        TextField(IDS_PORT_IRQ, &P::GetPortIRQ, &P::SetPortIRQ, "7", 2),
        TextField(IDS_PORT_ADDRESS, &P::GetPortAddress, &P::SetPortAddress, "190", 3),
        TextField(IDS_PORT_INDEX, &P::GetPortIndex, &P::SetPortIndex, "1", 4),
        // A port without a stored instance has none: no fallback name may reach another's key.
        TextField(IDS_PORT_SERIAL_PORT, &P::GetPortSerialPort, &P::SetPortSerialPort, "", 5),
    };
    return fields;
}

const SBoardField& BoardField(unsigned valueNameId) {
    return FieldOf(BoardFields(), valueNameId);
}

const SPortField& PortField(unsigned valueNameId) {
    return FieldOf(PortFields(), valueNameId);
}
