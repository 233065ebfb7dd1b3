#include "boardobj.h"
#include "documentfixture.h"
#include "expectedmessages.h"
#include "portobj.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class LoadTest : public ::testing::Test {
protected:
    CQSERDoc& Doc() { return m_session.Doc(); }
    CHiveProbe& Probe() { return m_session.Probe(); }
    std::vector<MessageRecord> Records() { return m_session.Messages().Records(); }

    void WriteBoard(const std::string& board, const std::string& model) {
        Probe().SetText(BoardKey(board), "BoardName", board);
        Probe().SetText(BoardKey(board), "BoardType", model);
    }
    void WritePort(const std::string& board, const std::string& port, const std::string& com) {
        Probe().SetText(PortKey(board, port), "PortName", port);
        Probe().SetText(PortKey(board, port), "PortCOMPort", com);
    }

    CDocumentFixture m_session;
};
} // namespace

TEST_F(LoadTest, MissingDriverKeyIsCreatedAndTheDocumentStartsEmpty) {
    ASSERT_TRUE(m_session.Open());

    EXPECT_TRUE(Probe().Exists(kDriverKey));
    EXPECT_TRUE(Doc().m_boardList.empty());
    EXPECT_EQ(Doc().GetNumBoards(), "0");
    EXPECT_EQ(Doc().GetNumPorts(), "0");
    EXPECT_EQ(Doc().GetSystemName(), "Brimholde QSER 32bit Utility Ver. 1.10");
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Doc().m_bTreeSynced, 1);
    EXPECT_EQ(m_session.TreeText(), "QSERDRV");
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV");
    EXPECT_TRUE(Records().empty());
}

TEST_F(LoadTest, KeysWithoutValuesTakeTheDefaultsAndKeepTheirKeyNames) {
    Probe().CreateKey(PortKey("Board004", "Port007"));

    ASSERT_TRUE(m_session.Open());

    CBoardObj* board = m_session.Board("Board004");
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GetBoardType(), "RX-401");
    EXPECT_EQ(board->GetBaseAddress(), "190");
    EXPECT_EQ(board->GetShareIRQEnabled(), 0);
    EXPECT_EQ(board->GetBaseCOMPort(), "COM3");
    EXPECT_EQ(board->GetShareIRQ(), "7");
    EXPECT_EQ(board->GetVectorAddress(), "2d0");
    EXPECT_EQ(board->GetStandardModeEnabled(), 0);
    CPortObj* port = m_session.Port("Board004", "Port007");
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->GetPortCOMPort(), "COM3");
    EXPECT_EQ(port->GetPortIRQ(), "7");
    EXPECT_EQ(port->GetPortAddress(), "190");
    EXPECT_EQ(port->GetPortIndex(), "1");
    // No instance is made up for a port whose key names none.
    EXPECT_EQ(port->GetPortSerialPort(), "");
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board004[Port007]]");
    EXPECT_TRUE(Records().empty());
}

TEST_F(LoadTest, NameValuesThatDifferFromTheKeyNameAreIgnored) {
    Probe().SetText(BoardKey("Board001"), "BoardName", "Board009");
    Probe().SetText(BoardKey("Board002"), "BoardName", "Board001\\Port000");
    Probe().SetText(BoardKey("Board003"), "BoardName", "");
    Probe().SetText(PortKey("Board001", "Port002"), "PortName", "Port000");
    Probe().SetText(PortKey("Board001", "Port003"), "PortName", "..\\Port000");

    ASSERT_TRUE(m_session.Open());

    EXPECT_EQ(m_session.BoardNames(),
              (std::vector<std::string>{"Board001", "Board002", "Board003"}));
    EXPECT_EQ(m_session.PortNames("Board001"), (std::vector<std::string>{"Port002", "Port003"}));

    // Edits and removals reach the keys the records came from.
    m_session.Click("QSERDRV/Board001/Port003");
    m_session.AnswerYes();
    Doc().OnDelete();
    EXPECT_EQ(Probe().SubKeys(BoardKey("Board001")), std::vector<std::string>{});
    EXPECT_EQ(Probe().SubKeys(kDriverKey),
              (std::vector<std::string>{"Board001", "Board002", "Board003"}));
}

