#include "testhivefile.h"

#include "regfheader.h"
#include "testhivex.h"
#include "testresources.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {
constexpr std::size_t kBinSize = 4096;
constexpr std::uint32_t kRootCell = 0x20;
constexpr std::uint32_t kRootCellSize = 88;
constexpr std::uint32_t kSecurityCell = kRootCell + kRootCellSize;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

class CBytes {
public:
    explicit CBytes(std::size_t size) : m_bytes(size, 0) {}
    void Put32(std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
    void Put16(std::size_t offset, std::uint16_t value) {
        m_bytes[offset] = static_cast<std::uint8_t>(value);
        m_bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void PutText(std::size_t offset, const std::string& text) {
        std::copy(text.begin(), text.end(), m_bytes.begin() + static_cast<long>(offset));
    }
    void PutBytes(std::size_t offset, const std::vector<std::uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + static_cast<long>(offset));
    }
    std::vector<std::uint8_t>& Data() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

void FixChecksum(std::vector<std::uint8_t>& file) {
    const std::uint32_t sum = CRegfHeader::Checksum(file.data());
    for (int i = 0; i < 4; ++i) {
        file[CRegfHeader::kChecksum + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
}

// Owner and group Administrators, a DACL that gives everyone full access to the key and those
// below it.
std::vector<std::uint8_t> SecurityDescriptor() {
    const std::vector<std::uint8_t> admins = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
    const std::vector<std::uint8_t> everyone = {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    CBytes sd(20 + 16 + 16 + 8 + 20);
    sd.Data()[0] = 1;    // revision
    sd.Put16(2, 0x8004); // self-relative, DACL present
    sd.Put32(4, 20);     // owner
    sd.Put32(8, 36);     // group
    sd.Put32(16, 52);    // DACL
    sd.PutBytes(20, admins);
    sd.PutBytes(36, admins);
    sd.Data()[52] = 2;        // ACL revision
    sd.Put16(54, 28);         // ACL size
    sd.Put16(56, 1);          // one ACE
    sd.Data()[60] = 0;        // access allowed
    sd.Data()[61] = 0x02;     // inherited by sub-keys
    sd.Put16(62, 20);         // ACE size
    sd.Put32(64, 0x000F003F); // KEY_ALL_ACCESS
    sd.PutBytes(68, everyone);
    return sd.Data();
}

void AddInstance(CTestHivex& hive, const std::string& key, const std::u16string& comName) {
    hive.SetText(key, "DosDevices", 1, comName);
    hive.SetDword(key, "PortIndex", 1);
    hive.Set(key, "Settings", 3, {0xde, 0xad, 0xbe, 0xef, 0x00, 0xff});
}

void AddMachinePort(CTestHivex& hive, const std::string& key, const std::u16string& comName,
                    const std::vector<std::uint8_t>& bootConfig) {
    hive.SetText(key, "HardwareID", 7, std::u16string(u"ACPI\\PNP0501\0*PNP0501\0", 22));
    hive.SetText(key, "Service", 1, u"Serial");
    hive.SetText(key + "\\Device Parameters", "PortName", 1, comName);
    hive.Set(key + "\\LogConf", "BootConfig", 8, bootConfig);
}

void AddMachinePorts(CTestHivex& hive, const std::string& set) {
    AddMachinePort(hive, set + "\\Enum\\ACPI\\PNP0501\\1", u"COM1",
                   ResourceList(ETestLayout::Bits32, {IoPort(0x3f8), Irq(4)}));
    AddMachinePort(hive, set + "\\Enum\\ACPI\\PNP0501\\2", u"COM2",
                   ResourceList(ETestLayout::Bits64, {IoPort(0x2f8), Irq(3)}));
    std::vector<std::uint8_t> comDB(32, 0);
    comDB[0] = 0x03;
    comDB[1] = 0x08;
    comDB[31] = 0x80;
    hive.Set(set + "\\Control\\COM Name Arbiter", "ComDB", 3, comDB);
}

void AddControlSet(CTestHivex& hive, const std::string& set,
                   const CTestHiveFile::SOptions& options) {
    if (options.bMachinePorts) {
        AddMachinePorts(hive, set);
    }
    const std::string serial = set + "\\Services\\Serial";
    hive.SetDword(serial, "Type", 1);
    hive.SetDword(serial, "Start", 1);
    hive.SetText(serial, "ImagePath", 2, u"\\SystemRoot\\System32\\drivers\\serial.sys");
    hive.SetText(serial, "Group", 1, u"Extended base");
    hive.SetText(serial, "DependOnService", 7, std::u16string(u"Serenum\0Acpi\0", 13));
    for (const char* instance : {"Serial10000", "Serial10001"}) {
        AddInstance(hive, serial + "\\Parameters\\" + instance, u"COM1");
    }
    for (const auto& instance : options.extraInstances) {
        AddInstance(hive, serial + "\\Parameters\\" + instance.name, instance.comName);
    }
    const std::string tcpip = set + "\\Services\\Tcpip\\Parameters";
    hive.SetText(tcpip, "Hostname", 1, u"WORKSTATION");
    hive.SetText(tcpip, "DataBasePath", 2, u"%SystemRoot%\\System32\\drivers\\etc");
    hive.SetText(tcpip, "SearchList", 7, std::u16string(u"corp.example\0lab.example\0", 25));
    hive.Set(tcpip, "Timestamp", 11, {1, 2, 3, 4, 5, 6, 7, 8});
    hive.Set(tcpip, "Marker", 0, {});
    hive.SetText(set + "\\Control\\ComputerName\\ComputerName", "ComputerName", 1, u"WORKSTATION");
}

void AddBulk(CTestHivex& hive, const std::string& set, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Bulk%06zu", i);
        const std::string key = set + "\\Services\\" + name;
        hive.SetDword(key, "Type", 1);
        hive.SetDword(key, "Start", 3);
        hive.SetText(key, "ImagePath", 2, u"\\SystemRoot\\System32\\drivers\\bulkdriver.sys");
        hive.SetText(key, "DisplayName", 1, u"A driver that makes the hive large enough");
        hive.Set(key + "\\Enum", "Blob", 3, std::vector<std::uint8_t>(96, 0x5A));
        hive.SetText(key + "\\Enum", "0", 1, u"ROOT\\LEGACY_BULK\\0000");
    }
}
} // namespace

void CTestHiveFile::WriteEmpty(const std::string& path) {
    CBytes file(CRegfHeader::kSize + kBinSize);
    file.PutText(0, "regf");
    file.Put32(CRegfHeader::kPrimarySequence, 1);
    file.Put32(CRegfHeader::kSecondarySequence, 1);
    file.Put32(0x14, 1); // major version
    file.Put32(0x18, 3); // minor version
    file.Put32(0x1C, 0); // primary file
    file.Put32(0x20, 1); // direct memory load
    file.Put32(0x24, kRootCell);
    file.Put32(CRegfHeader::kHiveBinsSize, kBinSize);
    file.Put32(0x2C, 1); // clustering factor

    const std::size_t bin = CRegfHeader::kSize;
    file.PutText(bin, "hbin");
    file.Put32(bin + 4, 0);
    file.Put32(bin + 8, kBinSize);

    const std::size_t root = bin + kRootCell;
    file.Put32(root, static_cast<std::uint32_t>(-static_cast<std::int32_t>(kRootCellSize)));
    file.PutText(root + 4, "nk");
    file.Put16(root + 6, 0x2C);     // hive entry, no delete, compressed name
    file.Put32(root + 0x20, kNone); // sub-key lists
    file.Put32(root + 0x24, kNone);
    file.Put32(root + 0x2C, kNone); // value list
    file.Put32(root + 0x30, kSecurityCell);
    file.Put32(root + 0x34, kNone); // class name
    file.Put16(root + 0x4C, 4);
    file.PutText(root + 0x50, "ROOT");

    const std::vector<std::uint8_t> descriptor = SecurityDescriptor();
    const std::size_t security = bin + kSecurityCell;
    const auto securitySize = static_cast<std::uint32_t>((4 + 20 + descriptor.size() + 7) / 8 * 8);
    file.Put32(security, static_cast<std::uint32_t>(-static_cast<std::int32_t>(securitySize)));
    file.PutText(security + 4, "sk");
    file.Put32(security + 8, kSecurityCell); // the list of descriptors: itself only
    file.Put32(security + 12, kSecurityCell);
    file.Put32(security + 16, 1); // used by the root
    file.Put32(security + 20, static_cast<std::uint32_t>(descriptor.size()));
    file.PutBytes(security + 24, descriptor);

    const std::uint32_t free = kSecurityCell + securitySize;
    file.Put32(bin + free, static_cast<std::uint32_t>(kBinSize - free));
    FixChecksum(file.Data());
    WriteFile(path, file.Data());
}

void CTestHiveFile::WriteSystem(const std::string& path, const SOptions& options) {
    WriteEmpty(path);
    CTestHivex hive(path, true);
    if (options.bSelect) {
        hive.SetDword("Select", "Current", options.current);
        hive.SetDword("Select", "Default", options.current);
        hive.SetDword("Select", "Failed", 0);
        hive.SetDword("Select", "LastKnownGood", options.current);
    }
    AddControlSet(hive, "ControlSet001", options);
    if (options.bSecondSet || options.current == 2) {
        AddControlSet(hive, "ControlSet002", options);
        hive.SetText("ControlSet002\\Services\\Tcpip\\Parameters", "Hostname", 1, u"SECOND");
    }
    AddBulk(hive, "ControlSet001", options.bulkServices);
    hive.Key("MountedDevices");
    hive.Commit();
}

void CTestHiveFile::MakeDirty(const std::string& path) {
    std::vector<std::uint8_t> file = ReadFile(path);
    file[CRegfHeader::kSecondarySequence] ^= 1;
    FixChecksum(file);
    WriteFile(path, file);
}

void CTestHiveFile::BreakChecksum(const std::string& path) {
    std::vector<std::uint8_t> file = ReadFile(path);
    file[CRegfHeader::kChecksum] ^= 0x55;
    WriteFile(path, file);
}

void CTestHiveFile::Truncate(const std::string& path, std::size_t size) {
    std::filesystem::resize_file(path, size);
}

void CTestHiveFile::BreakKey(const std::string& path, const std::string& name) {
    // A key record holds its name 0x4C bytes after its signature "nk".
    constexpr std::size_t kNameOffset = 0x4C;
    std::vector<std::uint8_t> file = ReadFile(path);
    const auto found = std::search(file.begin() + kBinSize, file.end(), name.begin(), name.end());
    if (found == file.end() || found - file.begin() < static_cast<long>(kBinSize + kNameOffset)) {
        throw std::runtime_error("no key " + name + " in " + path);
    }
    const auto signature = found - static_cast<long>(kNameOffset);
    if (signature[0] != 'n' || signature[1] != 'k') {
        throw std::runtime_error("the name " + name + " in " + path + " is no key's");
    }
    signature[0] = 'x';
    signature[1] = 'x';
    WriteFile(path, file);
}
