#include "filelock.h"
#include "hivebatch.h"
#include "hiveprobe.h"
#include "processscope.h"
#include "rawdatabase.h"
#include "registry.h"
#include "sqliteconnection.h"
#include "sqlitestore.h"
#include "storetest.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {
const std::string kK = TestKey("K");

class HiveBatchFixture : public ::testing::Test {
protected:
    explicit HiveBatchFixture(ETestStore store) : m_hive(store) {}

    Win32Status Write(const std::string& path, const std::string& name, std::uint32_t value) {
        CRegistry registry;
        Win32Status status = registry.OpenKey(path, "", KEY_ALL_ACCESS, 0);
        return status != ERROR_SUCCESS ? status : registry.WriteValue(name, value);
    }
    // What another process sees below the test root: a hive of its own on the file.
    std::vector<std::string> Seen() {
        std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath(), EHiveOpen::ForReading);
        CHiveProbe probe(*other);
        return probe.Exists(kTestRoot) ? probe.Dump(kTestRoot) : std::vector<std::string>{};
    }
    // Whether another process could take the write lock now (without waiting), as it takes it
    // on each store.
    bool OthersCanWrite() {
        if (m_hive.Store() == ETestStore::WindowsHive) {
            CFileLock lock;
            return lock.Acquire(m_hive.FilePath(), std::chrono::milliseconds(0)) == 0;
        }
        CRawDatabase other(m_hive.FilePath());
        const bool free = other.Exec("BEGIN IMMEDIATE") == SQLITE_OK;
        if (free) {
            other.Exec("ROLLBACK");
        }
        return free;
    }

    CTempHive m_hive;
};

using HiveBatchTest = CStoreTest<HiveBatchFixture>;

// SQLite's own page limit stands in for a full disk; the Windows hive file's full disk is
// tested with its store on a small tmpfs (hivexstore_test.cpp).
class HiveBatchSqliteTest : public HiveBatchFixture {
protected:
    HiveBatchSqliteTest() : HiveBatchFixture(ETestStore::Sqlite) {}
    std::string ValueCount() {
        return CRawDatabase(m_hive.FilePath()).Text("SELECT count(*) FROM vals");
    }
};

const std::vector<std::string> kA = {"[]", "[K]", "A=dword:00000001"};
const std::vector<std::string> kAB = {"[]", "[K]", "A=dword:00000001", "B=dword:00000002"};
} // namespace

TEST_P(HiveBatchTest, OperationsOutsideABatchCommitEachOnTheirOwn) {
    ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    EXPECT_EQ(Seen(), kA);
    ASSERT_EQ(Write(kK, "B", 2), ERROR_SUCCESS);
    EXPECT_EQ(Seen(), kAB);
    EXPECT_TRUE(OthersCanWrite());
}

TEST_P(HiveBatchTest, BatchCommitsAllOperationsTogetherOnce) {
    CHiveBatch batch;
    ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    ASSERT_EQ(Write(kK + "\\Sub", "B", 2), ERROR_SUCCESS);
    EXPECT_TRUE(Seen().empty());
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(Seen(), (std::vector<std::string>{"[]", "[K]", "A=dword:00000001", "[K\\Sub]",
                                                "B=dword:00000002"}));
}

