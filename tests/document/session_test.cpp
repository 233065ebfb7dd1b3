#include "boardobj.h"
#include "closesequence.h"
#include "documentfixture.h"
#include "driverkeys.h"
#include "expectedmessages.h"
#include "portobj.h"
#include "testservices.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using Lines = std::vector<std::string>;

void Append(Lines& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

// One administrator's session from start-up to close, on a machine where an earlier session left
// one board with one port and the serial service runs.
class SessionTest : public DocumentTest {
protected:
    void SetUp() override {
        CHiveProbe& probe = m_session.Probe();
        probe.SetText(kDriverKey, "SystemNumBoards", "1");
        probe.SetText(kDriverKey, "SystemNumPorts", "1");
        PutBoardKey(probe, kEarlierBoard);
        PutPortKey(probe, "Board000", EarlierPort());
        probe.CreateKey((IsNT() ? kSerialParameters : kClassPorts) + "\\" + Instance(0));
        ASSERT_NO_FATAL_FAILURE(InstallRunningSerialService(probe, m_session.ServiceManager()));
        DocumentTest::SetUp();
    }

    // The n-th operating-system instance given out on this platform.
    std::string Instance(int n) const {
        char name[16];
        std::snprintf(name, sizeof name, IsNT() ? "Serial%03d" : "%04d", IsNT() ? n + 2 : n);
        return name;
    }

    CQSERDoc& Doc() { return m_session.Doc(); }

    // What the board form does when the administrator sets a board's base values.
    void SetBoard(const std::string& base, const std::string& com, const std::string& irq,
                  const std::string& vector) {
        CBoardObj* board = Doc().m_pCurBoard;
        const std::string key = BoardKey(board->GetBoardName());
        board->SetBaseAddress(base);
        board->SetBaseCOMPort(com);
        board->SetShareIRQEnabled(1);
        board->SetShareIRQ(irq);
        board->SetVectorAddress(vector);
        m_session.Probe().SetText(key, "BoardBaseAddress", base);
        m_session.Probe().SetText(key, "BoardBaseCOMPort", com);
        m_session.Probe().SetDword(key, "BoardShareIRQEnabled", 1);
        m_session.Probe().SetText(key, "BoardShareIRQ", irq);
        m_session.Probe().SetText(key, "BoardVectorAddress", vector);
    }

    void Delete(const std::string& path, EMsgResult answer) {
        m_session.Click(path);
        m_session.Messages().ScriptAnswer(answer);
        Doc().OnDelete();
    }

    void RunSession() {
        m_session.AddBoard("RX-401"); // Board001, four ports sharing IRQ 10
        SetBoard("0x300", "COM5", "10", "0x2d0");
        Doc().OnAddPort();
        m_session.AddBoard("RX-408"); // Board002, eight ports from 0x000
        SetBoard("0x000", "COM20", "11", "0x000");
        Doc().OnAddPort();
        m_session.AddBoard("RX-209"); // Board003, two of its four ports
        Doc().OnAddPort();
        Doc().OnAddPort();
        Delete("QSERDRV/Board002", EMsgResult::Yes);
        Delete("QSERDRV/Board003/Port000", EMsgResult::Yes);
        Delete("QSERDRV/Board000/Port000", EMsgResult::No);
        Doc().OnAddBoard(); // takes the freed name Board002
        Doc().OnFileSave();
        m_session.AnswerNo();
        Doc().OnFileNew();
        CCloseSequence::Run(&Doc());
    }

    // The board and port the earlier session left.
    const SBoardValues kEarlierBoard{"Board000", "RX-201", "NONE", 0, "NONE", "NONE", "NONE", 0};
    SPortValues EarlierPort() const { return {"Port000", "COM7", "4", "0x2a0", "1", Instance(0)}; }

    Lines BlockPort(int i, const std::string& com) {
        char address[8];
        std::snprintf(address, sizeof address, "0x%x", 0x300 + 8 * i);
        const std::string name = "Port00" + std::to_string(i);
        return PortKeyLines("Board001\\" + name,
                            {name, com, "10", address, std::to_string(i + 1), Instance(i + 1)});
    }

    Lines ExpectedDriverKey() {
        Lines lines = {
            "[]",
            "SystemNumBoards=\"4\"",
            "SystemNumPorts=\"6\"",
            "SystemDriverName=\"Brimholde QSER 32bit Utility Ver. 1.10\"",
        };
        Append(lines, BoardKeyLines("Board000", kEarlierBoard));
        Append(lines, PortKeyLines("Board000\\Port000", EarlierPort()));
        Append(lines, BoardKeyLines("Board001",
                                    {"Board001", "RX-401", "0x300", 1, "COM5", "10", "0x2d0", 0}));
        const char* coms[] = {"COM5", "COM6", "COM7", "COM8"};
        for (int i = 0; i < 4; ++i) {
            Append(lines, BlockPort(i, coms[i]));
        }
        // The board added last took the freed name; the two-port board kept its second port.
        Append(lines, BoardKeyLines("Board002", {"Board002"}));
        Append(lines, BoardKeyLines("Board003", {"Board003", "RX-209"}));
        Append(lines, PortKeyLines("Board003\\Port001",
                                   {"Port001", "COM3", "7", "0x200", "1", Instance(14)}));
        return lines;
    }
};
} // namespace

