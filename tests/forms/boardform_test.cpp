#include "boardobj.h"
#include "expectedmessages.h"
#include "formsfixture.h"
#include "headlesscheckbox.h"
#include "headlesscombobox.h"
#include "portobj.h"
#include "qserdoc.h"

namespace {
std::string W(const std::string& key, const std::string& name, const std::string& data) {
    return key + ":" + name + "=" + data;
}

// The writes of one value into consecutive ports, "Board000\Port000" onwards.
std::vector<std::string> PortWrites(const std::string& name, std::vector<std::string> values) {
    std::vector<std::string> writes;
    for (std::size_t i = 0; i < values.size(); ++i) {
        writes.push_back(W("Board000\\Port00" + std::to_string(i), name, values[i]));
    }
    return writes;
}

std::vector<std::string> Join(std::vector<std::string> first,
                              const std::vector<std::string>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

SBoardKey Model(const std::string& type, int ports, bool sharing = false) {
    SBoardKey key;
    key.type = type;
    key.ports = SomePorts(ports);
    key.shareIRQEnabled = sharing ? 1 : 0;
    key.shareIRQ = sharing ? "5" : "NONE";
    key.vectorAddress = sharing ? "0x300" : "NONE";
    return key;
}

class BoardFormTest : public CFormsFixture {
protected:
    void ShowBoard(const SBoardKey& key) {
        PutBoard(key);
        Start();
        Select("Board000");
        TakeWrites();
    }

    // The writes of a click on standard mode of a four-port board: the flag, each port's address
    // and COM port (numbered on from firstCOM), then the board's base values.
    static std::vector<std::string> StandardModeWrites(const std::string& flag,
                                                       const std::vector<std::string>& addresses,
                                                       int firstCOM, const std::string& base,
                                                       const std::string& baseCOM) {
        std::vector<std::string> writes{W("Board000", "BoardStandardModeEnabled", flag)};
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            const std::string port = "Board000\\Port00" + std::to_string(i);
            writes.push_back(W(port, "PortAddress", addresses[i]));
            writes.push_back(
                W(port, "PortCOMPort", "COM" + std::to_string(firstCOM + static_cast<int>(i))));
        }
        writes.push_back(W("Board000", "BoardBaseAddress", base));
        writes.push_back(W("Board000", "BoardBaseCOMPort", baseCOM));
        return writes;
    }
};

// A pick on one list of the board form that carries over to every port of the board.
struct SCarryOver {
    const char* name;
    SBoardKey board;
    int control;
    std::string pick;
    std::string boardValue;
    std::string portValue; // empty: the ports are not touched
    std::vector<std::string> portTexts;
};

void PrintTo(const SCarryOver& row, std::ostream* os) {
    *os << row.name;
}

class CarryOverTest : public BoardFormTest, public ::testing::WithParamInterface<SCarryOver> {};

const SCarryOver kCarryOvers[] = {
    {"BaseAddressTwoPorts",
     Model("RX-401", 2),
     IDC_BASE_ADDRESS,
     "0x3e0",
     "BoardBaseAddress",
     "PortAddress",
     {"0x3e0", "0x3e8"}},
    {"BaseAddressFourPorts",
     Model("RX-401", 4),
     IDC_BASE_ADDRESS,
     "0x3e0",
     "BoardBaseAddress",
     "PortAddress",
     {"0x3e0", "0x3e8", "0x3f0", "0x3f8"}},
    {"BaseAddressEightPortsFromZero",
     Model("RX-408", 8),
     IDC_BASE_ADDRESS,
     "0x000",
     "BoardBaseAddress",
     "PortAddress",
     {"0x0", "0x8", "0x10", "0x18", "0x20", "0x28", "0x30", "0x38"}},
    {"BaseAddressEightPortsAtTop",
     Model("RX-408", 8),
     IDC_BASE_ADDRESS,
     "0x3c0",
     "BoardBaseAddress",
     "PortAddress",
     {"0x3c0", "0x3c8", "0x3d0", "0x3d8", "0x3e0", "0x3e8", "0x3f0", "0x3f8"}},
    {"BaseAddressNoPorts",
     Model("RX-404", 0),
     IDC_BASE_ADDRESS,
     "0x208",
     "BoardBaseAddress",
     "",
     {}},
    {"BaseCOMPortTwoPorts",
     Model("RX-401", 2),
     IDC_BASE_COM_PORT,
     "COM10",
     "BoardBaseCOMPort",
     "PortCOMPort",
     {"COM10", "COM11"}},
    {"BaseCOMPortBeyondTheList",
     Model("RX-401", 4),
     IDC_BASE_COM_PORT,
     "COM254",
     "BoardBaseCOMPort",
     "PortCOMPort",
     {"COM254", "COM255", "COM256", "COM257"}},
    {"BaseCOMPortEightPorts",
     Model("RX-408", 8),
     IDC_BASE_COM_PORT,
     "COM3",
     "BoardBaseCOMPort",
     "PortCOMPort",
     {"COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "COM10"}},
    {"ShareIRQTwoPorts",
     Model("RQ-6004", 2, true),
     IDC_SHARE_IRQ,
     "10",
     "BoardShareIRQ",
     "PortIRQ",
     {"10", "10"}},
    {"ShareIRQFourPorts",
     Model("RX-402", 4, true),
     IDC_SHARE_IRQ,
     "3",
     "BoardShareIRQ",
     "PortIRQ",
     {"3", "3", "3", "3"}},
    {"ShareIRQEightPorts",
     Model("RX-408", 8),
     IDC_SHARE_IRQ,
     "15",
     "BoardShareIRQ",
     "PortIRQ",
     {"15", "15", "15", "15", "15", "15", "15", "15"}},
    {"VectorAddressLeavesPorts",
     Model("RX-401", 4, true),
     IDC_VECTOR_ADDRESS,
     "0x3f0",
     "BoardVectorAddress",
     "",
     {}},
};
} // namespace

TEST_P(CarryOverTest, PickWritesTheBoardValueThenEachPortInListOrder) {
    const SCarryOver& c = GetParam();
    ShowBoard(c.board);
    Pick(c.control, c.pick);

    std::vector<std::string> expected{W("Board000", c.boardValue, c.pick)};
    if (!c.portValue.empty()) {
        expected = Join(expected, PortWrites(c.portValue, c.portTexts));
    }
    EXPECT_EQ(TakeWrites(), expected);
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), c.boardValue), c.pick);
    for (std::size_t i = 0; i < c.portTexts.size(); ++i) {
        std::string port = "Port00" + std::to_string(i);
        EXPECT_EQ(Probe().Text(PortKey("Board000", port), c.portValue), c.portTexts[i]) << port;
    }
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
    EXPECT_EQ(Shown(c.control), c.pick);
    EXPECT_TRUE(MessageTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(Picks, CarryOverTest, ::testing::ValuesIn(kCarryOvers), SRowName());

TEST_F(BoardFormTest, SharingOnSetsSevenAndVectorThenWritesPortsBeforeTheBoard) {
    ShowBoard(Model("RX-401", 4));
    Click(IDC_SHARE_IRQ_ENABLE);
    EXPECT_EQ(TakeWrites(), Join(PortWrites("PortIRQ", {"7", "7", "7", "7"}),
                                 {W("Board000", "BoardShareIRQEnabled", "#1"),
                                  W("Board000", "BoardVectorAddress", "0x2d0"),
                                  W("Board000", "BoardShareIRQ", "7")}));
    EXPECT_TRUE(Enabled(IDC_SHARE_IRQ) && Enabled(IDC_VECTOR_ADDRESS));
    EXPECT_EQ(Shown(IDC_SHARE_IRQ), "7");
    EXPECT_EQ(Shown(IDC_VECTOR_ADDRESS), "0x2d0");
    EXPECT_EQ(Port(3).GetPortIRQ(), "7");
}

TEST_F(BoardFormTest, SharingOffWithoutStandardModeKeepsPortIRQs) {
    ShowBoard(Model("RX-401", 4, true));
    Click(IDC_SHARE_IRQ_ENABLE);
    EXPECT_EQ(TakeWrites(), (std::vector<std::string>{W("Board000", "BoardShareIRQEnabled", "#0"),
                                                      W("Board000", "BoardVectorAddress", "NONE"),
                                                      W("Board000", "BoardShareIRQ", "NONE")}));
    EXPECT_FALSE(Enabled(IDC_SHARE_IRQ) || Enabled(IDC_VECTOR_ADDRESS));
    EXPECT_EQ(Port(0).GetPortIRQ(), "11");
}

TEST_F(BoardFormTest, SharingOffInStandardModeGivesStandardIRQsAndClearsBaseInMemory) {
    SBoardKey key = Model("RX-404", 4, true);
    key.standardMode = 1; // the base values below are stale: the key says standard mode
    ShowBoard(key);
    Click(IDC_SHARE_IRQ_ENABLE);
    EXPECT_EQ(TakeWrites(), Join(PortWrites("PortIRQ", {"4", "3", "10", "5"}),
                                 {W("Board000", "BoardShareIRQEnabled", "#0"),
                                  W("Board000", "BoardVectorAddress", "NONE"),
                                  W("Board000", "BoardShareIRQ", "NONE")}));
    EXPECT_EQ(Board().GetBaseAddress(), "NONE");
    EXPECT_EQ(Board().GetBaseCOMPort(), "NONE");
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), "BoardBaseAddress"), "0x200");
    EXPECT_FALSE(Enabled(IDC_BASE_ADDRESS) || Enabled(IDC_BASE_COM_PORT));
}

