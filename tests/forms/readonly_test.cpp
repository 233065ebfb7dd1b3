// A registry file that cannot be written: the session reads it, and nothing in the forms or the
// commands can change it.
#include "boardform.h"
#include "boardobj.h"
#include "closesequence.h"
#include "formsfixture.h"
#include "headlesscheckbox.h"
#include "headlesscombobox.h"
#include "icmdui.h"
#include "portform.h"
#include "qserdoc.h"
#include "useraction.h"

#include <string>
#include <vector>

namespace {
class CStateCmdUI : public ICmdUI {
public:
    void Enable(bool enabled) override { m_bEnabled = enabled; }
    bool m_bEnabled = true;
};

template <typename Form> std::vector<int> ChoiceControls() {
    std::vector<int> ids;
    for (const SFormField<Form>& field : Form::Fields()) {
        if (field.combo != nullptr || field.check != nullptr) {
            ids.push_back(field.controlId);
        }
    }
    return ids;
}

class ReadOnlyFormsTest : public CFormsFixture {
protected:
    void SetUp() override {
        SBoardKey individual;
        individual.type = "RX-201";
        individual.ports = SomePorts(1);
        PutBoard(individual);
        // A model whose base values and sharing check box are offered on a writable file.
        SBoardKey shared;
        shared.name = "Board001";
        shared.ports = SomePorts(1);
        PutBoard(shared);
        if (!StartReadOnly()) {
            GTEST_SKIP() << "cannot make a read-only bind mount";
        }
        m_before = ReadOnly().Bytes();
    }

    // The enable states the window's commands take from the document.
    std::vector<bool> CommandStates() {
        std::vector<bool> states;
        for (void (CQSERDoc::*update)(ICmdUI&) const :
             {&CQSERDoc::OnUpdateAddBoard, &CQSERDoc::OnUpdateAddPort, &CQSERDoc::OnUpdateDelete,
              &CQSERDoc::OnUpdateWritingCommand}) {
            CStateCmdUI state;
            (Doc().*update)(state);
            states.push_back(state.m_bEnabled);
        }
        return states;
    }

    // A person's try at the control: its last entry, or a click.
    EPickResult TryChoice(int formId, int id) {
        if (CHeadlessComboBox* combo = Session().Dialog(formId)->HeadlessComboBox(id)) {
            return combo->Pick(combo->Entries().empty() ? "" : combo->Entries().back());
        }
        return Check(id).Click();
    }

    std::string m_before;
};
} // namespace

TEST_F(ReadOnlyFormsTest, NoControlOrCommandCanChangeAnything) {
    EXPECT_TRUE(Doc().IsReadOnly());
    EXPECT_EQ(CommandStates(), std::vector<bool>(4, false)) << "driver";
    for (const std::string path :
         {"Board000", "Board000/Port000", "Board001", "Board001/Port000"}) {
        Select(path);
        const bool port = path.find('/') != std::string::npos;
        EXPECT_TRUE(FormVisible(port ? kPortFormId : kBoardFormId)) << path;
        for (int id : port ? ChoiceControls<CPortForm>() : ChoiceControls<CBoardForm>()) {
            EXPECT_FALSE(Enabled(id)) << path << " control " << id;
            EXPECT_EQ(TryChoice(port ? kPortFormId : kBoardFormId, id), EPickResult::Disabled)
                << path << " control " << id;
        }
        EXPECT_EQ(CommandStates(), std::vector<bool>(4, false)) << path;
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(ReadOnly().Bytes(), m_before);
}

// A command that arrives anyway (its enable state stale) does nothing and shows nothing.
TEST_F(ReadOnlyFormsTest, EditingCommandsDoNothing) {
    Select("Board001/Port000");
    CQSERDoc& doc = Doc();
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    for (void (CQSERDoc::*command)() :
         {&CQSERDoc::OnAddBoard, &CQSERDoc::OnAddPort, &CQSERDoc::OnDelete, &CQSERDoc::OnFileNew,
          &CQSERDoc::OnFileSave}) {
        CUserAction::Run([&doc, command] { (doc.*command)(); });
    }
    ASSERT_EQ(doc.m_boardList.size(), 2u);
    EXPECT_EQ(Board(1).m_PortList.size(), 1u);
    EXPECT_EQ(doc.m_bConfigChanged, 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(ReadOnly().Bytes(), m_before);
}

// Even with a change pending, closing neither saves nor restarts the service, and says nothing.
TEST_F(ReadOnlyFormsTest, CloseWritesAndShowsNothing) {
    Doc().m_bConfigChanged = 1;
    CQSERDoc* doc = &Doc();
    CUserAction::Run([doc] { CCloseSequence::Run(doc); }, EAfterReload::Act);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(ReadOnly().Bytes(), m_before);
}
