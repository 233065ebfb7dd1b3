#include "checkreport.h"

#include "hivetext.h"
#include "resourcecheck.h"

namespace {
std::string Counted(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
} // namespace

std::string CCheckReport::Text(const std::vector<SCheckFinding>& findings) {
    std::string text;
    for (const SCheckFinding& finding : findings) {
        text += std::string(CheckSeverityName(finding.severity)) + " " +
                CheckCodeName(finding.code) + ": " + CHiveText::ToUtf8(finding.message) + "\n";
        for (const std::string& item : finding.items) {
            text += "  " + CHiveText::ToUtf8(item) + "\n";
        }
    }
    return text + Counted(CResourceCheck::Count(findings, ECheckSeverity::Error), "error") + ", " +
           Counted(CResourceCheck::Count(findings, ECheckSeverity::Warning), "warning") + "\n";
}
