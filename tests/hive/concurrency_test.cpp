#include "hive.h"
#include "registry.h"
#include "temphive.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
pid_t StartIncrementer(const std::string& file, int count) {
    pid_t pid = fork();
    if (pid == 0) {
        std::string countText = std::to_string(count);
        execl(HIVE_INCREMENTER, HIVE_INCREMENTER, file.c_str(), countText.c_str(), nullptr);
        _exit(127);
    }
    return pid;
}

int ExitCode(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}
} // namespace

// Two processes increment one counter at once, starting on a file that does not exist yet:
// every increment must survive and none may fail on a busy file.
TEST(ConcurrencyTest, TwoProcessesLoseNoIncrement) {
    CTempHive folder;
    const std::string file = folder.Folder() + "/shared.db";
    constexpr int kIncrements = 300;
    constexpr int kProcesses = 2;
    std::vector<pid_t> children;
    for (int i = 0; i < kProcesses; ++i) {
        children.push_back(StartIncrementer(file, kIncrements));
        ASSERT_GT(children.back(), 0);
    }
    for (pid_t child : children) {
        EXPECT_EQ(ExitCode(child), 0);
    }
    std::unique_ptr<CHive> hive = CHive::Open(file, EHiveOpen::MustExist);
    CRegistry registry(*hive);
    ASSERT_EQ(registry.OpenKey("Counter", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
    std::uint32_t count = 0;
    ASSERT_EQ(registry.ReadValue("Count", count), ERROR_SUCCESS);
    EXPECT_EQ(count, static_cast<std::uint32_t>(kIncrements * kProcesses));
}
