#include "boardobj.h"
#include "documentfixture.h"
#include "driverkeys.h"
#include "expectedmessages.h"
#include "icmdui.h"
#include "portobj.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

// What a menu item's update handler left behind.
class CRecordingCmdUI : public ICmdUI {
public:
    void Enable(bool enabled) override { m_enabled = enabled ? 1 : 0; }
    int m_enabled = -1;
};

struct SCommandStates {
    int addBoard;
    int addPort;
    int remove;
    bool operator==(const SCommandStates&) const = default;
};

void PrintTo(const SCommandStates& states, std::ostream* out) {
    *out << "{" << states.addBoard << ", " << states.addPort << ", " << states.remove << "}";
}

template <typename Param> class CommandsTestOf : public DocumentTestOf<Param> {
protected:
    using DocumentTestOf<Param>::m_session;
    using DocumentTestOf<Param>::IsNT;

    CQSERDoc& Doc() { return m_session.Doc(); }
    std::vector<MessageRecord> Records() { return m_session.Messages().Records(); }

    // The states as the menu shows them through the update handlers.
    SCommandStates States() {
        CRecordingCmdUI addBoard;
        CRecordingCmdUI addPort;
        CRecordingCmdUI remove;
        Doc().OnUpdateAddBoard(addBoard);
        Doc().OnUpdateAddPort(addPort);
        Doc().OnUpdateDelete(remove);
        return {addBoard.m_enabled, addPort.m_enabled, remove.m_enabled};
    }

    // The operating-system instance key that reserves a port's instance.
    std::string InstanceKey(const std::string& instance) {
        return (IsNT() ? kSerialParameters : kClassPorts) + "\\" + instance;
    }
    std::string FirstInstance(int offset = 0) {
        char name[16];
        std::snprintf(name, sizeof name, IsNT() ? "Serial%03d" : "%04d", (IsNT() ? 2 : 0) + offset);
        return name;
    }

    // A base-addressed board with its four ports, added through the commands.
    std::string AddBlockBoard(const std::string& model = "RX-401") {
        std::string board = m_session.AddBoard(model);
        Doc().OnAddPort();
        return board;
    }

    void ExpectSelection(int kind, const CBoardObj* board, const CPortObj* port,
                         const std::string& treePath) {
        EXPECT_EQ(Doc().m_selectionKind, kind);
        EXPECT_EQ(Doc().m_pCurBoard, board);
        EXPECT_EQ(Doc().m_pCurPort, port);
        EXPECT_EQ(m_session.SelectedPath(), treePath);
    }
};

using CommandsTest = CommandsTestOf<EPlatformFamily>;

// A command test run once per family and row of a table.
template <typename Row> using CommandsTableTest = CommandsTestOf<std::tuple<EPlatformFamily, Row>>;
} // namespace

TEST_P(CommandsTest, AddBoardWritesTheWholeKeyAndSelectsTheBoard) {
    Doc().OnAddBoard();

    CBoardObj* board = m_session.Board("Board000");
    ASSERT_NE(board, nullptr);
    ExpectSelection(CQSERDoc::kSelectionBoard, board, nullptr, "QSERDRV/Board000");
    EXPECT_EQ(Doc().GetNumBoards(), "1");
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
    EXPECT_EQ(Doc().m_bTreeSynced, 0);
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000]");
    EXPECT_EQ(States(), (SCommandStates{1, 1, 1}));
    EXPECT_TRUE(Records().empty());

    CHiveProbe& probe = m_session.Probe();
    const std::string key = BoardKey("Board000");
    // The eight values in order, each with its type; a new board's defaults.
    EXPECT_EQ(probe.Dump(key), BoardKeyLines("", SBoardValues{}));
}

TEST_P(CommandsTest, AddBoardTakesTheLowestFreeNameAndSortsItIntoTheTree) {
    m_session.Probe().SetText(BoardKey("Board000"), "BoardName", "Board000");
    m_session.Probe().SetText(BoardKey("Board002"), "BoardName", "Board002");
    ASSERT_TRUE(m_session.Open(GetParam()));

    Doc().OnAddBoard();

    EXPECT_EQ(m_session.BoardNames(),
              (std::vector<std::string>{"Board000", "Board002", "Board001"}));
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000 Board001 Board002]");
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV/Board001");
    EXPECT_EQ(Doc().GetNumBoards(), "3");
}

