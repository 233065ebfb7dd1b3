#include "checkedstates.h"
#include "environmentguard.h"
#include "hive.h"
#include "rawdatabase.h"
#include "registry.h"
#include "temphive.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <thread>

namespace {
namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class HiveFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_folder.Folder() + "/" + name; }

    // A hive of ours with some content, closed again.
    std::string MakeHive(const std::string& name) {
        std::string path = Path(name);
        std::unique_ptr<CHive> hive = CHive::Open(path);
        CRegistry registry(*hive);
        for (int i = 0; i < 50; ++i) {
            EXPECT_EQ(registry.OpenKey("Services\\Key" + std::to_string(i), "", KEY_ALL_ACCESS, 0),
                      ERROR_SUCCESS);
            EXPECT_EQ(registry.WriteValue("Value", std::string(100, 'v')), ERROR_SUCCESS);
        }
        return path;
    }

    // Opening must fail with a message naming the file and the reason, and leave it unchanged.
    void ExpectRefused(const std::string& path, const std::string& reason) {
        std::string before = ReadAll(path);
        try {
            CHive::Open(path);
            ADD_FAILURE() << "opened " << path;
        } catch (const CHiveError& error) {
            EXPECT_EQ(std::string(error.what())
                          .rfind("Cannot use registry file '" + path + "': " + reason, 0),
                      0u)
                << error.what();
        }
        EXPECT_EQ(ReadAll(path), before);
    }

    CTempHive m_folder;
};

} // namespace

TEST_F(HiveFileTest, NewFileIsMarkedAsOursInWalMode) {
    std::string path = Path("new.db");
    ASSERT_NO_THROW(CHive::Open(path));
    std::string header = ReadAll(path);
    ASSERT_GE(header.size(), 100u);
    EXPECT_EQ(header.substr(68, 4), "QSER"); // application_id, big-endian
    EXPECT_EQ(header.substr(60, 4), std::string("\0\0\0\1", 4));
    EXPECT_EQ(header[18], 2); // WAL
    CRawDatabase raw(path);
    EXPECT_EQ(raw.Text("SELECT group_concat(name) FROM (SELECT name FROM sqlite_schema "
                       "WHERE type = 'table' ORDER BY name)"),
              "keys,services,sqlite_sequence,vals");
}

