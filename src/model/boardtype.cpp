#include "boardtype.h"

#include <array>
#include <utility>

namespace {

struct SModel {
    const char* name;
    int portsPerBoard;
    int individuallyAddressed;
    const char* shareIRQMode;
    const char* minBaseAddress;
    const char* minVectorAddress;
    int standardMode;
};

const std::array<SModel, 12> kModels = {{
    {"RX-201", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-202", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-204E", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-208E", 2, 1, "No", "0x200", "NONE", 0},
    {"RX-209", 4, 1, "No", "0x200", "0x200", 0},
    {"RX-401", 4, 0, "Both", "0x200", "0x200", 1},
    {"RX-402", 4, 0, "Both", "0x200", "0x200", 1},
    {"RX-404", 4, 0, "Both", "0x200", "0x200", 1},
    {"RX-408", 8, 0, "Yes", "0x000", "0x000", 0},
    {"RQ-6001", 2, 1, "No", "0x200", "NONE", 0},
    {"RQ-6002", 2, 1, "No", "0x200", "NONE", 0},
    {"RQ-6004", 4, 0, "Both", "0x200", "0x200", 1},
}};

const SModel kOtherModel = {"", 4, 0, "Both", "0x200", "0x200", 0};

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
