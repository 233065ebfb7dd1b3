// A batch remembers the keys it opened and the values of the key it reads. Every case here would
// answer wrongly if what it remembers outlived what it describes.
#include "hive.h"
#include "hivebatch.h"
#include "rawdatabase.h"
#include "registry.h"
#include "temphive.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
class HiveCacheTest : public ::testing::Test {
protected:
    Win32Status Write(const std::string& path, const std::string& name, std::uint32_t value) {
        CRegistry registry;
        Win32Status status = registry.OpenKey(path, "", KEY_ALL_ACCESS, 0);
        return status != ERROR_SUCCESS ? status : registry.WriteValue(name, value);
    }
    // The status of opening an existing key and reading a number from it, and the number.
    std::string Read(const std::string& path, const std::string& name) {
        CRegistry registry;
        Win32Status status = registry.OpenKey(path, "", KEY_ALL_ACCESS, 1);
        std::uint32_t value = 0;
        if (status == ERROR_SUCCESS) {
            status = registry.ReadValue(name, value);
        }
        return std::to_string(status) + ":" + std::to_string(value);
    }
    HiveKeyId Id(const std::string& path) {
        HiveKeyId id = -1;
        Hive().FindKey(path, id);
        return id;
    }
    CHive& Hive() { return m_hive.Hive(); }

    CTempHive m_hive;
};
} // namespace

