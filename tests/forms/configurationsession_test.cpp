#include "appcontext.h"
#include "configurationsession.h"
#include "headlessdialogfactory.h"
#include "headlesstree.h"
#include "messageservice.h"
#include "platformservices.h"
#include "recordingmessagebox.h"
#include "temphive.h"

#include <gtest/gtest.h>

namespace {
class ConfigurationSessionTest : public ::testing::Test {
protected:
    CTempHive m_hive;
    CHeadlessTree m_tree;
    CHeadlessDialogFactory m_dialogs;
};
} // namespace

TEST_F(ConfigurationSessionTest, InstallsItsOwnAndTheEnvironmentsReferencesForItsLifetime) {
    CRecordingMessageBox box;
    {
        CConfigurationSession session(
            {.messageBox = &box, .platformFamily = EPlatformFamily::Windows9x}, m_tree, m_dialogs);
        EXPECT_EQ(CAppContext::ActiveDocument(), &session.Doc());
        EXPECT_NE(CAppContext::TreeNodeManager(), nullptr);
        EXPECT_EQ(CAppContext::TreeControl(), &m_tree);
        EXPECT_EQ(CMessageService::Installed(), &box);
        EXPECT_EQ(CPlatformFamily::Get(), EPlatformFamily::Windows9x);
        EXPECT_EQ(CHive::Current(), &m_hive.Hive()); // not given: left as it was
    }
    EXPECT_EQ(CAppContext::ActiveDocument(), nullptr);
    EXPECT_EQ(CAppContext::TreeNodeManager(), nullptr);
    EXPECT_EQ(CAppContext::TreeControl(), nullptr);
    EXPECT_EQ(CMessageService::Installed(), &m_hive.Messages());
    EXPECT_EQ(CPlatformFamily::Get(), EPlatformFamily::WindowsNT);
}

TEST_F(ConfigurationSessionTest, StartFillsTheTreeAndAClickReachesTheDocument) {
    CConfigurationSession session({}, m_tree, m_dialogs);
    ASSERT_TRUE(session.Start());
    HTREEITEM driver = m_tree.FindItem("QSERDRV");
    ASSERT_NE(driver, nullptr);
    session.Doc().OnAddBoard();
    EXPECT_EQ(m_tree.GetItemText(m_tree.GetSelectedItem()), "Board000");
    EXPECT_EQ(session.Doc().m_selectionKind, CQSERDoc::kSelectionBoard);
    m_tree.Click(driver);
    EXPECT_EQ(session.Doc().m_selectionKind, CQSERDoc::kSelectionDriver);
}
