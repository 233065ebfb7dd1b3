#include "checkinventory.h"

#include "boardtype.h"
#include "driverkeystore.h"
#include "keypaths.h"
#include "registryvalues.h"
#include "resourcelist.h"
#include "sentences.h"
#include "stringtable.h"
#include "valueformats.h"

#include <algorithm>
#include <cstdint>
#include <strings.h>

namespace {
constexpr const char* kAddressFormat = "\"0x\" and 1 to 4 hexadecimal digits";
constexpr const char* kIrqFormat = "a decimal number from 0 to 15";
constexpr const char* kComFormat = "\"COM\" and a decimal number from 1 to 256";
constexpr unsigned kPortSpan = 8;
constexpr unsigned kMaxIoAddress = 0xffff;
constexpr unsigned kMaxIrq = 15;

// Byte offsets of the logical configuration record a Windows 95/98 port entry is forced to.
constexpr std::size_t kIoTypeAt = 12;
constexpr std::size_t kIoBaseAt = 20;
constexpr std::size_t kIoEndAt = 22;
constexpr std::size_t kIrqTypeAt = 44;
constexpr std::size_t kIrqAt = 50;
constexpr std::uint32_t kIoResource = 2;
constexpr std::uint32_t kIrqResource = 4;

std::string HasText(const std::string& what, const std::string& value, const char* format) {
    return " has the " + what + " " + CValueFormats::Quoted(value) + ", which is not " + format +
           ".";
}

std::string HasTextOrNone(const std::string& what, const std::string& value, const char* format) {
    return " has the " + what + " " + CValueFormats::Quoted(value) +
           ", which is neither \"NONE\" nor " + format + ".";
}

const SHiveValue* FindValue(const SForeignEntry& entry, const std::string& name) {
    for (const SHiveValue& value : entry.values) {
        if (value.name.size() == name.size() && strcasecmp(value.name.c_str(), name.c_str()) == 0) {
            return &value;
        }
    }
    return nullptr;
}

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | bytes[at + i];
    }
    return value;
}

std::optional<std::uint32_t> DwordOf(const SHiveValue& value) {
    if (value.type != REG_DWORD || value.data.size() != 4) {
        return std::nullopt;
    }
    return Little(value.data, 0, 4);
}

// Validates a text-or-NONE board value; true when it is acceptable.
bool NoneOr(const std::string& text, bool (*valid)(const std::string&)) {
    return CValueFormats::IsNone(text) || valid(text);
}

bool IsAddress(const std::string& text) {
    return CValueFormats::Address(text).has_value();
}

bool IsIrq(const std::string& text) {
    return CValueFormats::Irq(text).has_value();
}

bool IsComName(const std::string& text) {
    return CValueFormats::ComNumber(text).has_value();
}
} // namespace

CCheckInventory::CCheckInventory(const SCheckSnapshot& snapshot) : m_bLinux(snapshot.linuxFamily) {
    m_occupants.reserve(snapshot.foreign.size() + 17 * snapshot.boards.size());
    for (const SCheckBoard& board : snapshot.boards) {
        AddBoard(board);
    }
    for (const SForeignEntry& entry : snapshot.foreign) {
        AddForeign(entry, snapshot.windows9x);
    }
    for (const SMachinePort& device : snapshot.devices) {
        AddDevice(device);
    }
    ReportUnread();
    for (const SMachineEntry& entry : snapshot.machine.entries) {
        SOccupant occupant;
        occupant.kind = SOccupant::EKind::Machine;
        occupant.name = entry.label;
        occupant.foreignKeyPath = entry.source;
        occupant.range = entry.range;
        occupant.irq = entry.irq;
        m_occupants.push_back(std::move(occupant));
    }
}

void CCheckInventory::Invalid(const std::string& keyPath, const std::string& sentence) {
    m_invalid.push_back({SeverityOf(ECheckCode::ValueInvalid),
                         ECheckCode::ValueInvalid,
                         {keyPath},
                         CSentences::Capitalised(sentence)});
}