TEST_P(CommandsTest, AddBoardWithTenBoardsRefusesAndChangesNothing) {
    for (int i = 0; i < 10; ++i) {
        Doc().OnAddBoard();
    }
    ASSERT_EQ(Doc().GetNumBoards(), "10");
    Doc().m_bConfigChanged = 0;
    m_session.Click("QSERDRV/Board003");

    Doc().OnAddBoard();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kCannotAddBoard}));
    EXPECT_EQ(Doc().GetNumBoards(), "10");
    EXPECT_EQ(Doc().m_boardList.size(), 10u);
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Doc().m_pCurBoard, m_session.Board("Board003"));
    EXPECT_EQ(m_session.Probe().SubKeys(kDriverKey).size(), 10u);
    // The limit is enforced when the command runs: the command stays enabled.
    EXPECT_EQ(States().addBoard, 1);
}

TEST_P(CommandsTest, AddBoardWithEveryNameTakenInTheRegistryWritesNothing) {
    Doc().OnAddBoard();
    Doc().OnAddBoard();
    Doc().m_bConfigChanged = 0;
    // Keys that the document does not know about take the remaining names.
    for (int i = 2; i < 10; ++i) {
        m_session.Probe().CreateKey(BoardKey("Board00" + std::to_string(i)));
    }

    Doc().OnAddBoard();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kCannotAddBoard}));
    EXPECT_EQ(Doc().GetNumBoards(), "2");
    EXPECT_EQ(Doc().m_pCurBoard, m_session.Board("Board001"));
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_TRUE(m_session.Probe().ValueNames(kDriverKey).empty());
    EXPECT_TRUE(m_session.Probe().ValueNames(BoardKey("Board005")).empty());
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000 Board001]");
}

TEST_P(CommandsTest, AddPortOnIndividuallyAddressedBoardAddsOnePortAtATime) {
    m_session.AddBoard("RX-201");

    Doc().OnAddPort();

    CPortObj* first = m_session.Port("Board000", "Port000");
    ASSERT_NE(first, nullptr);
    ExpectSelection(CQSERDoc::kSelectionPort, m_session.Board("Board000"), first,
                    "QSERDRV/Board000/Port000");
    EXPECT_EQ(first->GetPortSerialPort(), FirstInstance());
    EXPECT_TRUE(m_session.Probe().Exists(InstanceKey(FirstInstance())));
    const std::string key = PortKey("Board000", "Port000");
    CHiveProbe& probe = m_session.Probe();
    EXPECT_EQ(probe.ValueNames(key),
              (std::vector<std::string>{"PortName", "PortCOMPort", "PortIRQ", "PortAddress",
                                        "PortIndex", "PortSerialPort"}));
    EXPECT_EQ(probe.Text(key, "PortName"), "Port000");
    EXPECT_EQ(probe.Text(key, "PortCOMPort"), "COM3");
    EXPECT_EQ(probe.Text(key, "PortIRQ"), "7");
    EXPECT_EQ(probe.Text(key, "PortAddress"), "0x200");
    EXPECT_EQ(probe.Text(key, "PortIndex"), "1");
    EXPECT_EQ(probe.Text(key, "PortSerialPort"), FirstInstance());
    EXPECT_EQ(Doc().GetNumPorts(), "1");
    EXPECT_EQ(States(), (SCommandStates{1, 1, 1}));

    Doc().OnAddPort();

    CPortObj* second = m_session.Port("Board000", "Port001");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetPortSerialPort(), FirstInstance(1));
    EXPECT_EQ(second->GetPortIndex(), "1");
    ExpectSelection(CQSERDoc::kSelectionPort, m_session.Board("Board000"), second,
                    "QSERDRV/Board000/Port001");
    EXPECT_EQ(Doc().GetNumPorts(), "2");
    EXPECT_EQ(States(), (SCommandStates{1, 0, 1}));
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port001]]");
}

