#include "qserctlrunner.h"
#include "uifixture.h"
#include "windowscript.h"

#include <sstream>
#include <string>
#include <vector>

namespace {
const std::string kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV";

// The scripted person of the process harness, on the window, while qserctl (its own process)
// changes the same file between the window's steps.
class CWindowScriptTest : public CUiFixture {
protected:
    void Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", m_hive.FilePath(), "--yes"});
        const SQserCtlRun run = m_ctl.Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream text(m_report.str());
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    CQserCtlRunner m_ctl{m_hive.Folder()};
    std::ostringstream m_report;
};
} // namespace

TEST_F(CWindowScriptTest, APickThatMeetsAReloadIsRepeatedUntilTheWindowTakesIt) {
    Ctl({"add-board", "BoardType=RX-404"});
    Ctl({"add-port", "Board000"});
    Start();
    CWindowScript script(Frame(), m_hive.Messages(), m_report, [] { return false; });
    // Another program's change since the window loaded: the first pick loads the file again
    // instead of writing.
    Ctl({"set", "Board000/Port002", "PortIRQ=5"});

    EXPECT_TRUE(script.PickPortIrq("Board000/Port001", "9"));

    EXPECT_EQ(Lines(), (std::vector<std::string>{"again pick Board000/Port001 PortIRQ=9",
                                                 "action pick Board000/Port001 PortIRQ=9"}));
    EXPECT_EQ(RegistryText(kDriverKey + "\\Board000\\Port001", "PortIRQ"), "9");
    EXPECT_EQ(RegistryText(kDriverKey + "\\Board000\\Port002", "PortIRQ"), "5");
}

TEST_F(CWindowScriptTest, TheBoardCycleLeavesTheRegistryAsItFoundIt) {
    Ctl({"add-board", "BoardType=RX-404"});
    m_hive.Messages().SetDefaultAnswer(EMsgResult::Yes);
    Start();
    CWindowScript script(Frame(), m_hive.Messages(), m_report, [] { return false; });

    script.BoardCycle("10");

    const std::vector<std::string> lines = Lines();
    std::vector<std::string> steps;
    for (const std::string& line : lines) {
        if (line.rfind("message ", 0) != 0) {
            steps.push_back(line);
        }
    }
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "action add-board", "action pick Board001 BoardType=RX-202",
                         "action add-port Board001", "action add-port Board001",
                         "action pick Board001/Port000 PortIRQ=10", "action save",
                         "action delete Board001/Port001", "action delete Board001"}));
    EXPECT_FALSE(KeyExists(kDriverKey + "\\Board001"));
    EXPECT_TRUE(KeyExists(kDriverKey + "\\Board000"));
}

TEST_F(CWindowScriptTest, AStepOnAnItemThatIsNotThereFailsAndSaysWhy) {
    Start();
    CWindowScript script(Frame(), m_hive.Messages(), m_report, [] { return false; });

    EXPECT_FALSE(script.PickPortIrq("Board007/Port000", "5"));

    EXPECT_EQ(Lines(), std::vector<std::string>{"failed pick Board007/Port000 PortIRQ=5: there is "
                                                "no item QSERDRV/Board007/Port000"});
}
