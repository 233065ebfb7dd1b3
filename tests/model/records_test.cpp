#include "boardobj.h"
#include "platformfamily.h"
#include "portobj.h"
#include "processscope.h"
#include "temphive.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class RecordsTest : public testing::TestWithParam<EPlatformFamily> {
protected:
    CProcessScope m_family{{.platformFamily = GetParam()}};

    CTempHive m_hive;
};

TEST_P(RecordsTest, NewBoardDefaults) {
    const CBoardObj board;
    EXPECT_EQ(board.GetBoardName(), "Board000");
    EXPECT_EQ(board.GetBoardType(), "RX-401");
    EXPECT_EQ(board.GetShareIRQEnabled(), 0);
    EXPECT_EQ(board.GetShareIRQ(), "NONE");
    EXPECT_EQ(board.GetBaseAddress(), "0x200");
    EXPECT_EQ(board.GetVectorAddress(), "NONE");
    EXPECT_EQ(board.GetBaseCOMPort(), "COM3");
    EXPECT_EQ(board.GetStandardModeEnabled(), 0);
    EXPECT_EQ(board.m_hTreeItem, nullptr);
    EXPECT_TRUE(board.m_PortList.empty());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_P(RecordsTest, GeneratedPortDefaults) {
    const CPortObj port("Board000", 1);
    EXPECT_EQ(port.GetPortName(), "Port000");
    EXPECT_EQ(port.GetPortIRQ(), "7");
    EXPECT_EQ(port.GetPortAddress(), "0x200");
    EXPECT_EQ(port.GetPortCOMPort(), "COM3");
    EXPECT_EQ(port.GetPortIndex(), "1");
    EXPECT_EQ(port.GetPortSerialPort(), IsWindows9x() ? "0000" : "Serial002");
    EXPECT_EQ(port.m_hTreeItem, nullptr);
}

TEST_P(RecordsTest, PortWithoutGenerationHasNoNameOrInstance) {
    for (const CPortObj& port : {CPortObj("Board000", 0), CPortObj("", 1)}) {
        EXPECT_EQ(port.GetPortName(), "");
        EXPECT_EQ(port.GetPortSerialPort(), "");
        EXPECT_EQ(port.GetPortIRQ(), "7");
        EXPECT_EQ(port.GetPortAddress(), "0x200");
        EXPECT_EQ(port.GetPortCOMPort(), "COM3");
        EXPECT_EQ(port.GetPortIndex(), "1");
    }
}

QSER_ON_BOTH_FAMILIES(RecordsTest);

TEST(PortObj, DefaultConstructorLeavesEveryTextEmpty) {
    const CPortObj port;
    EXPECT_EQ(port.GetItemKey(), 0U);
    for (const std::string& text :
         {port.GetPortName(), port.GetPortIRQ(), port.GetPortAddress(), port.GetPortCOMPort(),
          port.GetPortIndex(), port.GetPortSerialPort()}) {
        EXPECT_EQ(text, "");
    }
}

// Setters take any value unchecked and report 1; each field is kept apart from the others.
TEST(BoardObj, AccessorsStoreUncheckedValues) {
    CTempHive hive;
    CBoardObj board;
    const ItemKey key = reinterpret_cast<ItemKey>(&board);
    EXPECT_EQ(board.SetItemKey(key), 1);
    EXPECT_EQ(board.SetBoardName("n"), 1);
    EXPECT_EQ(board.SetBoardType("t"), 1);
    EXPECT_EQ(board.SetShareIRQEnabled(7), 1);
    EXPECT_EQ(board.SetShareIRQ("q"), 1);
    EXPECT_EQ(board.SetBaseAddress("a"), 1);
    EXPECT_EQ(board.SetVectorAddress("v"), 1);
    EXPECT_EQ(board.SetBaseCOMPort("c"), 1);
    EXPECT_EQ(board.SetStandardModeEnabled(-1), 1);
    EXPECT_EQ(board.GetItemKey(), key);
    EXPECT_EQ(board.GetBoardName(), "n");
    EXPECT_EQ(board.GetBoardType(), "t");
    EXPECT_EQ(board.GetShareIRQEnabled(), 7);
    EXPECT_EQ(board.GetShareIRQ(), "q");
    EXPECT_EQ(board.GetBaseAddress(), "a");
    EXPECT_EQ(board.GetVectorAddress(), "v");
    EXPECT_EQ(board.GetBaseCOMPort(), "c");
    EXPECT_EQ(board.GetStandardModeEnabled(), -1);
}

TEST(PortObj, AccessorsStoreUncheckedValues) {
    CPortObj port;
    EXPECT_EQ(port.SetItemKey(42), 1);
    EXPECT_EQ(port.SetPortName("n"), 1);
    EXPECT_EQ(port.SetPortIRQ("q"), 1);
    EXPECT_EQ(port.SetPortAddress("a"), 1);
    EXPECT_EQ(port.SetPortCOMPort("c"), 1);
    EXPECT_EQ(port.SetPortIndex("i"), 1);
    EXPECT_EQ(port.SetPortSerialPort("s"), 1);
    EXPECT_EQ(port.GetItemKey(), 42U);
    EXPECT_EQ(port.GetPortName(), "n");
    EXPECT_EQ(port.GetPortIRQ(), "q");
    EXPECT_EQ(port.GetPortAddress(), "a");
    EXPECT_EQ(port.GetPortCOMPort(), "c");
    EXPECT_EQ(port.GetPortIndex(), "i");
    EXPECT_EQ(port.GetPortSerialPort(), "s");
}

TEST(Records, RuntimeClassNames) {
    CTempHive hive;
    const CBoardObj board;
    const CPortObj port;
    const CObject* objects[] = {&board, &port};
    EXPECT_TRUE(objects[0]->IsKindOf("CBoardObj"));
    EXPECT_FALSE(objects[0]->IsKindOf("CPortObj"));
    EXPECT_TRUE(objects[1]->IsKindOf("CPortObj"));
    EXPECT_FALSE(objects[1]->IsKindOf("CBoardObj"));
    EXPECT_TRUE(objects[1]->IsKindOf("CObject"));
    EXPECT_STREQ(objects[0]->GetRuntimeClassName(), "CBoardObj");
    EXPECT_STREQ(objects[1]->GetRuntimeClassName(), "CPortObj");
}

// The port list does not own its ports: destroying the board leaves them alive (a sanitizer
// build reports a stack port deleted by the board).
TEST(BoardObj, DestructorLeavesPortsAlone) {
    CTempHive hive;
    CPortObj port;
    {
        CBoardObj board;
        board.m_PortList.push_back(&port);
    }
    EXPECT_EQ(port.SetPortName("still here"), 1);
}

} // namespace