namespace {
struct SBlockCase {
    const char* name;
    const char* model;
    const char* baseAddress;
    const char* baseCOMPort;
    int share;
    const char* shareIRQ;
    std::vector<std::vector<std::string>> ports; // address, COM port, index, IRQ
};

void PrintTo(const SBlockCase& row, std::ostream* out) {
    *out << row.name;
}

const SBlockCase kBlockCases[] = {
    {"SharingOff",
     "RX-401",
     "0x200",
     "COM3",
     0,
     "NONE",
     {{"0x200", "COM3", "1", "7"},
      {"0x208", "COM4", "2", "7"},
      {"0x210", "COM5", "3", "7"},
      {"0x218", "COM6", "4", "7"}}},
    {"SharingOn",
     "RX-404",
     "0x3e0",
     "COM10",
     1,
     "5",
     {{"0x3e0", "COM10", "1", "5"},
      {"0x3e8", "COM11", "2", "5"},
      {"0x3f0", "COM12", "3", "5"},
      {"0x3f8", "COM13", "4", "5"}}},
    {"StandardAddresses",
     "RQ-6004",
     "NONE",
     "NONE",
     0,
     "NONE",
     {{"0x3f8", "COM1", "1", "7"},
      {"0x2f8", "COM2", "2", "7"},
      {"0x3e8", "COM3", "3", "7"},
      {"0x2e8", "COM4", "4", "7"}}},
    {"EightPortsFromNone",
     "RX-408",
     "NONE",
     "NONE",
     1,
     "11",
     {{"0x3f8", "COM1", "1", "11"},
      {"0x2f8", "COM2", "2", "11"},
      {"0x3e8", "COM3", "3", "11"},
      {"0x2e8", "COM4", "4", "11"},
      {"NONE", "COM5", "5", "11"},
      {"NONE", "COM6", "6", "11"},
      {"NONE", "COM7", "7", "11"},
      {"NONE", "COM8", "8", "11"}}},
    {"EightPortsFromZero",
     "RX-408",
     "0x000",
     "COM3",
     1,
     "3",
     {{"0x0", "COM3", "1", "3"},
      {"0x8", "COM4", "2", "3"},
      {"0x10", "COM5", "3", "3"},
      {"0x18", "COM6", "4", "3"},
      {"0x20", "COM7", "5", "3"},
      {"0x28", "COM8", "6", "3"},
      {"0x30", "COM9", "7", "3"},
      {"0x38", "COM10", "8", "3"}}},
};

class BlockBoardAddPortTest : public CommandsTableTest<SBlockCase> {};
} // namespace

TEST_P(BlockBoardAddPortTest, AddPortOnBlockBoardDerivesEveryPortFromTheBoard) {
    const SBlockCase& test = std::get<1>(GetParam());
    std::string board = m_session.AddBoard(test.model);
    CBoardObj* record = m_session.Board(board);
    record->SetBaseAddress(test.baseAddress);
    record->SetBaseCOMPort(test.baseCOMPort);
    record->SetShareIRQEnabled(test.share);
    record->SetShareIRQ(test.shareIRQ);
    m_session.Messages().Clear();

    Doc().OnAddPort();

    ASSERT_EQ(record->m_PortList.size(), test.ports.size());
    for (std::size_t i = 0; i < test.ports.size(); ++i) {
        SCOPED_TRACE(i);
        const CPortObj* port = record->m_PortList[i];
        const std::string key = PortKey(board, port->GetPortName());
        EXPECT_EQ(port->GetPortName(), "Port00" + std::to_string(i));
        EXPECT_EQ(m_session.Probe().Text(key, "PortAddress"), test.ports[i][0]);
        EXPECT_EQ(m_session.Probe().Text(key, "PortCOMPort"), test.ports[i][1]);
        EXPECT_EQ(m_session.Probe().Text(key, "PortIndex"), test.ports[i][2]);
        EXPECT_EQ(m_session.Probe().Text(key, "PortIRQ"), test.ports[i][3]);
        EXPECT_EQ(port->GetPortSerialPort(), FirstInstance(static_cast<int>(i)));
    }
    ExpectSelection(CQSERDoc::kSelectionPort, record, record->m_PortList.back(),
                    "QSERDRV/" + board + "/" + record->m_PortList.back()->GetPortName());
    EXPECT_EQ(Doc().GetNumPorts(), std::to_string(test.ports.size()));
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(States(), (SCommandStates{1, 0, 1}));
}

QSER_ON_BOTH_FAMILIES_FOR_ROWS(BlockBoardAddPortTest, kBlockCases);

