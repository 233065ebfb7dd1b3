#include "boardobj.h"
#include "closesequence.h"
#include "documentfixture.h"
#include "expectedmessages.h"
#include "ihelprequest.h"
#include "portobj.h"
#include "processscope.h"
#include "testservices.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Handles 1 and 2 went to starting the service in the set-up.
const std::vector<std::string> kStopThenStart = {
    "OpenSCManager -> ok",        "OpenService 3 Serial -> ok", "ControlService 4 1 -> ok",
    "CloseServiceHandle 4 -> ok", "CloseServiceHandle 3 -> ok", "OpenSCManager -> ok",
    "OpenService 5 Serial -> ok", "StartService 6 0 -> ok",     "CloseServiceHandle 6 -> ok",
    "CloseServiceHandle 5 -> ok"};

class CRecordingHelp : public IHelpRequest {
public:
    void WinHelp(unsigned data, unsigned command) override {
        m_requests.push_back({data, command});
    }
    std::vector<std::pair<unsigned, unsigned>> m_requests;
};

class SaveTest : public DocumentTest {
protected:
    CQSERDoc& Doc() { return m_session.Doc(); }
    CHiveProbe& Probe() { return m_session.Probe(); }
    std::vector<MessageRecord> Records() { return m_session.Messages().Records(); }
    void ClearRecords() { m_session.Messages().Clear(); }

    // A board of an individually addressed model with one port whose values are set as the port
    // form sets them: in the record and in its key.
    CPortObj* AddPort(const std::string& com, const std::string& address, const std::string& irq) {
        std::string board = m_session.AddBoard("RX-201");
        Doc().OnAddPort();
        CPortObj* port = Doc().m_pCurPort;
        const std::string key = PortKey(board, port->GetPortName());
        port->SetPortCOMPort(com);
        port->SetPortAddress(address);
        port->SetPortIRQ(irq);
        Probe().SetText(key, "PortCOMPort", com);
        Probe().SetText(key, "PortAddress", address);
        Probe().SetText(key, "PortIRQ", irq);
        return port;
    }
    // The key a port's registration lives under.
    std::string RegisteredKey(const CPortObj& port) {
        return (IsNT() ? kSerialParameters : kEnumRootPorts) + "\\" + port.GetPortSerialPort();
    }
    void InjectPlatformKeyFault() {
        m_session.Hive().InjectFault(ERegOp::OpenKey, IsNT() ? kSerialKey : kClassPorts, "",
                                     ERROR_ACCESS_DENIED);
    }
};
} // namespace

TEST_P(SaveTest, SaveWithoutAChangeDoesNothing) {
    Doc().OnFileSave();

    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(Probe().HasValue(kDriverKey, "SystemNumBoards"));
}

TEST_P(SaveTest, SaveAfterAChangeRegistersThePortsAndConfirmsOnce) {
    CPortObj* port = AddPort("COM4", "0x2f8", "3");

    Doc().OnFileSave();

    EXPECT_EQ(Records(), std::vector<MessageRecord>{kSavedNotice});
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(Probe().Text(kDriverKey, "SystemDriverName"),
              "Brimholde QSER 32bit Utility Ver. 1.10");
    EXPECT_EQ(Probe().Text(kDriverKey, "SystemNumBoards"), "1");
    EXPECT_EQ(Probe().Text(kDriverKey, "SystemNumPorts"), "1");
    if (IsNT()) {
        EXPECT_EQ(Probe().Dword(RegisteredKey(*port), "PortAddress"), 0x2F8u);
    } else {
        EXPECT_EQ(Probe().Text(RegisteredKey(*port), "PORTNAME"), "COM4");
        EXPECT_EQ(Probe().ValueNames(RegisteredKey(*port) + "\\LogConfig").size(), 9u);
    }

    ClearRecords();
    Doc().OnFileSave();
    EXPECT_TRUE(Records().empty());
}

TEST_P(SaveTest, SpecimenPortIsRegisteredWithItsInstance) {
    // Instances taken before: the port gets Serial004 on Windows NT and 0007 on Windows 95/98.
    for (const char* taken : {"Serial002", "Serial003"}) {
        Probe().CreateKey(kSerialParameters + "\\" + taken);
    }
    for (int i = 0; i < 7; ++i) {
        Probe().CreateKey(kClassPorts + "\\000" + std::to_string(i));
    }
    CPortObj* port = AddPort("COM5", "0x2e8", "5");
    CBoardObj* board = Doc().m_pCurBoard;
    board->SetVectorAddress("0x2d0");
    Probe().SetText(BoardKey(board->GetBoardName()), "BoardVectorAddress", "0x2d0");

    Doc().OnFileSave();

    const std::string key = RegisteredKey(*port);
    if (IsNT()) {
        EXPECT_EQ(port->GetPortSerialPort(), "Serial004");
        EXPECT_EQ(Probe().Text(key, "DosDevices"), "COM5");
        EXPECT_EQ(Probe().Dword(key, "Interrupt"), 5u);
        EXPECT_EQ(Probe().Dword(key, "InterruptStatus"), 0x2D0u);
        EXPECT_EQ(Probe().Dword(key, "PortAddress"), 0x2E8u);
        EXPECT_EQ(Probe().Dword(key, "PortIndex"), 1u);
    } else {
        EXPECT_EQ(port->GetPortSerialPort(), "0007");
        EXPECT_EQ(Probe().Text(key, "Driver"), "Ports\\0007");
        EXPECT_EQ(Probe().Text(key, "DeviceDesc"), " (COM5) ");
        EXPECT_EQ(Probe().Text(key, "FRIENDLYNAME"), " (COM5) ");
        EXPECT_EQ(Probe().Text(key, "PORTNAME"), "COM5");
        std::vector<std::uint8_t> forced = Probe().Binary(key, "ForcedConfig");
        ASSERT_EQ(forced.size(), 60u);
        EXPECT_EQ(std::vector<std::uint8_t>(forced.begin() + 20, forced.begin() + 24),
                  (std::vector<std::uint8_t>{0xE8, 0x02, 0xEF, 0x02}));
        EXPECT_EQ(std::vector<std::uint8_t>(forced.begin() + 32, forced.begin() + 36),
                  (std::vector<std::uint8_t>{0xE8, 0x02, 0xE8, 0x02}));
        EXPECT_EQ(forced[50], 5);
    }
}