TEST_F(HiveFileTest, ZeroLengthFileCountsAsNew) {
    std::string path = Path("empty.db");
    WriteAll(path, "");
    std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::MustExist);
    CRegistry registry(*hive);
    EXPECT_EQ(registry.OpenKey("A", "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
}

TEST_F(HiveFileTest, EmptyUnmarkedDatabaseIsAdopted) {
    std::string path = Path("unmarked.db");
    {
        CRawDatabase raw(path);
        ASSERT_EQ(raw.Exec("PRAGMA journal_mode=WAL"), 0);
    }
    CHive::Open(path, EHiveOpen::MustExist).reset(); // closing checkpoints the header
    EXPECT_EQ(ReadAll(path).substr(68, 4), "QSER");
}

TEST_F(HiveFileTest, MustExistNeverCreatesAnything) {
    std::string path = Path("missing/registry.db");
    EXPECT_THROW(CHive::Open(path, EHiveOpen::MustExist), CHiveError);
    EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST_F(HiveFileTest, ReopenedHiveKeepsItsContent) {
    std::string path = MakeHive("ours.db");
    std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::MustExist);
    CRegistry registry(*hive);
    ASSERT_EQ(registry.OpenKey("Services\\Key49", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
    char buffer[128];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(registry.ReadValue("Value", buffer, size), ERROR_SUCCESS);
    EXPECT_EQ(size, 101u);
}

TEST_F(HiveFileTest, TextFilesAreRefused) {
    WriteAll(Path("short.txt"), "hello");
    ExpectRefused(Path("short.txt"), "it is not an SQLite database");
    WriteAll(Path("long.txt"), std::string(5000, 'x'));
    ExpectRefused(Path("long.txt"), "it is not an SQLite database");
}

TEST_F(HiveFileTest, AnotherProgramsDatabaseIsRefused) {
    for (const char* setup : {"CREATE TABLE t(x); INSERT INTO t VALUES(1);",
                              "PRAGMA application_id=1234; CREATE TABLE t(x);"}) {
        std::string path = Path("other.db");
        fs::remove(path);
        {
            CRawDatabase raw(path);
            ASSERT_EQ(raw.Exec(setup), 0);
        }
        ExpectRefused(path, "it is the database of another program");
    }
}

TEST_F(HiveFileTest, NewerSchemaIsRefused) {
    std::string path = MakeHive("newer.db");
    {
        CRawDatabase raw(path);
        ASSERT_EQ(raw.Exec("PRAGMA user_version=2"), 0);
    }
    ExpectRefused(path, "it was written by a newer version of QSER");
}

TEST_F(HiveFileTest, DamagedHiveIsRefused) {
    std::string path = MakeHive("damaged.db");
    std::string bytes = ReadAll(path);
    std::size_t pageSize =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    ASSERT_GT(bytes.size(), 3 * pageSize);
    bytes.replace(2 * pageSize, 64, 64, '\xa5'); // the header of page 3
    WriteAll(path, bytes);
    ExpectRefused(path, "it is damaged");
}

// The whole check runs again at the first open after any change, whatever the record of checked
// states says.
TEST_F(HiveFileTest, ARecordedFileIsCheckedAgainAfterItChanged) {
    CEnvironmentGuard cache("XDG_CACHE_HOME");
    cache.Set(Path("cache").c_str());
    const std::string orphaned = MakeHive("orphaned.db");
    const std::string overwritten = MakeHive("overwritten.db");
    std::this_thread::sleep_for(std::chrono::nanoseconds(CCheckedStates::kRestNs) +
                                std::chrono::milliseconds(200));
    for (const std::string& path : {orphaned, overwritten}) {
        ASSERT_NO_THROW(CHive::Open(path, EHiveOpen::MustExist));
        ASSERT_TRUE(CCheckedStates::ForUser().Holds(*CCheckedStates::Of(path))) << path;
    }
    {
        // Keys whose parent is gone: only the tree check sees it.
        CRawDatabase raw(orphaned);
        ASSERT_EQ(raw.Exec("DELETE FROM keys WHERE name = 'Services'"), 0);
    }
    // A page overwritten behind SQLite's back, the modification time put back.
    struct stat before {};
    ASSERT_EQ(stat(overwritten.c_str(), &before), 0);
    std::string bytes = ReadAll(overwritten);
    bytes.replace(2 * 4096, 64, 64, '\xa5');
    WriteAll(overwritten, bytes);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, overwritten.c_str(), times, 0), 0);

    ExpectRefused(orphaned, "it is damaged (the parent of key");
    ExpectRefused(overwritten, "it is damaged");
}

TEST_F(HiveFileTest, FolderInsteadOfFileIsRefused) {
    fs::create_directories(Path("dir.db"));
    EXPECT_THROW(CHive::Open(Path("dir.db")), CHiveError);
}

TEST(HivePathTest, DefaultAndResolvedPaths) {
    CEnvironmentGuard data("XDG_DATA_HOME");
    CEnvironmentGuard home("HOME");
    CEnvironmentGuard registry("QSER_REGISTRY");
    struct SCase {
        const char* data;
        const char* registry;
        std::string option;
        std::string resolved;
    };
    home.Set("/home/u");
    for (const SCase& c : {
             SCase{"/xdg", nullptr, "", "/xdg/qser/registry.db"},
             SCase{nullptr, nullptr, "", "/home/u/.local/share/qser/registry.db"},
             SCase{"", nullptr, "", "/home/u/.local/share/qser/registry.db"},
             SCase{"/xdg", "/env.db", "", "/env.db"},
             SCase{"/xdg", "/env.db", "/option.db", "/option.db"},
             SCase{nullptr, "", "", "/home/u/.local/share/qser/registry.db"},
         }) {
        data.Set(c.data);
        registry.Set(c.registry);
        EXPECT_EQ(CHive::ResolvePath(c.option), c.resolved) << c.option;
    }
    data.Set("/xdg");
    EXPECT_EQ(CHive::DefaultPath(), "/xdg/qser/registry.db");
}