TEST_P(CommandsTest, AddPortOnBlockBoardWithPartialSetAddsOnlyTheMissingPorts) {
    CHiveProbe& probe = m_session.Probe();
    probe.SetText(BoardKey("Board000"), "BoardBaseAddress", "0x300");
    probe.SetText(BoardKey("Board000"), "BoardBaseCOMPort", "COM7");
    for (const char* port : {"Port000", "Port001"}) {
        probe.SetText(PortKey("Board000", port), "PortSerialPort", "kept");
    }
    ASSERT_TRUE(m_session.Open(GetParam()));
    m_session.Click("QSERDRV/Board000");

    Doc().OnAddPort();

    EXPECT_EQ(m_session.PortNames("Board000"),
              (std::vector<std::string>{"Port000", "Port001", "Port002", "Port003"}));
    EXPECT_EQ(probe.Text(PortKey("Board000", "Port002"), "PortAddress"), "0x310");
    EXPECT_EQ(probe.Text(PortKey("Board000", "Port002"), "PortCOMPort"), "COM9");
    EXPECT_EQ(probe.Text(PortKey("Board000", "Port003"), "PortIndex"), "4");
    // The ports that were there keep their keys as they were.
    EXPECT_EQ(probe.ValueNames(PortKey("Board000", "Port000")),
              std::vector<std::string>{"PortSerialPort"});
    EXPECT_EQ(Doc().GetNumPorts(), "4");
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV/Board000/Port003");
}

TEST_P(CommandsTest, AddPortOnFullBoardChangesNothing) {
    AddBlockBoard();
    m_session.Click("QSERDRV/Board000");
    Doc().m_bConfigChanged = 0;
    m_session.View().Clear();
    CPortObj* port = Doc().m_pCurPort;

    Doc().OnAddPort();

    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board("Board000"), port,
                    "QSERDRV/Board000");
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Doc().GetNumPorts(), "4");
    EXPECT_EQ(m_session.View().Updates(), 0);
    EXPECT_EQ(m_session.Probe().SubKeys(BoardKey("Board000")).size(), 4u);
    EXPECT_TRUE(Records().empty());
}

namespace {
struct SModelCase {
    const char* name;
    const char* model;
};

void PrintTo(const SModelCase& row, std::ostream* out) {
    *out << row.model;
}

const SModelCase kIndividualAndBlockModels[] = {{"Individual", "RX-209"}, {"Block", "RX-401"}};

class PortNamesTakenTest : public CommandsTableTest<SModelCase> {};
} // namespace

TEST_P(PortNamesTakenTest, AddPortWithEveryPortNameTakenInTheRegistryWritesNothing) {
    const std::string model = std::get<1>(GetParam()).model;
    std::string board = m_session.AddBoard(model);
    // Keys that the document does not know about take every port name.
    for (int i = 0; i < 16; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Port%03d", i);
        m_session.Probe().CreateKey(PortKey(board, name));
    }
    Doc().m_bConfigChanged = 0;
    m_session.Messages().Clear();

    Doc().OnAddPort();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kCannotAddPort}));
    EXPECT_TRUE(m_session.PortNames(board).empty());
    EXPECT_EQ(Doc().GetNumPorts(), "0");
    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board(board), nullptr, "QSERDRV/" + board);
    EXPECT_EQ(m_session.Probe().ValueNames(BoardKey(board)).size(), 8u);
    EXPECT_TRUE(m_session.Probe().ValueNames(PortKey(board, "Port000")).empty());
    // The instances reserved for the ports that could not be made are given back.
    EXPECT_TRUE(m_session.Probe().SubKeys(IsNT() ? kSerialParameters : kClassPorts).empty());
}

QSER_ON_BOTH_FAMILIES_FOR_ROWS(PortNamesTakenTest, kIndividualAndBlockModels);

