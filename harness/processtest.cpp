// Several qserctl processes on one file at once: each owns a board and sets the interrupt of
// its ports, and now and then adds a board, picks on it and deletes it again. Every run must
// succeed without a busy or locked error; at the end every port holds the value its process set
// last, the added boards are gone, and names, ports, COM assignments and the driver key's
// counts are consistent. A last round runs two processes beside a session that stays open
// throughout, as the window does; what it finds there is a known finding (a window does not
// yet see what other programs changed) unless --strict.
//
//   qser_processtest [--count ACTIONS] [--strict] [--folder DIR]
// Two and then four processes, ACTIONS (default 500) actions each; --short changes nothing, the
// whole run takes seconds.
#include "actionscript.h"
#include "forkedrun.h"
#include "harnessoptions.h"
#include "prooftally.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

extern char** environ;

namespace {
constexpr int kPortsPerBoard = 4;
constexpr const char* kOwnModel = "RX-404";
constexpr const char* kCycleModel = "RX-202";
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

SQserCtl RunQserCtl(const std::string& folder, const std::vector<std::string>& args) {
    const std::string out = folder + "/out";
    const std::string err = folder + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> all{QSER_QSERCTL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    SQserCtl run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadAll(out);
    run.err = ReadAll(err);
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

// A worker that stays open like the window: one session for all its picks, closed at the end.
void SessionWork(const std::string& file, int worker, std::uint64_t actions, int reportFd) {
    const std::string board = "Board00" + std::to_string(worker);
    std::map<std::string, std::string> last;
    {
        CHarnessSession session(file, EPlatformFamily::WindowsNT);
        session.Start();
        for (std::uint64_t k = 0; k < actions; ++k) {
            const std::string port = board + "/Port00" + std::to_string(k % kPortsPerBoard);
            const std::string irq = kIrqs[(k / kPortsPerBoard + worker) % kIrqs.size()];
            session.Select(port);
            session.Pick("PortIRQ=" + irq);
            last[port] = irq;
            CForkedRun::Report(reportFd, "action");
        }
        session.Close();
        for (const std::string& text : session.Messages().Texts()) {
            if (ShowsLockTrouble(text)) {
                CForkedRun::Report(reportFd, "busy session: " + text);
            }
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

// Where a finding goes: a violation, or a known finding in the round with the long-lived
// session, whose stale view of the file is mended elsewhere.
using Finding = std::function<void(const std::string& kind, const std::string& detail)>;

void CheckUnique(const Finding& finding, const std::string& what,
                 const std::vector<std::string>& all) {
    std::set<std::string> seen;
    for (const std::string& one : all) {
        if (!seen.insert(one).second) {
            finding("duplicate", what + " " + one);
        }
    }
}

void CheckFinal(const Finding& finding, const std::string& folder, const std::string& file,
                int workers, const std::map<std::string, std::string>& expected) {
    SQserCtl shown = RunQserCtl(folder, {"--registry", file, "show", "--json"});
    nlohmann::json config = nlohmann::json::parse(shown.out, nullptr, false);
    if (config.is_discarded()) {
        finding("unreadable configuration", shown.err);
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
    CheckUnique(finding, "board name", boards);
    CheckUnique(finding, "port", ports);
    CheckUnique(finding, "COM assignment", coms);
    CheckUnique(finding, "serial port name", serials);
    if (boards.size() != static_cast<std::size_t>(workers)) {
        finding("boards left", std::to_string(boards.size()) + " boards");
    }
    if (config["SystemNumBoards"] != std::to_string(boards.size()) ||
        config["SystemNumPorts"] != std::to_string(ports.size())) {
        finding("counts", "the driver key says " + config["SystemNumBoards"].get<std::string>() +
                              " boards, " + config["SystemNumPorts"].get<std::string>() + " ports");
    }
    for (const auto& [port, irq] : expected) {
        if (held[port] != irq) {
            finding("lost write", port + " holds " + held[port] + ", set " + irq);
        }
    }
}

void RunRound(CProofTally& tally, const std::string& folder, int workers, int sessions,
              std::uint64_t actions, bool strict) {
    const std::string file = Prepare(folder, workers + sessions);
    std::vector<std::pair<int, int>> running;
    for (int worker = 0; worker < workers + sessions; ++worker) {
        const std::string own = folder + "/w" + std::to_string(worker);
        fs::create_directories(own);
        int fd = -1;
        bool session = worker >= workers;
        int pid = CForkedRun::Start(
            [&own, &file, worker, actions, session](int reportFd) {
                session ? SessionWork(file, worker, actions, reportFd)
                        : Work(own, file, worker, actions, reportFd);
            },
            fd);
        running.emplace_back(pid, fd);
    }
    Finding finding = [&tally, sessions, strict](const std::string& kind,
                                                 const std::string& detail) {
        if (sessions == 0) {
            tally.Violation(kind, detail);
        } else {
            tally.Known("with a session open: " + kind, detail, strict);
        }
    };
    std::map<std::string, std::string> expected;
    const std::string prefix = std::to_string(workers) + " processes" +
                               (sessions == 0 ? "" : " and a session open throughout") + " ";
    for (auto [pid, fd] : running) {
        SChildReport report = CForkedRun::Finish(pid, fd);
        tally.Add(prefix + "actions", report.With("action").size());
        for (const std::string& busy : report.With("busy ")) {
            finding("busy or locked shown", busy);
        }
        for (const std::string& failed : report.With("failed ")) {
            finding("failed run", failed);
        }
        for (const std::string& line : report.With("expect ")) {
            expected[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
        }
    }
    tally.Add(prefix + "ports checked", expected.size());
    CheckFinal(finding, folder, file, workers + sessions, expected);
}
} // namespace

int main(int argc, char** argv) {
    auto started = std::chrono::steady_clock::now();
    SHarnessOptions options = SHarnessOptions::Parse(argc, argv, "processtest");
    CProofTally tally("processtest");
    fs::create_directories(options.folder);
    std::uint64_t actions = options.count != 0 ? options.count : 500;
    try {
        for (int workers : {2, 4}) {
            RunRound(tally, options.folder, workers, 0, actions, options.strict);
        }
        RunRound(tally, options.folder, 2, 1, actions, options.strict);
    } catch (const std::exception& error) {
        tally.Violation("harness", error.what());
    }
    fs::remove_all(options.folder);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return tally.Print(elapsed.count());
}
