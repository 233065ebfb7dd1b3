#include "boardtype.h"

#include "valuelists.h"

#include <array>
#include <utility>

namespace {

constexpr EShareIRQMode kNo = EShareIRQMode::No;
constexpr EShareIRQMode kBoth = EShareIRQMode::Both;
constexpr EShareIRQMode kYes = EShareIRQMode::Yes;

struct SModel {
    const char* name;
    int portsPerBoard;
    int individuallyAddressed;
    EShareIRQMode shareIRQMode;
    const char* minBaseAddress;
    const char* minVectorAddress;
    int standardMode;
    bool shortPortIRQList;
};

const std::array<SModel, 12> kModels = {{
    {"RX-201", 2, 1, kNo, "0x200", "NONE", 0, false},
    {"RX-202", 2, 1, kNo, "0x200", "NONE", 0, false},
    {"RX-204E", 2, 1, kNo, "0x200", "NONE", 0, false},
    {"RX-208E", 2, 1, kNo, "0x200", "NONE", 0, false},
    {"RX-209", 4, 1, kNo, "0x200", "0x200", 0, false},
    {"RX-401", 4, 0, kBoth, "0x200", "0x200", 1, false},
    {"RX-402", 4, 0, kBoth, "0x200", "0x200", 1, false},
    {"RX-404", 4, 0, kBoth, "0x200", "0x200", 1, false},
    {"RX-408", 8, 0, kYes, "0x000", "0x000", 0, false},
    {"RQ-6001", 2, 1, kNo, "0x200", "NONE", 0, true},
    {"RQ-6002", 2, 1, kNo, "0x200", "NONE", 0, false},
    {"RQ-6004", 4, 0, kBoth, "0x200", "0x200", 1, false},
}};

const SModel kOtherModel = {"", 4, 0, kBoth, "0x200", "0x200", 0, false};

// A model's minimum address is the first entry of the list it offers.
bool Begins(const std::vector<std::string>& list, const char* address) {
    return list.front() == address;
}

const std::vector<std::string>& NoEntries() {
    static const std::vector<std::string> none;
    return none;
}

const SModel& FindModel(const std::string& name) {
    for (const auto& model : kModels) {
        if (name == model.name) {
            return model;
        }
    }
    return kOtherModel;
}

} // namespace

CBoardType::CBoardType(std::string modelName) : m_modelName(std::move(modelName)) {}

const char* CBoardType::GetRuntimeClassName() const {
    return "CBoardType";
}

int CBoardType::GetPortsPerBoard() const {
    return FindModel(m_modelName).portsPerBoard;
}

int CBoardType::IsIndividuallyAddressed() const {
    return FindModel(m_modelName).individuallyAddressed;
}

std::string CBoardType::GetShareIRQMode() const {
    switch (GetShareIRQModeKind()) {
    case EShareIRQMode::No:
        return "No";
    case EShareIRQMode::Both:
        return "Both";
    case EShareIRQMode::Yes:
        break;
    }
    return "Yes";
}

EShareIRQMode CBoardType::GetShareIRQModeKind() const {
    return FindModel(m_modelName).shareIRQMode;
}

std::string CBoardType::GetMinBaseAddress() const {
    return FindModel(m_modelName).minBaseAddress;
}

std::string CBoardType::GetMinVectorAddress() const {
    return FindModel(m_modelName).minVectorAddress;
}

int CBoardType::SupportsStandardMode() const {
    return FindModel(m_modelName).standardMode;
}

const std::vector<std::string>& CBoardType::GetBaseAddressList() const {
    const SModel& model = FindModel(m_modelName);
    if (model.individuallyAddressed != 0) {
        return NoEntries();
    }
    return Begins(BaseAddressListB1(), model.minBaseAddress) ? BaseAddressListB1()
                                                             : BaseAddressListB2();
}

const std::vector<std::string>& CBoardType::GetVectorAddressList() const {
    const SModel& model = FindModel(m_modelName);
    if (model.shareIRQMode == EShareIRQMode::No) {
        return NoEntries();
    }
    return Begins(VectorAddressListV1(), model.minVectorAddress) ? VectorAddressListV1()
                                                                 : VectorAddressListV2();
}

const std::vector<std::string>& CBoardType::GetPortIRQList() const {
    return FindModel(m_modelName).shortPortIRQList ? PortIRQListShort() : PortIRQListFull();
}

const std::vector<std::string>& BoardTypeNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const auto& model : kModels) {
            list.emplace_back(model.name);
        }
        return list;
    }();
    return names;
}
