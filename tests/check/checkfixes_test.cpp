#include "checkfixes.h"
#include "portderivation.h"
#include "resourcecheck.h"
#include "snapshotbuilder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
struct SFixRow {
    const char* name;
    SCheckSnapshot snapshot;
    ECheckCode code;                 // the finding asked about
    std::vector<SCheckFix> expected; // value left empty: any value that clears the finding
};

void PrintTo(const SFixRow& row, std::ostream* out) {
    *out << row.name;
}

SCheckBoard Both(const std::string& name, std::initializer_list<SCheckPort> ports) {
    return {name, "RX-401", "0x300", "COM3", "NONE", "NONE", 0, ports};
}

// The snapshot as the form's pick leaves it: the board's value and what follows for its ports.
SCheckSnapshot Applied(SCheckSnapshot snapshot, const SCheckFix& fix) {
    for (SCheckBoard& board : snapshot.boards) {
        if (board.keyName != fix.board) {
            continue;
        }
        for (std::size_t i = 0; i < board.ports.size(); ++i) {
            SCheckPort& port = board.ports[i];
            const int index = static_cast<int>(i);
            if (fix.kind == ECheckFixKind::NextFreeBaseAddress) {
                port.address = MakePortAddress(fix.value, index);
            } else if (fix.kind == ECheckFixKind::NextFreeCOMNames && fix.port.empty()) {
                port.comPort = MakePortCOMPort(fix.value, index);
            } else if (fix.kind == ECheckFixKind::NextFreeCOMNames && port.keyName == fix.port) {
                port.comPort = fix.value;
            }
        }
    }
    return snapshot;
}

class CheckFixes : public testing::TestWithParam<SFixRow> {};
} // namespace

TEST_P(CheckFixes, OfferThePickThatClearsTheFindingWhereTheModelHasIt) {
    const SFixRow& row = GetParam();
    const std::vector<SCheckFinding> findings = CResourceCheck::Run(row.snapshot);
    auto finding = std::find_if(findings.begin(), findings.end(),
                                [&](const SCheckFinding& f) { return f.code == row.code; });
    ASSERT_NE(finding, findings.end()) << testing::PrintToString(Short(findings));
    std::vector<SCheckFix> fixes = CCheckFixes::For(row.snapshot, *finding);
    ASSERT_EQ(fixes.size(), row.expected.size());
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        EXPECT_EQ(fixes[i].kind, row.expected[i].kind);
        EXPECT_EQ(fixes[i].board, row.expected[i].board);
        EXPECT_EQ(fixes[i].port, row.expected[i].port);
        EXPECT_FALSE(fixes[i].label.empty());
        if (fixes[i].kind == ECheckFixKind::ShareInterrupt) {
            continue;
        }
        for (const SCheckFinding& after : CResourceCheck::Run(Applied(row.snapshot, fixes[i]))) {
            EXPECT_TRUE(after.code != row.code) << Short(after) << " after " << fixes[i].label;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckFixes,
    testing::Values(SFixRow{"BaseAddressOfTheLaterBoard",
                            Nt({Shared("Board000", "0x2d0",
                                       {Port("Port000", "0x200", "5", "COM3"),
                                        Port("Port001", "0x208", "5", "COM4")}),
                                Shared("Board001", "0x2d8",
                                       {Port("Port000", "0x200", "5", "COM5"),
                                        Port("Port001", "0x208", "5", "COM6")})}),
                            ECheckCode::IoOverlap,
                            {{ECheckFixKind::NextFreeBaseAddress, "Board001", "", "", ""}}},
                    SFixRow{"ComNamesOfTheLaterBoard",
                            Nt({Shared("Board000", "0x2d0",
                                       {Port("Port000", "0x200", "5", "COM3"),
                                        Port("Port001", "0x208", "5", "COM4")}),
                                Shared("Board001", "0x2d8",
                                       {Port("Port000", "0x300", "5", "COM3"),
                                        Port("Port001", "0x308", "5", "COM4")})}),
                            ECheckCode::ComDuplicate,
                            {{ECheckFixKind::NextFreeCOMNames, "Board001", "", "", ""}}},
                    SFixRow{"ComNameOfAnIndividuallyAddressedPort",
                            Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")}),
                                Unshared("Board001", {Port("Port000", "0x300", "7", "COM3")})}),
                            ECheckCode::ComDuplicate,
                            {{ECheckFixKind::NextFreeCOMNames, "Board001", "Port000", "", ""}}},
                    SFixRow{"ShareTheInterruptOfAModelThatCan",
                            Nt({Both("Board000", {Port("Port000", "0x300", "7", "COM3"),
                                                  Port("Port001", "0x308", "7", "COM4")})}),
                            ECheckCode::IrqUnshared,
                            {{ECheckFixKind::ShareInterrupt, "Board000", "", "1", ""}}},
                    SFixRow{"NoSharingForAModelThatCannot",
                            Nt({Unshared("Board000", {Port("Port000", "0x200", "7", "COM3"),
                                                      Port("Port001", "0x208", "7", "COM4")})}),
                            ECheckCode::IrqUnshared,
                            {}}),
    [](const testing::TestParamInfo<SFixRow>& row) { return std::string(row.param.name); });
