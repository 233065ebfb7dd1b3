#pragma once

#include "object.h"

#include <string>
#include <vector>

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
    // "No", "Both" or "Yes".
    std::string GetShareIRQMode() const;
    // "0x200" selects list B1, anything else B2.
    std::string GetMinBaseAddress() const;
    // "0x200" selects list V1, "0x000" V2; "NONE" for models that cannot share.
    std::string GetMinVectorAddress() const;
    int SupportsStandardMode() const;

private:
    std::string m_modelName;
};

// The twelve model names in the order the Board Type list is filled.
const std::vector<std::string>& BoardTypeNames();
