#include "boardobj.h"
#include "expectedmessages.h"
#include "formsfixture.h"
#include "headlesscombobox.h"
#include "portobj.h"
#include "qserdoc.h"

#include <tuple>

namespace {
// What the port form offers for a port of one board.
struct SPortLists {
    const char* name;
    const char* model;
    std::uint32_t standardMode;
    std::uint32_t sharing;
    const char* firstCOM;
    int irqCount;
    bool irqEnabled;
    bool addressAndCOMEnabled;
};

const SPortLists kLists[] = {
    {"RX201", "RX-201", 0, 0, "COM3", 10, true, true},
    {"RX209", "RX-209", 0, 0, "COM3", 10, true, true},
    {"RQ6001ShortIRQs", "RQ-6001", 0, 0, "COM3", 6, true, true},
    {"RQ6002", "RQ-6002", 0, 0, "COM3", 10, true, true},
    {"RX401", "RX-401", 0, 0, "COM3", 10, true, false},
    {"RX401Sharing", "RX-401", 0, 1, "COM3", 10, false, false},
    {"RX404Standard", "RX-404", 1, 0, "COM1", 10, true, false},
    {"RQ6004StandardSharing", "RQ-6004", 1, 1, "COM1", 10, false, false},
    {"RX408FlagOff", "RX-408", 0, 0, "COM3", 10, false, false},
    {"RX408", "RX-408", 0, 1, "COM3", 10, false, false},
    {"UnknownModel", "rq-6001", 0, 0, "COM3", 10, true, false},
};

void PrintTo(const SPortLists& row, std::ostream* os) {
    *os << row.name;
}

class PortListsTest : public CFormsFixture, public ::testing::WithParamInterface<SPortLists> {};

class PortFormTest : public CFormsFixture {
protected:
    void ShowPort(const SBoardKey& key, const std::string& port) {
        PutBoard(key);
        Start();
        Select("Board000/" + port);
        TakeWrites();
    }
    static SBoardKey Board(const std::string& model, std::vector<SPortKey> ports) {
        SBoardKey key;
        key.type = model;
        key.ports = std::move(ports);
        return key;
    }
};
} // namespace

TEST_P(PortListsTest, ListsFollowTheBoardsModelAndFlags) {
    const SPortLists& c = GetParam();
    SBoardKey key;
    key.type = c.model;
    key.standardMode = c.standardMode;
    key.shareIRQEnabled = c.sharing;
    key.ports = SomePorts(1);
    PutBoard(key);
    Start();
    Select("Board000/Port000");

    EXPECT_EQ(Combo(IDC_COM_PORT).GetLBText(0), c.firstCOM);
    EXPECT_EQ(Combo(IDC_COM_PORT).GetLBText(Combo(IDC_COM_PORT).GetCount() - 1), "COM255");
    EXPECT_EQ(Combo(IDC_IRQ).GetCount(), c.irqCount);
    EXPECT_EQ(Combo(IDC_IRQ).GetLBText(c.irqCount - 1), c.irqCount == 6 ? "9" : "15");
    EXPECT_EQ(Combo(IDC_PORT_ADDRESS).GetCount(), 64);
    EXPECT_EQ(Combo(IDC_PORT_ADDRESS).GetLBText(63), "0x3f8");
    EXPECT_EQ(Enabled(IDC_IRQ), c.irqEnabled);
    EXPECT_EQ(Enabled(IDC_PORT_ADDRESS), c.addressAndCOMEnabled);
    EXPECT_EQ(Enabled(IDC_COM_PORT), c.addressAndCOMEnabled);
    // A greyed field says why.
    EXPECT_EQ(Combo(IDC_IRQ).DisabledReason(),
              c.irqEnabled ? "" : "set by the board's shared interrupt");
    const std::string byBoard =
        c.standardMode != 0 ? "set by the board's standard mode" : "set by the board's base ";
    EXPECT_EQ(Combo(IDC_PORT_ADDRESS).DisabledReason(),
              c.addressAndCOMEnabled ? "" : byBoard + (c.standardMode != 0 ? "" : "address"));
    EXPECT_EQ(Combo(IDC_COM_PORT).DisabledReason(),
              c.addressAndCOMEnabled ? "" : byBoard + (c.standardMode != 0 ? "" : "COM port"));
    EXPECT_TRUE(TakeWrites().empty());
}

INSTANTIATE_TEST_SUITE_P(Models, PortListsTest, ::testing::ValuesIn(kLists), SRowName());

namespace {
struct SPortPick {
    const char* name;
    int control;
    const char* text;
    const char* valueName;
    std::string (CPortObj::*getter)() const;
};

const SPortPick kPicks[] = {
    {"Address", IDC_PORT_ADDRESS, "0x3f8", "PortAddress", &CPortObj::GetPortAddress},
    {"COMPort", IDC_COM_PORT, "COM200", "PortCOMPort", &CPortObj::GetPortCOMPort},
    {"IRQ", IDC_IRQ, "15", "PortIRQ", &CPortObj::GetPortIRQ},
};

void PrintTo(const SPortPick& row, std::ostream* os) {
    *os << row.name;
}

class PortPickTest : public PortFormTest, public ::testing::WithParamInterface<SPortPick> {};
} // namespace

