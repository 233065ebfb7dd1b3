#include "hive.h"
#include "hivebatch.h"
#include "hiveservicemanager.h"
#include "registry.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testservices.h"

#include <gtest/gtest.h>
#include <string>

namespace {
const std::string kServices = kServicesKey + "\\";

class HiveServiceManagerTest : public ::testing::Test {
protected:
    void Uninstall(const std::string& name) {
        CRegistry key;
        ASSERT_EQ(key.DeleteKeyTree(kServices + name), ERROR_SUCCESS);
    }
    SC_HANDLE OpenService(const std::string& name) {
        m_manager = m_scm.OpenSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        return m_scm.OpenService(m_manager, name, SERVICE_ALL_ACCESS);
    }
    // Stop then start through fresh handles, as the serial service procedures do; returns the
    // two failure codes (ERROR_SUCCESS for an accepted request).
    Win32Status Stop(const std::string& name) {
        SC_HANDLE service = OpenService(name);
        SServiceStatus status;
        Win32Status result = m_scm.ControlService(service, SERVICE_CONTROL_STOP, status) != 0
                                 ? ERROR_SUCCESS
                                 : m_scm.GetLastError();
        m_scm.CloseServiceHandle(service);
        m_scm.CloseServiceHandle(m_manager);
        return result;
    }
    Win32Status Start(const std::string& name) {
        SC_HANDLE service = OpenService(name);
        Win32Status result =
            m_scm.StartService(service, 0, nullptr) != 0 ? ERROR_SUCCESS : m_scm.GetLastError();
        m_scm.CloseServiceHandle(service);
        m_scm.CloseServiceHandle(m_manager);
        return result;
    }
    SServiceState State(const std::string& name) {
        SServiceState state;
        EXPECT_EQ(m_scm.QueryServiceState(name, state), ERROR_SUCCESS);
        return state;
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CHiveServiceManager m_scm{m_hive.Hive()};
    SC_HANDLE m_manager = 0;
};
} // namespace

TEST_F(HiveServiceManagerTest, NewlyInstalledServiceIsStoppedWithBothFlagsClear) {
    InstallService(m_probe, "Serial");
    EXPECT_EQ(State("Serial"), (SServiceState{true, false, false, false}));
    EXPECT_EQ(State("SERIAL").installed, true);
}

TEST_F(HiveServiceManagerTest, ServiceIsInstalledOnlyWithADwordTypeValue) {
    CRegistry key;
    ASSERT_EQ(key.OpenKey(kServices + "TextType", "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteValue("Type", std::string("1")), ERROR_SUCCESS);
    ASSERT_EQ(key.OpenKey(kServices + "NoType", "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
    InstallService(m_probe, "Serial\\Parameters");
    for (const char* name : {"TextType", "NoType", "Missing", "", "Serial\\Parameters"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(m_scm.OpenService(m_scm.OpenSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS),
                                    name, SERVICE_ALL_ACCESS),
                  0u);
        EXPECT_EQ(m_scm.GetLastError(), ERROR_SERVICE_DOES_NOT_EXIST);
        EXPECT_FALSE(State(name).installed);
        EXPECT_EQ(m_scm.SetRefuseStop(name, true), ERROR_SERVICE_DOES_NOT_EXIST);
    }
}

TEST_F(HiveServiceManagerTest, StopAndStartFollowTheRunningState) {
    InstallService(m_probe, "Serial");
    EXPECT_EQ(Stop("Serial"), ERROR_SERVICE_NOT_ACTIVE);
    EXPECT_EQ(Start("Serial"), ERROR_SUCCESS);
    EXPECT_TRUE(State("Serial").running);
    EXPECT_EQ(Start("Serial"), ERROR_SERVICE_ALREADY_RUNNING);
    EXPECT_EQ(Stop("Serial"), ERROR_SUCCESS);
    EXPECT_FALSE(State("Serial").running);
    EXPECT_EQ(Stop("Serial"), ERROR_SERVICE_NOT_ACTIVE);
}

TEST_F(HiveServiceManagerTest, RefusingServiceKeepsRunning) {
    InstallService(m_probe, "Serial");
    ASSERT_EQ(Start("Serial"), ERROR_SUCCESS);
    ASSERT_EQ(m_scm.SetRefuseStop("Serial", true), ERROR_SUCCESS);
    EXPECT_EQ(Stop("Serial"), ERROR_INVALID_SERVICE_CONTROL);
    EXPECT_EQ(Start("Serial"), ERROR_SERVICE_ALREADY_RUNNING);
    EXPECT_EQ(State("Serial"), (SServiceState{true, true, true, false}));
    ASSERT_EQ(m_scm.SetRefuseStop("Serial", false), ERROR_SUCCESS);
    EXPECT_EQ(Stop("Serial"), ERROR_SUCCESS);
}

TEST_F(HiveServiceManagerTest, StoppedRefusingServiceReportsNotActive) {
    InstallService(m_probe, "Serial");
    ASSERT_EQ(m_scm.SetRefuseStop("Serial", true), ERROR_SUCCESS);
    EXPECT_EQ(Stop("Serial"), ERROR_SERVICE_NOT_ACTIVE);
}

TEST_F(HiveServiceManagerTest, ServiceMarkedForDeletionCannotStartButCanStop) {
    InstallService(m_probe, "Serial");
    ASSERT_EQ(Start("Serial"), ERROR_SUCCESS);
    ASSERT_EQ(m_scm.SetMarkedForDeletion("Serial", true), ERROR_SUCCESS);
    EXPECT_EQ(Start("Serial"), ERROR_SERVICE_MARKED_FOR_DELETE);
    EXPECT_EQ(Stop("Serial"), ERROR_SUCCESS);
    EXPECT_EQ(Start("Serial"), ERROR_SERVICE_MARKED_FOR_DELETE);
    EXPECT_EQ(State("Serial"), (SServiceState{true, false, false, true}));
    ASSERT_EQ(m_scm.SetMarkedForDeletion("Serial", false), ERROR_SUCCESS);
    EXPECT_EQ(Start("Serial"), ERROR_SUCCESS);
}

TEST_F(HiveServiceManagerTest, StateIsSharedWithAnotherConnectionToTheSameFile) {
    InstallService(m_probe, "Serial");
    ASSERT_EQ(Start("Serial"), ERROR_SUCCESS);
    ASSERT_EQ(m_scm.SetRefuseStop("Serial", true), ERROR_SUCCESS);
    std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath(), EHiveOpen::MustExist);
    CHiveServiceManager otherScm(*other);
    SServiceState state;
    ASSERT_EQ(otherScm.QueryServiceState("serial", state), ERROR_SUCCESS);
    EXPECT_EQ(state, (SServiceState{true, true, true, false}));
    ASSERT_EQ(otherScm.SetRefuseStop("Serial", false), ERROR_SUCCESS);
    EXPECT_EQ(Stop("Serial"), ERROR_SUCCESS);
    ASSERT_EQ(otherScm.QueryServiceState("Serial", state), ERROR_SUCCESS);
    EXPECT_FALSE(state.running);
}

TEST_F(HiveServiceManagerTest, ReinstalledServiceStartsStopped) {
    InstallService(m_probe, "Serial");
    ASSERT_EQ(Start("Serial"), ERROR_SUCCESS);
    ASSERT_EQ(m_scm.SetMarkedForDeletion("Serial", true), ERROR_SUCCESS);
    Uninstall("Serial");
    EXPECT_EQ(State("Serial"), SServiceState{});
    InstallService(m_probe, "Serial");
    EXPECT_EQ(State("Serial"), (SServiceState{true, false, false, false}));
}

TEST_F(HiveServiceManagerTest, ServiceUninstalledWhileOpenRejectsRequests) {
    InstallService(m_probe, "Serial");
    SC_HANDLE service = OpenService("Serial");
    ASSERT_NE(service, 0u);
    Uninstall("Serial");
    SServiceStatus status;
    EXPECT_EQ(m_scm.StartService(service, 0, nullptr), 0);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_SERVICE_DOES_NOT_EXIST);
    EXPECT_EQ(m_scm.ControlService(service, SERVICE_CONTROL_STOP, status), 0);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_SERVICE_DOES_NOT_EXIST);
    EXPECT_EQ(m_scm.CloseServiceHandle(service), 1);
}

TEST_F(HiveServiceManagerTest, ControlReportsTypeAndStateAfterTheRequest) {
    InstallService(m_probe, "Serial", 0x10);
    ASSERT_EQ(Start("Serial"), ERROR_SUCCESS);
    SC_HANDLE service = OpenService("Serial");
    SServiceStatus status;
    ASSERT_NE(m_scm.ControlService(service, SERVICE_CONTROL_STOP, status), 0);
    EXPECT_EQ(status.serviceType, 0x10u);
    EXPECT_EQ(status.currentState, CHiveServiceManager::kServiceStopped);
    EXPECT_EQ(m_scm.ControlService(service, 4, status), 0);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(HiveServiceManagerTest, HandlesAreCheckedForKindAndLife) {
    InstallService(m_probe, "Serial");
    SC_HANDLE service = OpenService("Serial");
    ASSERT_NE(service, 0u);
    ASSERT_NE(service, m_manager);
    SServiceStatus status;
    // A manager handle is no service handle, and a service handle no manager handle.
    EXPECT_EQ(m_scm.StartService(m_manager, 0, nullptr), 0);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_scm.OpenService(service, "Serial", SERVICE_ALL_ACCESS), 0u);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_scm.OpenService(0, "Serial", SERVICE_ALL_ACCESS), 0u);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_scm.CloseServiceHandle(service), 1);
    EXPECT_EQ(m_scm.CloseServiceHandle(service), 0);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_scm.ControlService(service, SERVICE_CONTROL_STOP, status), 0);
    EXPECT_EQ(m_scm.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_scm.CloseServiceHandle(12345), 0);
    EXPECT_EQ(m_scm.CloseServiceHandle(m_manager), 1);
    EXPECT_FALSE(State("Serial").running);
}

TEST_F(HiveServiceManagerTest, ChangesInsideABatchRollBackWithIt) {
    InstallService(m_probe, "Serial");
    {
        CHiveBatch batch(&m_hive.Hive());
        ASSERT_EQ(Start("Serial"), ERROR_SUCCESS);
        EXPECT_TRUE(State("Serial").running);
    }
    EXPECT_FALSE(State("Serial").running);
}