TEST_P(HiveBatchTest, WriteLockIsTakenAtTheFirstOperationNotAtConstruction) {
    ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    CHiveBatch batch;
    EXPECT_TRUE(OthersCanWrite());
    CRegistry reader;
    ASSERT_EQ(reader.OpenKey(kK, "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS); // a read is enough
    EXPECT_FALSE(OthersCanWrite());
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_TRUE(OthersCanWrite());
}

TEST_P(HiveBatchTest, ReadingBatchLeavesOthersFreeToWriteAndRefusesItsOwnWrites) {
    ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    CHiveBatch batch(nullptr, EBatchAccess::Read);
    CRegistry reader;
    ASSERT_EQ(reader.OpenKey(kK, "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
    std::uint32_t value = 0;
    EXPECT_EQ(reader.ReadValue("A", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(OthersCanWrite());
    EXPECT_EQ(Write(kK, "B", 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(Seen(), kA);
}

TEST_P(HiveBatchTest, DestroyedWithoutCommitRollsBack) {
    {
        CHiveBatch batch;
        ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    }
    EXPECT_TRUE(Seen().empty());
    CRegistry registry;
    EXPECT_EQ(registry.OpenKey(kK, "", KEY_ALL_ACCESS, 1), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(OthersCanWrite());
}

TEST_P(HiveBatchTest, NestedBatchesJoinTheOutermost) {
    CHiveBatch outer;
    {
        CHiveBatch inner;
        ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
        EXPECT_EQ(inner.Commit(), ECommitStatus::Committed);
    }
    EXPECT_TRUE(Seen().empty()); // only the outermost commits
    ASSERT_EQ(Write(kK, "B", 2), ERROR_SUCCESS);
    EXPECT_EQ(outer.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(Seen(), kAB);
}

TEST_P(HiveBatchTest, InnerBatchWithoutCommitLosesTheWholeBatch) {
    CHiveBatch outer;
    ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    { CHiveBatch inner; }
    EXPECT_EQ(Write(kK, "B", 2), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(outer.Commit(), ECommitStatus::Lost);
    EXPECT_TRUE(Seen().empty());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_P(HiveBatchTest, BatchOnAnotherHiveLeavesTheCurrentOneAlone) {
    CTempHive other(GetParam());
    CProcessScope current({.hive = &m_hive.Hive(), .messageBox = &m_hive.Messages()});
    CHiveBatch batch(&other.Hive());
    ASSERT_EQ(Write(kK, "A", 1), ERROR_SUCCESS);
    EXPECT_EQ(Seen(), kA);
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
}

TEST_F(HiveBatchSqliteTest, DiskFullAbandonsTheWholeBatchAndSaysSoOnlyAtTheOutermostCommit) {
    ASSERT_EQ(Write(kK, "Before", 1), ERROR_SUCCESS);
    CSqliteConnection& connection = *CSqliteStore::ConnectionOf(m_hive.Hive());
    std::string pages = connection.QueryText("PRAGMA page_count");
    connection.Exec("PRAGMA max_page_count=" + pages);
    {
        CHiveBatch batch;
        CRegistry registry;
        ASSERT_EQ(registry.OpenKey(kK, "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("Small", 2u), ERROR_SUCCESS);
        const std::string big(20000, 'x');
        EXPECT_EQ(registry.WriteValue("Big", big), ERROR_REGISTRY_IO_FAILED);
        connection.Exec("PRAGMA max_page_count=1000000"); // space again: the batch stays failed
        EXPECT_EQ(registry.WriteValue("After", 3u), ERROR_REGISTRY_IO_FAILED);
        std::uint32_t number = 0;
        EXPECT_EQ(registry.ReadValue("Before", number), ERROR_REGISTRY_IO_FAILED);
        {
            CHiveBatch inner;
            EXPECT_EQ(inner.Commit(), ECommitStatus::Lost);
        }
        EXPECT_EQ(batch.Commit(), ECommitStatus::WriteFailed);
    }
    EXPECT_TRUE(m_hive.Messages().Records().empty()); // the hive reports by status only
    EXPECT_EQ(ValueCount(), "1"); // nothing of the batch, not even the write that fitted
    EXPECT_TRUE(OthersCanWrite());
    ASSERT_EQ(Write(kK, "Later", 4), ERROR_SUCCESS); // the next action works again
    EXPECT_EQ(ValueCount(), "2");
}

TEST_F(HiveBatchSqliteTest, DiskFullOutsideABatchFailsOnlyThatOperation) {
    CRegistry registry;
    ASSERT_EQ(registry.OpenKey(kK, "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
    CSqliteConnection& connection = *CSqliteStore::ConnectionOf(m_hive.Hive());
    connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));
    EXPECT_EQ(registry.WriteValue("Big", std::string(20000, 'x')), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(registry.WriteValue("Small", 1u), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(), "1");
    EXPECT_TRUE(OthersCanWrite());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

QSER_ON_BOTH_STORES(HiveBatchTest);