TEST_P(CommandsTest, DeleteBoardSelectsTheLastBoardOfTheList) {
    Doc().OnAddBoard();
    m_session.AddBoard("RX-201");
    Doc().OnAddPort();
    Doc().OnAddBoard();
    m_session.Click("QSERDRV/Board001");
    m_session.View().Clear();
    m_session.AnswerYes();

    Doc().OnDelete();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kAskDeleteBoard}));
    EXPECT_EQ(m_session.BoardNames(), (std::vector<std::string>{"Board000", "Board002"}));
    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board("Board002"), nullptr,
                    "QSERDRV/Board002");
    EXPECT_EQ(Doc().GetNumBoards(), "2");
    EXPECT_EQ(Doc().GetNumPorts(), "0");
    EXPECT_EQ(m_session.Probe().SubKeys(kDriverKey),
              (std::vector<std::string>{"Board000", "Board002"}));
    EXPECT_FALSE(m_session.Probe().Exists(InstanceKey(FirstInstance())));
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000 Board002]");
    EXPECT_EQ(m_session.View().Kinds().back(), CQSERDoc::kSelectionBoard);
}

TEST_P(CommandsTest, DeleteBoardWithPortsClearsTheCurrentPort) {
    AddBlockBoard();
    AddBlockBoard();
    m_session.Click("QSERDRV/Board000");
    m_session.View().Clear();
    m_session.AnswerYes();

    Doc().OnDelete();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kAskDeleteBoard}));
    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board("Board001"), nullptr,
                    "QSERDRV/Board001");
    EXPECT_EQ(Doc().GetNumBoards(), "1");
    EXPECT_EQ(Doc().GetNumPorts(), "4");
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
    EXPECT_GE(m_session.View().Updates(), 1);
    EXPECT_EQ(States(), (SCommandStates{1, 0, 1}));
    EXPECT_EQ(m_session.Probe().SubKeys(kDriverKey), std::vector<std::string>{"Board001"});
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(m_session.Probe().Exists(InstanceKey(FirstInstance(i)))) << i;
        EXPECT_TRUE(m_session.Probe().Exists(InstanceKey(FirstInstance(4 + i)))) << i;
    }
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board001[Port000 Port001 Port002 Port003]]");
}

TEST_P(CommandsTest, DeleteBoardWithoutPortsKeepsTheCurrentPort) {
    AddBlockBoard();
    Doc().OnAddBoard();
    m_session.Click("QSERDRV/Board000/Port001");
    CPortObj* port = Doc().m_pCurPort;
    m_session.Click("QSERDRV/Board001");
    m_session.AnswerYes();

    Doc().OnDelete();

    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board("Board000"), port,
                    "QSERDRV/Board000");
}

TEST_P(CommandsTest, DeleteTheLastBoardSelectsTheRoot) {
    AddBlockBoard();
    m_session.Click("QSERDRV/Board000");
    m_session.AnswerYes();

    Doc().OnDelete();

    ExpectSelection(CQSERDoc::kSelectionDriver, nullptr, nullptr, "QSERDRV");
    EXPECT_EQ(m_session.TreeText(), "QSERDRV");
    EXPECT_TRUE(m_session.Probe().SubKeys(kDriverKey).empty());
    EXPECT_EQ(Doc().GetNumBoards(), "0");
    EXPECT_EQ(Doc().GetNumPorts(), "0");
    EXPECT_EQ(States(), (SCommandStates{1, 0, 0}));
}

TEST_P(CommandsTest, DeleteAnsweredNoChangesNothing) {
    AddBlockBoard();
    m_session.AddBoard("RX-202");
    Doc().OnAddPort();
    Doc().m_bConfigChanged = 0;
    struct SCase {
        const char* path;
        MessageRecord question;
    };
    for (const SCase& test : {SCase{"QSERDRV/Board000", kAskDeleteBoard},
                              SCase{"QSERDRV/Board000/Port001", kAskDeleteAllPorts},
                              SCase{"QSERDRV/Board001/Port000", kAskDeletePort}}) {
        SCOPED_TRACE(test.path);
        m_session.Click(test.path);
        m_session.Messages().Clear();
        m_session.View().Clear();
        m_session.AnswerNo();

        Doc().OnDelete();

        EXPECT_EQ(Records(), std::vector<MessageRecord>{test.question});
        EXPECT_EQ(m_session.SelectedPath(), test.path);
        EXPECT_EQ(m_session.View().Updates(), 0);
    }
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Doc().GetNumPorts(), "5");
    EXPECT_EQ(m_session.TreeText(),
              "QSERDRV[Board000[Port000 Port001 Port002 Port003] Board001[Port000]]");
    EXPECT_EQ(m_session.Probe().SubKeys(BoardKey("Board000")).size(), 4u);
}

