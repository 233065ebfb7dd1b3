#include "clifixture.h"

namespace {
class CliServiceTest : public CCliFixture {
protected:
    void SetUp() override { InstallSerialService(); }
    std::string Status() const { return Ok({"service", "status", "Serial"}).out; }
    void ExpectFailure(std::vector<std::string> args, const std::string& err) const {
        SSnapshot before = Snapshot();
        SQserCtlRun run = Ctl(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, err);
        EXPECT_EQ(Snapshot(), before);
    }
};
} // namespace

TEST_F(CliServiceTest, StartAndStopChangeTheStateThatStatusShows) {
    EXPECT_EQ(Status(), "Serial: installed, stopped, refuse-stop=off, marked-for-deletion=off\n");
    EXPECT_EQ(Ok({"service", "start", "Serial"}).out, "");
    EXPECT_EQ(Status(), "Serial: installed, running, refuse-stop=off, marked-for-deletion=off\n");
    ExpectFailure({"service", "start", "Serial"},
                  "qserctl: cannot start Serial: the service is already running (error 1056)\n");
    Ok({"service", "stop", "Serial"});
    EXPECT_EQ(Status(), "Serial: installed, stopped, refuse-stop=off, marked-for-deletion=off\n");
    ExpectFailure({"service", "stop", "Serial"},
                  "qserctl: cannot stop Serial: the service is not running (error 1062)\n");
}

TEST_F(CliServiceTest, RestartStopsARunningServiceAndStartsAnyService) {
    const std::string running =
        "Serial: installed, running, refuse-stop=off, marked-for-deletion=off\n";
    Ok({"service", "restart", "Serial"});
    EXPECT_EQ(Status(), running);
    Ok({"service", "restart", "Serial"});
    EXPECT_EQ(Status(), running);
    Ok({"service", "set", "Serial", "refuse-stop=on"});
    ExpectFailure({"service", "restart", "Serial"},
                  "qserctl: cannot restart Serial: the service refuses to stop (error 1052)\n");
}

TEST_F(CliServiceTest, SettingsRefuseStopAndStart) {
    Ok({"service", "start", "Serial"});
    Ok({"service", "set", "Serial", "refuse-stop=on", "marked-for-deletion=on"});
    EXPECT_EQ(Status(), "Serial: installed, running, refuse-stop=on, marked-for-deletion=on\n");
    ExpectFailure({"service", "stop", "Serial"},
                  "qserctl: cannot stop Serial: the service refuses to stop (error 1052)\n");
    Ok({"service", "set", "Serial", "refuse-stop=off"});
    Ok({"service", "stop", "Serial"});
    ExpectFailure(
        {"service", "start", "Serial"},
        "qserctl: cannot start Serial: the service is marked for deletion (error 1072)\n");
    Ok({"service", "set", "Serial", "marked-for-deletion=off"});
    Ok({"service", "start", "Serial"});
}

TEST_F(CliServiceTest, ServiceThatIsNotInstalled) {
    EXPECT_EQ(Ok({"service", "status", "Nothing"}).out, "Nothing: not installed\n");
    ExpectFailure({"service", "start", "Nothing"},
                  "qserctl: cannot start Nothing: the service is not installed (error 1060)\n");
    ExpectFailure({"service", "set", "Nothing", "refuse-stop=on"},
                  "qserctl: cannot set refuse-stop of Nothing: the service is not installed "
                  "(error 1060)\n");
}

TEST_F(CliServiceTest, CloseRestartsTheSerialServiceOnWindowsNTOnly) {
    Ok({"--platform", "9x", "add-board"});
    EXPECT_EQ(Status(), "Serial: installed, stopped, refuse-stop=off, marked-for-deletion=off\n");
    Ok({"add-board"});
    EXPECT_EQ(Status(), "Serial: installed, running, refuse-stop=off, marked-for-deletion=off\n");
    // A service that refuses the stop keeps running, and the close goes through.
    Ok({"service", "set", "Serial", "refuse-stop=on"});
    SQserCtlRun run = Ok({"add-board"});
    EXPECT_EQ(run.out, "Board002\n");
    EXPECT_EQ(Status(), "Serial: installed, running, refuse-stop=on, marked-for-deletion=off\n");
}