TEST_P(SessionTest, WholeSessionLeavesTheExpectedRegistry) {
    RunSession();

    std::vector<MessageRecord> expected = {kAskDeleteBoard, kAskDeletePort, kAskDeletePort,
                                           kSavedNotice, kAskNew};
    if (!IsNT()) {
        expected.push_back(kRestartNotice);
    }
    EXPECT_EQ(m_session.Messages().Records(), expected);
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000] Board001[Port000 Port001 Port002 "
                                    "Port003] Board002 Board003[Port001]]");
    EXPECT_EQ(Doc().GetNumBoards(), "4");
    EXPECT_EQ(Doc().GetNumPorts(), "6");
    EXPECT_EQ(Doc().m_bConfigChanged, 0);

    CHiveProbe& probe = m_session.Probe();
    EXPECT_EQ(probe.Dump(kDriverKey), ExpectedDriverKey());

    const Lines instances = {Instance(0), Instance(1), Instance(2),
                             Instance(3), Instance(4), Instance(14)};
    if (IsNT()) {
        EXPECT_EQ(probe.SubKeys(kSerialParameters), instances);
        EXPECT_EQ(probe.Dump(kSerialParameters + "\\" + Instance(0)),
                  (Lines{"[]", "DosDevices=\"COM7\"", "ForceFifoEnable=dword:00000001",
                         "Indexed=dword:00000000", "Interrupt=dword:00000004",
                         "InterruptStatus=dword:00000000", "PortAddress=dword:000002a0",
                         "PortIndex=dword:00000001"}));
        EXPECT_EQ(probe.Dump(kSerialParameters + "\\" + Instance(4)),
                  (Lines{"[]", "DosDevices=\"COM8\"", "ForceFifoEnable=dword:00000001",
                         "Indexed=dword:00000000", "Interrupt=dword:0000000a",
                         "InterruptStatus=dword:000002d0", "PortAddress=dword:00000318",
                         "PortIndex=dword:00000004"}));
        EXPECT_EQ(probe.Dump(kSerialKey + "\\Parameters\\" + Instance(14)).size(), 8u);
        EXPECT_EQ(probe.ValueNames(kSerialKey),
                  (Lines{"Type", "ErrorControl", "ForceFifoEnable", "Group", "Rxfifo", "Start",
                         "Tag", "Txfifo"}));
        EXPECT_FALSE(probe.Exists("Enum"));
        EXPECT_FALSE(probe.Exists(kClassPorts));
    } else {
        EXPECT_EQ(probe.SubKeys(kClassPorts), instances);
        EXPECT_EQ(probe.SubKeys(kEnumRootPorts), instances);
        for (const std::string& instance : instances) {
            SCOPED_TRACE(instance);
            EXPECT_EQ(probe.ValueNames(kClassPorts + "\\" + instance).size(), 12u);
            EXPECT_EQ(probe.Text(kEnumRootPorts + "\\" + instance, "Driver"), "Ports\\" + instance);
            EXPECT_EQ(probe.SubKeys(kEnumRootPorts + "\\" + instance), Lines{"LogConfig"});
        }
        EXPECT_EQ(probe.Text(kEnumRootPorts + "\\" + Instance(2), "PORTNAME"), "COM6");
        EXPECT_FALSE(probe.Exists(kSerialParameters));
    }

    SServiceState state;
    ASSERT_EQ(m_session.ServiceManager().QueryServiceState("Serial", state), ERROR_SUCCESS);
    EXPECT_TRUE(state.running);
    EXPECT_EQ(m_session.ServiceCalls().Calls().size(), IsNT() ? 10u : 0u);
}

TEST_P(SessionTest, NewAndSaveAfterTheSessionLeaveOnlyTheSystemValues) {
    RunSession();
    m_session.Messages().Clear();

    ASSERT_TRUE(m_session.Open(GetParam()));
    m_session.AnswerYes();
    Doc().OnFileNew();
    Doc().OnAddBoard();
    m_session.AnswerYes();
    Doc().OnDelete();
    Doc().OnFileSave();

    EXPECT_EQ(m_session.Probe().Dump(kDriverKey),
              (Lines{"[]", "SystemNumBoards=\"0\"", "SystemNumPorts=\"0\"",
                     "SystemDriverName=\"Brimholde QSER 32bit Utility Ver. 1.10\""}));
    for (const std::string& parent : {kSerialParameters, kClassPorts, kEnumRootPorts}) {
        EXPECT_TRUE(m_session.Probe().SubKeys(parent).empty()) << parent;
    }
    EXPECT_EQ(m_session.TreeText(), "QSERDRV");
}

QSER_ON_BOTH_FAMILIES(SessionTest);
