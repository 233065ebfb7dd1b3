#include "boardobj.h"
#include "documentfixture.h"
#include "hiveprobe.h"
#include "sqliteconnection.h"
#include "sqlitestore.h"
#include "useraction.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
const char* const kChangedDuring =
    "Another program changed the registry file during this action; nothing was changed.";

// What another program does to the file, through a connection of its own.
struct SOtherChange {
    const char* name;
    const char* selected; // the item clicked before
    void (*change)(CHiveProbe& other);
    const char* selectedAfter;
    const char* message; // "" for none
};

void AddBoardKey(CHiveProbe& other) {
    other.SetText(BoardKey("Board003"), "BoardType", "RX-201");
}
void DeletePort000(CHiveProbe& other) {
    other.DeleteTree(PortKey("Board000", "Port000"));
}
void DeleteBoard000(CHiveProbe& other) {
    other.DeleteTree(BoardKey("Board000"));
}

const SOtherChange kChanges[] = {
    {"PortStaysWhenAnotherBoardArrives", "QSERDRV/Board000/Port000", AddBoardKey,
     "QSERDRV/Board000/Port000", ""},
    {"BoardStaysWhenAnotherBoardArrives", "QSERDRV/Board000", AddBoardKey, "QSERDRV/Board000", ""},
    {"DriverStaysWhenAnotherBoardArrives", "QSERDRV", AddBoardKey, "QSERDRV", ""},
    {"GonePortFallsBackToItsBoard", "QSERDRV/Board000/Port000", DeletePort000, "QSERDRV/Board000",
     "Board000\\Port000 no longer exists in the registry; nothing was changed."},
    {"GoneBoardFallsBackToTheDriver", "QSERDRV/Board000", DeleteBoard000, "QSERDRV",
     "Board000 no longer exists in the registry; nothing was changed."},
    {"PortOfAGoneBoardFallsBackToTheDriver", "QSERDRV/Board000/Port000", DeleteBoard000, "QSERDRV",
     "Board000\\Port000 no longer exists in the registry; nothing was changed."},
};

class ReloadTest : public ::testing::TestWithParam<SOtherChange> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_session.Open());
        m_session.AddBoard("RX-201");
        m_session.Doc().OnAddPort();
        m_session.AddBoard("RX-201");
        m_session.Messages().Clear();
    }
    CDocumentFixture m_session;
};
} // namespace

TEST_P(ReloadTest, ActionAfterAnotherProgramsChangeLoadsAgainAndDoesNotRun) {
    const SOtherChange& test = GetParam();
    m_session.Click(test.selected);
    std::unique_ptr<CHive> other = CHive::Open(m_session.Hive().Path());
    CHiveProbe otherProbe(*other);
    test.change(otherProbe);

    bool ran = false;
    EXPECT_FALSE(CUserAction::Run([&ran] { ran = true; }));

    EXPECT_FALSE(ran);
    EXPECT_EQ(m_session.SelectedPath(), test.selectedAfter);
    std::vector<std::string> expected;
    if (*test.message != '\0') {
        expected.push_back(test.message);
    }
    EXPECT_EQ(m_session.Messages().Texts(), expected);
    EXPECT_EQ(m_session.Doc().m_bConfigChanged, 1); // kept from the window's own adds
    EXPECT_EQ(m_session.BoardNames(), m_session.Probe().SubKeys(kDriverKey));
    EXPECT_EQ(m_session.Doc().GetNumBoards(),
              std::to_string(m_session.Probe().SubKeys(kDriverKey).size()));

    // Loaded again, the document is in step: the next action runs.
    EXPECT_TRUE(CUserAction::Run([&ran] { ran = true; }));
    EXPECT_TRUE(ran);
}

