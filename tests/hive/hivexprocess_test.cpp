// The hive file store with several processes: no write is lost, a long lock is reported, and a
// commit killed at any moment leaves a whole file.
#include "filelock.h"
#include "hivexstoretest.h"
#include "testhivex.h"

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr const char* kCounterKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Parameters";
const std::vector<std::string> kCounterPath = {"SYSTEM", "CurrentControlSet", "Services", "QSERDRV",
                                               "Parameters"};

std::uint32_t ReadCounter(CHivexStore& store, HiveKeyId key) {
    SHiveValue value;
    if (store.ReadValue(key, "Counter", value) != ERROR_SUCCESS || value.data.size() != 4) {
        return 0;
    }
    return value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
           static_cast<std::uint32_t>(value.data[3]) << 24;
}

// One read-increment-write action; false when it could not be committed.
bool Increment(CHivexStore& store) {
    if (!store.Begin(true)) {
        return false;
    }
    HiveKeyId key = 0;
    store.CreatePath(0, kCounterPath, key);
    const std::uint32_t next = ReadCounter(store, key) + 1;
    store.WriteValue(key, "Counter", REG_DWORD,
                     {static_cast<std::uint8_t>(next), static_cast<std::uint8_t>(next >> 8),
                      static_cast<std::uint8_t>(next >> 16),
                      static_cast<std::uint8_t>(next >> 24)});
    return store.Commit();
}

// Runs body in a child process; its exit code is 0 when body returned true.
pid_t Spawn(const std::function<bool()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        bool ok = false;
        try {
            ok = body();
        } catch (...) {
        }
        _exit(ok ? 0 : 1);
    }
    return child;
}

int ExitCode(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST_F(HivexStoreTest, TwoProcessesLoseNoWrite) {
    MakeHive();
    constexpr int kWrites = 15;
    std::vector<pid_t> children;
    for (int i = 0; i < 2; ++i) {
        children.push_back(Spawn([&] {
            std::string reason;
            auto store = CHivexStore::Open(Hive(), EHiveOpen::MustExist, reason);
            for (int n = 0; n < kWrites; ++n) {
                if (!Increment(*store)) {
                    return false;
                }
            }
            return true;
        }));
    }
    for (const pid_t child : children) {
        EXPECT_EQ(ExitCode(child), 0);
    }
    auto store = Open();
    EXPECT_EQ(ReadCounter(*store, Find(*store, kCounterKey)), 2u * kWrites);
}

// A holder that keeps the lock briefly is waited for; one that keeps it too long makes Begin
// fail with the reason.
TEST_F(HivexStoreTest, LongLockMeansTheFileIsInUse) {
    MakeHive();
    for (const int holdMs : {500, CHivexStore::kLockWaitMs + 2000}) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t holder = Spawn([&] {
            CFileLock lock;
            if (lock.Acquire(Hive(), std::chrono::milliseconds(0)) != 0) {
                return false;
            }
            (void)!write(ready[1], "x", 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            return true;
        });
        char signal = 0;
        ASSERT_EQ(read(ready[0], &signal, 1), 1);
        close(ready[0]);
        close(ready[1]);
        auto store = Open();
        const bool waitedEnough = holdMs < CHivexStore::kLockWaitMs;
        EXPECT_EQ(store->Begin(true), waitedEnough) << holdMs;
        EXPECT_EQ(store->FailureReason(),
                  waitedEnough ? "" : "the file is in use by another program");
        store->Rollback();
        EXPECT_EQ(ExitCode(holder), 0);
    }
}

// A child commits in a loop on a large hive and is killed at random moments: the file always
// opens and holds one whole state, the old one or the new one.
TEST_F(HivexStoreTest, KilledCommitLeavesAWholeFile) {
    MakeHive({1, false, true, 800});
    std::mt19937 random(20240601);
    std::uint32_t last = 0;
    for (int round = 0; round < 6; ++round) {
        // The kill waits for the child's first commit, so that a slow machine still kills it
        // in the middle of later ones.
        int committed[2];
        ASSERT_EQ(pipe(committed), 0);
        const pid_t child = Spawn([&] {
            std::string reason;
            auto store = CHivexStore::Open(Hive(), EHiveOpen::MustExist, reason);
            bool first = true;
            while (Increment(*store)) {
                if (first) {
                    (void)!write(committed[1], "x", 1);
                    first = false;
                }
            }
            return false;
        });
        close(committed[1]);
        char signal = 0;
        ASSERT_EQ(read(committed[0], &signal, 1), 1) << "the child never committed";
        close(committed[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 400));
        kill(child, SIGKILL);
        ExitCode(child);

        CTestHivex raw(Hive()); // hivex itself opens it
        EXPECT_GE(raw.SubKeys("ControlSet001\\Services").size(), 802u);
        auto store = Open();
        const std::uint32_t counter = ReadCounter(*store, Find(*store, kCounterKey));
        EXPECT_GE(counter, last);
        last = counter;
        SHiveValue value;
        EXPECT_EQ(store->ReadValue(Find(*store, "SYSTEM\\Select"), "Current", value),
                  ERROR_SUCCESS);
    }
    EXPECT_GT(last, 0u) << "some commits got through";
}