TEST_F(BoardFormTest, StandardModeOnWritesFlagThenPortPairsThenBase) {
    ShowBoard(Model("RX-401", 4));
    Click(IDC_STANDARD_MODE_ENABLE);
    EXPECT_EQ(TakeWrites(),
              StandardModeWrites("#1", {"0x3f8", "0x2f8", "0x3e8", "0x2e8"}, 1, "NONE", "NONE"));
    EXPECT_FALSE(Enabled(IDC_BASE_ADDRESS) || Enabled(IDC_BASE_COM_PORT));
    EXPECT_EQ(Port(2).GetPortIRQ(), "11");
}

TEST_F(BoardFormTest, StandardModeOffRestoresTheFirstBaseAndItsPorts) {
    SBoardKey key = Model("RQ-6004", 4);
    key.standardMode = 1;
    key.baseAddress = key.baseCOMPort = "NONE";
    ShowBoard(key);
    Click(IDC_STANDARD_MODE_ENABLE);
    EXPECT_EQ(TakeWrites(),
              StandardModeWrites("#0", {"0x200", "0x208", "0x210", "0x218"}, 3, "0x200", "COM3"));
    EXPECT_TRUE(Enabled(IDC_BASE_ADDRESS) && Enabled(IDC_BASE_COM_PORT));
    EXPECT_EQ(Shown(IDC_BASE_ADDRESS), "0x200");
    EXPECT_EQ(Shown(IDC_BASE_COM_PORT), "COM3");
}