INSTANTIATE_TEST_SUITE_P(Changes, ReloadTest, ::testing::ValuesIn(kChanges),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ReloadRaceTest, ChangeBetweenTheLookAndTheFirstWriteUndoesTheAction) {
    CDocumentFixture session;
    ASSERT_TRUE(session.Open());
    std::unique_ptr<CHive> other = CHive::Open(session.Hive().Path());
    CHiveProbe otherProbe(*other);

    EXPECT_FALSE(CUserAction::Run([&] {
        // The look has been made and the batch holds no lock yet, as while a question is open.
        otherProbe.SetText(BoardKey("Board000"), "BoardType", "RX-404");
        session.Doc().OnAddBoard();
    }));

    EXPECT_EQ(session.Probe().SubKeys(kDriverKey), std::vector<std::string>{"Board000"});
    EXPECT_EQ(session.Probe().Text(BoardKey("Board000"), "BoardType"), "RX-404");
    EXPECT_EQ(session.BoardNames(), std::vector<std::string>{"Board000"});
    EXPECT_EQ(session.TreeText(), "QSERDRV[Board000]");
    EXPECT_EQ(session.Doc().m_bConfigChanged, 0);
    EXPECT_EQ(session.Messages().Texts(), std::vector<std::string>{kChangedDuring});
}

TEST(SaveCountsTest, SaveWritesTheCountsTheDriverKeyHolds) {
    CDocumentFixture session;
    ASSERT_TRUE(session.Open());
    session.AddBoard("RX-201");
    session.Doc().OnAddPort();
    // Keys the counters never heard of: a board with two ports, and keys that are not boards or
    // ports at all.
    session.Probe().CreateKey(PortKey("Board004", "Port000"));
    session.Probe().CreateKey(PortKey("Board004", "Port001"));
    session.Probe().CreateKey(PortKey("Board004", "Notes"));
    session.Probe().CreateKey(BoardKey("Backup"));

    ASSERT_EQ(session.Doc().SaveConfiguration(), 1);

    EXPECT_EQ(session.Probe().Text(kDriverKey, "SystemNumBoards"), "2");
    EXPECT_EQ(session.Probe().Text(kDriverKey, "SystemNumPorts"), "3");
    EXPECT_EQ(session.Doc().GetNumBoards(), "2");
}

TEST(FullDiskSaveTest, SaveThatCannotBeWrittenSaysSoAndNotThatItSaved) {
    CDocumentFixture session;
    ASSERT_TRUE(session.Open());
    // Enough ports that their registration cannot fit in the pages the file already has.
    CUserAction::Run([&session] {
        for (int i = 0; i < 4; ++i) {
            session.AddBoard("RX-408");
            session.Doc().OnAddPort();
        }
    });
    CSqliteConnection& connection = *CSqliteStore::ConnectionOf(session.Hive());
    connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));
    session.Messages().Clear();

    EXPECT_FALSE(CUserAction::Run([&session] { session.Doc().OnFileSave(); }));

    const std::vector<std::string> texts = session.Messages().Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Configuration's been saved to registry!"), 0);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Unable to write to registry");
    EXPECT_FALSE(session.Probe().HasValue(kDriverKey, "SystemNumBoards"));
}

// Records the store never took would let the next action write ports under a board key that
// does not exist, and bring the board back without its values.
TEST(FullDiskSaveTest, ActionThatCannotBeWrittenLeavesTheRecordsAsTheFileHoldsThem) {
    CDocumentFixture session;
    ASSERT_TRUE(session.Open());
    CUserAction::Run([&session] { session.AddBoard("RX-201"); });
    session.Click("QSERDRV/Board000");
    session.Doc().m_bConfigChanged = 0;
    CSqliteConnection& connection = *CSqliteStore::ConnectionOf(session.Hive());
    connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));

    EXPECT_FALSE(CUserAction::Run([&session] {
        for (int i = 0; i < 4; ++i) {
            session.Doc().OnAddBoard();
            session.Doc().m_pCurBoard->SetBoardType("RX-408");
            session.Doc().OnAddPort();
        }
    }));

    EXPECT_EQ(session.BoardNames(), std::vector<std::string>{"Board000"});
    EXPECT_EQ(session.TreeText(), "QSERDRV[Board000]");
    EXPECT_EQ(session.Doc().GetNumPorts(), "0");
    EXPECT_EQ(session.SelectedPath(), "QSERDRV"); // the last port added went with its board
    EXPECT_EQ(session.Doc().m_bConfigChanged, 0);
}