void CCheckInventory::AddBoard(const SCheckBoard& board) {
    const bool shares =
        CBoardType(board.boardType).GetShareIRQMode() == "Yes" || board.shareIRQEnabled != 0;
    m_boards.push_back({board.keyName, shares});
    CheckBoardTexts(board, shares);
    for (const SCheckPort& port : board.ports) {
        AddPort(board, port);
    }
    if (!shares) {
        return;
    }
    const std::string keyPath = BoardKeyPath(board.keyName);
    const std::optional<unsigned> vector = CValueFormats::Address(board.vectorAddress);
    // Linux's driver polls every port on a shared interrupt and never reads the register.
    if (!vector && m_bLinux) {
        return;
    }
    if (!vector) {
        Invalid(keyPath, board.keyName + " shares its interrupt, but its vector address " +
                             CValueFormats::Quoted(board.vectorAddress) +
                             " is not an address: the registration would point the driver at "
                             "address 0.");
        return;
    }
    SOccupant occupant;
    occupant.kind = SOccupant::EKind::VectorRegister;
    occupant.name = board.keyName;
    occupant.boardName = board.keyName;
    occupant.board = static_cast<int>(m_boards.size() - 1);
    occupant.range = SIoRange{*vector, *vector};
    m_occupants.push_back(std::move(occupant));
}

void CCheckInventory::CheckBoardTexts(const SCheckBoard& board, bool shares) {
    const std::string keyPath = BoardKeyPath(board.keyName);
    if (!NoneOr(board.baseAddress, &IsAddress)) {
        Invalid(keyPath,
                board.keyName + HasTextOrNone("base address", board.baseAddress, kAddressFormat));
    }
    if (!NoneOr(board.baseCOMPort, &IsComName)) {
        Invalid(keyPath,
                board.keyName + HasTextOrNone("base COM port", board.baseCOMPort, kComFormat));
    }
    if (!NoneOr(board.shareIRQ, &IsIrq)) {
        Invalid(keyPath,
                board.keyName + HasTextOrNone("shared interrupt", board.shareIRQ, kIrqFormat));
    }
    // A sharing board's vector address is checked with its register.
    if (!shares && !NoneOr(board.vectorAddress, &IsAddress)) {
        Invalid(keyPath, board.keyName +
                             HasTextOrNone("vector address", board.vectorAddress, kAddressFormat));
    }
}

void CCheckInventory::AddPort(const SCheckBoard& board, const SCheckPort& port) {
    SOccupant occupant;
    occupant.kind = SOccupant::EKind::Port;
    occupant.name = port.keyName;
    occupant.boardName = board.keyName;
    occupant.board = static_cast<int>(m_boards.size() - 1);
    if (const auto address = CValueFormats::Address(port.address)) {
        occupant.range = SIoRange{*address, *address + kPortSpan - 1};
    } else {
        Invalid(occupant.KeyPath(),
                occupant.Label() + HasText("address", port.address, kAddressFormat));
    }
    occupant.irq = CValueFormats::Irq(port.irq);
    if (!occupant.irq) {
        Invalid(occupant.KeyPath(), occupant.Label() + HasText("interrupt", port.irq, kIrqFormat));
    }
    occupant.comNumber = CValueFormats::ComNumber(port.comPort);
    if (!occupant.comNumber) {
        Invalid(occupant.KeyPath(),
                occupant.Label() + HasText("COM name", port.comPort, kComFormat));
    }
    m_occupants.push_back(std::move(occupant));
}

void CCheckInventory::AddForeign(const SForeignEntry& entry, bool windows9x) {
    SOccupant occupant;
    occupant.foreignKeyPath = entry.keyPath;
    occupant.name = entry.keyName;
    if (windows9x) {
        AddForeign9x(entry, occupant);
    } else {
        AddForeignNT(entry, occupant);
    }
    m_occupants.push_back(std::move(occupant));
}

void CCheckInventory::AddForeignComName(const SForeignEntry& entry, unsigned nameId,
                                        SOccupant& occupant) {
    const SHiveValue* value = FindValue(entry, LoadString(nameId));
    if (value == nullptr) {
        return;
    }
    const std::optional<std::string> text = TextOf(*value);
    occupant.comNumber = text ? CValueFormats::ComNumber(*text) : std::nullopt;
    if (!occupant.comNumber) {
        Invalid(entry.keyPath,
                occupant.Label() + HasText(LoadString(nameId), text.value_or(""), kComFormat));
    }
}

