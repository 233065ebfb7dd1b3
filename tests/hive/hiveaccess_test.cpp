// Files the hive may read but not write, and files it must refuse, named with the real cause.
// The tests run as root, which ignores permission bits: the permission cases run in a child
// process that has become 'nobody'; the read-only file system and the full disk are mounts.
#include "hive.h"
#include "rawdatabase.h"
#include "readonlymount.h"
#include "registry.h"
#include "temphive.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// What opening a file gives: "refused: <reason>", or "read-only: <reason>" / "writable".
std::string OpenVerdict(const std::string& path, EHiveOpen mode = EHiveOpen::MustExist) {
    try {
        std::unique_ptr<CHive> hive = CHive::Open(path, mode);
        return hive->IsReadOnly() ? "read-only: " + hive->ReadOnlyReason() : "writable";
    } catch (const CHiveError& error) {
        const std::string prefix = "Cannot use registry file '" + path + "': ";
        const std::string text = error.what();
        return text.rfind(prefix, 0) == 0 ? "refused: " + text.substr(prefix.size())
                                          : "unnamed: " + text;
    }
}

// Reads, then tries every kind of write, on a hive that must be read-only.
std::string ReadAndTryWrites(const std::string& path) {
    std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::MustExist);
    CRegistry registry(*hive);
    std::uint32_t value = 0;
    std::string result = std::to_string(registry.OpenKey("A\\B", "", KEY_ALL_ACCESS, 0));
    const Win32Status read = registry.ReadValue("n", value);
    result += " " + std::to_string(read) + "=" + std::to_string(value);
    result += " " + std::to_string(registry.WriteValue("n", 9u));
    result += " " + std::to_string(registry.OpenKey("A\\New", "", KEY_ALL_ACCESS, 0));
    result += " " + std::to_string(registry.DeleteKeyTree("A"));
    return result;
}

