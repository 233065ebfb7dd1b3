#pragma once

#include "object.h"

#include <string>
#include <vector>

// Whether a model's ports share one interrupt: never, as the person chooses, or always.
enum class EShareIRQMode { No, Both, Yes };

// What a board model decides: port count, addressing, interrupt sharing, address lists and
// standard mode. Answers come from the model name given at construction alone; a name outside
// the twelve models (compared byte for byte, case-sensitively) answers as a four-port,
// base-addressed board with optional sharing and no standard mode.
class CBoardType : public CObject {
public:
    explicit CBoardType(std::string modelName);

    const char* GetRuntimeClassName() const override;

    int GetPortsPerBoard() const;
    int IsIndividuallyAddressed() const;
    // "No", "Both" or "Yes": the text of GetShareIRQModeKind().
    std::string GetShareIRQMode() const;
    EShareIRQMode GetShareIRQModeKind() const;
    // "0x200" selects list B1, anything else B2.
    std::string GetMinBaseAddress() const;
    // "0x200" selects list V1, "0x000" V2; "NONE" for models that cannot share.
    std::string GetMinVectorAddress() const;
    int SupportsStandardMode() const;

    // The lists the forms offer for this model: no base addresses for an individually
    // addressed model, no vector addresses for one that cannot share.
    const std::vector<std::string>& GetBaseAddressList() const;
    const std::vector<std::string>& GetVectorAddressList() const;
    const std::vector<std::string>& GetPortIRQList() const;

private:
    std::string m_modelName;
};

// The twelve model names in the order the Board Type list is filled.
const std::vector<std::string>& BoardTypeNames();
