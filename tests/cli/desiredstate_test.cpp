// qserctl diff and apply end to end: each kind of difference and step of a plan, sources of
// every kind and both stores, idempotence, dry runs and refusals that leave the file alone.
#include "clifixture.h"
#include "configurationschema.h"
#include "goldenmachine.h"
#include "testhivefile.h"

#include <algorithm>
#include <set>

namespace {
using Args = std::vector<std::string>;

const std::vector<Args>& kGolden = GoldenMachineCommands();

class CDesiredStateTest : public CCliFixture {
protected:
    // The golden machine in the fixture's registry; its configuration file beside it.
    std::string MakeGolden() {
        for (const Args& args : kGolden) {
            Ok(args);
        }
        return WriteFile("golden.json", Ok({"show", "--json"}).out);
    }
    std::string Other() const { return Folder() + "/other.db"; }
    SQserCtlRun OnOther(Args args) const { return CtlOn(Other(), std::move(args)); }
    std::string FileBytes(const std::string& path) const { return ReadFile(path); }
};

TEST_F(CDesiredStateTest, ApplyToAnEmptyRegistryCopiesTheMachineAndASecondApplyChangesNothing) {
    const std::string golden = MakeGolden();
    const SQserCtlRun first = OnOther({"apply", "--detailed-exitcode", golden});
    EXPECT_EQ(first.status, 5) << first.err;
    EXPECT_NE(first.out.find("Board000: added, RX-404, 4 ports"), std::string::npos) << first.out;
    EXPECT_EQ(Ctl({"diff", RegistryPath(), Other()}).status, 0);
    EXPECT_EQ(OnOther({"check"}).status, 0);

    const std::string bytes = FileBytes(Other());
    const SQserCtlRun again = OnOther({"apply", "--json", "--detailed-exitcode", golden});
    EXPECT_EQ(again.status, 0) << again.err;
    const nlohmann::json json = nlohmann::json::parse(again.out);
    EXPECT_FALSE(json["changed"].get<bool>());
    EXPECT_TRUE(json["changes"].empty());
    EXPECT_TRUE(json["registry"].empty());
    EXPECT_EQ(json["restart"], "none");
    EXPECT_EQ(FileBytes(Other()), bytes);
}

// Each row changes a copy of the golden machine; applying the golden configuration plans the
// line and brings the copy back.
struct SPlanRow {
    const char* name;
    std::vector<Args> change;
    const char* planLine;
};

class CPlanStepTest : public CDesiredStateTest, public ::testing::WithParamInterface<SPlanRow> {};

TEST_P(CPlanStepTest, IsPlannedAndUndone) {
    const std::string golden = MakeGolden();
    ASSERT_EQ(OnOther({"apply", golden}).status, 0);
    for (const Args& args : GetParam().change) {
        const SQserCtlRun run = OnOther(args);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const SQserCtlRun diff = Ctl({"diff", Other(), RegistryPath()});
    EXPECT_EQ(diff.status, 5);
    EXPECT_NE(diff.out.find(GetParam().planLine), std::string::npos) << diff.out;

    const SQserCtlRun apply = OnOther({"apply", "--allow-problems", golden});
    EXPECT_EQ(apply.status, 0) << apply.err;
    EXPECT_EQ(apply.out, diff.out);
    const SQserCtlRun after = Ctl({"diff", RegistryPath(), Other()});
    EXPECT_EQ(after.status, 0) << after.out;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CPlanStepTest,
    ::testing::Values(
        SPlanRow{"BoardRemoved", {{"add-board"}}, "Board002: removed"},
        SPlanRow{
            "BoardAdded", {{"--yes", "delete", "Board001"}}, "Board001: added, RX-201, 2 ports"},
        SPlanRow{"BoardAddedBelowAnother",
                 {{"--yes", "delete", "Board000"}},
                 "Board000: added, RX-404, 4 ports"},
        SPlanRow{"ModelChanged",
                 {{"--yes", "delete", "Board000/Port000"},
                  {"set", "Board000", "BoardType=RX-408"},
                  {"add-port", "Board000"}},
                 "Board000: BoardType RX-408 -> RX-404"},
        // The form clears the base of ports addressed one by one in its record only.
        SPlanRow{"ModelChangedFromPortsAddressedOneByOne",
                 {{"--yes", "delete", "Board000"},
                  {"add-board", "BoardType=RX-201"},
                  {"add-port", "Board000"}},
                 "Board000: BoardType RX-201 -> RX-404"},
        SPlanRow{"BaseAddress",
                 {{"set", "Board000", "BoardBaseAddress=0x340"}},
                 "Board000: BoardBaseAddress 0x340 -> 0x300"},
        SPlanRow{"BaseCOMPort",
                 {{"set", "Board000", "BoardBaseCOMPort=COM9"}},
                 "Board000: BoardBaseCOMPort COM9 -> COM3"},
        SPlanRow{
            "ShareIRQ", {{"set", "Board000", "BoardShareIRQ=9"}}, "Board000: BoardShareIRQ 9 -> 5"},
        SPlanRow{"ShareIRQEnabled",
                 {{"set", "Board000", "BoardShareIRQEnabled=0"}},
                 "Board000: BoardShareIRQEnabled 0 -> 1"},
        SPlanRow{"VectorAddress",
                 {{"set", "Board000", "BoardVectorAddress=0x2e0"}},
                 "Board000: BoardVectorAddress 0x2e0 -> 0x2d0"},
        SPlanRow{"PortIRQ",
                 {{"set", "Board001/Port001", "PortIRQ=10"}},
                 "Board001/Port001: PortIRQ 10 -> 4"},
        SPlanRow{"PortCOMPort",
                 {{"set", "Board001/Port000", "PortCOMPort=COM12"}},
                 "Board001/Port000: PortCOMPort COM12 -> COM7"},
        SPlanRow{"PortAddress",
                 {{"set", "Board001/Port001", "PortAddress=0x2f0"}},
                 "Board001/Port001: PortAddress 0x2f0 -> 0x288"},
        SPlanRow{
            "PortsAdded", {{"--yes", "delete", "Board000/Port000"}}, "Board000/Port003: added"},
        SPlanRow{"LowerPortAdded",
                 {{"--yes", "delete", "Board001/Port000"}},
                 "Board001/Port000: added"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CDesiredStateTest, InstanceNamesAreChosenFreeOnTheTargetNotCopied) {
    // The source's Board001 holds Serial002 to Serial005; on the target Board000 holds them.
    const std::string source = Folder() + "/source.db";
    for (const Args& args : std::vector<Args>{
             {"add-board"}, {"add-board"}, {"add-port", "Board001"}, {"add-port", "Board000"}}) {
        ASSERT_EQ(CtlOn(source, args).status, 0);
    }
    Ok({"add-board"});
    Ok({"add-port", "Board000"});
    const SQserCtlRun apply = Ctl({"apply", "--allow-problems", source});
    ASSERT_EQ(apply.status, 0) << apply.err;
    EXPECT_EQ(Ctl({"diff", source, RegistryPath()}).status, 0);
    const SQserCtlRun all = Ctl({"diff", "--all", source, RegistryPath()});
    EXPECT_EQ(all.status, 5);
    EXPECT_NE(all.out.find("Board001/Port000: PortSerialPort Serial002 -> Serial006"),
              std::string::npos)
        << all.out;
    std::set<std::string> instances;
    const nlohmann::json shown = ShowJson();
    for (const auto& board : shown["Boards"]) {
        for (const auto& port : board["Ports"]) {
            EXPECT_TRUE(instances.insert(port["PortSerialPort"].get<std::string>()).second);
        }
    }
    EXPECT_EQ(instances.size(), 8U);
}

// Our file to a Windows hive file and back, a .reg file and a configuration file: each source
// holds the same configuration.
TEST_F(CDesiredStateTest, EverySourceKindAndBothStoresHoldTheSameConfiguration) {
    const std::string golden = MakeGolden();
    const std::string hive = Folder() + "/SYSTEM";
    CTestHiveFile::WriteSystem(hive);
    const SQserCtlRun toHive = CtlOn(hive, {"apply", "--json", golden});
    ASSERT_EQ(toHive.status, 0) << toHive.err;
    EXPECT_EQ(nlohmann::json::parse(toHive.out)["restart"], "none");
    EXPECT_EQ(Ctl({"diff", RegistryPath(), hive}).status, 0);

    const std::string back = Folder() + "/back.db";
    ASSERT_EQ(CtlOn(back, {"apply", hive}).status, 0);
    EXPECT_EQ(Ctl({"diff", "--json", hive, back}).out,
              "{\n  \"equal\": true,\n  \"differences\": []\n}\n");

    const std::string reg = Folder() + "/golden.reg";
    Ok({"export", "-o", reg});
    const std::string before = FileBytes(reg);
    EXPECT_EQ(Ctl({"diff", reg, golden}).status, 0);
    EXPECT_EQ(Ctl({"diff", hive, reg}).status, 0);
    EXPECT_EQ(FileBytes(reg), before);
}

TEST_F(CDesiredStateTest, DryRunPrintsThePlanAndLeavesTheFileAsItWas) {
    const std::string golden = MakeGolden();
    ASSERT_EQ(OnOther({"add-board", "BoardType=RX-408"}).status, 0);
    const std::string bytes = FileBytes(Other());
    const SQserCtlRun dry =
        OnOther({"apply", "--dry-run", "--json", "--detailed-exitcode", golden});
    EXPECT_EQ(dry.status, 5) << dry.err;
    EXPECT_EQ(FileBytes(Other()), bytes);
    EXPECT_EQ(dry.err, "");
    const nlohmann::json json = nlohmann::json::parse(dry.out);
    EXPECT_TRUE(json["changed"].get<bool>());
    EXPECT_EQ(json["restart"], "service");
    // The registry's changes as import --dry-run lists them: the model's value with its type,
    // old and new data, and the instance keys Save registers.
    const auto& registry = json["registry"];
    const auto type = std::find_if(registry.begin(), registry.end(), [](const auto& change) {
        return change.value("name", "") == "BoardType";
    });
    ASSERT_NE(type, registry.end()) << registry.dump(1);
    EXPECT_EQ((*type)["change"], "value-set");
    EXPECT_EQ((*type)["type"], "REG_SZ");
    EXPECT_EQ((*type)["old"], "RX-408");
    EXPECT_EQ((*type)["new"], "RX-404");
    EXPECT_TRUE(std::any_of(registry.begin(), registry.end(), [](const auto& change) {
        return change["change"] == "key-added" &&
               change["key"].template get<std::string>().ends_with("Parameters\\Serial002");
    })) << registry.dump(1);
    const SQserCtlRun real = OnOther({"apply", "--json", golden});
    EXPECT_EQ(nlohmann::json::parse(real.out)["changes"], json["changes"]);
    EXPECT_EQ(nlohmann::json::parse(real.out)["registry"], json["registry"]);
}

struct SRefusalRow {
    const char* name;
    std::string configuration;
    int status;
    const char* reason;
};

class CRefusalTest : public CDesiredStateTest, public ::testing::WithParamInterface<SRefusalRow> {};

TEST_P(CRefusalTest, NamesTheCauseAndWritesNothing) {
    MakeGolden();
    const SSnapshot before = Snapshot();
    const std::string source = WriteFile("source.json", GetParam().configuration);
    const SQserCtlRun run = Ctl({"apply", source});
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().reason), std::string::npos) << run.err;
    EXPECT_EQ(Snapshot(), before);
    // A file the schema refuses is refused by diff too; a file that fits can be compared.
    const bool fits = std::string(GetParam().reason).find("Boards") == std::string::npos &&
                      std::string(GetParam().reason).find("configuration:") == std::string::npos &&
                      std::string(GetParam().reason).find("JSON") == std::string::npos;
    if (GetParam().status == 2) {
        EXPECT_EQ(Ctl({"diff", source, RegistryPath()}).status, fits ? 5 : 2);
    }
}

const std::string kBoard = R"("BoardName": "Board000", "BoardType": "RX-404")";
// Board000 of the golden machine with its interrupt no longer shared: its ports collide.
const std::string kUnshared =
    R"({"Boards": [{"BoardName": "Board000", "BoardShareIRQEnabled": 0, "Ports": [)"
    R"({"PortName": "Port000"}, {"PortName": "Port001"}, {"PortName": "Port002"},)"
    R"( {"PortName": "Port003"}]}]})";

INSTANTIATE_TEST_SUITE_P(
    Refusals, CRefusalTest,
    ::testing::Values(
        SRefusalRow{"UnknownField", R"({"Boards": [], "Colour": "red"})", 2,
                    "the configuration: unknown field 'Colour'"},
        SRefusalRow{"WrongType",
                    R"({"Boards": [{)" + kBoard +
                        R"(, "Ports": [{"PortName": "Port000", "PortIRQ": 5}]}]})",
                    2, "Boards[0].Ports[0].PortIRQ: must be a text, not a whole number"},
        SRefusalRow{"BoardNamedTwice",
                    R"({"Boards": [{)" + kBoard +
                        R"(, "Ports": []}, {"BoardName": "BOARD000", "Ports": []}]})",
                    2, "Boards[1].BoardName: BOARD000 is named twice (also Boards[0])"},
        SRefusalRow{"MissingName", R"({"Boards": [{"Ports": []}]})", 2,
                    "Boards[0]: BoardName is missing"},
        SRefusalRow{"NotJson", "{\"Boards\": [", 2, "is not JSON"},
        SRefusalRow{
            "ValueNotOffered",
            R"({"Boards": [{"BoardName": "Board000", "BoardBaseAddress": "0x301", "Ports": []}]})",
            2, "Board000: BoardBaseAddress 0x300 -> 0x301 (BoardBaseAddress: 0x301 is not offered"},
        SRefusalRow{
            "ValueTheBoardFixes",
            R"({"Boards": [{"BoardName": "Board001", "BoardType": "RX-201", "BoardBaseCOMPort": "COM5", "Ports": []}]})",
            2, "BoardBaseCOMPort is disabled for this board"},
        SRefusalRow{"NameNoAddGives", R"({"Boards": [{"BoardName": "Controller", "Ports": []}]})",
                    2, "Controller: added, 0 ports (Add Board does not give this name here)"},
        SRefusalRow{"ResultWithErrors", kUnshared, 4, ""},
        SRefusalRow{"NoSource", "", 1, "is empty"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CDesiredStateTest, ResultWithErrorsPrintsTheFindingsAndIsAppliedOnlyWhenAllowed) {
    MakeGolden();
    const std::string source = WriteFile("unshared.json", kUnshared);
    const SQserCtlRun held = Ctl({"apply", source});
    EXPECT_EQ(held.status, 4);
    EXPECT_NE(held.out.find("nothing was changed"), std::string::npos) << held.out;
    const SQserCtlRun allowed = Ctl({"apply", "--allow-problems", source});
    EXPECT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_EQ(Ctl({"diff", source, RegistryPath()}).status, 0);
}

TEST_F(CDesiredStateTest, ShowJsonFitsTheShippedSchema) {
    MakeGolden();
    EXPECT_EQ(
        CConfigurationSchema::Problems(nlohmann::ordered_json::parse(Ok({"show", "--json"}).out)),
        std::vector<std::string>{});
}
} // namespace
