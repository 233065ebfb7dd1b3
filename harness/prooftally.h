#pragma once

#include "registrydump.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The figures and violations of one harness run, printed in one format ("figure NAME VALUE",
// "violation KIND: DETAIL") that scripts/proof gathers.
class CProofTally {
public:
    explicit CProofTally(std::string harness) : m_harness(std::move(harness)) {}

    void Add(const std::string& figure, std::uint64_t amount = 1);
    void Violation(const std::string& kind, const std::string& detail);
    // A file left by a trial must open and pass its integrity check.
    void ExpectSound(const std::string& what, const SFileVerdict& verdict);
    // A finding that is known and not failed on (being mended elsewhere, or not this system's
    // to mend): counted and its first case shown; with strict it is a violation.
    void Known(const std::string& kind, const std::string& detail, bool strict);

    // Prints every figure and the first violations; returns the exit status (1 on any).
    int Print(double seconds) const;

private:
    std::string m_harness;
    std::map<std::string, std::uint64_t> m_figures;
    std::map<std::string, std::uint64_t> m_violations;
    std::vector<std::string> m_details;
};