TEST_F(LoadTest, ForeignSubKeysAreNeitherLoadedNorCounted) {
    WriteBoard("Board000", "RX-401");
    WritePort("Board000", "Port000", "COM3");
    Probe().CreateKey(PortKey("Board000", "Settings"));
    Probe().CreateKey(BoardKey("Enum"));
    Probe().CreateKey(BoardKey("board001")); // "Bo" is compared case-sensitively
    Probe().SetText(kDriverKey, "SystemNumBoards", "7");
    Probe().SetText(kDriverKey, "SystemNumPorts", "12");

    ASSERT_TRUE(m_session.Open());

    EXPECT_EQ(m_session.BoardNames(), std::vector<std::string>{"Board000"});
    EXPECT_EQ(m_session.PortNames("Board000"), std::vector<std::string>{"Port000"});
    EXPECT_EQ(Doc().GetNumBoards(), "1");
    EXPECT_EQ(Doc().GetNumPorts(), "1");
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000]]");
}

TEST_F(LoadTest, CountsAsLargeAsIntCanHoldAreCountedAgain) {
    WriteBoard("Board000", "RX-401");
    WritePort("Board000", "Port000", "COM3");
    Probe().SetText(kDriverKey, "SystemNumBoards", "2147483647");
    Probe().SetText(kDriverKey, "SystemNumPorts", "99999999999");

    ASSERT_TRUE(m_session.Open());

    EXPECT_EQ(Doc().GetNumBoards(), "1");
    EXPECT_EQ(Doc().GetNumPorts(), "1");
}

TEST_F(LoadTest, OverlongSubKeyNamesDoNotHideTheKeysAfterThem) {
    // Both sort before the real keys and do not fit the 80-character name buffer.
    const std::string longBoard = "Ba" + std::string(90, 'a');
    const std::string longPort = "Pa" + std::string(90, 'a');
    Probe().CreateKey(BoardKey(longBoard));
    Probe().CreateKey(PortKey("Board000", longPort));
    WritePort("Board000", "Port000", "COM4");
    WritePort("Board000", "Port001", "COM5");
    WriteBoard("Board001", "RX-202");

    ASSERT_TRUE(m_session.Open());

    EXPECT_EQ(m_session.BoardNames(), (std::vector<std::string>{"Board000", "Board001"}));
    EXPECT_EQ(m_session.PortNames("Board000"), (std::vector<std::string>{"Port000", "Port001"}));
    EXPECT_EQ(Doc().GetNumBoards(), "2");
    EXPECT_EQ(Doc().GetNumPorts(), "2");
    EXPECT_TRUE(Records().empty());
}

TEST_F(LoadTest, UnreadableBoardKeyFailsTheLoadAfterTheBoardsBeforeIt) {
    WriteBoard("Board000", "RX-401");
    WriteBoard("Board001", "RX-202");
    WriteBoard("Board002", "RX-209");
    m_session.Hive().InjectFault(ERegOp::OpenKey, BoardKey("Board001"), "", ERROR_ACCESS_DENIED,
                                 false);

    EXPECT_FALSE(m_session.Open());

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kOpenRegistryFailed, kQueryRegistryFailed}));
    EXPECT_EQ(m_session.BoardNames().front(), "Board000");
    EXPECT_EQ(Doc().m_boardList.size(), 2u);
}

