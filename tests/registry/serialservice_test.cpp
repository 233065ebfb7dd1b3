#include "hiveprobe.h"
#include "hiveservicemanager.h"
#include "recordingservicemanager.h"
#include "serialservice.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testservices.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
class SerialServiceTest : public ::testing::Test {
protected:
    int Stop() { return CSerialService::StopSerialService(&m_calls); }
    int Start() { return CSerialService::StartSerialService(&m_calls); }
    SServiceState State() {
        SServiceState state;
        EXPECT_EQ(m_scm.QueryServiceState("Serial", state), ERROR_SUCCESS);
        return state;
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CHiveServiceManager m_scm{m_hive.Hive()};
    CRecordingServiceManager m_calls{m_scm};
};
} // namespace

TEST_F(SerialServiceTest, MissingServiceGivesZeroAndClosesTheManager) {
    EXPECT_EQ(Stop(), 0);
    EXPECT_EQ(Start(), 0);

    EXPECT_EQ(m_calls.Calls(), (std::vector<std::string>{
                                   "OpenSCManager -> ok", "OpenService 1 Serial -> 1060",
                                   "CloseServiceHandle 1 -> ok", "OpenSCManager -> ok",
                                   "OpenService 2 Serial -> 1060", "CloseServiceHandle 2 -> ok"}));
    EXPECT_EQ(m_calls.OpenHandles(), 0u);
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(SerialServiceTest, StopAndStartOfARunningServiceAreAccepted) {
    InstallService(m_probe, "Serial");
    ASSERT_NE(Start(), 0);
    m_calls.Clear();

    EXPECT_NE(Stop(), 0);
    EXPECT_FALSE(State().running);
    EXPECT_NE(Start(), 0);
    EXPECT_TRUE(State().running);

    EXPECT_EQ(m_calls.Calls(),
              (std::vector<std::string>{
                  "OpenSCManager -> ok", "OpenService 3 Serial -> ok", "ControlService 4 1 -> ok",
                  "CloseServiceHandle 4 -> ok", "CloseServiceHandle 3 -> ok", "OpenSCManager -> ok",
                  "OpenService 5 Serial -> ok", "StartService 6 0 -> ok",
                  "CloseServiceHandle 6 -> ok", "CloseServiceHandle 5 -> ok"}));
    EXPECT_EQ(m_calls.OpenHandles(), 0u);
}

TEST_F(SerialServiceTest, StopOfAStoppedServiceGivesZero) {
    InstallService(m_probe, "Serial");

    EXPECT_EQ(Stop(), 0);
    EXPECT_EQ(m_calls.OpenHandles(), 0u);
}

TEST_F(SerialServiceTest, RefusedStopGivesOneAndTheStartAfterItFindsItRunning) {
    InstallService(m_probe, "Serial");
    ASSERT_NE(Start(), 0);
    ASSERT_EQ(m_scm.SetRefuseStop("Serial", true), ERROR_SUCCESS);
    m_calls.Clear();

    EXPECT_EQ(Stop(), 1);
    EXPECT_EQ(Start(), 1);

    EXPECT_TRUE(State().running);
    EXPECT_EQ(m_calls.Calls()[2], "ControlService 4 1 -> 1052");
    EXPECT_EQ(m_calls.Calls()[7], "StartService 6 0 -> 1056");
}

TEST_F(SerialServiceTest, StartOfAServiceMarkedForDeletionGivesOne) {
    InstallService(m_probe, "Serial");
    ASSERT_EQ(m_scm.SetMarkedForDeletion("Serial", true), ERROR_SUCCESS);

    EXPECT_EQ(Start(), 1);

    EXPECT_FALSE(State().running);
    EXPECT_EQ(m_calls.Calls()[2], "StartService 2 0 -> 1072");
}

TEST_F(SerialServiceTest, WithoutAServiceControlManagerNothingHappens) {
    EXPECT_EQ(CSerialService::StopSerialService(nullptr), 0);
    EXPECT_EQ(CSerialService::StartSerialService(nullptr), 0);
}
