// Every reading command on every kind of file it may meet, in both stores: a file it can read
// gives what the intact file gives, whether or not it can be written; a file it cannot read
// fully is named with the reason and exits 1, never with a report of what it did not read. No
// command changes the file or leaves anything beside it.
//
// The tests run as root, which ignores permission bits: the permission cases run qserctl in a
// child process that has become 'nobody'; the read-only file system is a bind mount.
#include "clifixture.h"
#include "rawdatabase.h"
#include "readonlymount.h"
#include "testhivefile.h"
#include "testnames.h"

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr fs::perms kR = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kRw =
    kR | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
constexpr fs::perms kRx =
    kR | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
constexpr fs::perms kOwnerOnly = fs::perms::owner_all;
constexpr fs::perms kOwnerRw = fs::perms::owner_read | fs::perms::owner_write;

enum class EWho { Root, Nobody, ReadOnlyMount };

struct SCondition {
    const char* name;
    EWho who;
    fs::perms file;
    fs::perms folder;
    // Damage done to the file as root, given the store.
    void (*damage)(ETestStore store, const std::string& path);
    // nullptr: read as the intact file is; else the reason named after the file.
    const char* sqliteReason;
    const char* hiveReason;
    // The damage is found by reading the configuration, which `service status` does not do on
    // a Windows hive file.
    bool bFoundByReading;
};

void PrintTo(const SCondition& row, std::ostream* os) {
    *os << row.name;
}

