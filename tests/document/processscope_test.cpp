#include "appcontext.h"
#include "hive.h"
#include "messageservice.h"
#include "platformservices.h"
#include "processscope.h"
#include "recordingmessagebox.h"
#include "temphive.h"

#include <gtest/gtest.h>

namespace {
// Stand-ins whose addresses are all a scope looks at.
IServiceControlManager* const kManager = reinterpret_cast<IServiceControlManager*>(0x10);
IHelpRequest* const kHelp = reinterpret_cast<IHelpRequest*>(0x20);
CQSERDoc* const kDocument = reinterpret_cast<CQSERDoc*>(0x30);
CTreeNodeManagerBase* const kTreeNodeManager = reinterpret_cast<CTreeNodeManagerBase*>(0x40);
ITreeControl* const kTree = reinterpret_cast<ITreeControl*>(0x50);

class ProcessScopeTest : public ::testing::Test {
protected:
    CTempHive m_hive; // installs the hive and its message box
};
} // namespace

TEST_F(ProcessScopeTest, InstallsEveryGivenReferenceAndGivesBackWhatWasThere) {
    CRecordingMessageBox box;
    {
        CProcessScope scope({.hive = static_cast<CHive*>(nullptr),
                             .messageBox = &box,
                             .serviceControlManager = kManager,
                             .helpRequest = kHelp,
                             .platformFamily = EPlatformFamily::Windows9x,
                             .activeDocument = kDocument,
                             .treeNodeManager = kTreeNodeManager,
                             .treeControl = kTree});
        EXPECT_EQ(CHive::Current(), nullptr);
        EXPECT_EQ(CMessageService::Installed(), &box);
        EXPECT_EQ(CPlatformServices::ServiceControlManager(), kManager);
        EXPECT_EQ(CPlatformServices::HelpRequest(), kHelp);
        EXPECT_EQ(CPlatformFamily::Get(), EPlatformFamily::Windows9x);
        EXPECT_EQ(CAppContext::ActiveDocument(), kDocument);
        EXPECT_EQ(CAppContext::TreeNodeManager(), kTreeNodeManager);
        EXPECT_EQ(CAppContext::TreeControl(), kTree);
    }
    EXPECT_EQ(CHive::Current(), &m_hive.Hive());
    EXPECT_EQ(CMessageService::Installed(), &m_hive.Messages());
    EXPECT_EQ(CPlatformServices::ServiceControlManager(), nullptr);
    EXPECT_EQ(CPlatformServices::HelpRequest(), nullptr);
    EXPECT_EQ(CPlatformFamily::Get(), EPlatformFamily::WindowsNT);
    EXPECT_EQ(CAppContext::ActiveDocument(), nullptr);
    EXPECT_EQ(CAppContext::TreeNodeManager(), nullptr);
    EXPECT_EQ(CAppContext::TreeControl(), nullptr);
}

TEST_F(ProcessScopeTest, ReferencesNotGivenAreLeftAsTheyAre) {
    CProcessScope outer({.helpRequest = kHelp, .platformFamily = EPlatformFamily::Windows9x});
    {
        CProcessScope inner({.serviceControlManager = kManager});
        EXPECT_EQ(CPlatformServices::HelpRequest(), kHelp);
        EXPECT_EQ(CPlatformFamily::Get(), EPlatformFamily::Windows9x);
        EXPECT_EQ(CHive::Current(), &m_hive.Hive());
    }
    EXPECT_EQ(CPlatformServices::ServiceControlManager(), nullptr);
    EXPECT_EQ(CPlatformServices::HelpRequest(), kHelp); // the inner scope did not touch it
}

TEST_F(ProcessScopeTest, NestedScopesOfOneReferenceUnwindInTurn) {
    CRecordingMessageBox first;
    CRecordingMessageBox second;
    {
        CProcessScope outer({.messageBox = &first});
        {
            CProcessScope inner({.messageBox = &second});
            CMessageService::Error("to the second");
        }
        CMessageService::Error("to the first");
    }
    CMessageService::Error("to the hive's");
    EXPECT_EQ(second.Texts(), std::vector<std::string>{"to the second"});
    EXPECT_EQ(first.Texts(), std::vector<std::string>{"to the first"});
    EXPECT_EQ(m_hive.Messages().Texts(), std::vector<std::string>{"to the hive's"});
}
