#include "appcontext.h"
#include "boardobj.h"
#include "documentfixture.h"
#include "portobj.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {
// A loaded configuration: two individually addressed boards with ports stored out of order.
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* board : {"Board001", "Board000"}) {
            m_session.Probe().SetText(BoardKey(board), "BoardType", "RX-209");
        }
        for (const char* port : {"Port002", "Port000"}) {
            m_session.Probe().SetText(PortKey("Board000", port), "PortCOMPort", "COM3");
            m_session.Probe().SetText(PortKey("Board001", port), "PortCOMPort", "COM4");
        }
        ASSERT_TRUE(m_session.Open());
    }

    CQSERDoc& Doc() { return m_session.Doc(); }
    CHeadlessTree& Tree() { return m_session.Tree(); }
    HTREEITEM Item(const std::string& path) { return m_session.Item(path); }

    CDocumentFixture m_session;
};
} // namespace

TEST_F(TreeTest, PopulateTreeInsertsEverythingAndSelectsTheDriver) {
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port002] Board001[Port000 Port002]]");
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV");
    EXPECT_EQ(Doc().m_bTreeSynced, 1);
    EXPECT_TRUE(Tree().IsExpanded(Item("QSERDRV")));
    EXPECT_FALSE(Tree().IsExpanded(Item("QSERDRV/Board000")));
    // Items carry their records' keys, and records their items.
    CPortObj* port = m_session.Port("Board001", "Port002");
    EXPECT_EQ(Tree().GetItemData(Item("QSERDRV/Board001/Port002")), port->GetItemKey());
    EXPECT_EQ(port->m_hTreeItem, Item("QSERDRV/Board001/Port002"));
    EXPECT_EQ(Tree().GetItemImage(Item("QSERDRV/Board001")), IMG_BOARD);
    EXPECT_EQ(Tree().GetItemImage(port->m_hTreeItem), IMG_PORT);
}

TEST_F(TreeTest, SelectingAPortMakesItsBoardCurrentAndTheDriverKeepsBoth) {
    m_session.Click("QSERDRV/Board001/Port000");
    CBoardObj* board = m_session.Board("Board001");
    CPortObj* port = m_session.Port("Board001", "Port000");
    EXPECT_EQ(Doc().m_selectionKind, CQSERDoc::kSelectionPort);
    EXPECT_EQ(Doc().m_pCurBoard, board);
    EXPECT_EQ(Doc().m_pCurPort, port);

    m_session.Click("QSERDRV");

    EXPECT_EQ(Doc().m_selectionKind, CQSERDoc::kSelectionDriver);
    EXPECT_EQ(Doc().m_pCurBoard, board);
    EXPECT_EQ(Doc().m_pCurPort, port);
    EXPECT_EQ(m_session.View().Kinds(),
              (std::vector<int>{CQSERDoc::kSelectionPort, CQSERDoc::kSelectionDriver}));

    // Selecting the selected item again reports nothing.
    m_session.Click("QSERDRV");
    EXPECT_EQ(m_session.View().Updates(), 2);
}

TEST_F(TreeTest, ExpandingTheDriverRebuildsTheBoardsCollapsed) {
    m_session.Click("QSERDRV/Board000/Port002");
    Tree().EnsureVisible(Item("QSERDRV/Board001/Port000"));
    Tree().Collapse(Item("QSERDRV"));
    m_session.View().Clear();

    Tree().UserExpand(Item("QSERDRV"));

    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port002] Board001[Port000 Port002]]");
    EXPECT_FALSE(Tree().IsExpanded(Item("QSERDRV/Board000")));
    EXPECT_FALSE(Tree().IsExpanded(Item("QSERDRV/Board001")));
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV");
    EXPECT_EQ(Doc().m_selectionKind, CQSERDoc::kSelectionDriver);
    EXPECT_EQ(m_session.View().Kinds().back(), CQSERDoc::kSelectionDriver);
    EXPECT_EQ(Doc().m_bTreeSynced, 1);
    // The records point at the new items.
    EXPECT_EQ(m_session.Port("Board000", "Port002")->m_hTreeItem, Item("QSERDRV/Board000/Port002"));
}