TEST_P(CommandsTest, DeleteOfOneIndividualPortSelectsTheLastPortLeft) {
    m_session.AddBoard("RX-209");
    for (int i = 0; i < 3; ++i) {
        Doc().OnAddPort();
    }
    m_session.Click("QSERDRV/Board000/Port001");
    m_session.AnswerYes();

    Doc().OnDelete();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kAskDeletePort}));
    EXPECT_EQ(m_session.PortNames("Board000"), (std::vector<std::string>{"Port000", "Port002"}));
    ExpectSelection(CQSERDoc::kSelectionPort, m_session.Board("Board000"),
                    m_session.Port("Board000", "Port002"), "QSERDRV/Board000/Port002");
    EXPECT_EQ(Doc().GetNumPorts(), "2");
    EXPECT_FALSE(m_session.Probe().Exists(PortKey("Board000", "Port001")));
    EXPECT_FALSE(m_session.Probe().Exists(InstanceKey(FirstInstance(1))));
    EXPECT_TRUE(m_session.Probe().Exists(InstanceKey(FirstInstance(2))));
    EXPECT_EQ(States(), (SCommandStates{1, 1, 1}));

    // The name freed by the delete is the next one given out.
    Doc().OnAddPort();
    EXPECT_EQ(m_session.PortNames("Board000"),
              (std::vector<std::string>{"Port000", "Port002", "Port001"}));
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port001 Port002]]");
}

TEST_P(CommandsTest, DeleteOfTheOnlyIndividualPortSelectsTheBoard) {
    m_session.AddBoard("RX-201");
    Doc().OnAddPort();
    m_session.AnswerYes();

    Doc().OnDelete();

    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board("Board000"), nullptr,
                    "QSERDRV/Board000");
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000]");
    EXPECT_EQ(Doc().GetNumPorts(), "0");
}

TEST_P(CommandsTest, DeleteOfABlockPortRemovesEveryPortOfTheBoard) {
    AddBlockBoard("RX-408");
    AddBlockBoard();
    m_session.Click("QSERDRV/Board000/Port005");
    m_session.AnswerYes();

    Doc().OnDelete();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kAskDeleteAllPorts}));
    ExpectSelection(CQSERDoc::kSelectionBoard, m_session.Board("Board000"), nullptr,
                    "QSERDRV/Board000");
    EXPECT_TRUE(m_session.PortNames("Board000").empty());
    EXPECT_EQ(Doc().GetNumPorts(), "4");
    EXPECT_TRUE(m_session.Probe().SubKeys(BoardKey("Board000")).empty());
    EXPECT_EQ(m_session.Probe().SubKeys(BoardKey("Board001")).size(), 4u);
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000 Board001[Port000 Port001 Port002 Port003]]");
    EXPECT_EQ(States(), (SCommandStates{1, 1, 1}));
}

TEST_P(CommandsTest, DeleteWithTheRootSelectedAsksNothingButCountsAsAChange) {
    AddBlockBoard();
    m_session.Click("QSERDRV");
    Doc().m_bConfigChanged = 0;
    m_session.View().Clear();

    Doc().OnDelete();

    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Doc().m_boardList.size(), 1u);
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
    EXPECT_EQ(m_session.View().Kinds(), (std::vector<int>{CQSERDoc::kSelectionDriver}));
    EXPECT_EQ(States(), (SCommandStates{1, 0, 0}));
}

TEST_P(CommandsTest, NewWithoutBoardsAsksNothing) {
    Doc().OnFileNew();

    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(m_session.View().Updates(), 0);
}

TEST_P(CommandsTest, NewAnsweredNoKeepsEverything) {
    AddBlockBoard();
    m_session.AnswerNo();

    Doc().OnFileNew();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kAskNew}));
    EXPECT_EQ(m_session.BoardNames(), std::vector<std::string>{"Board000"});
    EXPECT_EQ(m_session.Probe().SubKeys(BoardKey("Board000")).size(), 4u);
}