TEST_F(BoardFormTest, SwitchingToRX408ChangesSharingInMemoryOnly) {
    ShowBoard(Model("RX-401", 0));
    Pick(IDC_BOARD_TYPE, "RX-408");
    EXPECT_EQ(TakeWrites(), (std::vector<std::string>{W("Board000", "BoardType", "RX-408")}));
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetCount(), 121);
    EXPECT_EQ(Check(IDC_SHARE_IRQ_ENABLE).GetCheck(), 1);
    EXPECT_FALSE(Enabled(IDC_SHARE_IRQ_ENABLE));
    EXPECT_EQ(Shown(IDC_SHARE_IRQ), "7");
    EXPECT_EQ(Shown(IDC_VECTOR_ADDRESS), "0x2d0");
    EXPECT_EQ(Board().GetShareIRQ(), "7");
    EXPECT_EQ(Board().GetShareIRQEnabled(), 1);
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), "BoardShareIRQ"), "NONE");
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), "BoardVectorAddress"), "NONE");
    EXPECT_EQ(Probe().Dword(BoardKey("Board000"), "BoardShareIRQEnabled"), 0u);
}

TEST_F(BoardFormTest, SwitchingToAnIndividuallyAddressedModelDisablesAllButTheModel) {
    ShowBoard(Model("RX-401", 0));
    Pick(IDC_BOARD_TYPE, "RX-201");
    EXPECT_EQ(TakeWrites(), (std::vector<std::string>{W("Board000", "BoardType", "RX-201")}));
    for (int id : {IDC_BASE_ADDRESS, IDC_BASE_COM_PORT, IDC_SHARE_IRQ_ENABLE, IDC_SHARE_IRQ,
                   IDC_VECTOR_ADDRESS, IDC_STANDARD_MODE_ENABLE}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS).GetCount(), 0);
    EXPECT_EQ(Shown(IDC_BASE_ADDRESS), "NONE");
    EXPECT_EQ(Board().GetBaseAddress(), "NONE");
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), "BoardBaseAddress"), "0x200");
}

TEST_F(BoardFormTest, ModelChangeKeepsTheStandardModeFlag) {
    SBoardKey key = Model("RX-401", 0);
    key.standardMode = 1;
    ShowBoard(key);
    Pick(IDC_BOARD_TYPE, "RX-209");
    EXPECT_EQ(Check(IDC_STANDARD_MODE_ENABLE).GetCheck(), 1);
    EXPECT_FALSE(Enabled(IDC_STANDARD_MODE_ENABLE) || Enabled(IDC_BASE_ADDRESS) ||
                 Enabled(IDC_BASE_COM_PORT));
}