TEST_P(PortPickTest, PickWritesTheOneValueOfTheCurrentPort) {
    const SPortPick& p = GetParam();
    ShowPort(Board("RX-202", SomePorts(2)), "Port001");
    Pick(p.control, p.text);
    EXPECT_EQ(TakeWrites(), std::vector<std::string>{
                                "Board000\\Port001:" + std::string(p.valueName) + "=" + p.text});
    EXPECT_EQ((Port(1).*p.getter)(), p.text);
    EXPECT_EQ(Probe().Text(PortKey("Board000", "Port001"), p.valueName), p.text);
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
}

INSTANTIATE_TEST_SUITE_P(Lists, PortPickTest, ::testing::ValuesIn(kPicks), SRowName());

namespace {
// A failure of the registry under a pick of the port form.
struct SPortFault {
    const char* name;
    ERegOp op;
    Win32Status status;
    std::vector<MessageRecord> messages;
};

const SPortFault kPortFaults[] = {
    {"MissingPortKey", ERegOp::OpenKey, ERROR_FILE_NOT_FOUND, {}},
    {"PortKeyDenied", ERegOp::OpenKey, ERROR_ACCESS_DENIED, {kOpenRegistryFailed}},
    {"WriteDenied", ERegOp::WriteValue, ERROR_ACCESS_DENIED, {kWriteRegistryFailed}},
};

void PrintTo(const SPortFault& row, std::ostream* os) {
    *os << row.name;
}

class PortPickFaultTest : public PortFormTest,
                          public ::testing::WithParamInterface<std::tuple<SPortPick, SPortFault>> {
};
} // namespace

TEST_P(PortPickFaultTest, MissingPortKeyIsSilentAndOtherFailuresAreReported) {
    const auto& [p, fault] = GetParam();
    ShowPort(Board("RX-202", SomePorts(2)), "Port001");
    ASSERT_TRUE(m_hive.Messages().Records().empty());
    ASSERT_EQ(Doc().m_bConfigChanged, 0);
    m_hive.Hive().InjectFault(fault.op, PortKey("Board000", "Port001"), "", fault.status);
    Pick(p.control, p.text);
    EXPECT_EQ(m_hive.Messages().Records(), fault.messages);
    EXPECT_TRUE(TakeWrites().empty());
    EXPECT_EQ((Port(1).*p.getter)(), p.text);
    EXPECT_EQ(Doc().m_bConfigChanged, 1);
}

INSTANTIATE_TEST_SUITE_P(Lists, PortPickFaultTest,
                         ::testing::Combine(::testing::ValuesIn(kPicks),
                                            ::testing::ValuesIn(kPortFaults)),
                         SPairName());

TEST_F(PortFormTest, StoredValuesShowOnlyWhenTheyEqualAnEntry) {
    // Texts that begin an entry ("0x20" of "0x200", "1" of "10", "COM2" of "COM20") must not
    // show as that entry; a text equal to an entry but for case does.
    ShowPort(Board("RX-201", {{"COM2", "1", "0x20"}, {"com5", "15", "190"}}), "Port000");
    EXPECT_EQ(Combo(IDC_PORT_ADDRESS).GetCurSel(), -1);
    EXPECT_EQ(Shown(IDC_PORT_ADDRESS), "");
    EXPECT_EQ(Combo(IDC_IRQ).GetCurSel(), -1);
    EXPECT_EQ(Combo(IDC_COM_PORT).GetCurSel(), -1);
    EXPECT_EQ(Shown(IDC_COM_PORT), "COM2");
    Select("Board000/Port001");
    EXPECT_EQ(Shown(IDC_COM_PORT), "COM5");
    EXPECT_GE(Combo(IDC_COM_PORT).GetCurSel(), 0);
    EXPECT_EQ(Shown(IDC_IRQ), "15");
    EXPECT_EQ(Combo(IDC_PORT_ADDRESS).GetCurSel(), -1);
}

TEST_F(PortFormTest, RefusedPicksAndTypedTextChangeNothing) {
    ShowPort(Board("RX-401", SomePorts(4)), "Port002");
    EXPECT_EQ(Combo(IDC_PORT_ADDRESS).Pick("0x200"), EPickResult::Disabled);
    EXPECT_EQ(Combo(IDC_COM_PORT).Pick("COM3"), EPickResult::Disabled);
    EXPECT_EQ(Combo(IDC_IRQ).Pick("8"), EPickResult::NotOffered);
    EXPECT_EQ(Combo(IDC_IRQ).Type("8"), EPickResult::NotOffered);
    ASSERT_EQ(Combo(IDC_IRQ).Pick("12"), EPickResult::Done);
    EXPECT_EQ(TakeWrites(), std::vector<std::string>{"Board000\\Port002:PortIRQ=12"});
    EXPECT_EQ(Port(2).GetPortCOMPort(), "COM42");
}

TEST_F(PortFormTest, TypedCOMNameIsNeverApplied) {
    ShowPort(Board("RX-209", SomePorts(1)), "Port000");
    ASSERT_EQ(Combo(IDC_COM_PORT).Type("COM999"), EPickResult::Done);
    Pick(IDC_IRQ, "3");
    EXPECT_EQ(TakeWrites(), std::vector<std::string>{"Board000\\Port000:PortIRQ=3"});
    EXPECT_EQ(Port(0).GetPortCOMPort(), "COM40");
}
