#include "documentfixture.h"
#include "processscope.h"
#include "regfileimporter.h"
#include "regfilereach.h"
#include "regfilereader.h"
#include "registrysnapshot.h"
#include "undohistory.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {
using Step = std::function<void(CDocumentFixture&)>;

struct SUndoRow {
    const char* name;
    Step setUp;  // not recorded
    Step action; // recorded as one step
};

// An import that makes a board, deletes another and reaches outside the driver key, where the
// keys it makes have no parent yet.
const char kImport[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Board005]"
    "\r\n\"BoardType\"=\"RX-201\"\r\n\r\n"
    "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\"
    "Board000]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Tool]\r\n\"Kept\"=dword:00000001"
    "\r\n\r\n";

void Import(CDocumentFixture& session) {
    CRegFileReader reader("x.reg");
    const std::string text(kImport);
    ASSERT_TRUE(
        reader.Read(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
    CUndoHistory::Run(
        "Import",
        [&] {
            CRegFileImporter importer(session.Hive());
            ASSERT_TRUE(importer.Apply("x.reg", reader.Operations()));
            // As the window does after an import.
            session.Doc().ReloadConfiguration(EReloadCause::UnwrittenAction);
        },
        CRegFileReach::Roots(session.Hive(), reader.Operations()));
}

void RunCommand(CDocumentFixture& session, const char* name, void (CQSERDoc::*command)()) {
    CUndoHistory::Run(name, [&session, command] { (session.Doc().*command)(); });
}

void AddBoardWithPorts(CDocumentFixture& session) {
    session.AddBoard("RX-404");
    session.Doc().OnAddPort();
}

const std::vector<SUndoRow> kRows = {
    {"AddBoard", [](CDocumentFixture&) {},
     [](CDocumentFixture& s) { RunCommand(s, "Add Board", &CQSERDoc::OnAddBoard); }},
    {"AddPort", [](CDocumentFixture& s) { s.AddBoard("RX-404"); },
     [](CDocumentFixture& s) { RunCommand(s, "Add Port", &CQSERDoc::OnAddPort); }},
    {"DeletePort", AddBoardWithPorts,
     [](CDocumentFixture& s) {
         s.Click("QSERDRV/Board000/Port002");
         s.AnswerYes();
         RunCommand(s, "Delete", &CQSERDoc::OnDelete);
     }},
    {"DeleteBoardWithPorts", AddBoardWithPorts,
     [](CDocumentFixture& s) {
         s.Click("QSERDRV/Board000");
         s.AnswerYes();
         RunCommand(s, "Delete", &CQSERDoc::OnDelete);
     }},
    {"New", AddBoardWithPorts,
     [](CDocumentFixture& s) {
         s.AnswerYes();
         RunCommand(s, "New", &CQSERDoc::OnFileNew);
     }},
    {"PickOfTheModel", [](CDocumentFixture& s) { s.AddBoard("RX-404"); },
     [](CDocumentFixture& s) { CUndoHistory::Run("Board Type", [&s] { s.AddBoard("RX-408"); }); }},
    {"Import", AddBoardWithPorts, Import},
};

class UndoTest : public DocumentTestOf<std::tuple<EPlatformFamily, SUndoRow>> {
protected:
    const SUndoRow& Row() const { return std::get<1>(GetParam()); }
    // Every key and value of the registry but the service manager's own.
    CRegistrySnapshot::KeyMap Registry() {
        return CRegistrySnapshot::Capture(m_session.Hive(), {{"SYSTEM", true}, {"SOFTWARE", true}})
            .Keys();
    }

    CUndoHistory m_history;
    CProcessScope m_scope{{.undoHistory = &m_history}};
};
} // namespace

TEST_P(UndoTest, UndoRestoresEveryKeyAndValueAndRedoMakesThemAgain) {
    Row().setUp(m_session);
    const CRegistrySnapshot::KeyMap before = Registry();
    const std::vector<std::string> boardsBefore = m_session.BoardNames();
    Row().action(m_session);
    const CRegistrySnapshot::KeyMap after = Registry();
    const std::vector<std::string> boardsAfter = m_session.BoardNames();
    ASSERT_NE(before, after);
    ASSERT_TRUE(m_history.CanUndo());
    m_session.Doc().m_bConfigChanged = 0;

    ASSERT_TRUE(m_history.Undo());
    EXPECT_EQ(Registry(), before);
    // The records are the registry's again, and closing must register them.
    EXPECT_EQ(m_session.BoardNames(), boardsBefore);
    EXPECT_EQ(m_session.Doc().m_bConfigChanged, 1);
    EXPECT_FALSE(m_history.CanUndo());

    ASSERT_TRUE(m_history.Redo());
    EXPECT_EQ(Registry(), after);
    EXPECT_EQ(m_session.BoardNames(), boardsAfter);
    EXPECT_TRUE(m_history.CanUndo());
    EXPECT_FALSE(m_history.CanRedo());
}

QSER_ON_BOTH_FAMILIES_FOR_ROWS(UndoTest, kRows);

namespace {
class UndoHistoryTest : public DocumentTest {
protected:
    CUndoHistory m_history;
    CProcessScope m_scope{{.undoHistory = &m_history}};
};
} // namespace

TEST_P(UndoHistoryTest, ANewStepDropsRedoAndUnchangedActionsAreNotRecorded) {
    RunCommand(m_session, "Add Board", &CQSERDoc::OnAddBoard);
    RunCommand(m_session, "", &CQSERDoc::OnFileSave); // Save is not taken back
    m_session.AnswerNo();
    RunCommand(m_session, "New", &CQSERDoc::OnFileNew); // answered No: nothing changed
    EXPECT_EQ(m_history.UndoName(), "Add Board");
    ASSERT_TRUE(m_history.Undo());
    EXPECT_EQ(m_history.RedoName(), "Add Board");
    RunCommand(m_session, "Add Board", &CQSERDoc::OnAddBoard);
    EXPECT_FALSE(m_history.CanRedo());
    EXPECT_EQ(m_history.Size(), 1u);
}

TEST_P(UndoHistoryTest, AnUndoThatCannotBeWrittenChangesNothingAndKeepsItsStep) {
    RunCommand(m_session, "Add Board", &CQSERDoc::OnAddBoard);
    const CRegistrySnapshot::KeyMap added =
        CRegistrySnapshot::Capture(m_session.Hive(), {{"SYSTEM", true}}).Keys();
    m_session.Hive().InjectFault(ERegOp::DeleteKey, kDriverKey + "\\Board000", "", 5);
    EXPECT_FALSE(m_history.Undo());
    EXPECT_EQ(CRegistrySnapshot::Capture(m_session.Hive(), {{"SYSTEM", true}}).Keys(), added);
    EXPECT_EQ(m_session.BoardNames(), std::vector<std::string>{"Board000"});
    EXPECT_EQ(m_history.UndoName(), "Add Board");
    EXPECT_EQ(m_session.Messages().Texts().back(), "Unable to write to registry");
}

QSER_ON_BOTH_FAMILIES(UndoHistoryTest);