TEST_F(BoardFormTest, ModelChangeIsRefusedWhileTheBoardHasPorts) {
    ShowBoard(Model("RX-401", 1));
    Pick(IDC_BOARD_TYPE, "RX-408");
    EXPECT_EQ(m_hive.Messages().Records(), (std::vector<MessageRecord>{kRemovePortsFirst}));
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Board().GetBoardType(), "RX-401");
    EXPECT_EQ(Shown(IDC_BOARD_TYPE), "RX-401");
}

namespace {
struct SRefusal {
    const char* name;
    const char* model;
    int control;
    const char* text; // null: a click of the check box
    EPickResult result;
};

const SRefusal kRefusals[] = {
    {"BaseAddressOfIndividualModel", "RX-201", IDC_BASE_ADDRESS, "0x200", EPickResult::Disabled},
    {"BaseCOMPortOfIndividualModel", "RX-201", IDC_BASE_COM_PORT, "COM3", EPickResult::Disabled},
    {"ShareIRQWhileNotSharing", "RX-401", IDC_SHARE_IRQ, "7", EPickResult::Disabled},
    {"SharingOfModelThatCannotShare", "RX-201", IDC_SHARE_IRQ_ENABLE, nullptr,
     EPickResult::Disabled},
    {"SharingOfModelThatMustShare", "RX-408", IDC_SHARE_IRQ_ENABLE, nullptr, EPickResult::Disabled},
    {"StandardModeOfRX408", "RX-408", IDC_STANDARD_MODE_ENABLE, nullptr, EPickResult::Disabled},
    {"AddressBetweenEntries", "RX-401", IDC_BASE_ADDRESS, "0x201", EPickResult::NotOffered},
    {"COMPortBelowTheList", "RX-401", IDC_BASE_COM_PORT, "COM2", EPickResult::NotOffered},
    {"ModelInLowerCase", "RX-401", IDC_BOARD_TYPE, "rx-408", EPickResult::NotOffered},
    {"VectorAddressBetweenEntries", "RX-408", IDC_VECTOR_ADDRESS, "0x3f9", EPickResult::NotOffered},
};

void PrintTo(const SRefusal& row, std::ostream* os) {
    *os << row.name;
}

class RefusalTest : public BoardFormTest, public ::testing::WithParamInterface<SRefusal> {};
} // namespace

TEST_P(RefusalTest, IsReportedAndChangesNothing) {
    const SRefusal& r = GetParam();
    ShowBoard(Model(r.model, 2));
    const std::string before = Board().GetBaseAddress() + Board().GetBoardType();
    EPickResult result =
        r.text == nullptr ? Check(r.control).Click() : Combo(r.control).Pick(r.text);
    EXPECT_EQ(result, r.result);
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Board().GetBaseAddress() + Board().GetBoardType(), before);
}

INSTANTIATE_TEST_SUITE_P(Board, RefusalTest, ::testing::ValuesIn(kRefusals), SRowName());

TEST_F(BoardFormTest, TypedTextIsNeverApplied) {
    ShowBoard(Model("RX-401", 4));
    ASSERT_EQ(Combo(IDC_BOARD_TYPE).Type("RX-408"), EPickResult::Done);
    ASSERT_EQ(Combo(IDC_BASE_ADDRESS).Type("0x3e0"), EPickResult::Done);
    ASSERT_EQ(Combo(IDC_BASE_COM_PORT).Type("COM9"), EPickResult::Done);
    Click(IDC_STANDARD_MODE_ENABLE);
    Click(IDC_STANDARD_MODE_ENABLE);
    // Only what the two clicks write: the typed model and base values reach no record or key.
    EXPECT_EQ(TakeWrites().size(), 2u * (1 + 8 + 2));
    EXPECT_EQ(Board().GetBoardType(), "RX-401");
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), "BoardType"), "RX-401");
    EXPECT_EQ(Port(1).GetPortAddress(), "0x208");
    Select("Board000/Port000");
    Select("Board000");
    EXPECT_EQ(Shown(IDC_BOARD_TYPE), "RX-401");
}

