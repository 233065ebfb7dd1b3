#include "boardobj.h"
#include "portderivation.h"
#include "portobj.h"
#include "stringtable.h"
#include "temphive.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A board as the change finds it: its settings already show the change.
struct SBoardState {
    std::string model = "RX-401";
    int ports = 4;
    std::string baseAddress = "0x200";
    std::string baseCOMPort = "COM3";
    int sharing = 0;
    std::string shareIRQ = "NONE";
    int standardMode = 0;
};

struct SCarryOverRow {
    const char* name;
    SBoardState board;
    EBoardChange change;
    // Each value set, as "<port index>:<value name>=<new text>", in the order returned.
    std::vector<std::string> set;
};

void PrintTo(const SCarryOverRow& row, std::ostream* out) {
    *out << row.name;
}

SBoardState Board(const std::string& model, int ports) {
    SBoardState board;
    board.model = model;
    board.ports = ports;
    return board;
}

SBoardState Sharing(SBoardState board, const std::string& irq) {
    board.sharing = 1;
    board.shareIRQ = irq;
    return board;
}

SBoardState Standard(SBoardState board) {
    board.standardMode = 1;
    board.baseAddress = board.baseCOMPort = "NONE";
    return board;
}

SBoardState Base(SBoardState board, const std::string& address, const std::string& comPort) {
    board.baseAddress = address;
    board.baseCOMPort = comPort;
    return board;
}

const SCarryOverRow kRows[] = {
    {"BaseAddressGivesEachPortItsOffset",
     Base(Board("RX-401", 4), "0x300", "COM3"),
     EBoardChange::BaseAddress,
     {"0:PortAddress=0x300", "1:PortAddress=0x308", "2:PortAddress=0x310", "3:PortAddress=0x318"}},
    {"BaseAddressOfEightPortsFromZero",
     Base(Board("RX-408", 8), "0x000", "COM3"),
     EBoardChange::BaseAddress,
     {"0:PortAddress=0x0", "1:PortAddress=0x8", "2:PortAddress=0x10", "3:PortAddress=0x18",
      "4:PortAddress=0x20", "5:PortAddress=0x28", "6:PortAddress=0x30", "7:PortAddress=0x38"}},
    {"BaseAddressLeavesIndividuallyAddressedPorts",
     Base(Board("RX-201", 2), "0x300", "COM3"),
     EBoardChange::BaseAddress,
     {}},
    {"BaseAddressOfABoardWithoutPorts", Board("RX-404", 0), EBoardChange::BaseAddress, {}},
    {"BaseCOMPortCountsUpFromTheBase",
     Base(Board("RX-402", 4), "0x200", "COM254"),
     EBoardChange::BaseCOMPort,
     {"0:PortCOMPort=COM254", "1:PortCOMPort=COM255", "2:PortCOMPort=COM256",
      "3:PortCOMPort=COM257"}},
    {"BaseCOMPortReachesIndividuallyAddressedPortsToo",
     Base(Board("RX-201", 2), "NONE", "COM10"),
     EBoardChange::BaseCOMPort,
     {"0:PortCOMPort=COM10", "1:PortCOMPort=COM11"}},
    {"ShareIRQWhileSharing",
     Sharing(Board("RQ-6004", 2), "10"),
     EBoardChange::ShareIRQ,
     {"0:PortIRQ=10", "1:PortIRQ=10"}},
    {"ShareIRQWhileNotSharingLeavesPorts", Board("RX-401", 4), EBoardChange::ShareIRQ, {}},
    {"SharingOnGivesEveryPortTheSharedIRQ",
     Sharing(Board("RX-408", 8), "7"),
     EBoardChange::SharingOn,
     {"0:PortIRQ=7", "1:PortIRQ=7", "2:PortIRQ=7", "3:PortIRQ=7", "4:PortIRQ=7", "5:PortIRQ=7",
      "6:PortIRQ=7", "7:PortIRQ=7"}},
    {"SharingOffOutsideStandardModeLeavesPorts", Board("RX-401", 4), EBoardChange::SharingOff, {}},
    {"SharingOffInStandardModeGivesStandardIRQs",
     Standard(Board("RX-404", 4)),
     EBoardChange::SharingOff,
     {"0:PortIRQ=4", "1:PortIRQ=3", "2:PortIRQ=10", "3:PortIRQ=5"}},
    {"SharingOffInStandardModeWithTwoPorts",
     Standard(Board("RQ-6004", 2)),
     EBoardChange::SharingOff,
     {"0:PortIRQ=4", "1:PortIRQ=3"}},
    {"StandardModeOnWritesAddressThenCOMPortOfEachPort",
     Standard(Board("RX-401", 4)),
     EBoardChange::StandardModeOn,
     {"0:PortAddress=0x3f8", "0:PortCOMPort=COM1", "1:PortAddress=0x2f8", "1:PortCOMPort=COM2",
      "2:PortAddress=0x3e8", "2:PortCOMPort=COM3", "3:PortAddress=0x2e8", "3:PortCOMPort=COM4"}},
    {"StandardModeOffRestoresTheBlockAfterIt",
     Board("RQ-6004", 4),
     EBoardChange::StandardModeOff,
     {"0:PortAddress=0x200", "0:PortCOMPort=COM3", "1:PortAddress=0x208", "1:PortCOMPort=COM4",
      "2:PortAddress=0x210", "2:PortCOMPort=COM5", "3:PortAddress=0x218", "3:PortCOMPort=COM6"}},
    {"StandardModeReachesOnlyTheFirstFourPorts",
     Standard(Board("RX-408", 6)),
     EBoardChange::StandardModeOn,
     {"0:PortAddress=0x3f8", "0:PortCOMPort=COM1", "1:PortAddress=0x2f8", "1:PortCOMPort=COM2",
      "2:PortAddress=0x3e8", "2:PortCOMPort=COM3", "3:PortAddress=0x2e8", "3:PortCOMPort=COM4"}},
};

