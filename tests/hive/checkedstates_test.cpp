#include "checkedstates.h"
#include "temphive.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// Well after any state made now has come to rest.
std::int64_t Later() {
    return CCheckedStates::NowNs() + 2 * CCheckedStates::kRestNs;
}

void Append(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// Long enough for the coarse clock of file times to move on.
void NextTick() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

class CheckedStatesTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_folder.Folder() + "/" + name; }
    std::string RecordPath() const { return Path("cache/qser/checked"); }
    CCheckedStates Record() const { return CCheckedStates(RecordPath()); }

    std::string MakeFile(const std::string& name, const std::string& bytes) {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    CCheckedStates::SState StateOf(const std::string& path) {
        std::optional<CCheckedStates::SState> state = CCheckedStates::Of(path);
        EXPECT_TRUE(state.has_value()) << path;
        return state.value_or(CCheckedStates::SState{});
    }

    CTempHive m_folder;
};
} // namespace

TEST_F(CheckedStatesTest, OnlyAStateAtRestWhenTheCheckBeganIsKept) {
    const std::string path = MakeFile("a.db", std::string(200, 'a'));
    const CCheckedStates::SState state = StateOf(path);
    Record().Remember(state, CCheckedStates::NowNs());
    EXPECT_FALSE(Record().Holds(state)) << "changed just now, so a write may share its tick";
    Record().Remember(state, state.changedNs + CCheckedStates::kRestNs);
    EXPECT_FALSE(Record().Holds(state));
    Record().Remember(state, Later());
    EXPECT_TRUE(Record().Holds(state));
    const CCheckedStates::SState untimed{"a file system without change times", 0};
    Record().Remember(untimed, Later());
    EXPECT_FALSE(Record().Holds(untimed));
}

TEST_F(CheckedStatesTest, EveryChangeOfTheFileOrItsLogIsAnotherState) {
    struct SCase {
        const char* name;
        std::function<void(const std::string&)> change;
    };
    const std::vector<SCase> cases = {
        {"a byte appended", [](const std::string& path) { Append(path, "x"); }},
        {"the same bytes written again in place",
         [](const std::string& path) {
             std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
             file.seekp(150);
             file << 'a';
         }},
        {"a byte past the header changed and the modification time put back",
         [](const std::string& path) {
             struct stat before {};
             ASSERT_EQ(stat(path.c_str(), &before), 0);
             {
                 std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
                 file.seekp(150);
                 file << 'b';
             }
             const timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
         }},
        {"replaced by a copy of itself",
         [](const std::string& path) {
             fs::copy_file(path, path + ".copy");
             fs::rename(path + ".copy", path);
         }},
        {"a log with content appeared",
         [](const std::string& path) {
             std::ofstream(path + "-wal", std::ios::binary) << std::string(32, 'w');
         }},
    };
    for (const SCase& c : cases) {
        const std::string path =
            MakeFile(std::string("f") + std::to_string(&c - cases.data()), std::string(200, 'a'));
        const CCheckedStates::SState before = StateOf(path);
        Record().Remember(before, Later());
        ASSERT_TRUE(Record().Holds(before)) << c.name;
        NextTick();
        c.change(path);
        const CCheckedStates::SState after = StateOf(path);
        EXPECT_NE(after, before) << c.name;
        EXPECT_FALSE(Record().Holds(after)) << c.name;
    }
}

TEST_F(CheckedStatesTest, LogChangesAreSeenAndAnEmptyLogIsNone) {
    const std::string path = MakeFile("w.db", std::string(200, 'a'));
    const CCheckedStates::SState alone = StateOf(path);
    MakeFile("w.db-wal", "");
    EXPECT_EQ(StateOf(path), alone) << "readers make an empty log and may leave it";
    MakeFile("w.db-wal", std::string(64, 'w'));
    const CCheckedStates::SState logged = StateOf(path);
    EXPECT_NE(logged, alone);
    NextTick();
    // A log restarted from its beginning: same size, a new header.
    MakeFile("w.db-wal", std::string(32, 'v') + std::string(32, 'w'));
    EXPECT_NE(StateOf(path), logged);
    EXPECT_FALSE(CCheckedStates::Of(Path("missing.db")).has_value());
}

TEST_F(CheckedStatesTest, ARecordThatCannotBeTrustedHoldsNothing) {
    const std::string path = MakeFile("t.db", std::string(200, 'a'));
    const CCheckedStates::SState state = StateOf(path);
    struct SCase {
        const char* name;
        std::function<void(const std::string&)> spoil;
    };
    const std::vector<SCase> cases = {
        {"writable by others", [](const std::string& record) { chmod(record.c_str(), 0666); }},
        {"another format",
         [&](const std::string& record) {
             std::ofstream(record) << "QSER registry states checked: 0\n" << state.text << "\n";
         }},
        {"too large to be ours",
         [&](const std::string& record) {
             std::ofstream(record, std::ios::app) << std::string(70 * 1024, 'z') << "\n";
         }},
        {"a folder",
         [](const std::string& record) {
             fs::remove(record);
             fs::create_directory(record);
         }},
    };
    for (const SCase& c : cases) {
        fs::remove_all(RecordPath());
        Record().Remember(state, Later());
        ASSERT_TRUE(Record().Holds(state)) << c.name;
        c.spoil(RecordPath());
        EXPECT_FALSE(Record().Holds(state)) << c.name;
    }
    if (geteuid() == 0) {
        fs::remove_all(RecordPath());
        Record().Remember(state, Later());
        ASSERT_EQ(chown(RecordPath().c_str(), 1, 1), 0);
        EXPECT_FALSE(Record().Holds(state)) << "another user's record";
    }
}

TEST_F(CheckedStatesTest, TheNewestStatesAreKept) {
    const std::size_t count = CCheckedStates::kMaxStates + 1;
    for (std::size_t i = 0; i < count; ++i) {
        Record().Remember({"state " + std::to_string(i), 1}, Later());
    }
    EXPECT_FALSE(Record().Holds({"state 0", 1}));
    EXPECT_TRUE(Record().Holds({"state 1", 1}));
    // Remembered again, a state is the newest: it outlives the others.
    Record().Remember({"state 1", 1}, Later());
    Record().Remember({"state x", 1}, Later());
    EXPECT_TRUE(Record().Holds({"state 1", 1}));
    EXPECT_FALSE(Record().Holds({"state 2", 1}));
    EXPECT_TRUE(Record().Holds({"state x", 1}));
}

TEST_F(CheckedStatesTest, ARecordThatCannotBeWrittenIsLeftAlone) {
    MakeFile("blocker", "a file where the record's folder would be");
    const CCheckedStates record(Path("blocker/qser/checked"));
    EXPECT_NO_THROW(record.Remember({"state", 1}, Later()));
    EXPECT_FALSE(record.Holds({"state", 1}));
}