TEST_F(TreeTest, ExpandingABoardMakesItCurrentAndRelistsItsPorts) {
    m_session.Click("QSERDRV/Board000");
    m_session.View().Clear();

    Tree().UserExpand(Item("QSERDRV/Board001"));

    EXPECT_EQ(Doc().m_selectionKind, CQSERDoc::kSelectionBoard);
    EXPECT_EQ(Doc().m_pCurBoard, m_session.Board("Board001"));
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV/Board001");
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port002] Board001[Port000 Port002]]");
    EXPECT_EQ(m_session.Port("Board001", "Port000")->m_hTreeItem, Item("QSERDRV/Board001/Port000"));
    EXPECT_EQ(Doc().m_bTreeSynced, 1);
}

TEST_F(TreeTest, ExpandingAfterAnEditingCommandRebuildsNothing) {
    Doc().OnAddBoard();
    ASSERT_EQ(Doc().m_bTreeSynced, 0);
    Tree().Collapse(Item("QSERDRV"));
    HTREEITEM board = Item("QSERDRV/Board000");

    Tree().UserExpand(Item("QSERDRV"));

    EXPECT_EQ(Item("QSERDRV/Board000"), board);
    EXPECT_EQ(m_session.SelectedPath(), "QSERDRV/Board002");
}

TEST_F(TreeTest, DoubleClickOnAnEmptyDriverItemRefillsTheTree) {
    for (HTREEITEM board : Tree().Children(Item("QSERDRV"))) {
        Tree().DeleteItem(board);
    }
    ASSERT_EQ(m_session.TreeText(), "QSERDRV");

    Tree().UserDoubleClick();

    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port002] Board001[Port000 Port002]]");
}

TEST_F(TreeTest, DoubleClickElsewhereDoesNothing) {
    const std::string before = m_session.TreeText();
    HTREEITEM board = Item("QSERDRV/Board000");

    Tree().UserDoubleClick(); // the driver item has children
    EXPECT_EQ(m_session.TreeText(), before);
    EXPECT_EQ(Item("QSERDRV/Board000"), board);

    m_session.Click("QSERDRV/Board001/Port000");
    for (HTREEITEM port : Tree().Children(Item("QSERDRV/Board000"))) {
        Tree().DeleteItem(port);
    }
    m_session.Click("QSERDRV/Board000");
    Tree().UserDoubleClick(); // a board without port items

    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000 Board001[Port000 Port002]]");
}

namespace {
struct SInsertModeCase {
    const char* name;
    int mode;
    const char* text;
    const char* tree;
};

// Shown in the test's listing instead of the row's bytes.
void PrintTo(const SInsertModeCase& row, std::ostream* out) {
    *out << row.name;
}

class TreeInsertModeTest : public TreeTest,
                           public ::testing::WithParamInterface<SInsertModeCase> {};

const SInsertModeCase kInsertModeCases[] = {
    {"FirstPutsItBeforeEverySibling", CQSERDoc::kInsertFirst, "Zed",
     "QSERDRV[Zed Board000[Port000 Port002] Board001[Port000 Port002]]"},
    {"LastPutsItAfterEverySibling", CQSERDoc::kInsertLast, "Abc",
     "QSERDRV[Board000[Port000 Port002] Board001[Port000 Port002] Abc]"},
    {"SortedPutsItInTextOrder", CQSERDoc::kInsertSorted, "Board0005",
     "QSERDRV[Board000[Port000 Port002] Board0005 Board001[Port000 Port002]]"},
    {"AnyOtherModePutsItLast", 7, "Abc",
     "QSERDRV[Board000[Port000 Port002] Board001[Port000 Port002] Abc]"},
};
} // namespace

TEST_P(TreeInsertModeTest, NewBoardItemGoesWhereTheDocumentsModeSays) {
    Doc().m_treeInsertMode = GetParam().mode;
    Doc().m_pCurBoard = m_session.Board("Board001");
    CAppContext::TreeNodeManager()->InsertBoardItem(GetParam().text, 0);
    EXPECT_EQ(m_session.TreeText(), GetParam().tree);
}

INSTANTIATE_TEST_SUITE_P(Modes, TreeInsertModeTest, ::testing::ValuesIn(kInsertModeCases),
                         [](const ::testing::TestParamInfo<SInsertModeCase>& row) {
                             return std::string(row.param.name);
                         });