// Ports whose values no carry-over gives, so that every value set shows.
std::string Untouched(const std::string& what, int index) {
    return what + "-" + std::to_string(index);
}

class CarryOverTest : public testing::TestWithParam<SCarryOverRow> {
protected:
    void SetUp() override {
        const SBoardState& state = GetParam().board;
        m_pBoard = std::make_unique<CBoardObj>();
        m_pBoard->SetBoardType(state.model);
        m_pBoard->SetBaseAddress(state.baseAddress);
        m_pBoard->SetBaseCOMPort(state.baseCOMPort);
        m_pBoard->SetShareIRQEnabled(state.sharing);
        m_pBoard->SetShareIRQ(state.shareIRQ);
        m_pBoard->SetStandardModeEnabled(state.standardMode);
        for (int i = 0; i < state.ports; ++i) {
            m_ports.push_back(std::make_unique<CPortObj>("", 0));
            m_ports.back()->SetPortAddress(Untouched("address", i));
            m_ports.back()->SetPortCOMPort(Untouched("com", i));
            m_ports.back()->SetPortIRQ(Untouched("irq", i));
            m_pBoard->m_PortList.push_back(m_ports.back().get());
        }
    }

    std::string Value(std::size_t index, unsigned valueNameId) const {
        const CPortObj& port = *m_ports[index];
        if (valueNameId == IDS_PORT_ADDRESS) {
            return port.GetPortAddress();
        }
        return valueNameId == IDS_PORT_COM_PORT ? port.GetPortCOMPort() : port.GetPortIRQ();
    }

    CTempHive m_hive;
    std::unique_ptr<CBoardObj> m_pBoard;
    std::vector<std::unique_ptr<CPortObj>> m_ports;
};