// Ids are never reused: a key that another program deleted and made again has a new one, which
// the next action must find, or its writes would meet ERROR_KEY_DELETED.
TEST_F(HiveCacheTest, KeyRecreatedByAnotherHiveBetweenActionsIsFoundAgain) {
    ASSERT_EQ(Write("K\\Sub", "A", 1), ERROR_SUCCESS);
    {
        CHiveBatch batch;
        EXPECT_EQ(Read("K\\Sub", "A"), "0:1");
        EXPECT_EQ(Read("K\\Sub", "A"), "0:1");
        ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    }
    {
        std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath());
        ASSERT_EQ(other->DeleteKey("K\\Sub", true), ERROR_SUCCESS);
        HiveKeyId id = 0;
        ASSERT_EQ(other->CreateKey("K\\Sub", id), ERROR_SUCCESS);
        ASSERT_EQ(other->WriteValue(id, "A", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    }
    CHiveBatch batch;
    EXPECT_EQ(Read("K\\Sub", "A"), "0:2");
    EXPECT_EQ(Write("K\\Sub", "B", 3), ERROR_SUCCESS);
    ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(Read("K\\Sub", "B"), "0:3");
}

TEST_F(HiveCacheTest, KeyDeletedInsideTheBatchIsGoneWhenOpenedAgain) {
    CHiveBatch batch;
    ASSERT_EQ(Write("K\\Sub\\Leaf", "A", 1), ERROR_SUCCESS);
    const HiveKeyId old = Id("K\\Sub\\Leaf");
    CRegistry registry;
    ASSERT_EQ(registry.DeleteKey("K\\Sub\\Leaf"), ERROR_SUCCESS);
    EXPECT_EQ(Read("K\\Sub\\Leaf", "A"), "2:0");
    ASSERT_EQ(registry.DeleteKeyTree("K"), ERROR_SUCCESS);
    EXPECT_EQ(Read("K\\Sub", "A"), "2:0");
    EXPECT_EQ(Read("K", "A"), "2:0");
    // Made again below a parent that is new too.
    ASSERT_EQ(Write("K\\Sub\\Leaf", "A", 2), ERROR_SUCCESS);
    EXPECT_GT(Id("K\\Sub\\Leaf"), old);
    ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(Read("K\\Sub\\Leaf", "A"), "0:2");
}

// A batch rolled back takes the keys it made with it: making them again makes them anew.
TEST_F(HiveCacheTest, KeysOfARolledBackBatchAreMadeAgain) {
    HiveKeyId id = 0;
    {
        CHiveBatch batch;
        std::size_t created = 0;
        ASSERT_EQ(Hive().CreateKey("K\\New", id, &created), ERROR_SUCCESS);
        EXPECT_EQ(created, 2u);
        EXPECT_EQ(Read("K\\New", "A"), "2:0"); // opened (and remembered) inside the batch
    }
    EXPECT_EQ(Read("K\\New", "A"), "2:0");
    CHiveBatch batch;
    EXPECT_EQ(Read("K\\New", "A"), "2:0");
    std::size_t created = 0;
    ASSERT_EQ(Hive().CreateKey("K\\New", id, &created), ERROR_SUCCESS);
    EXPECT_EQ(created, 2u);
    EXPECT_EQ(Hive().WriteValue(id, "A", REG_DWORD, {7, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    EXPECT_EQ(Read("K\\New", "A"), "0:7");
}

TEST_F(HiveCacheTest, FaultsFireOnPathsAndValuesTheBatchHasSeen) {
    ASSERT_EQ(Write("K\\Sub", "A", 1), ERROR_SUCCESS);
    ASSERT_EQ(Write("K\\Sub", "B", 2), ERROR_SUCCESS);
    CHiveBatch batch;
    EXPECT_EQ(Read("K\\Sub", "A"), "0:1");
    EXPECT_EQ(Read("K\\Sub", "B"), "0:2");
    Hive().InjectFault(ERegOp::OpenKey, "k\\SUB", "", ERROR_ACCESS_DENIED);
    EXPECT_EQ(Read("K\\Sub", "A"), "5:0");
    EXPECT_EQ(Read("K\\Sub", "A"), "0:1");
    Hive().InjectFault(ERegOp::ReadValue, "K\\Sub", "b", ERROR_INVALID_DATA);
    CRegistry registry;
    ASSERT_EQ(registry.OpenKey("K\\Sub", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
    std::uint32_t value = 0;
    EXPECT_EQ(registry.ReadValue("A", value), ERROR_SUCCESS);
    EXPECT_EQ(registry.ReadValue("B", value), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.ReadValue("B", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
}

TEST_F(HiveCacheTest, SpellingsOfARememberedPathReachTheSameKeyAndNoOther) {
    CHiveBatch batch;
    ASSERT_EQ(Write("Key\\Sub", "A", 1), ERROR_SUCCESS);
    const HiveKeyId sub = Id("Key\\Sub");
    EXPECT_EQ(Id("KEY\\SUB"), sub);
    EXPECT_EQ(Id("key\\sUb"), sub);
    EXPECT_EQ(Read("kEY\\sub", "a"), "0:1");
    EXPECT_EQ(Id("Key\\Su"), -1);
    EXPECT_EQ(Id("Ke"), -1);
    ASSERT_EQ(Write("KEY\\SUB\\Deeper", "A", 2), ERROR_SUCCESS);
    ASSERT_EQ(Write("Key\\Sub2", "A", 3), ERROR_SUCCESS);
    EXPECT_NE(Id("Key\\Sub2"), sub);
    ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    std::vector<std::string> names;
    ASSERT_EQ(Hive().SubKeyNames(Id("Key"), names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"Sub", "Sub2"}));
    ASSERT_EQ(Hive().SubKeyNames(sub, names), ERROR_SUCCESS);
    EXPECT_EQ(names, std::vector<std::string>{"Deeper"});
    EXPECT_EQ(Read("Key\\Sub\\Deeper", "A"), "0:2");
}

// Reading a key's values one after another answers as reading each alone, whatever rows the
// file holds: names in another case, missing ones, rows edited by hand.
TEST_F(HiveCacheTest, ValuesReadInABatchAnswerAsReadAlone) {
    ASSERT_EQ(Write("K", "Number", 1), ERROR_SUCCESS);
    ASSERT_EQ(Write("K", "Other", 2), ERROR_SUCCESS);
    const HiveKeyId key = Id("K");
    {
        CRawDatabase raw(m_hive.FilePath());
        const std::string id = std::to_string(key);
        ASSERT_EQ(raw.Exec("INSERT INTO vals VALUES(" + id +
                           ", 'Bad', 'x', x'00', 10);"
                           "INSERT INTO vals VALUES(" +
                           id +
                           ", 5, 4, x'05000000', 11);"
                           "INSERT INTO vals VALUES(" +
                           id + ", x'4F54', 4, x'06000000', 12)"),
                  0);
    }
    const std::vector<std::string> names = {"Number", "nUMBER", "Bad",   "BAD",
                                            "5",      "OT",     "Other", "Missing"};
    auto readAll = [&] {
        std::vector<std::string> seen;
        for (const std::string& name : names) {
            SHiveValue value;
            const Win32Status status = Hive().ReadValue(key, name, value);
            seen.push_back(name + "=" + std::to_string(status) + ":" + value.name + ":" +
                           std::to_string(value.data.empty() ? -1 : value.data[0]));
        }
        return seen;
    };
    const std::vector<std::string> alone = readAll();
    EXPECT_EQ(alone[0], "Number=0:Number:1");
    EXPECT_EQ(alone[2], "Bad=13::-1");
    EXPECT_EQ(alone[4], "5=0:5:5");  // the column stores the number as text
    EXPECT_EQ(alone[5], "OT=2::-1"); // a blob equals no text
    CHiveBatch batch;
    EXPECT_EQ(readAll(), alone);
    EXPECT_EQ(readAll(), alone);
}

TEST_F(HiveCacheTest, ValuesFollowWritesAndTheKeyRead) {
    ASSERT_EQ(Write("A", "X", 1), ERROR_SUCCESS);
    ASSERT_EQ(Write("A", "Y", 2), ERROR_SUCCESS);
    ASSERT_EQ(Write("B", "X", 3), ERROR_SUCCESS);
    ASSERT_EQ(Write("B", "Y", 4), ERROR_SUCCESS);
    CHiveBatch batch;
    CRegistry a;
    CRegistry b;
    ASSERT_EQ(a.OpenKey("A", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
    ASSERT_EQ(b.OpenKey("B", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
    std::uint32_t value = 0;
    auto read = [&](CRegistry& key, const char* name) {
        value = 0;
        return key.ReadValue(name, value) == ERROR_SUCCESS ? value : 0u;
    };
    EXPECT_EQ(read(a, "X"), 1u);
    EXPECT_EQ(read(a, "Y"), 2u);
    EXPECT_EQ(read(b, "X"), 3u);
    EXPECT_EQ(read(b, "Y"), 4u);
    EXPECT_EQ(read(b, "X"), 3u);
    EXPECT_EQ(read(a, "X"), 1u);
    EXPECT_EQ(read(a, "X"), 1u);
    ASSERT_EQ(a.WriteValue("X", 9u), ERROR_SUCCESS);
    EXPECT_EQ(read(a, "X"), 9u);
    ASSERT_EQ(a.WriteValue("Z", 5u), ERROR_SUCCESS);
    EXPECT_EQ(read(a, "Z"), 5u);
    EXPECT_EQ(read(a, "z"), 5u);
    ASSERT_EQ(Hive().DeleteValue(Id("A"), "y"), ERROR_SUCCESS);
    EXPECT_EQ(a.ReadValue("Y", value), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
}

// Between two actions another program may change any value.
TEST_F(HiveCacheTest, ValuesChangedByAnotherProgramBetweenActionsAreSeen) {
    ASSERT_EQ(Write("K", "X", 1), ERROR_SUCCESS);
    ASSERT_EQ(Write("K", "Y", 2), ERROR_SUCCESS);
    {
        CHiveBatch batch;
        EXPECT_EQ(Read("K", "X"), "0:1");
        EXPECT_EQ(Read("K", "Y"), "0:2");
        ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    }
    CRawDatabase raw(m_hive.FilePath());
    ASSERT_EQ(raw.Exec("UPDATE vals SET data = x'08000000' WHERE name = 'X'"), 0);
    CHiveBatch batch;
    EXPECT_EQ(Read("K", "Y"), "0:2");
    EXPECT_EQ(Read("K", "X"), "0:8");
}
