// Several qserctl processes on one file at once: each owns a board and sets the interrupt of
// its ports, and now and then adds a board, picks on it and deletes it again. Every run must
// succeed without a busy or locked error; at the end every port holds the value its process set
// last, the added boards are gone, and names, ports, COM assignments and the driver key's
// counts are consistent. Two more rounds run two and four qserctl processes beside the window
// (qser_windowworker: the main window, offscreen, driven by a person's clicks and picks on its
// own board's ports, with add board, board and port form picks, add port, save and delete
// cycles) for as long as they act. The window must show no busy or locked message, every step
// it took must hold, and a step it did not take must have said so: the window loads the file
// again when another program changed it, and the person repeats the step. The figures count
// the steps the window took while the others acted, after they had finished, and repeated.
//
//   qser_processtest [--count ACTIONS] [--folder DIR]
// Two and then four processes, alone and beside the window, ACTIONS (default 500) actions each;
// --short changes nothing, the whole run takes seconds.
#include "actionscript.h"
#include "forkedrun.h"
#include "harnessoptions.h"
#include "prooftally.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

extern char** environ;

namespace {
constexpr int kPortsPerBoard = 4;
constexpr const char* kOwnModel = "RX-404";
constexpr const char* kCycleModel = "RX-202";
// The window acts for as long as the qserctl processes do, and at least one round of its
// script (four picks and a board's add, pick and delete cycle), should they be quicker.
constexpr int kWindowSteps = 5;
const std::vector<std::string> kIrqs = {"3", "4", "5", "7", "9", "10", "11", "12", "15"};

struct SQserCtl {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts program with its output in folder/out and folder/err and its input from inputFd
// (or /dev/null when it is -1); -1 when it cannot be started.
pid_t Spawn(const std::string& folder, std::vector<std::string> all, int inputFd,
            char** environment) {
    const std::string out = folder + "/out";
    const std::string err = folder + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (inputFd < 0) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    } else {
        posix_spawn_file_actions_adddup2(&actions, inputFd, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (std::string& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for the program (killing it after patience) and reads what it wrote; status -1 when
// it did not exit by itself.
SQserCtl Reap(const std::string& folder, pid_t pid,
              std::chrono::seconds patience = std::chrono::seconds(600)) {
    SQserCtl run;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int status = 0;
    pid_t ended = 0;
    while (pid > 0 && (ended = waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        usleep(2000);
    }
    if (pid > 0 && ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    } else if (ended == pid) {
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.out = ReadAll(folder + "/out");
    run.err = ReadAll(folder + "/err");
    return run;
}

SQserCtl RunQserCtl(const std::string& folder, const std::vector<std::string>& args) {
    std::vector<std::string> all{QSER_QSERCTL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return Reap(folder, Spawn(folder, all, -1, environ));
}

// The window process: it acts until its input ends, which the parent holds open.
struct SWindowRun {
    pid_t pid = -1;
    int inputFd = -1;
};

SWindowRun StartWindow(const std::string& folder, const std::string& file, int worker) {
    // Its profile goes to its own folder, never the person's, and it uses no display.
    std::vector<std::string> variables{"QT_QPA_PLATFORM=offscreen", "HOME=" + folder,
                                       "XDG_CONFIG_HOME=" + folder + "/config"};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "QT_QPA_PLATFORM" && name != "HOME" && name != "XDG_CONFIG_HOME" &&
            name != "DISPLAY" && name != "WAYLAND_DISPLAY") {
            variables.push_back(entry);
        }
    }
    std::vector<char*> environment;
    for (std::string& variable : variables) {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);
    int input[2];
    SWindowRun run;
    if (pipe2(input, O_CLOEXEC) != 0) {
        return run;
    }
    std::string irqs;
    for (const std::string& irq : kIrqs) {
        irqs += (irqs.empty() ? "" : ",") + irq;
    }
    run.pid =
        Spawn(folder,
              {QSER_WINDOW_WORKER_PATH, "--registry", file, "--worker", std::to_string(worker),
               "--at-least", std::to_string(kWindowSteps), "--irqs", irqs},
              input[0], environment.data());
    close(input[0]);
    run.inputFd = input[1];
    return run;
}

bool ShowsLockTrouble(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* word : {"busy", "locked", "unable to write"}) {
        if (lower.find(word) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// One worker: its own board's ports, and an add, pick, delete cycle every fifth action.
void Work(const std::string& folder, const std::string& file, int worker, std::uint64_t actions,
          int reportFd) {
    const std::string board = "Board00" + std::to_string(worker);
    std::map<std::string, std::string> last;
    auto run = [&](const std::vector<std::string>& args) {
        std::vector<std::string> all{"--registry", file, "--yes"};
        all.insert(all.end(), args.begin(), args.end());
        SQserCtl result = RunQserCtl(folder, all);
        std::string shown = args.front() + " " + (args.size() > 1 ? args[1] : "");
        if (ShowsLockTrouble(result.err)) {
            CForkedRun::Report(reportFd, "busy " + shown + ": " + result.err);
        } else if (result.status != 0) {
            CForkedRun::Report(reportFd, "failed " + std::to_string(result.status) + " " + shown +
                                             ": " + result.err);
        }
        CForkedRun::Report(reportFd, "action");
        return result;
    };
    for (std::uint64_t k = 0; k < actions; ++k) {
        if (k % 5 == 4 && k + 1 < actions) {
            SQserCtl added = run({"add-board", std::string("BoardType=") + kCycleModel});
            std::string name = added.out.substr(0, added.out.find('\n'));
            if (added.status == 0 && !name.empty()) {
                run({"delete", name});
                ++k;
            }
            continue;
        }
        const std::string port = board + "/Port00" + std::to_string(k % kPortsPerBoard);
        const std::string irq = kIrqs[(k / kPortsPerBoard + worker) % kIrqs.size()];
        if (run({"set", port, "PortIRQ=" + irq}).status == 0) {
            last[port] = irq;
        }
    }
    for (const auto& [port, irq] : last) {
        CForkedRun::Report(reportFd, "expect " + port + " " + irq);
    }
}

std::string Prepare(const std::string& folder, int workers) {
    const std::string file = folder + "/shared.db";
    for (const char* suffix : {"", "-wal", "-shm"}) {
        fs::remove(file + suffix);
    }
    std::unique_ptr<CHarnessSession> session;
    for (int worker = 0; worker < workers; ++worker) {
        const std::string board = "Board00" + std::to_string(worker);
        for (const std::string& step :
             {std::string("add-board"), "pick " + board + " BoardType=" + kOwnModel,
              "pick " + board + " BoardBaseCOMPort=COM" +
                  std::to_string(3 + worker * kPortsPerBoard),
              "add-port " + board}) {
            CActionScript::Apply(session, file, EPlatformFamily::WindowsNT, step);
        }
    }
    return file;
}

void CheckUnique(CProofTally& tally, const std::string& what, const std::vector<std::string>& all) {
    std::set<std::string> seen;
    for (const std::string& one : all) {
        if (!seen.insert(one).second) {
            tally.Violation("duplicate", what + " " + one);
        }
    }
}

void CheckFinal(CProofTally& tally, const std::string& folder, const std::string& file, int workers,
                const std::map<std::string, std::string>& expected) {
    SQserCtl shown = RunQserCtl(folder, {"--registry", file, "show", "--json"});
    nlohmann::json config = nlohmann::json::parse(shown.out, nullptr, false);
    if (config.is_discarded()) {
        tally.Violation("unreadable configuration", shown.err);
        return;
    }
    std::vector<std::string> boards, ports, coms, serials;
    std::map<std::string, std::string> held;
    for (const auto& board : config["Boards"]) {
        boards.push_back(board["BoardName"]);
        for (const auto& port : board["Ports"]) {
            std::string name =
                board["BoardName"].get<std::string>() + "/" + port["PortName"].get<std::string>();
            ports.push_back(name);
            coms.push_back(port["PortCOMPort"]);
            serials.push_back(port["PortSerialPort"]);
            held[name] = port["PortIRQ"];
        }
    }
    CheckUnique(tally, "board name", boards);
    CheckUnique(tally, "port", ports);
    CheckUnique(tally, "COM assignment", coms);
    CheckUnique(tally, "serial port name", serials);
    if (boards.size() != static_cast<std::size_t>(workers)) {
        tally.Violation("boards left", std::to_string(boards.size()) + " boards");
    }
    if (config["SystemNumBoards"] != std::to_string(boards.size()) ||
        config["SystemNumPorts"] != std::to_string(ports.size())) {
        tally.Violation("counts", "the driver key says " +
                                      config["SystemNumBoards"].get<std::string>() + " boards, " +
                                      config["SystemNumPorts"].get<std::string>() + " ports");
    }
    for (const auto& [port, irq] : expected) {
        if (held[port] != irq) {
            tally.Violation("lost write", port + " holds " + held[port] + ", set " + irq);
        }
    }
}

// The window's lines: its steps, the boxes it showed and what its ports must hold.
void CollectWindow(CProofTally& tally, const std::string& prefix, const SQserCtl& window,
                   std::map<std::string, std::string>& expected) {
    if (window.status != 0) {
        tally.Violation("window ended", "status " + std::to_string(window.status) + ": " +
                                            window.out.substr(0, 200) + window.err.substr(0, 400));
    }
    std::istringstream lines(window.out);
    bool alone = false;
    for (std::string line; std::getline(lines, line);) {
        const std::string kind = line.substr(0, line.find(' '));
        const std::string rest = line.substr(std::min(line.size(), kind.size() + 1));
        if (kind == "alone") {
            alone = true;
        } else if (kind == "action") {
            tally.Add(prefix + (alone ? "window steps taken after the others had finished"
                                      : "window steps taken while the others acted"));
        } else if (kind == "again") {
            tally.Add(prefix + "window steps repeated after a reload");
        } else if (kind == "message") {
            tally.Add(prefix + "window messages");
            if (ShowsLockTrouble(rest)) {
                tally.Violation("busy or locked shown", "window: " + rest);
            }
        } else if (kind == "expect") {
            expected[rest.substr(0, rest.find(' '))] = rest.substr(rest.find(' ') + 1);
        } else {
            tally.Violation("window step " + kind, rest);
        }
    }
}

void RunRound(CProofTally& tally, const std::string& folder, int workers, bool window,
              std::uint64_t actions) {
    const std::string file = Prepare(folder, workers + (window ? 1 : 0));
    SWindowRun windowRun;
    const std::string windowFolder = folder + "/window";
    if (window) {
        fs::create_directories(windowFolder);
        windowRun = StartWindow(windowFolder, file, workers);
        if (windowRun.pid < 0) {
            tally.Violation("harness", "the window process cannot be started");
        }
    }
    std::vector<std::pair<int, int>> running;
    for (int worker = 0; worker < workers; ++worker) {
        const std::string own = folder + "/w" + std::to_string(worker);
        fs::create_directories(own);
        int fd = -1;
        int pid =
            CForkedRun::Start([&own, &file, worker, actions](
                                  int reportFd) { Work(own, file, worker, actions, reportFd); },
                              fd);
        running.emplace_back(pid, fd);
    }
    std::map<std::string, std::string> expected;
    const std::string prefix =
        std::to_string(workers) + " processes" + (window ? " and the window" : "") + " ";
    for (auto [pid, fd] : running) {
        SChildReport report = CForkedRun::Finish(pid, fd);
        tally.Add(prefix + "actions", report.With("action").size());
        for (const std::string& busy : report.With("busy ")) {
            tally.Violation("busy or locked shown", busy);
        }
        for (const std::string& failed : report.With("failed ")) {
            tally.Violation("failed run", failed);
        }
        for (const std::string& line : report.With("expect ")) {
            expected[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
        }
    }
    if (window) {
        // The others are done: the window finishes its steps, closes and reports.
        close(windowRun.inputFd);
        CollectWindow(tally, prefix, Reap(windowFolder, windowRun.pid, std::chrono::seconds(120)),
                      expected);
    }
    tally.Add(prefix + "ports checked", expected.size());
    CheckFinal(tally, folder, file, workers + (window ? 1 : 0), expected);
}
} // namespace

int main(int argc, char** argv) {
    auto started = std::chrono::steady_clock::now();
    SHarnessOptions options = SHarnessOptions::Parse(argc, argv, "processtest");
    CProofTally tally("processtest");
    fs::create_directories(options.folder);
    std::uint64_t actions = options.count != 0 ? options.count : 500;
    try {
        for (bool window : {false, true}) {
            for (int workers : {2, 4}) {
                RunRound(tally, options.folder, workers, window, actions);
            }
        }
    } catch (const std::exception& error) {
        tally.Violation("harness", error.what());
    }
    fs::remove_all(options.folder);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return tally.Print(elapsed.count());
}