TEST_P(CarryOverTest, SetsTheFollowingValuesAndNamesEachInWriteOrder) {
    const std::vector<SPortChange> changes = CarryOverToPorts(*m_pBoard, GetParam().change);
    std::vector<std::string> set;
    for (const SPortChange& change : changes) {
        set.push_back(std::to_string(change.portIndex) + ":" + LoadString(change.valueNameId) +
                      "=" + Value(change.portIndex, change.valueNameId));
    }
    EXPECT_EQ(set, GetParam().set);
}

TEST_P(CarryOverTest, LeavesEveryValueItDoesNotName) {
    const std::vector<SPortChange> changes = CarryOverToPorts(*m_pBoard, GetParam().change);
    auto named = [&changes](std::size_t index, unsigned id) {
        return std::find(changes.begin(), changes.end(), SPortChange{index, id}) != changes.end();
    };
    for (std::size_t i = 0; i < m_ports.size(); ++i) {
        const int index = static_cast<int>(i);
        if (!named(i, IDS_PORT_ADDRESS)) {
            EXPECT_EQ(m_ports[i]->GetPortAddress(), Untouched("address", index));
        }
        if (!named(i, IDS_PORT_COM_PORT)) {
            EXPECT_EQ(m_ports[i]->GetPortCOMPort(), Untouched("com", index));
        }
        if (!named(i, IDS_PORT_IRQ)) {
            EXPECT_EQ(m_ports[i]->GetPortIRQ(), Untouched("irq", index));
        }
        EXPECT_EQ(m_ports[i]->GetPortIndex(), "1");
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, CarryOverTest, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<SCarryOverRow>& row) {
                             return std::string(row.param.name);
                         });

struct SNewPortRow {
    const char* name;
    SBoardState board;
    int index;
    std::string address;
    std::string comPort;
    std::string irq;
    std::string portIndex;
};

void PrintTo(const SNewPortRow& row, std::ostream* out) {
    *out << row.name;
}

const SNewPortRow kNewPorts[] = {
    {"FirstPortTakesTheBase", Base(Board("RX-401", 0), "0x2e0", "COM5"), 0, "0x2e0", "COM5", "7",
     "1"},
    {"ThirdPortOffsetsFromTheBase", Base(Board("RX-401", 0), "0x2e0", "COM5"), 2, "0x2f0", "COM7",
     "7", "3"},
    {"SharedIRQWhileSharing", Sharing(Base(Board("RX-408", 0), "0x000", "COM3"), "11"), 7, "0x38",
     "COM10", "11", "8"},
    {"StandardModeBoardTakesTheStandardAddress", Standard(Board("RX-404", 0)), 1, "0x2f8", "COM2",
     "7", "2"},
};

class NewPortTest : public testing::TestWithParam<SNewPortRow> {
protected:
    CTempHive m_hive;
};

TEST_P(NewPortTest, TakesWhatTheCarryOversGiveItsPlace) {
    const SNewPortRow& row = GetParam();
    CBoardObj board;
    board.SetBoardType(row.board.model);
    board.SetBaseAddress(row.board.baseAddress);
    board.SetBaseCOMPort(row.board.baseCOMPort);
    board.SetShareIRQEnabled(row.board.sharing);
    board.SetShareIRQ(row.board.shareIRQ);
    CPortObj port("", 0);
    DeriveNewPort(board, port, row.index);
    EXPECT_EQ(port.GetPortAddress(), row.address);
    EXPECT_EQ(port.GetPortCOMPort(), row.comPort);
    EXPECT_EQ(port.GetPortIRQ(), row.irq);
    EXPECT_EQ(port.GetPortIndex(), row.portIndex);
    EXPECT_TRUE(board.m_PortList.empty());
}

INSTANTIATE_TEST_SUITE_P(Places, NewPortTest, testing::ValuesIn(kNewPorts),
                         [](const testing::TestParamInfo<SNewPortRow>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