// A writer killed after its commit: its changes are in the write-ahead log only.
void KillWriter(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        auto* database = new CRawDatabase(path); // never closed: the process dies with it
        _exit(database->Exec("PRAGMA user_version = 1") == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_GT(fs::file_size(path + "-wal"), 0u);
}

const SCondition kConditions[] = {
    {"FileNotWritable", EWho::Nobody, kR, kRx | fs::perms::owner_write, nullptr, nullptr, nullptr,
     false},
    {"FileNotReadable", EWho::Nobody, kOwnerRw, kRx | fs::perms::owner_write, nullptr,
     "permission denied", "permission denied", false},
    {"FolderNotWritable", EWho::Nobody, kRw, kRx, nullptr, nullptr, nullptr, false},
    {"FolderNotSearchable", EWho::Nobody, kRw, kOwnerOnly, nullptr, "permission denied",
     "permission denied", false},
    {"ReadOnlyMount", EWho::ReadOnlyMount, kRw, kRx | fs::perms::owner_write, nullptr, nullptr,
     nullptr, false},
    {"Truncated", EWho::Root, kRw, kRx | fs::perms::owner_write,
     [](ETestStore, const std::string& path) { CTestHiveFile::Truncate(path, 3 * 4096); },
     "it is damaged", "it is truncated", false},
    {"Damaged", EWho::Root, kRw, kRx | fs::perms::owner_write,
     [](ETestStore store, const std::string& path) {
         if (store == ETestStore::WindowsHive) {
             CTestHiveFile::BreakKey(path, "Board000");
             return;
         }
         std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
         file.seekp(2 * 4096);
         file << std::string(512, 'x');
     },
     "it is damaged", "it is damaged", true},
    {"NotClosedCleanly", EWho::Root, kRw, kRx | fs::perms::owner_write,
     [](ETestStore store, const std::string& path) {
         if (store == ETestStore::WindowsHive) {
             CTestHiveFile::MakeDirty(path);
         } else {
             KillWriter(path);
         }
     },
     nullptr, "it was not shut down cleanly", false},
    {"Missing", EWho::Root, kRw, kRx | fs::perms::owner_write,
     [](ETestStore, const std::string& path) { fs::remove(path); }, "it does not exist",
     "it does not exist", false},
};

struct SCommand {
    const char* name;
    std::vector<std::string> args;
};

const SCommand kCommands[] = {
    {"Show", {"show"}},
    {"ShowJson", {"show", "--json"}},
    {"Export", {"export"}},
    {"Check", {"check"}},
    {"ServiceStatus", {"service", "status", "Serial"}},
};

class CliReadingSweepTest
    : public CCliFixture,
      public ::testing::WithParamInterface<std::tuple<SCondition, ETestStore>> {
protected:
    const SCondition& Condition() const { return std::get<0>(GetParam()); }
    ETestStore Store() const { return std::get<1>(GetParam()); }
    std::string Disk() const { return Folder() + "/disk"; }
    std::string Name() const { return Store() == ETestStore::Sqlite ? "registry.db" : "SYSTEM"; }
    std::string File() const { return Disk() + "/" + Name(); }

    // A configuration whose check finds an error: four ports on one interrupt, not shared.
    void MakeConfiguration() const {
        fs::create_directory(Disk());
        std::vector<std::vector<std::string>> commands = {{"add-board", "BoardType=RX-404"},
                                                          {"add-port", "Board000"}};
        if (Store() == ETestStore::WindowsHive) {
            CTestHiveFile::WriteSystem(File());
        } else {
            const std::string serial =
                WriteFile("serial.reg",
                          Reg({"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial]",
                               "\"Type\"=dword:00000001"}));
            commands.insert(commands.begin(), {"import", serial});
        }
        for (const std::vector<std::string>& command : commands) {
            const SQserCtlRun run = CtlOn(File(), command);
            ASSERT_EQ(run.status, 0) << command[0] << ": " << run.err;
        }
    }

    SQserCtlRun Run(const std::string& file, const SCommand& command) const {
        std::vector<std::string> args = {"--registry", file};
        args.insert(args.end(), command.args.begin(), command.args.end());
        if (Condition().who != EWho::Nobody) {
            return CQserCtlRunner(Folder()).Run(args);
        }
        return RunAsNobody(args);
    }

    // qserctl as 'nobody', from a child process that gave up root; its streams are kept in a
    // folder that user may write.
    SQserCtlRun RunAsNobody(const std::vector<std::string>& args) const {
        const std::string streams = Folder() + "/streams";
        fs::create_directory(streams);
        fs::permissions(streams, fs::perms::all);
        const pid_t child = fork();
        if (child == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
                _exit(99);
            }
            try {
                const SQserCtlRun run = CQserCtlRunner(streams).Run(args);
                _exit(run.status < 0 ? 98 : run.status);
            } catch (...) {
                _exit(97);
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
        SQserCtlRun run;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadFile(streams + "/stdout");
        run.err = ReadFile(streams + "/stderr");
        return run;
    }

    // The file's bytes with its log, and every name beside it (a backup, a temporary file).
    std::string State() const {
        std::string state = ReadFile(File()) + ReadFile(File() + "-wal");
        for (const auto& entry : fs::directory_iterator(Disk())) {
            state += "\n" + entry.path().filename().string();
        }
        return state;
    }
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}
} // namespace

TEST_P(CliReadingSweepTest, ReadsWhatItCanAndNamesWhatItCannot) {
    const SCondition& condition = Condition();
    if (condition.who != EWho::Root && geteuid() != 0) {
        GTEST_SKIP() << "needs root: to become 'nobody' or to make a read-only bind mount";
    }
    fs::permissions(Folder(), kRx | fs::perms::owner_write);
    ASSERT_NO_FATAL_FAILURE(MakeConfiguration());
    // What each command gives on the intact file that it may write.
    std::vector<SQserCtlRun> intact;
    for (const SCommand& command : kCommands) {
        std::vector<std::string> args = {"--registry", File()};
        args.insert(args.end(), command.args.begin(), command.args.end());
        intact.push_back(CQserCtlRunner(Folder()).Run(args));
    }
    ASSERT_EQ(intact[3].status, 4) << intact[3].out << intact[3].err;

    if (condition.damage != nullptr) {
        condition.damage(Store(), File());
    }
    if (fs::exists(File())) {
        fs::permissions(File(), condition.file);
    }
    fs::permissions(Disk(), condition.folder);
    std::optional<CReadOnlyMount> mount;
    std::string file = File();
    if (condition.who == EWho::ReadOnlyMount) {
        mount.emplace(Disk());
        if (!mount->Mounted()) {
            GTEST_SKIP() << "cannot make a read-only bind mount";
        }
        file = mount->Path(Name());
    }
    const char* reason =
        Store() == ETestStore::Sqlite ? condition.sqliteReason : condition.hiveReason;
    // Our file takes a killed writer's log into itself at the first close, as SQLite does after
    // any crash (what it holds stays the same, its bytes do not); from then on it stays as it is.
    std::optional<std::string> before;
    if (Store() != ETestStore::Sqlite || condition.damage == nullptr || reason != nullptr) {
        before = State();
    }

    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        SCOPED_TRACE(kCommands[i].name);
        const SQserCtlRun run = Run(file, kCommands[i]);
        const bool offline = Store() == ETestStore::WindowsHive &&
                             kCommands[i].args[0] == "service" && condition.bFoundByReading;
        if (reason == nullptr || offline) {
            EXPECT_EQ(run.status, intact[i].status) << run.err;
            EXPECT_EQ(run.out, intact[i].out);
            EXPECT_EQ(run.err, Replaced(intact[i].err, File(), file));
        } else {
            EXPECT_EQ(run.status, 1) << run.err;
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find("qserctl: Cannot use registry file '" + file + "': " + reason),
                      std::string::npos)
                << run.err;
        }
        if (before) {
            EXPECT_EQ(State(), *before);
        } else {
            before = State();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliReadingSweepTest,
    ::testing::Combine(::testing::ValuesIn(kConditions),
                       ::testing::Values(ETestStore::Sqlite, ETestStore::WindowsHive)),
    [](const ::testing::TestParamInfo<std::tuple<SCondition, ETestStore>>& row) {
        return std::string(std::get<0>(row.param).name) + "_" + StoreLabel(std::get<1>(row.param));
    });
