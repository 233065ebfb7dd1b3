#include "commandids.h"
#include "expectedmessages.h"
#include "platformfamily.h"
#include "testnames.h"
#include "uifixture.h"

#include <QAction>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

namespace {
enum class ERoute { CloseButton, FileExit, ExitButton, CtrlQ };

struct SCloseCase {
    const char* name;
    ERoute route;
    EPlatformFamily family;
    bool edited;
    std::vector<MessageRecord> messages;
    bool serviceRestarted;
};

class CCloseSequenceTest : public CUiFixture, public ::testing::WithParamInterface<SCloseCase> {
protected:
    void Close(ERoute route) {
        switch (route) {
        case ERoute::CloseButton:
            Frame().close();
            break;
        case ERoute::FileExit:
            Action(ID_APP_EXIT)->trigger();
            break;
        case ERoute::ExitButton:
            ClickButton(ID_EXIT_BUTTON);
            break;
        case ERoute::CtrlQ:
            QTest::keyClick(&Frame(), Qt::Key_Q, Qt::ControlModifier);
            break;
        }
    }
};
} // namespace

TEST_P(CCloseSequenceTest, ShowsItsMessagesInOrderAndRestartsTheService) {
    const SCloseCase& test = GetParam();
    Start(test.family);
    if (test.edited) {
        ClickButton(ID_ADD_BOARD);
    }
    m_hive.Messages().Clear();
    Close(test.route);

    EXPECT_FALSE(Frame().isVisible());
    std::vector<MessageRecord> records = m_hive.Messages().Records();
    if (test.edited) {
        // The save's own report follows the notice; its wording belongs to the document.
        ASSERT_GE(records.size(), 2u);
        records.erase(records.begin() + 1);
    }
    EXPECT_EQ(records, test.messages);
    EXPECT_EQ(SerialServiceRunning(), test.serviceRestarted);
}

INSTANTIATE_TEST_SUITE_P(Routes, CCloseSequenceTest,
                         ::testing::Values(SCloseCase{"NtCloseButtonUnchanged",
                                                      ERoute::CloseButton,
                                                      EPlatformFamily::WindowsNT,
                                                      false,
                                                      {},
                                                      true},
                                           SCloseCase{"NtFileExitUnchanged",
                                                      ERoute::FileExit,
                                                      EPlatformFamily::WindowsNT,
                                                      false,
                                                      {},
                                                      true},
                                           SCloseCase{"NtExitButtonUnchanged",
                                                      ERoute::ExitButton,
                                                      EPlatformFamily::WindowsNT,
                                                      false,
                                                      {},
                                                      true},
                                           SCloseCase{"NtCtrlQEdited",
                                                      ERoute::CtrlQ,
                                                      EPlatformFamily::WindowsNT,
                                                      true,
                                                      {kSetConfigurationNotice},
                                                      true},
                                           SCloseCase{"NtCloseButtonEdited",
                                                      ERoute::CloseButton,
                                                      EPlatformFamily::WindowsNT,
                                                      true,
                                                      {kSetConfigurationNotice},
                                                      true},
                                           SCloseCase{"NtExitButtonEdited",
                                                      ERoute::ExitButton,
                                                      EPlatformFamily::WindowsNT,
                                                      true,
                                                      {kSetConfigurationNotice},
                                                      true},
                                           SCloseCase{"W9xCloseButtonUnchanged",
                                                      ERoute::CloseButton,
                                                      EPlatformFamily::Windows9x,
                                                      false,
                                                      {kRestartNotice},
                                                      false},
                                           SCloseCase{"W9xFileExitUnchanged",
                                                      ERoute::FileExit,
                                                      EPlatformFamily::Windows9x,
                                                      false,
                                                      {kRestartNotice},
                                                      false},
                                           SCloseCase{"W9xExitButtonEdited",
                                                      ERoute::ExitButton,
                                                      EPlatformFamily::Windows9x,
                                                      true,
                                                      {kSetConfigurationNotice, kRestartNotice},
                                                      false}),
                         SRowName());

TEST_F(CUiFixture, CloseSequenceStopsBeforeItStartsTheSerialService) {
    Start();
    SServiceState running;
    m_services.QueryServiceState("Serial", running);
    ASSERT_FALSE(running.running);
    m_recordedServices.Clear();
    Frame().close();
    std::vector<std::string> controls;
    for (const std::string& call : m_recordedServices.Calls()) {
        if (call.rfind("ControlService", 0) == 0 || call.rfind("StartService", 0) == 0) {
            controls.push_back(call.substr(0, call.find(' ')));
        }
    }
    EXPECT_EQ(controls, (std::vector<std::string>{"ControlService", "StartService"}));
    EXPECT_EQ(m_recordedServices.OpenHandles(), 0u);
}