namespace {
struct SFault {
    const char* name;
    ERegOp op;
    std::string key;
    const char* valueName;
    Win32Status status;
    std::vector<MessageRecord> messages;
    std::string lostWrite;
};

const std::string kLostBoard = "Board000:BoardBaseAddress=0x300";

const SFault kFaults[] = {
    {"BoardKeyDenied",
     ERegOp::OpenKey,
     BoardKey("Board000"),
     "",
     ERROR_ACCESS_DENIED,
     {kOpenRegistryFailed},
     kLostBoard},
    {"BoardKeyMissing",
     ERegOp::OpenKey,
     BoardKey("Board000"),
     "",
     ERROR_FILE_NOT_FOUND,
     {kOpenRegistryFailed},
     kLostBoard},
    {"BoardValue",
     ERegOp::WriteValue,
     BoardKey("Board000"),
     "BoardBaseAddress",
     ERROR_ACCESS_DENIED,
     {kWriteRegistryFailed},
     kLostBoard},
    {"PortKeyMissingIsSilent",
     ERegOp::OpenKey,
     PortKey("Board000", "Port001"),
     "",
     ERROR_FILE_NOT_FOUND,
     {},
     "Board000\\Port001:PortAddress=0x308"},
    {"PortKeyDenied",
     ERegOp::OpenKey,
     PortKey("Board000", "Port001"),
     "",
     ERROR_ACCESS_DENIED,
     {kOpenRegistryFailed},
     "Board000\\Port001:PortAddress=0x308"},
    {"PortValue",
     ERegOp::WriteValue,
     PortKey("Board000", "Port002"),
     "PortAddress",
     ERROR_ACCESS_DENIED,
     {kWriteRegistryFailed},
     "Board000\\Port002:PortAddress=0x310"},
};

void PrintTo(const SFault& row, std::ostream* os) {
    *os << row.name;
}

class FaultTest : public BoardFormTest, public ::testing::WithParamInterface<SFault> {};
} // namespace

TEST_P(FaultTest, FailedWriteIsReportedAndTheRestOfThePickStillCommits) {
    const SFault& f = GetParam();
    ShowBoard(Model("RX-401", 4));
    m_hive.Hive().InjectFault(f.op, f.key, f.valueName, f.status);
    Pick(IDC_BASE_ADDRESS, "0x300");

    std::vector<std::string> expected =
        Join({W("Board000", "BoardBaseAddress", "0x300")},
             PortWrites("PortAddress", {"0x300", "0x308", "0x310", "0x318"}));
    std::erase(expected, f.lostWrite);
    EXPECT_EQ(TakeWrites(), expected);
    EXPECT_EQ(m_hive.Messages().Records(), f.messages);
    EXPECT_EQ(Board().GetBaseAddress(), "0x300");
    EXPECT_EQ(Port(3).GetPortAddress(), "0x318");
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
    EXPECT_EQ(Probe().Text(PortKey("Board000", "Port003"), "PortAddress"), "0x318");
    EXPECT_EQ(Probe().Text(BoardKey("Board000"), "BoardBaseAddress"),
              f.lostWrite == kLostBoard ? "0x200" : "0x300");
}

INSTANTIATE_TEST_SUITE_P(Board, FaultTest, ::testing::ValuesIn(kFaults), SRowName());

TEST_F(BoardFormTest, EachFailedWriteOfOneActionShowsItsOwnMessage) {
    ShowBoard(Model("RX-401", 4));
    m_hive.Hive().InjectFault(ERegOp::OpenKey, BoardKey("Board000"), "", 5, false);
    Click(IDC_SHARE_IRQ_ENABLE);
    EXPECT_EQ(m_hive.Messages().Records(), std::vector<MessageRecord>(3, kOpenRegistryFailed));
    EXPECT_EQ(TakeWrites(), PortWrites("PortIRQ", {"7", "7", "7", "7"}));
}

TEST_F(BoardFormTest, AnotherConnectionSeesAPickWholeOrNotAtAll) {
    ShowBoard(Model("RX-408", 8));
    std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath(), EHiveOpen::MustExist);
    auto seen = [&other](const std::string& key, const std::string& name) {
        HiveKeyId id = 0;
        SHiveValue value;
        other->FindKey(key, id);
        other->ReadValue(id, name, value);
        return std::string(value.data.begin(), value.data.end() - 1);
    };
    std::vector<std::string> seenDuring;
    m_hive.Hive().SetWriteObserver([&](const SHiveWrite&) {
        seenDuring.push_back(seen(BoardKey("Board000"), "BoardBaseAddress") + "|" +
                             seen(PortKey("Board000", "Port007"), "PortAddress"));
    });
    Pick(IDC_BASE_ADDRESS, "0x000");
    EXPECT_EQ(seenDuring, std::vector<std::string>(9, "0x200|0x117"));
    EXPECT_EQ(seen(BoardKey("Board000"), "BoardBaseAddress") + "|" +
                  seen(PortKey("Board000", "Port007"), "PortAddress"),
              "0x000|0x38");
}
