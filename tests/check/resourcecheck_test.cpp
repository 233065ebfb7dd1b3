#include "resourcecheck.h"
#include "snapshotbuilder.h"

#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {
using Shorts = std::vector<std::string>;

const std::string kHostile(128, '\xff');

struct SRuleRow {
    const char* name;
    SCheckSnapshot snapshot;
    // Every finding, in the order the check gives them.
    Shorts expected;
};

void PrintTo(const SRuleRow& row, std::ostream* out) {
    *out << row.name;
}

class ResourceCheckRules : public testing::TestWithParam<SRuleRow> {};

TEST_P(ResourceCheckRules, Findings) {
    EXPECT_EQ(Short(CResourceCheck::Run(GetParam().snapshot)), GetParam().expected);
}

// Addresses 0x200-0x26f and 0x300-0x36f, interrupts 3, 4, 5, 7, 9, 10 and 11 and COM3 to COM9
// are clear of the PC's own devices, so that each row shows only the findings it is about.
const SRuleRow kRows[] = {
    {"CleanConfiguration",
     Nt({Shared("Board000", "0x2d0",
                {Port("Port000", "0x200", "5", "COM3"), Port("Port001", "0x208", "5", "COM4")}),
         Unshared("Board001", {Port("Port000", "0x300", "7", "COM5")})}),
     {}},
    // value-invalid
    {"PortAddressGarbage",
     Nt({Unshared("Board000", {Port("Port000", "0xzz", "5", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"PortAddressNone",
     Nt({Unshared("Board000", {Port("Port000", "NONE", "5", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"PortAddressDefaultOfMissingValue",
     Nt({Unshared("Board000", {Port("Port000", "190", "5", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"PortAddressFiveDigits",
     Nt({Unshared("Board000", {Port("Port000", "0x10200", "5", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"PortAddressFourDigitsReachesTheSystemAsItsLastThree",
     Nt({Unshared("Board000", {Port("Port000", "0x1200", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x204", "7", "COM4")})}),
     {"io-overlap Board000\\Port000 Board001\\Port000"}},
    {"PortIrqSixteen",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "16", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"PortIrqHugeNumber",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "99999999999999999999", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"PortIrqNegative",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "-5", "COM3")})}),
     {"value-invalid Board000\\Port000"}},
    {"ComZero",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM0")})}),
     {"value-invalid Board000\\Port000"}},
    {"Com257",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM257")})}),
     {"value-invalid Board000\\Port000"}},
    {"ComLeadingZero",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM03")})}),
     {"value-invalid Board000\\Port000"}},
    {"Com256IsTheLastName",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM256")})}),
     {"com-high Board000\\Port000"}},
    {"ComLowerCaseIsAName",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "com5")})}),
     {}},
    {"EveryValueOfAPortHostile",
     Nt({Unshared("Board000", {Port("Port000", kHostile, kHostile, kHostile)})}),
     {"value-invalid Board000\\Port000", "value-invalid Board000\\Port000",
      "value-invalid Board000\\Port000"}},
    {"SharingBoardWithoutVectorAddress",
     Nt({Shared("Board000", "NONE", {Port("Port000", "0x200", "5", "COM3")})}),
     {"value-invalid Board000"}},
    {"SharingBoardWithGarbageVectorAddress",
     Nt({Shared("Board000", "2d0", {Port("Port000", "0x200", "5", "COM3")})}),
     {"value-invalid Board000"}},
    {"BoardThatDoesNotShareMayHaveNoVectorAddress",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")})}),
     {}},
    {"BoardBaseValuesGarbage",
     Nt({SCheckBoard{"Board000", "RX-209", "zz", "LPT1", "x", "NONE", 0, {}}}),
     {"value-invalid Board000", "value-invalid Board000", "value-invalid Board000"}},
    {"ForeignAddressHuge",
     Nt({}, {NtEntry("Serial000", 0xffffffff, 4, "COM1")}),
     {"value-invalid Serial000"}},
    {"ForeignIrqHuge",
     Nt({}, {NtEntry("Serial000", 0x3f8, 0x10000, "COM1")}),
     {"value-invalid Serial000"}},
    {"ForeignDosDevicesNotAComName",
     Nt({}, {NtEntry("Serial000", 0x3f8, 4, "LPT1")}),
     {"value-invalid Serial000"}},
    {"ForeignAddressOfWrongType",
     Nt({}, {SForeignEntry{"Serial000",
                           "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Serial000",
                           {Text("PortAddress", "0x3f8")}}}),
     {"value-invalid Serial000"}},
    {"ForeignForcedConfigTooShort",
     Win9x({}, {Win9xEntry("0000", "COM1", std::vector<std::uint8_t>(10, 0))}),
     {"value-invalid 0000"}},
    {"ForeignForcedConfigEndBeforeStart",
     Win9x({}, {Win9xEntry("0000", "COM1", ForcedConfig(0x3ff, 0x3f8, 4))}),
     {"value-invalid 0000"}},
    {"ForeignForcedConfigIrqOutOfRange",
     Win9x({}, {Win9xEntry("0000", "COM1", ForcedConfig(0x3f8, 0x3ff, 200))}),
     {"value-invalid 0000"}},
    // io-overlap
    {"PortsOfTwoBoardsOverlap",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x204", "7", "COM4")})}),
     {"io-overlap Board000\\Port000 Board001\\Port000"}},
    {"RangesTouchingAtOneAddressOverlap",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x207", "7", "COM4")})}),
     {"io-overlap Board000\\Port000 Board001\\Port000"}},
    {"AdjacentRangesDoNotOverlap",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x208", "7", "COM4")})}),
     {}},
    {"PortsOfOneBoardOverlap",
     Nt({Unshared("Board000",
                  {Port("Port000", "0x200", "5", "COM3"), Port("Port001", "0x200", "7", "COM4")})}),
     {"io-overlap Board000\\Port000 Board000\\Port001"}},
    {"VectorRegisterInsideAPort",
     Nt({Shared("Board000", "0x204", {Port("Port000", "0x200", "5", "COM3")})}),
     {"io-overlap Board000\\Port000 Board000"}},
    {"VectorRegisterRightAfterAPort",
     Nt({Shared("Board000", "0x208", {Port("Port000", "0x200", "5", "COM3")})}),
     {}},
    {"TwoBoardsOneVectorRegister",
     Nt({Shared("Board000", "0x2d0", {}), Shared("Board001", "0x2d0", {})}),
     {"io-overlap Board000 Board001"}},
    {"ForeignEntryOverlapsAPort",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")})},
        {NtEntry("Serial000", 0x200, std::nullopt, std::nullopt)}),
     {"io-overlap Board000\\Port000 Serial000"}},
    {"TwoForeignEntriesAreTheSystemsOwnBusiness",
     Nt({}, {NtEntry("Serial000", 0x200, 4, "COM1"), NtEntry("Serial001", 0x200, 4, "COM1")}),
     {}},
    {"ForeignForcedConfigRangeOverlaps",
     Win9x({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")})},
           {Win9xEntry("0000", "COM1", ForcedConfig(0x207, 0x20e, 3))}),
     {"io-overlap Board000\\Port000 0000"}},
    // io-alias
    {"TenBitAlias",
     Nt({Unshared("Board000", {Port("Port000", "0x208", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x608", "7", "COM4")})}),
     {"io-alias Board000\\Port000 Board001\\Port000"}},
    {"AliasOneAddressApart",
     Nt({Unshared("Board000", {Port("Port000", "0x208", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x610", "7", "COM4")})}),
     {}},
    {"ForeignEntryAliasesAPort",
     Nt({Unshared("Board000", {Port("Port000", "0x208", "5", "COM3")})},
        {NtEntry("Serial000", 0x1208, std::nullopt, std::nullopt)}),
     {"io-alias Board000\\Port000 Serial000"}},
    {"ForeignRangeAcrossAMultipleOf0x400",
     Win9x({Unshared("Board000", {Port("Port000", "0x3f8", "5", "COM3")})},
           {Win9xEntry("0000", "COM1", ForcedConfig(0x7fc, 0x803, 3))}),
     {"io-alias Board000\\Port000 0000", "io-legacy Board000\\Port000"}},
    {"Boundary0x3ffAnd0x400",
     Nt({Unshared("Board000", {Port("Port000", "0x3f8", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x400", "7", "COM4")})}),
     {"io-system Board001\\Port000", "io-legacy Board000\\Port000"}},
    // io-system
    {"PortOnTheSystemBoard",
     Nt({Unshared("Board000", {Port("Port000", "0x0d0", "5", "COM3")})}),
     {"io-system Board000\\Port000"}},
    {"DerivedTwoDigitAddress",
     Nt({Unshared("Board000", {Port("Port000", "0x8", "5", "COM3")})}),
     {"io-system Board000\\Port000"}},
    {"LastSystemRange",
     Nt({Unshared("Board000", {Port("Port000", "0x0f8", "5", "COM3")})}),
     {"io-system Board000\\Port000"}},
    {"FirstAddressAfterTheSystemBoard",
     Nt({Unshared("Board000", {Port("Port000", "0x100", "5", "COM3")})}),
     {}},
    {"VectorRegisterOnTheSystemBoard",
     Nt({Shared("Board000", "0x0f0", {})}),
     {"io-system Board000"}},
    {"ForeignEntriesMayUseTheSystemBoard", Nt({}, {NtEntry("Serial000", 0x060, 4, "COM1")}), {}},
    // io-legacy
    {"BuiltInCom1",
     Nt({Unshared("Board000", {Port("Port000", "0x3f8", "5", "COM3")})}),
     {"io-legacy Board000\\Port000"}},
    {"JustBelowTheSecondaryIde",
     Nt({Unshared("Board000", {Port("Port000", "0x168", "5", "COM3")})}),
     {}},
    {"SecondaryIde",
     Nt({Unshared("Board000", {Port("Port000", "0x170", "5", "COM3")})}),
     {"io-legacy Board000\\Port000"}},
    {"IdeControlRegister",
     Nt({Unshared("Board000", {Port("Port000", "0x370", "5", "COM3")})}),
     {"io-legacy Board000\\Port000"}},
    {"FloppyAndIdeInOneFinding",
     Nt({Unshared("Board000", {Port("Port000", "0x3f0", "5", "COM3")})}),
     {"io-legacy Board000\\Port000"}},
    {"AliasOfAPrinterPort",
     Nt({Unshared("Board000", {Port("Port000", "0x678", "5", "COM3")})}),
     {"io-legacy Board000\\Port000"}},
    {"ForeignBuiltInPortIsNoWarning", Nt({}, {NtEntry("Serial000", 0x3f8, 4, "COM1")}), {}},
    // irq-boards
    {"TwoBoardsOneInterrupt",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x300", "5", "COM4")})}),
     {"irq-boards Board000\\Port000 Board001\\Port000"}},
    {"SharedBoardsOneInterruptNamesEveryPort",
     Nt({Shared("Board000", "0x2d0",
                {Port("Port000", "0x200", "5", "COM3"), Port("Port001", "0x208", "5", "COM4")}),
         Shared("Board001", "0x2e0", {Port("Port000", "0x300", "5", "COM5")})}),
     {"irq-boards Board000\\Port000 Board000\\Port001 Board001\\Port000"}},
    {"PortAndForeignEntryOneInterrupt",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "4", "COM3")})},
        {NtEntry("Serial000", 0x3f8, 4, "COM1")}),
     {"irq-boards Board000\\Port000 Serial000"}},
    {"ForeignForcedConfigInterrupt",
     Win9x({Unshared("Board000", {Port("Port000", "0x200", "4", "COM3")})},
           {Win9xEntry("0000", "COM1", ForcedConfig(0x3f8, 0x3ff, 4))}),
     {"irq-boards Board000\\Port000 0000"}},
    {"ForeignEntriesAloneMayShare",
     Nt({}, {NtEntry("Serial000", 0x3f8, 4, "COM1"), NtEntry("Serial001", 0x3e8, 4, "COM3")}),
     {}},
    // irq-unshared
    {"BoardThatDoesNotShareHasTwoPortsOnOneInterrupt",
     Nt({Unshared("Board000",
                  {Port("Port000", "0x200", "5", "COM3"), Port("Port001", "0x208", "5", "COM4"),
                   Port("Port002", "0x210", "7", "COM5")})}),
     {"irq-unshared Board000\\Port000 Board000\\Port001"}},
    {"SharingFlagOn",
     Nt({Shared("Board000", "0x2d0",
                {Port("Port000", "0x200", "5", "COM3"), Port("Port001", "0x208", "5", "COM4")})}),
     {}},
    {"ModelThatAlwaysShares",
     Nt({SCheckBoard{
         "Board000",
         "RX-408",
         "0x200",
         "COM3",
         "5",
         "0x2d0",
         0,
         {Port("Port000", "0x200", "5", "COM3"), Port("Port001", "0x208", "5", "COM4")}}}),
     {}},
    // irq-system and irq-legacy
    {"SystemInterrupts",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "0", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x208", "1", "COM4")}),
         Unshared("Board002", {Port("Port000", "0x210", "2", "COM5")}),
         Unshared("Board003", {Port("Port000", "0x218", "8", "COM6")}),
         Unshared("Board004", {Port("Port000", "0x220", "13", "COM7")})}),
     {"irq-system Board000\\Port000", "irq-system Board001\\Port000",
      "irq-system Board002\\Port000", "irq-system Board003\\Port000",
      "irq-system Board004\\Port000"}},
    {"LegacyInterrupts",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "6", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x208", "12", "COM4")}),
         Unshared("Board002", {Port("Port000", "0x210", "14", "COM5")}),
         Unshared("Board003", {Port("Port000", "0x218", "15", "COM6")})}),
     {"irq-legacy Board000\\Port000", "irq-legacy Board001\\Port000",
      "irq-legacy Board002\\Port000", "irq-legacy Board003\\Port000"}},
    // com-duplicate, com-taken, com-high
    {"OneComNameTwiceWithoutRegardToCase",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")}),
         Unshared("Board001", {Port("Port000", "0x300", "7", "com3")})}),
     {"com-duplicate Board000\\Port000 Board001\\Port000"}},
    {"ComNameOfAForeignEntry",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")})},
        {NtEntry("Serial000", 0x3e8, 4, "COM3")}),
     {"com-taken Board000\\Port000 Serial000"}},
    {"ComNameOfAForeign9xEntry",
     Win9x({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3")})},
           {Win9xEntry("0000", "com3", std::nullopt)}),
     {"com-taken Board000\\Port000 0000"}},
    {"ForeignEntriesMayRepeatANameAmongThemselves",
     Nt({}, {NtEntry("Serial000", 0x3f8, 4, "COM1"), NtEntry("Serial001", 0x2f8, 3, "COM1")}),
     {}},
    {"Com9IsAPlainName", Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM9")})}), {}},
    {"Com10",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM10")})}),
     {"com-high Board000\\Port000"}},
    // The families read different values of the operating system's entries.
    {"NtValuesMeanNothingOn9x",
     Win9x({Unshared("Board000", {Port("Port000", "0x200", "4", "COM3")})},
           {NtEntry("Serial000", 0x200, 4, "COM3")}),
     {}},
    {"Win9xValuesMeanNothingOnNt",
     Nt({Unshared("Board000", {Port("Port000", "0x200", "4", "COM3")})},
        {Win9xEntry("0000", "COM3", ForcedConfig(0x200, 0x207, 4))}),
     {}},
    // Order: errors by code, then warnings by code.
    {"ErrorsBeforeWarnings",
     Nt({Unshared("Board000", {Port("Port000", "0x3f8", "5", "COM12")}),
         Unshared("Board001", {Port("Port000", "0x3f8", "6", "COM12")})}),
     {"io-overlap Board000\\Port000 Board001\\Port000",
      "com-duplicate Board000\\Port000 Board001\\Port000", "io-legacy Board000\\Port000",
      "io-legacy Board001\\Port000", "irq-legacy Board001\\Port000", "com-high Board000\\Port000",
      "com-high Board001\\Port000"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, ResourceCheckRules, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<SRuleRow>& row) {
                             return std::string(row.param.name);
                         });

std::string OnlyMessage(const SCheckSnapshot& snapshot) {
    const std::vector<SCheckFinding> findings = CResourceCheck::Run(snapshot);
    EXPECT_EQ(findings.size(), 1u);
    return findings.empty() ? std::string() : findings.front().message;
}

TEST(ResourceCheckSentences, SayWhatAndWhere) {
    EXPECT_EQ(OnlyMessage(Nt({Unshared("Board000", {Port("Port000", "0x200", "5", "COM3"),
                                                    Port("Port001", "0x208", "7", "COM4")}),
                              Unshared("Board001", {Port("Port000", "0x208", "9", "COM5")})})),
              "Port001 of Board000 (0x208-0x20f) overlaps Port000 of Board001 (0x208-0x20f).");
    EXPECT_EQ(OnlyMessage(Nt({Unshared("Board000", {Port("Port000", "0x3f0", "5", "COM3")})})),
              "Port000 of Board000 (0x3f0-0x3f7) uses the addresses of the primary IDE controller "
              "and the floppy controller: disable them, or choose another address.");
    EXPECT_EQ(
        OnlyMessage(Nt({Unshared("Board000", {Port("Port000", "0x200", "4", "COM3")}),
                        Unshared("Board001", {Port("Port000", "0x300", "4", "COM4")})},
                       {NtEntry("Serial000", 0x3f8, 4, "COM1")})),
        "Interrupt 4 is used by Board000 (Port000), Board001 (Port000) and the system's "
        "port COM1 (Serial000): ISA interrupts are edge-triggered and cannot be shared between "
        "cards.");
    EXPECT_EQ(OnlyMessage(Nt({Shared("Board000", "NONE", {})})),
              "Board000 shares its interrupt, but its vector address \"NONE\" is not an address: "
              "the registration would point the driver at address 0.");
    EXPECT_EQ(OnlyMessage(Nt({Unshared("Board000", {Port("Port000", "0x400", "5", "COM3")})})),
              "Port000 of Board000 (0x400-0x407) is, through the 10-bit address decoding of ISA "
              "cards, on the system board's addresses 0x000-0x0ff (DMA, interrupt controllers, "
              "timer, keyboard, real-time clock).");
}

TEST(ResourceCheckSentences, HostileValueIsQuotedShortAndWithoutControlCharacters) {
    const std::string hostile = std::string("\x01\n") + std::string(500, 'A');
    const std::string message =
        OnlyMessage(Nt({Unshared("Board000", {Port("Port000", "0x200", "5", hostile)})}));
    EXPECT_LT(message.size(), 200u);
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_NE(message.find("\"??AAAA"), std::string::npos) << message;
}

// Random texts in every field: the check never fails, names only keys of the snapshot, and
// leaves out of the other rules what it reports as invalid.
TEST(ResourceCheckHostile, RandomTextsGiveOnlyFindingsOnTheSnapshotsKeys) {
    std::mt19937 random(13);
    const std::vector<std::string> pieces = {
        "0x", "NONE", "COM", "3f8", "ffff", "15", "256", "\xff", "", "-", "0", "x", "99999999999"};
    auto text = [&] {
        std::string result;
        for (int i = static_cast<int>(random() % 4); i > 0; --i) {
            result += pieces[random() % pieces.size()];
        }
        return result;
    };
    for (int round = 0; round < 200; ++round) {
        SCheckSnapshot snapshot =
            Nt({Shared("Board000", text(),
                       {Port("Port000", text(), text(), text()),
                        Port("Port001", text(), text(), text())}),
                Unshared("Board001", {Port("Port000", text(), text(), text())})},
               {NtEntry("Serial000", static_cast<std::uint32_t>(random()),
                        static_cast<std::uint32_t>(random() % 32), text())});
        snapshot.boards[0].baseAddress = text();
        snapshot.boards[1].shareIRQ = text();
        const std::set<std::string> keys = {"Board000", "Board000\\Port000", "Board000\\Port001",
                                            "Board001", "Board001\\Port000", "Serial000"};
        for (const SCheckFinding& finding : CResourceCheck::Run(snapshot)) {
            const std::string shorts = Short(finding);
            EXPECT_FALSE(finding.items.empty()) << shorts;
            EXPECT_FALSE(finding.message.empty()) << shorts;
            for (std::size_t at = shorts.find(' '); at != std::string::npos;) {
                const std::size_t end = shorts.find(' ', at + 1);
                EXPECT_EQ(keys.count(shorts.substr(at + 1, end - at - 1)), 1u) << shorts;
                at = end;
            }
        }
    }
}

TEST(ResourceCheckCounts, BySeverity) {
    const std::vector<SCheckFinding> findings =
        CResourceCheck::Run(Nt({Unshared("Board000", {Port("Port000", "0x3f8", "5", "COM12")}),
                                Unshared("Board001", {Port("Port000", "0x3f8", "6", "COM12")})}));
    EXPECT_EQ(CResourceCheck::Count(findings, ECheckSeverity::Error), 2);
    EXPECT_EQ(CResourceCheck::Count(findings, ECheckSeverity::Warning), 5);
}
} // namespace