void CCheckInventory::AddForeignNT(const SForeignEntry& entry, SOccupant& occupant) {
    AddForeignComName(entry, IDS_NTPORT_DOS_DEVICES, occupant);
    if (const SHiveValue* value = FindValue(entry, LoadString(IDS_NTPORT_PORT_ADDRESS))) {
        const std::optional<std::uint32_t> address = DwordOf(*value);
        if (address && *address <= kMaxIoAddress) {
            occupant.range = SIoRange{*address, *address + kPortSpan - 1};
        } else {
            Invalid(entry.keyPath, occupant.Label() + " has a " + value->name +
                                       " that is not an I/O address (a number from 0 to 0xffff).");
        }
    }
    if (const SHiveValue* value = FindValue(entry, LoadString(IDS_NTPORT_INTERRUPT))) {
        const std::optional<std::uint32_t> irq = DwordOf(*value);
        if (irq && *irq <= kMaxIrq) {
            occupant.irq = *irq;
        } else {
            Invalid(entry.keyPath, occupant.Label() + " has an " + value->name +
                                       " that is not an interrupt (a number from 0 to 15).");
        }
    }
}

void CCheckInventory::AddForeign9x(const SForeignEntry& entry, SOccupant& occupant) {
    AddForeignComName(entry, IDS_DEVICE_PORT_NAME, occupant);
    const SHiveValue* value = FindValue(entry, LoadString(IDS_DEVICE_FORCED_CONFIG));
    if (value == nullptr) {
        return;
    }
    const std::vector<std::uint8_t>& bytes = value->data;
    const bool hasRange = value->type == REG_BINARY && bytes.size() >= kIoEndAt + 2 &&
                          Little(bytes, kIoTypeAt, 4) == kIoResource &&
                          Little(bytes, kIoBaseAt, 2) <= Little(bytes, kIoEndAt, 2);
    const bool hasIrq =
        hasRange && bytes.size() > kIrqAt && Little(bytes, kIrqTypeAt, 4) == kIrqResource;
    if (!hasRange) {
        Invalid(entry.keyPath, occupant.Label() + " has a " + value->name +
                                   " that is not a configuration record with an I/O range.");
        return;
    }
    if (hasIrq && bytes[kIrqAt] > kMaxIrq) {
        Invalid(entry.keyPath, occupant.Label() + " has a " + value->name +
                                   " whose interrupt is not a number from 0 to 15.");
        return;
    }
    occupant.range = SIoRange{Little(bytes, kIoBaseAt, 2), Little(bytes, kIoEndAt, 2)};
    if (hasIrq) {
        occupant.irq = bytes[kIrqAt];
    }
}

void CCheckInventory::AddDevice(const SMachinePort& device) {
    // An occupant with a COM number is labelled by it, with its name in brackets after it.
    const std::optional<unsigned> comNumber = CValueFormats::ComNumber(device.comName);
    const std::string_view name =
        m_deviceNames.emplace_back(comNumber ? device.device : device.Label());
    auto occupantOf = [&] {
        SOccupant occupant;
        occupant.name = name;
        occupant.foreignKeyPath = device.keyPath;
        return occupant;
    };
    SOccupant first = occupantOf();
    first.comNumber = comNumber;
    std::optional<SDeviceResources> resources;
    if (device.resources) {
        resources = CResourceList::Decode(*device.resources);
        if (!resources) {
            m_unread.push_back(&device);
        }
    }
    if (!resources) {
        m_occupants.push_back(std::move(first));
        return;
    }
    const std::size_t count = std::max(resources->ranges.size(), resources->irqs.size());
    for (std::size_t i = 0; i < std::max<std::size_t>(count, 1); ++i) {
        SOccupant occupant = i == 0 ? first : occupantOf();
        if (i < resources->ranges.size()) {
            occupant.range = resources->ranges[i];
        }
        if (i < resources->irqs.size()) {
            occupant.irq = resources->irqs[i];
        }
        m_occupants.push_back(std::move(occupant));
    }
}

void CCheckInventory::ReportUnread() {
    if (m_unread.empty()) {
        return;
    }
    SCheckFinding finding{SeverityOf(ECheckCode::SystemUnread), ECheckCode::SystemUnread, {}, {}};
    std::vector<std::string> labels;
    for (const SMachinePort* device : m_unread) {
        finding.items.push_back(device->keyPath);
        labels.push_back(device->Label());
    }
    const bool one = labels.size() == 1;
    finding.message = std::string("The resources of the system's ") + (one ? "port " : "ports ") +
                      CSentences::List(labels) + (one ? " are" : " are each") +
                      " stored in a form the check does not know (neither a 32-bit nor a 64-bit "
                      "resource list): " +
                      (one ? "it is" : "they are") + " compared by COM name only.";
    m_invalid.push_back(std::move(finding));
}
