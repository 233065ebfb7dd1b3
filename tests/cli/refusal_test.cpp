#include "clifixture.h"
#include "expectedmessages.h"
#include "testnames.h"

#include <algorithm>

namespace {
struct SRefusal {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* err; // a part of standard error
    const char* input = "";
};

void PrintTo(const SRefusal& row, std::ostream* os) {
    *os << row.name;
}

// Board000 is a four-port block board with its ports, Board001 an individually addressed
// board without ports.
class CliRefusalTest : public CCliFixture, public ::testing::WithParamInterface<SRefusal> {
protected:
    void SetUp() override {
        Ok({"add-board", "BoardType=RX-404"});
        Ok({"add-port", "Board000"});
        Ok({"add-board", "BoardType=RX-201"});
    }
};

const SRefusal kRefusals[] = {
    {"UnknownBoard",
     {"set", "Board007", "BoardType=RX-201"},
     2,
     "qserctl: there is no board or port Board007\n"},
    {"UnknownPort",
     {"delete", "Board000/Port009"},
     2,
     "qserctl: there is no board or port Board000/Port009\n"},
    {"AddPortToUnknownBoard", {"add-port", "Board005"}, 2, "qserctl: there is no board Board005\n"},
    {"AddPortToAPort", {"add-port", "Board000/Port000"}, 2, "there is no board Board000/Port000"},
    {"AddPortToAFullBoard",
     {"add-port", "Board000"},
     2,
     "Add Port is not available: Board000 has all the ports its model takes"},
    {"ValueNotOffered",
     {"set", "Board001", "BoardType=RX-999"},
     2,
     "qserctl: BoardType: RX-999 is not offered; offered: RQ-6001, RQ-6002, RQ-6004, RX-201, "
     "RX-202, RX-204E, RX-208E, RX-209, RX-401, RX-402, RX-404, RX-408\n"},
    {"PortValueNotOffered",
     {"set", "Board000/Port000", "PortIRQ=8"},
     2,
     "qserctl: PortIRQ: 8 is not offered; offered: 3, 4, 5, 6, 7, 9, 10, 11, 12, 15\n"},
    {"DisabledControl",
     {"set", "Board001", "BoardBaseAddress=0x300"},
     2,
     "qserctl: BoardBaseAddress is disabled for this board; settable now: BoardType\n"},
    {"ModelChangeWhileTheBoardHasPorts",
     {"set", "Board000", "BoardType=RX-408"},
     2,
     "Remove all ports on this board first!\n"
     "qserctl: BoardType: RX-408 was not taken; it stays RX-404\n"},
    {"LaterRefusedPickUndoesEarlierOnes",
     {"set", "Board000", "BoardBaseCOMPort=COM9", "BoardVectorAddress=0x2d0"},
     2,
     "qserctl: BoardVectorAddress is disabled for this board"},
    {"SettingOfAnotherKindOfItem",
     {"set", "Board000/Port000", "BoardType=RX-201"},
     2,
     "qserctl: BoardType is not a setting of a port; the settings are: PortCOMPort, PortIRQ, "
     "PortAddress\n"},
    {"ReadOnlyField",
     {"set", "Board000", "BoardName=Board009"},
     2,
     "BoardName is not a setting of a board"},
    {"PickWithoutValue",
     {"set", "Board000", "BoardType"},
     2,
     "qserctl: 'BoardType' is not NAME=VALUE\n"},
    {"CheckBoxValue",
     {"add-board", "BoardShareIRQEnabled=yes"},
     2,
     "qserctl: BoardShareIRQEnabled takes 0 or 1 (also off or on), not 'yes'\n"},
    {"DeleteBoardAnsweredNo",
     {"delete", "Board001"},
     3,
     "All Ports on this Board will be deleted. Continue? [y/N] n\n"},
    {"DeletePortsAnsweredNoEvenWhenYesIsPiped",
     {"delete", "Board000/Port001"},
     3,
     "All Ports on the same board will be deleted.  Continue? [y/N] n\n",
     "y\n"},
    {"NewAnsweredNo", {"new"}, 3, "All Boards  will be deleted. Continue? [y/N] n\n"},
    {"NoCommand", {}, 2, "A subcommand is required"},
    {"UnknownCommand", {"frobnicate"}, 2, "qserctl: unknown command 'frobnicate'\n"},
    {"UnknownOption", {"--force", "new"}, 2, "--force"},
    {"SetWithoutPicks", {"set", "Board000"}, 2, "NAME=VALUE is required"},
    {"DeleteWithoutItem", {"delete"}, 2, "ITEM is required"},
    {"UnknownPlatform",
     {"--platform", "95", "new"},
     2,
     "qserctl: the platform family must be nt, 9x or linux\n"},
    {"ServiceWithoutAction", {"service"}, 2, "A subcommand is required"},
    {"ServiceSettingMisspelt",
     {"service", "set", "Serial", "refuse_stop=on"},
     2,
     "qserctl: 'refuse_stop=on' is not refuse-stop=on|off or marked-for-deletion=on|off\n"},
    {"ExportOfAMissingKey",
     {"export", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowhere"},
     2,
     "qserctl: there is no key HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowhere\n"},
};
} // namespace

TEST_P(CliRefusalTest, IsRefusedWithItsStatusAndReasonAndChangesNothing) {
    const SRefusal& refusal = GetParam();
    SSnapshot before = Snapshot();
    SQserCtlRun run = Ctl(refusal.args, refusal.input);
    EXPECT_EQ(run.status, refusal.status) << run.err;
    EXPECT_NE(run.err.find(refusal.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    // Neither the save nor the close's service restart ran.
    EXPECT_EQ(run.err.find("Set configruation"), std::string::npos) << run.err;
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CliRefusalTest, ::testing::ValuesIn(kRefusals), SRowName());

namespace {
using CliExitTest = CCliFixture;

struct SReadOnlyCommand {
    const char* name;
    std::vector<std::string> args;
};

class CliMissingFileTest : public CCliFixture,
                           public ::testing::WithParamInterface<SReadOnlyCommand> {};

const SReadOnlyCommand kReadOnlyCommands[] = {
    {"Show", {"show"}},
    {"ShowJson", {"show", "--json"}},
    {"Export", {"export"}},
    {"ExportToFile", {"export", "-o", "OUT"}},
    {"ServiceStatus", {"service", "status", "Serial"}},
};
} // namespace

TEST_P(CliMissingFileTest, SaysSoAndCreatesNoFile) {
    std::vector<std::string> args = GetParam().args;
    std::replace(args.begin(), args.end(), std::string("OUT"), Folder() + "/out.reg");
    SQserCtlRun run = Ctl(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "qserctl: Cannot use registry file '" + RegistryPath() + "': it does not exist\n");
    EXPECT_FALSE(Exists("registry.db"));
    EXPECT_FALSE(Exists("out.reg"));
}

INSTANTIATE_TEST_SUITE_P(Commands, CliMissingFileTest, ::testing::ValuesIn(kReadOnlyCommands),
                         SRowName());

TEST_F(CliExitTest, ErrorMessageGivesOneAndKeepsNothingOfTheRefusedAdd) {
    for (int i = 0; i < 10; ++i) {
        Ok({"add-board"});
    }
    SSnapshot before = Snapshot();
    SQserCtlRun run = Ctl({"add-board", "BoardType=RX-201"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, kCannotAddBoard.text + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliExitTest, ForeignFileIsRefusedAndLeftAlone) {
    const std::string text = "not a registry at all\n";
    WriteFile("registry.db", text);
    SQserCtlRun run = Ctl({"add-board"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cannot use registry file"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(RegistryPath()), text);
}

TEST_F(CliExitTest, YesAnswersTheQuestionAndTheDeleteIsKept) {
    Ok({"add-board"});
    SQserCtlRun run = Ok({"--yes", "delete", "Board000"});
    EXPECT_NE(run.err.find("All Ports on this Board will be deleted. Continue? [y/N] y\n"),
              std::string::npos);
    EXPECT_TRUE(ShowJson()["Boards"].empty());
}

TEST_F(CliExitTest, VersionAndHelpForTheToolAndEachCommand) {
    SQserCtlRun version = Ctl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "qserctl 1.10\n");
    const std::vector<std::vector<std::string>> helps = {
        {"--help"},           {"show", "--help"},    {"add-board", "--help"},
        {"add-port", "-h"},   {"set", "--help"},     {"delete", "--help"},
        {"new", "--help"},    {"save", "--help"},    {"export", "--help"},
        {"import", "--help"}, {"service", "--help"}, {"service", "set", "--help"},
    };
    for (const auto& args : helps) {
        SQserCtlRun help = Ctl(args);
        EXPECT_EQ(help.status, 0) << args[0];
        EXPECT_NE(help.out.find("Usage:"), std::string::npos) << help.out;
    }
    EXPECT_FALSE(Exists("registry.db"));
}
