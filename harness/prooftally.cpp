#include "prooftally.h"

#include <cstdio>

namespace {
constexpr std::size_t kShownDetails = 25;
}

void CProofTally::Add(const std::string& figure, std::uint64_t amount) {
    m_figures[figure] += amount;
}

void CProofTally::Violation(const std::string& kind, const std::string& detail) {
    ++m_violations[kind];
    if (m_details.size() < kShownDetails) {
        m_details.push_back(kind + ": " + detail);
    }
}

void CProofTally::Known(const std::string& kind, const std::string& detail, bool strict) {
    if (strict) {
        Violation(kind, detail);
        return;
    }
    if (m_figures["known " + kind]++ == 0) {
        std::printf("%s: known finding %s: %s\n", m_harness.c_str(), kind.c_str(), detail.c_str());
    }
}

int CProofTally::Print(double seconds) const {
    std::uint64_t violations = 0;
    for (const auto& [kind, count] : m_violations) {
        violations += count;
    }
    for (const std::string& detail : m_details) {
        std::printf("%s: violation %s\n", m_harness.c_str(), detail.c_str());
    }
    for (const auto& [figure, value] : m_figures) {
        std::printf("%s: figure %s %llu\n", m_harness.c_str(), figure.c_str(),
                    static_cast<unsigned long long>(value));
    }
    for (const auto& [kind, count] : m_violations) {
        std::printf("%s: figure violations %s %llu\n", m_harness.c_str(), kind.c_str(),
                    static_cast<unsigned long long>(count));
    }
    std::printf("%s: figure violations %llu\n", m_harness.c_str(),
                static_cast<unsigned long long>(violations));
    std::printf("%s: figure seconds %.1f\n", m_harness.c_str(), seconds);
    std::fflush(stdout);
    return violations == 0 ? 0 : 1;
}

void CProofTally::ExpectSound(const std::string& what, const SFileVerdict& verdict) {
    if (!verdict.opens) {
        Violation("does not open", what + ": " + verdict.openError);
    }
    if (verdict.integrity != "ok") {
        Violation("damaged", what + ": " + verdict.integrity);
    }
}