TEST_F(LoadTest, PortKeyThatCannotBeOpenedIsReportedOnceAndTheLoadGoesOn) {
    WriteBoard("Board000", "RX-209");
    WritePort("Board000", "Port000", "COM4");
    WritePort("Board000", "Port001", "COM5");
    WritePort("Board000", "Port002", "COM6");
    WriteBoard("Board001", "RX-201");
    WritePort("Board001", "Port000", "COM8");
    m_session.Hive().InjectFault(ERegOp::OpenKey, PortKey("Board000", "Port001"), "",
                                 ERROR_ACCESS_DENIED, false);

    ASSERT_TRUE(m_session.Open());

    EXPECT_EQ(Records(), std::vector<MessageRecord>{kQueryRegistryFailed});
    EXPECT_EQ(m_session.PortNames("Board000"),
              (std::vector<std::string>{"Port000", "Port001", "Port002"}));
    EXPECT_EQ(m_session.Port("Board000", "Port001")->GetPortCOMPort(), "COM3");
    EXPECT_EQ(m_session.Port("Board000", "Port002")->GetPortCOMPort(), "COM6");
    EXPECT_EQ(m_session.Port("Board001", "Port000")->GetPortCOMPort(), "COM8");
    EXPECT_EQ(Doc().GetNumPorts(), "4");
}

TEST_F(LoadTest, DriverKeyThatCannotBeOpenedFailsTheLoad) {
    m_session.Hive().InjectFault(ERegOp::OpenKey, kDriverKey, "", ERROR_ACCESS_DENIED);

    EXPECT_FALSE(m_session.Open());

    EXPECT_EQ(Records(), std::vector<MessageRecord>{kOpenRegistryFailed});
    EXPECT_EQ(Doc().GetSystemName(), "Brimholde QSER Serials 32 bits Driver Ver. 1.10");
}

TEST_F(LoadTest, ValuesThatCannotBeReadTakeTheirDefaultsSilently) {
    WriteBoard("Board000", "RX-402");
    Probe().SetText(BoardKey("Board000"), "BoardShareIRQEnabled", "1");
    Probe().SetDword(BoardKey("Board000"), "BoardBaseCOMPort", 5);
    Probe().SetText(BoardKey("Board000"), "BoardShareIRQ", std::string(128, '9'));
    Probe().SetText(BoardKey("Board000"), "BoardVectorAddress", std::string(127, '9'));
    Probe().SetDword(BoardKey("Board000"), "BoardStandardModeEnabled", 1);
    WritePort("Board000", "Port000", "COM9");
    m_session.Hive().InjectFault(ERegOp::ReadValue, BoardKey("Board000"), "BoardType",
                                 ERROR_ACCESS_DENIED);

    ASSERT_TRUE(m_session.Open());

    CBoardObj* board = m_session.Board("Board000");
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->GetBoardType(), "RX-401");
    EXPECT_EQ(board->GetShareIRQEnabled(), 0);
    EXPECT_EQ(board->GetBaseCOMPort(), "COM3");
    // Texts are read into 128 characters, the terminating zero included.
    EXPECT_EQ(board->GetShareIRQ(), "7");
    EXPECT_EQ(board->GetVectorAddress(), std::string(127, '9'));
    EXPECT_EQ(board->GetStandardModeEnabled(), 1);
    EXPECT_EQ(m_session.Port("Board000", "Port000")->GetPortCOMPort(), "COM9");
    EXPECT_TRUE(Records().empty());
}

TEST_F(LoadTest, BoardsAndPortsFollowTheRegistryOrderAndTheTreeIsSorted) {
    for (const char* board : {"Board003", "Board000", "Board002"}) {
        WriteBoard(board, "RX-209");
    }
    for (const char* port : {"Port011", "Port002", "Port010"}) {
        WritePort("Board002", port, "COM5");
    }

    ASSERT_TRUE(m_session.Open(EPlatformFamily::Windows9x));

    EXPECT_EQ(m_session.BoardNames(),
              (std::vector<std::string>{"Board000", "Board002", "Board003"}));
    EXPECT_EQ(m_session.PortNames("Board002"),
              (std::vector<std::string>{"Port002", "Port010", "Port011"}));
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000 Board002[Port002 Port010 Port011] Board003]");
    EXPECT_EQ(Doc().GetNumBoards(), "3");
    EXPECT_EQ(Doc().GetNumPorts(), "3");
    // The tree starts collapsed below the first board, with the driver selected.
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV");
    EXPECT_EQ(Doc().m_selectionKind, CQSERDoc::kSelectionDriver);
}
