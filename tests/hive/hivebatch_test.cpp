#include "hivebatch.h"
#include "hiveimpl.h"
#include "processscope.h"
#include "rawdatabase.h"
#include "registry.h"
#include "sqliteconnection.h"
#include "temphive.h"

#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace {
class HiveBatchTest : public ::testing::Test {
protected:
    Win32Status Write(const std::string& path, const std::string& name, std::uint32_t value) {
        CRegistry registry;
        Win32Status status = registry.OpenKey(path, "", KEY_ALL_ACCESS, 0);
        return status != ERROR_SUCCESS ? status : registry.WriteValue(name, value);
    }
    // What another process sees: a connection of its own.
    std::string Seen(const std::string& sql) { return m_other.Text(sql); }
    std::string ValueCount() { return Seen("SELECT count(*) FROM vals"); }
    // Whether another connection could take the write lock now (without waiting).
    bool OthersCanWrite() {
        bool free = m_other.Exec("BEGIN IMMEDIATE") == SQLITE_OK;
        if (free) {
            m_other.Exec("ROLLBACK");
        }
        return free;
    }

    CTempHive m_hive;
    CRawDatabase m_other{m_hive.FilePath()};
};
} // namespace

TEST_F(HiveBatchTest, OperationsOutsideABatchCommitEachOnTheirOwn) {
    ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(), "1");
    ASSERT_EQ(Write("K", "B", 2), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(), "2");
    EXPECT_TRUE(OthersCanWrite());
}

TEST_F(HiveBatchTest, BatchCommitsAllOperationsTogetherOnce) {
    CHiveBatch batch;
    ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
    ASSERT_EQ(Write("K\\Sub", "B", 2), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(), "0");
    EXPECT_EQ(Seen("SELECT count(*) FROM keys"), "0");
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(ValueCount(), "2");
    EXPECT_EQ(Seen("SELECT count(*) FROM keys"), "2");
}

TEST_F(HiveBatchTest, WriteLockIsTakenAtTheFirstOperationNotAtConstruction) {
    ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
    CHiveBatch batch;
    EXPECT_TRUE(OthersCanWrite());
    CRegistry reader;
    ASSERT_EQ(reader.OpenKey("K", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS); // a read is enough
    EXPECT_FALSE(OthersCanWrite());
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_TRUE(OthersCanWrite());
}

TEST_F(HiveBatchTest, DestroyedWithoutCommitRollsBack) {
    {
        CHiveBatch batch;
        ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
    }
    EXPECT_EQ(ValueCount(), "0");
    CRegistry registry;
    EXPECT_EQ(registry.OpenKey("K", "", KEY_ALL_ACCESS, 1), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(OthersCanWrite());
}

TEST_F(HiveBatchTest, NestedBatchesJoinTheOutermost) {
    CHiveBatch outer;
    {
        CHiveBatch inner;
        ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
        EXPECT_EQ(inner.Commit(), ECommitStatus::Committed);
    }
    EXPECT_EQ(ValueCount(), "0"); // only the outermost commits
    ASSERT_EQ(Write("K", "B", 2), ERROR_SUCCESS);
    EXPECT_EQ(outer.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(ValueCount(), "2");
}

TEST_F(HiveBatchTest, InnerBatchWithoutCommitLosesTheWholeBatch) {
    CHiveBatch outer;
    ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
    { CHiveBatch inner; }
    EXPECT_EQ(Write("K", "B", 2), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(outer.Commit(), ECommitStatus::Lost);
    EXPECT_EQ(ValueCount(), "0");
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(HiveBatchTest, DiskFullAbandonsTheWholeBatchAndSaysSoOnlyAtTheOutermostCommit) {
    ASSERT_EQ(Write("K", "Before", 1), ERROR_SUCCESS);
    CSqliteConnection& connection = *m_hive.Hive().Impl().SqlConnection();
    std::string pages = connection.QueryText("PRAGMA page_count");
    connection.Exec("PRAGMA max_page_count=" + pages);
    {
        CHiveBatch batch;
        CRegistry registry;
        ASSERT_EQ(registry.OpenKey("K", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
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
    ASSERT_EQ(Write("K", "Later", 4), ERROR_SUCCESS); // the next action works again
    EXPECT_EQ(ValueCount(), "2");
}

TEST_F(HiveBatchTest, DiskFullOutsideABatchFailsOnlyThatOperation) {
    CRegistry registry;
    ASSERT_EQ(registry.OpenKey("K", "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS);
    CSqliteConnection& connection = *m_hive.Hive().Impl().SqlConnection();
    connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));
    EXPECT_EQ(registry.WriteValue("Big", std::string(20000, 'x')), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(registry.WriteValue("Small", 1u), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(), "1");
    EXPECT_TRUE(OthersCanWrite());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(HiveBatchTest, BatchOnAnotherHiveLeavesTheCurrentOneAlone) {
    CTempHive other;
    CProcessScope current({.hive = &m_hive.Hive(), .messageBox = &m_hive.Messages()});
    CHiveBatch batch(&other.Hive());
    ASSERT_EQ(Write("K", "A", 1), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(), "1");
    EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
}
