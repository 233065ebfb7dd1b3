#include "snapshotbuilder.h"

#include "testkeypaths.h"

namespace {
std::string ShortPath(const std::string& path) {
    for (const std::string& parent : {kDriverKey, kSerialParameters, kEnumRootPorts}) {
        if (path.rfind(parent + "\\", 0) == 0) {
            return path.substr(parent.size() + 1);
        }
    }
    return path;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xff);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

SCheckSnapshot Snapshot(bool windows9x, std::initializer_list<SCheckBoard> boards,
                        std::initializer_list<SForeignEntry> foreign) {
    SCheckSnapshot snapshot;
    snapshot.windows9x = windows9x;
    snapshot.boards = boards;
    snapshot.foreign = foreign;
    return snapshot;
}
} // namespace

SCheckPort Port(const std::string& name, const std::string& address, const std::string& irq,
                const std::string& com) {
    return {name, com, irq, address, "Serial9" + name.substr(name.size() - 2)};
}

SCheckBoard Unshared(const std::string& name, std::initializer_list<SCheckPort> ports) {
    return {name, "RX-209", "NONE", "NONE", "NONE", "NONE", 0, ports};
}

SCheckBoard Shared(const std::string& name, const std::string& vector,
                   std::initializer_list<SCheckPort> ports) {
    return {name, "RX-404", "0x200", "COM3", "5", vector, 1, ports};
}

SHiveValue Text(const std::string& name, const std::string& text) {
    SHiveValue value{name, REG_SZ, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

SHiveValue Dword(const std::string& name, std::uint32_t number) {
    return {name,
            REG_DWORD,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

SForeignEntry NtEntry(const std::string& name, std::optional<std::uint32_t> address,
                      std::optional<std::uint32_t> irq, std::optional<std::string> dosDevices) {
    SForeignEntry entry{name, kSerialParameters + "\\" + name, {}};
    if (dosDevices) {
        entry.values.push_back(Text("DosDevices", *dosDevices));
    }
    if (irq) {
        entry.values.push_back(Dword("Interrupt", *irq));
    }
    if (address) {
        entry.values.push_back(Dword("PortAddress", *address));
    }
    return entry;
}

SForeignEntry Win9xEntry(const std::string& name, const std::string& portName,
                         std::optional<std::vector<std::uint8_t>> forcedConfig) {
    SForeignEntry entry{name, kEnumRootPorts + "\\" + name, {}};
    if (forcedConfig) {
        entry.values.push_back({"ForcedConfig", REG_BINARY, *forcedConfig});
    }
    entry.values.push_back(Text("PORTNAME", portName));
    return entry;
}

std::vector<std::uint8_t> ForcedConfig(unsigned first, unsigned last, unsigned irq) {
    // The configuration manager's layout: an I/O record of 32 bytes, then an IRQ record.
    std::vector<std::uint8_t> bytes(60, 0);
    bytes[1] = 0x04;
    bytes[8] = 0x20;
    bytes[12] = 0x02;
    bytes[16] = 0x01;
    bytes[18] = 0x02;
    PutWord(bytes, 20, first);
    PutWord(bytes, 22, last);
    bytes[40] = 0x10;
    bytes[44] = 0x04;
    bytes[48] = 0x01;
    bytes[50] = static_cast<std::uint8_t>(irq);
    return bytes;
}

SCheckSnapshot Nt(std::initializer_list<SCheckBoard> boards,
                  std::initializer_list<SForeignEntry> foreign) {
    return Snapshot(false, boards, foreign);
}

SCheckSnapshot Win9x(std::initializer_list<SCheckBoard> boards,
                     std::initializer_list<SForeignEntry> foreign) {
    return Snapshot(true, boards, foreign);
}

std::string Short(const SCheckFinding& finding) {
    std::string text = CheckCodeName(finding.code);
    for (const std::string& item : finding.items) {
        text += " " + ShortPath(item);
    }
    return text;
}

std::vector<std::string> Short(const std::vector<SCheckFinding>& findings) {
    std::vector<std::string> shorts;
    for (const SCheckFinding& finding : findings) {
        shorts.push_back(Short(finding));
    }
    return shorts;
}