// Runs body in a child process as the user 'nobody' and returns what it returned; empty when
// the child could not drop its privileges.
std::string AsNobody(const std::function<std::string()>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::string result;
        if (setgid(kNobody) == 0 && setuid(kNobody) == 0) {
            result = body();
        }
        (void)!write(pipeEnds[1], result.data(), result.size());
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string result;
    char buffer[256];
    for (ssize_t count = 0; (count = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(count));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return result;
}

class HiveAccessTest : public ::testing::Test {
protected:
    void SetUp() override { fs::permissions(m_temp.Folder(), fs::perms::all); }
    void TearDown() override {
        for (auto mount = m_mounts.rbegin(); mount != m_mounts.rend(); ++mount) {
            umount2(mount->c_str(), MNT_DETACH);
        }
    }

    std::string Path(const std::string& name) const { return m_temp.Folder() + "/" + name; }

    // A closed hive with the key A\B holding n = 7.
    static void MakeHive(const std::string& path) {
        std::unique_ptr<CHive> hive = CHive::Open(path);
        CRegistry registry(*hive);
        ASSERT_EQ(registry.OpenKey("A\\B", "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("n", 7u), ERROR_SUCCESS);
    }

    bool Mount(const std::string& source, const std::string& target, const char* type,
               unsigned long flags, const char* options) {
        fs::create_directories(target);
        if (mount(source.c_str(), target.c_str(), type, flags, options) != 0) {
            return false;
        }
        m_mounts.push_back(target);
        return true;
    }

    static bool HasLogs(const std::string& path) {
        return fs::exists(path + "-wal") || fs::exists(path + "-shm");
    }

    CTempHive m_temp;
    std::vector<std::string> m_mounts;
};
} // namespace

// For each case: the file's and the folder's mode, and what 'nobody' gets.
TEST_F(HiveAccessTest, PermissionsDecideBetweenWritingReadingAndRefusal) {
    struct SCase {
        fs::perms file;
        fs::perms folder;
        std::string verdict;
    };
    const fs::perms r = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms rw =
        r | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const fs::perms rx = r | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    for (const SCase& c : {
             SCase{rw, fs::perms::all, "writable"},
             SCase{r, fs::perms::all, "read-only: the file is read-only"},
             SCase{fs::perms::owner_read | fs::perms::owner_write, fs::perms::all,
                   "refused: permission denied"},
             SCase{rw, rx, "read-only: its folder cannot be written"},
             SCase{r, rx, "read-only: the file is read-only"},
         }) {
        const std::string folder = Path("case");
        fs::remove_all(folder);
        fs::create_directories(folder);
        const std::string path = folder + "/hive.db";
        MakeHive(path);
        fs::permissions(path, c.file);
        fs::permissions(folder, c.folder);
        const std::string before = ReadAll(path);
        const std::string verdict = AsNobody([&] { return OpenVerdict(path); });
        if (verdict.empty()) {
            GTEST_SKIP() << "cannot become the user nobody";
        }
        EXPECT_EQ(verdict, c.verdict) << static_cast<int>(c.file);
        if (c.verdict.rfind("read-only", 0) == 0) {
            // Reads work; each write fails with 5 and changes nothing.
            EXPECT_EQ(AsNobody([&] { return ReadAndTryWrites(path); }), "0 0=7 5 5 5");
        }
        EXPECT_EQ(ReadAll(path), before);
        EXPECT_FALSE(c.verdict.rfind("refused", 0) == 0 && HasLogs(path)) << c.verdict;
        fs::permissions(folder, fs::perms::all);
    }
}

TEST_F(HiveAccessTest, NewFileInAFolderThatCannotBeWrittenIsRefused) {
    const std::string folder = Path("locked");
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    const std::string verdict =
        AsNobody([&] { return OpenVerdict(folder + "/new.db", EHiveOpen::CreateIfMissing); });
    if (verdict.empty()) {
        GTEST_SKIP() << "cannot become the user nobody";
    }
    EXPECT_EQ(verdict, "refused: permission denied");
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(HiveAccessTest, ReadOnlyFileSystemOpensForReading) {
    fs::create_directories(Path("src"));
    MakeHive(Path("src/hive.db"));
    CReadOnlyMount readOnly(Path("src"));
    if (!readOnly.Mounted()) {
        GTEST_SKIP() << "cannot make a read-only bind mount";
    }
    EXPECT_EQ(OpenVerdict(readOnly.Path("hive.db")), "read-only: the file system is read-only");
    EXPECT_EQ(ReadAndTryWrites(readOnly.Path("hive.db")), "0 0=7 5 5 5");
}

// The default folder is made on first use; a folder the user named must exist.
TEST_F(HiveAccessTest, OnlyTheDefaultFolderIsCreated) {
    const std::string explicitPath = Path("missing/hive.db");
    EXPECT_EQ(OpenVerdict(explicitPath, EHiveOpen::CreateIfMissing),
              "refused: its folder does not exist");
    EXPECT_FALSE(fs::exists(Path("missing")));

    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string savedValue = saved != nullptr ? saved : "";
    setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
    EXPECT_EQ(OpenVerdict(CHive::DefaultPath(), EHiveOpen::CreateIfMissing), "writable");
    EXPECT_TRUE(fs::exists(Path("data/qser/registry.db")));
    if (saved != nullptr) {
        setenv("XDG_DATA_HOME", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

// A full disk: reading goes on, writes fail with 5 and nothing is left beside the file; a new
// hive cannot be made and says why.
TEST_F(HiveAccessTest, FullDiskStillReads) {
    const std::string disk = Path("disk");
    if (!Mount("tmpfs", disk, "tmpfs", 0, "size=512k")) {
        GTEST_SKIP() << "cannot mount a small tmpfs";
    }
    MakeHive(disk + "/hive.db");
    {
        std::ofstream filler(disk + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    const std::string before = ReadAll(disk + "/hive.db");
    EXPECT_EQ(OpenVerdict(disk + "/hive.db"), "read-only: the disk is full");
    EXPECT_EQ(ReadAndTryWrites(disk + "/hive.db"), "0 0=7 5 5 5");
    EXPECT_EQ(OpenVerdict(disk + "/hive.db", EHiveOpen::ForReading), "read-only: the disk is full");
    EXPECT_EQ(ReadAll(disk + "/hive.db"), before);
    EXPECT_FALSE(fs::exists(disk + "/hive.db-wal"));
    EXPECT_EQ(OpenVerdict(disk + "/new.db", EHiveOpen::CreateIfMissing),
              "refused: the disk is full");
}

// A key row whose parent is missing, is itself or an ancestor makes every walk of the tree
// wrong or endless: the file is damaged. A hand editor must first drop the guards.
TEST_F(HiveAccessTest, BrokenTreeIsDamage) {
    struct SCase {
        const char* sql;
        const char* reason;
    };
    for (const SCase& c : {
             SCase{"INSERT INTO keys(id, parent, name) VALUES(100, 99, 'Orphan')",
                   "it is damaged (the parent of key 100 does not exist)"},
             SCase{"INSERT INTO keys(id, parent, name) VALUES(100, 100, 'Self')",
                   "it is damaged (1 keys are their own ancestors)"},
             SCase{"INSERT INTO keys(id, parent, name) VALUES(100, 101, 'X');"
                   "INSERT INTO keys(id, parent, name) VALUES(101, 100, 'Y')",
                   "it is damaged (2 keys are their own ancestors)"},
             SCase{"INSERT INTO keys(id, parent, name) VALUES(0, 0, 'Root')",
                   "it is damaged (a key has the id of HKEY_LOCAL_MACHINE)"},
             SCase{"INSERT INTO keys(id, parent, name) VALUES(300, 299, 'Late');"
                   "INSERT INTO keys(id, parent, name) VALUES(200, 199, 'Early')",
                   "it is damaged (the parent of key 200 does not exist)"},
             // Below a key with a greater id, which only a hand editor makes: no cycle yet.
             SCase{"INSERT INTO keys(id, parent, name) VALUES(300, 0, 'Top');"
                   "INSERT INTO keys(id, parent, name) VALUES(200, 300, 'Fine');"
                   "INSERT INTO keys(id, parent, name) VALUES(201, 202, 'X');"
                   "INSERT INTO keys(id, parent, name) VALUES(202, 201, 'Y')",
                   "it is damaged (2 keys are their own ancestors)"},
         }) {
        const std::string path = Path("tree.db");
        fs::remove(path);
        MakeHive(path);
        {
            CRawDatabase raw(path);
            ASSERT_EQ(raw.Exec("DROP TRIGGER keys_parent_exists; DROP TRIGGER keys_stay"), 0);
            ASSERT_EQ(raw.Exec(c.sql), 0) << c.sql;
        }
        const std::string before = ReadAll(path);
        EXPECT_EQ(OpenVerdict(path), std::string("refused: ") + c.reason);
        EXPECT_EQ(OpenVerdict(path, EHiveOpen::ForReading), std::string("refused: ") + c.reason);
        EXPECT_EQ(ReadAll(path), before);
        EXPECT_FALSE(HasLogs(path)) << c.sql;
    }
}

// Ids that grow make a parent's id smaller than its children's; a hand editor may break that
// order without breaking the tree.
TEST_F(HiveAccessTest, KeyBelowAKeyWithAGreaterIdIsNoDamage) {
    const std::string path = Path("order.db");
    MakeHive(path);
    {
        CRawDatabase raw(path);
        ASSERT_EQ(raw.Exec("DROP TRIGGER keys_parent_exists; DROP TRIGGER keys_stay;"
                           "INSERT INTO keys(id, parent, name) VALUES(300, 0, 'Top');"
                           "INSERT INTO keys(id, parent, name) VALUES(200, 300, 'Below')"),
                  0);
    }
    EXPECT_EQ(OpenVerdict(path), "writable");
    std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::ForReading);
    HiveKeyId id = 0;
    EXPECT_EQ(hive->FindKey("Top\\Below", id), ERROR_SUCCESS);
    EXPECT_EQ(id, 200);
}

// The schema refuses what would break the tree, also in files made before the guards.
TEST_F(HiveAccessTest, SchemaKeepsEveryParentChainEndingAtTheRoot) {
    const std::string path = Path("guarded.db");
    MakeHive(path);
    {
        CRawDatabase raw(path);
        ASSERT_EQ(raw.Exec("DROP TRIGGER keys_parent_exists; DROP TRIGGER keys_stay"), 0);
    }
    EXPECT_EQ(OpenVerdict(path), "writable");
    CRawDatabase raw(path);
    EXPECT_NE(raw.Exec("INSERT INTO keys(parent, name) VALUES(999, 'Orphan')"), 0);
    EXPECT_NE(raw.Exec("INSERT INTO keys(id, parent, name) VALUES(500, 500, 'Self')"), 0);
    EXPECT_NE(raw.Exec("UPDATE keys SET parent = id WHERE name = 'A'"), 0);
    EXPECT_EQ(raw.Text("SELECT count(*) FROM keys"), "2");
}

// A reading command leaves a file that holds no registry as it found it.
TEST_F(HiveAccessTest, ReadingAnEmptyFileWritesNothing) {
    const std::string path = Path("empty.db");
    std::ofstream(path, std::ios::binary).close();
    {
        std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::ForReading);
        EXPECT_FALSE(hive->IsReadOnly());
        CRegistry registry(*hive);
        EXPECT_EQ(registry.OpenKey("A", "", KEY_ALL_ACCESS, 1), ERROR_FILE_NOT_FOUND);
        // What the reader writes stays in memory.
        EXPECT_EQ(registry.OpenKey("A", "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
        EXPECT_EQ(registry.WriteValue("n", 1u), ERROR_SUCCESS);
    }
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_FALSE(HasLogs(path));
}

TEST_F(HiveAccessTest, OurFileWithoutTablesIsDamagedAndLeftAsItIs) {
    const std::string path = Path("bare.db");
    {
        CRawDatabase raw(path);
        ASSERT_EQ(raw.Exec("PRAGMA application_id=1364411730; PRAGMA user_version=1"), 0);
    }
    const std::string before = ReadAll(path);
    for (EHiveOpen mode : {EHiveOpen::ForReading, EHiveOpen::MustExist}) {
        EXPECT_EQ(OpenVerdict(path, mode),
                  "refused: it is damaged (the registry tables are missing)");
    }
    EXPECT_EQ(ReadAll(path), before); // not switched to write-ahead logging
    EXPECT_FALSE(HasLogs(path));
}
