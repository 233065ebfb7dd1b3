#include "comnamedatabase.h"

#include "hive.h"
#include "instanceownership.h"
#include "keypaths.h"
#include "machineports.h"
#include "messageservice.h"
#include "registry.h"
#include "registrymessages.h"
#include "registryvalues.h"
#include "stringtable.h"

#include <cstdint>
#include <set>
#include <strings.h>

namespace {
constexpr const char* kComDB = "ComDB";
constexpr unsigned kMaxComNumber = 256;
// The database grows in blocks of this many bytes (256 numbers).
constexpr std::size_t kBlock = 32;
constexpr std::uint32_t kComNameBuffer = 128;

using CNumbers = std::set<unsigned>;

void Insert(CNumbers& numbers, const std::string& name) {
    if (const std::optional<unsigned> number = CComNameDatabase::ComNumber(name)) {
        numbers.insert(*number);
    }
}

// The number of every COM name a port still has: ours under the driver key, the machine's and ours
// under Serial\Parameters, the machine's under Enum. Nothing when a port key cannot be read: it may
// hold any name, and nothing is released on a guess.
std::optional<CNumbers> NumbersInUse(const CCaselessNames& ours) {
    CNumbers numbers;
    for (const std::optional<std::string>& name :
         CInstanceOwnership::PortTexts(IDS_PORT_COM_PORT)) {
        if (!name) {
            return std::nullopt;
        }
        Insert(numbers, *name);
    }
    CHive& hive = *CHive::Current();
    HiveKeyId parameters = 0;
    std::vector<SHiveSubKey> instances;
    if (hive.FindKey(SerialParametersKeyPath(), parameters) == ERROR_SUCCESS) {
        hive.SubKeys(parameters, instances);
    }
    const std::string dosDevices = LoadString(IDS_NTPORT_DOS_DEVICES);
    for (const SHiveSubKey& instance : instances) {
        HiveKeyId key = 0;
        SHiveValue value;
        if (instance.bText && IsSingleKeyName(instance.name) &&
            hive.FindKey(SerialParametersKeyPath() + "\\" + instance.name, key) == ERROR_SUCCESS &&
            hive.ReadValue(key, dosDevices, value) == ERROR_SUCCESS) {
            Insert(numbers, TextOf(value).value_or(""));
        }
    }
    for (const SMachinePort& port : CMachinePorts::Read()) {
        if (!CMachinePorts::IsOurs(port, ours)) {
            Insert(numbers, port.comName);
        }
    }
    return numbers;
}

void SetBit(std::vector<std::uint8_t>& bits, unsigned number, bool set) {
    const std::size_t byte = (number - 1) / 8;
    const auto mask = static_cast<std::uint8_t>(1u << ((number - 1) % 8));
    if (byte >= bits.size()) {
        if (!set) {
            return;
        }
        bits.resize((byte / kBlock + 1) * kBlock, 0);
    }
    bits[byte] = static_cast<std::uint8_t>(set ? bits[byte] | mask : bits[byte] & ~mask);
}

void Store(const std::vector<std::uint8_t>& bits) {
    CRegistry key;
    if (key.OpenKey(ComNameArbiterKeyPath(), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        CMessageService::Error(kWriteRegistryFailed);
        return;
    }
    WriteBytesReported(key, kComDB, bits.data(), bits.size());
    key.CloseKey();
}
} // namespace

std::optional<unsigned> CComNameDatabase::ComNumber(const std::string& text) {
    if (text.size() < 4 || text.size() > 6 || strncasecmp(text.c_str(), "COM", 3) != 0 ||
        text[3] == '0') {
        return std::nullopt;
    }
    unsigned number = 0;
    for (std::size_t i = 3; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return number <= kMaxComNumber ? std::optional<unsigned>(number) : std::nullopt;
}

std::string CComNameDatabase::Registered(const std::string& instance) {
    CRegistry key;
    if (key.OpenKey(SerialInstanceKeyPath(instance), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        return "";
    }
    return ReadTextOr(key, LoadString(IDS_NTPORT_DOS_DEVICES), kComNameBuffer, "");
}

void CComNameDatabase::Update(const std::vector<std::string>& reserved,
                              const std::vector<std::string>& released) {
    CHive* hive = CHive::Current();
    HiveKeyId arbiter = 0;
    SHiveValue database;
    if (hive == nullptr || hive->FindKey(ComNameArbiterKeyPath(), arbiter) != ERROR_SUCCESS ||
        hive->ReadValue(arbiter, kComDB, database) != ERROR_SUCCESS ||
        database.type != REG_BINARY) {
        return;
    }
    std::vector<std::uint8_t> bits = database.data;
    CCaselessNames ours(reserved.begin(), reserved.end());
    ours.insert(released.begin(), released.end());
    CNumbers releasing;
    for (const std::string& name : released) {
        Insert(releasing, name);
    }
    const std::optional<CNumbers> inUse =
        releasing.empty() ? std::optional<CNumbers>() : NumbersInUse(ours);
    for (unsigned number : releasing) {
        if (inUse && inUse->count(number) == 0) {
            SetBit(bits, number, false);
        }
    }
    for (const std::string& name : reserved) {
        if (const std::optional<unsigned> number = ComNumber(name)) {
            SetBit(bits, *number, true);
        }
    }
    if (bits != database.data) {
        Store(bits);
    }
}