TEST_P(SaveTest, SaveAfterAFailedRegistrationKeepsTheChangePending) {
    AddPort("COM4", "0x2f8", "3");
    InjectPlatformKeyFault();

    Doc().OnFileSave();

    EXPECT_EQ(Records(), std::vector<MessageRecord>{kOpenRegistryFailed});
    EXPECT_EQ(Doc().m_bConfigChanged, 1);

    ClearRecords();
    Doc().OnFileSave();
    EXPECT_EQ(Records(), std::vector<MessageRecord>{kSavedNotice});
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
}

TEST_P(SaveTest, RemovingARegisteredPortRemovesItsRegistration) {
    CPortObj* port = AddPort("COM4", "0x2f8", "3");
    Doc().OnFileSave();
    const std::string registered = RegisteredKey(*port);
    ASSERT_TRUE(Probe().Exists(registered));
    m_session.AnswerYes();

    Doc().OnDelete();

    EXPECT_FALSE(Probe().Exists(registered));
    EXPECT_TRUE(Probe().SubKeys(IsNT() ? kSerialParameters : kEnumRootPorts).empty());
    EXPECT_TRUE(Probe().SubKeys(kClassPorts).empty());
    if (IsNT()) {
        EXPECT_EQ(Probe().Dword(kSerialKey, "Start"), 2u);
    }
    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kSavedNotice, kAskDeletePort}));
}

TEST_P(SaveTest, CloseWithoutEditsRestartsTheServiceOrAsksForARestart) {
    InstallRunningSerialService(Probe(), m_session.ServiceManager());

    CCloseSequence::Run(&Doc());

    if (IsNT()) {
        EXPECT_TRUE(Records().empty());
        EXPECT_EQ(m_session.ServiceCalls().Calls(), kStopThenStart);
    } else {
        EXPECT_EQ(Records(), std::vector<MessageRecord>{kRestartNotice});
        EXPECT_TRUE(m_session.ServiceCalls().Calls().empty());
    }
    SServiceState state;
    ASSERT_EQ(m_session.ServiceManager().QueryServiceState("Serial", state), ERROR_SUCCESS);
    EXPECT_TRUE(state.running);
}

TEST_P(SaveTest, CloseAfterAnEditSavesFirst) {
    InstallRunningSerialService(Probe(), m_session.ServiceManager());
    AddPort("COM4", "0x2f8", "3");

    CCloseSequence::Run(&Doc());

    std::vector<MessageRecord> expected = {kSetConfigurationNotice, kSavedNotice};
    if (!IsNT()) {
        expected.push_back(kRestartNotice);
    }
    EXPECT_EQ(Records(), expected);
    EXPECT_EQ(Doc().m_bConfigChanged, 0);
    EXPECT_EQ(m_session.ServiceCalls().Calls(),
              IsNT() ? kStopThenStart : std::vector<std::string>{});
}

TEST_P(SaveTest, CloseAfterAFailedSaveStillRestartsTheService) {
    InstallRunningSerialService(Probe(), m_session.ServiceManager());
    AddPort("COM4", "0x2f8", "3");
    InjectPlatformKeyFault();

    CCloseSequence::Run(&Doc());

    std::vector<MessageRecord> expected = {kSetConfigurationNotice, kOpenRegistryFailed};
    if (!IsNT()) {
        expected.push_back(kRestartNotice);
    }
    EXPECT_EQ(Records(), expected);
    EXPECT_EQ(m_session.ServiceCalls().Calls().size(), IsNT() ? 10u : 0u);
}

TEST_P(SaveTest, CloseWithoutTheSerialServiceShowsNothingMore) {
    CCloseSequence::Run(&Doc());

    if (IsNT()) {
        EXPECT_TRUE(Records().empty());
        EXPECT_EQ(m_session.ServiceCalls().Calls().size(), 6u);
        EXPECT_EQ(m_session.ServiceCalls().OpenHandles(), 0u);
    } else {
        EXPECT_EQ(Records(), std::vector<MessageRecord>{kRestartNotice});
    }
}

TEST_P(SaveTest, HelpTopicsOpensTheContentsPage) {
    Doc().OnHelpTopics(); // without a help viewer nothing happens
    CRecordingHelp help;
    {
        CProcessScope helpScope({.helpRequest = &help});
        Doc().OnHelpTopics();
    }
    EXPECT_EQ(help.m_requests, (std::vector<std::pair<unsigned, unsigned>>{{0, 3}}));
}

QSER_ON_BOTH_FAMILIES(SaveTest);