namespace {
struct SSelectionCase {
    const char* name;
    const char* path;
};

void PrintTo(const SSelectionCase& row, std::ostream* out) {
    *out << row.path;
}

const SSelectionCase kSelections[] = {{"Root", "QSERDRV"},
                                      {"Board", "QSERDRV/Board001"},
                                      {"BlockPort", "QSERDRV/Board000/Port002"},
                                      {"IndividualPort", "QSERDRV/Board001/Port000"}};

class NewFromSelectionTest : public CommandsTableTest<SSelectionCase> {};
} // namespace

TEST_P(NewFromSelectionTest, NewRemovesEveryBoardPortAndInstanceWhateverIsSelected) {
    const std::string selected = std::get<1>(GetParam()).path;
    AddBlockBoard();
    m_session.AddBoard("RX-201");
    Doc().OnAddPort();
    Doc().OnAddBoard();
    Doc().m_bConfigChanged = 0;
    m_session.Click(selected);
    m_session.Messages().Clear();
    m_session.View().Clear();
    m_session.AnswerYes();

    Doc().OnFileNew();

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kAskNew}));
    ExpectSelection(CQSERDoc::kSelectionDriver, nullptr, nullptr, "QSERDRV");
    EXPECT_TRUE(Doc().m_boardList.empty());
    EXPECT_EQ(Doc().GetNumBoards(), "0");
    EXPECT_EQ(Doc().GetNumPorts(), "0");
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(m_session.TreeText(), "QSERDRV");
    EXPECT_TRUE(m_session.Probe().SubKeys(kDriverKey).empty());
    EXPECT_TRUE(m_session.Probe().SubKeys(IsNT() ? kSerialParameters : kClassPorts).empty());
    ASSERT_FALSE(m_session.View().Kinds().empty());
    EXPECT_EQ(m_session.View().Kinds().back(), CQSERDoc::kSelectionDriver);
    EXPECT_EQ(States(), (SCommandStates{1, 0, 0}));
}

QSER_ON_BOTH_FAMILIES_FOR_ROWS(NewFromSelectionTest, kSelections);

TEST_P(CommandsTest, NewOfBoardsWithoutPortsWithTheRootSelectedShowsTheDriver) {
    Doc().OnAddBoard();
    Doc().OnAddBoard();
    m_session.Click("QSERDRV");
    m_session.View().Clear();
    m_session.AnswerYes();

    Doc().OnFileNew();

    ExpectSelection(CQSERDoc::kSelectionDriver, nullptr, nullptr, "QSERDRV");
    EXPECT_EQ(m_session.View().Kinds(), (std::vector<int>{CQSERDoc::kSelectionDriver}));
    EXPECT_EQ(States(), (SCommandStates{1, 0, 0}));
}

TEST_P(CommandsTest, CommandStatesFollowTheSelection) {
    AddBlockBoard();
    m_session.AddBoard("RX-201");
    Doc().OnAddPort();
    struct SCase {
        const char* path;
        SCommandStates states;
    };
    for (const SCase& test :
         {SCase{"QSERDRV", {1, 0, 0}}, SCase{"QSERDRV/Board000", {1, 0, 1}},
          SCase{"QSERDRV/Board000/Port003", {1, 0, 1}}, SCase{"QSERDRV/Board001", {1, 1, 1}},
          SCase{"QSERDRV/Board001/Port000", {1, 1, 1}}}) {
        SCOPED_TRACE(test.path);
        m_session.Click(test.path);
        EXPECT_EQ(States(), test.states);
    }
}

TEST_P(CommandsTest, CountersNeverGoBelowZero) {
    EXPECT_EQ(Doc().DecNumBoards(), "0");
    EXPECT_EQ(Doc().SubNumPorts(1), "0");
    EXPECT_EQ(Doc().AddNumPorts(3), "3");
    EXPECT_EQ(Doc().SubNumPorts(5), "0");
}

TEST_P(CommandsTest, CountersAtTheLimitsOfIntStayThere) {
    Doc().SetNumBoards("2147483647");
    EXPECT_EQ(Doc().IncNumBoards(), "2147483647");
    Doc().SetNumPorts("2147483647");
    EXPECT_EQ(Doc().AddNumPorts(4), "2147483647");
    EXPECT_EQ(Doc().SubNumPorts(1), "2147483646");
    Doc().SetNumBoards("-2147483648");
    EXPECT_EQ(Doc().DecNumBoards(), "0");
}

QSER_ON_BOTH_FAMILIES(CommandsTest);
