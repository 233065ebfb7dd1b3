#include "hive.h"
#include "hivebatch.h"
#include "registry.h"
#include "temphive.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
class HiveTest : public ::testing::Test {
protected:
    Win32Status Open(CRegistry& registry, const std::string& path, int flag = 0) {
        return registry.OpenKey(path, "", KEY_ALL_ACCESS, flag);
    }
    CHive& Hive() { return m_hive.Hive(); }

    CTempHive m_hive;
};
} // namespace

TEST_F(HiveTest, TypedAccessTreatsTheEmptyPathAsTheRoot) {
    HiveKeyId root = -1;
    EXPECT_EQ(Hive().FindKey("", root), ERROR_SUCCESS);
    EXPECT_EQ(root, 0);
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey("b\\x", key), ERROR_SUCCESS);
    ASSERT_EQ(Hive().CreateKey("A", key), ERROR_SUCCESS);
    std::vector<std::string> names;
    ASSERT_EQ(Hive().SubKeyNames(root, names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(Hive().DeleteKey("", true), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Hive().FindKey("A\\\\x", key), ERROR_INVALID_PARAMETER);
}

TEST_F(HiveTest, TypedAccessStoresAnyTypeAndDeletesValues) {
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey("K", key), ERROR_SUCCESS);
    const std::vector<std::uint8_t> multi = {'a', 0, 'b', 0, 0};
    ASSERT_EQ(Hive().WriteValue(key, "Multi", REG_MULTI_SZ, multi), ERROR_SUCCESS);
    ASSERT_EQ(Hive().WriteValue(key, "Odd", 0x12345678u, {9}), ERROR_SUCCESS);
    SHiveValue value;
    ASSERT_EQ(Hive().ReadValue(key, "MULTI", value), ERROR_SUCCESS);
    EXPECT_EQ(value, (SHiveValue{"Multi", REG_MULTI_SZ, multi}));
    ASSERT_EQ(Hive().ReadValue(key, "odd", value), ERROR_SUCCESS);
    EXPECT_EQ(value.type, 0x12345678u);
    EXPECT_EQ(Hive().DeleteValue(key, "multi"), ERROR_SUCCESS);
    EXPECT_EQ(Hive().DeleteValue(key, "multi"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Hive().ReadValue(key, "Multi", value), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(Hive().DeleteKey("K", false), ERROR_SUCCESS);
    EXPECT_EQ(Hive().WriteValue(key, "Late", REG_SZ, {0}), ERROR_KEY_DELETED);
}

TEST_F(HiveTest, InjectedFaultsFailTheMatchingOperationBeforeItActs) {
    {
        CRegistry setup;
        ASSERT_EQ(Open(setup, "Drv\\Board000"), ERROR_SUCCESS);
    }
    Hive().InjectFault(ERegOp::WriteValue, "DRV\\board000", "IRQ", ERROR_WRITE_FAULT);
    Hive().InjectFault(ERegOp::OpenKey, "Drv\\New", "", ERROR_ACCESS_DENIED, false);
    Hive().InjectFault(ERegOp::EunmKey, "Drv", "", ERROR_INVALID_DATA);
    Hive().InjectFault(ERegOp::DeleteKey, "Drv\\Board000", "", ERROR_ACCESS_DENIED);
    Hive().InjectFault(ERegOp::ReadValue, "Drv\\Board000", "", ERROR_INVALID_DATA);

    CRegistry registry;
    ASSERT_EQ(Open(registry, "Drv\\Board000", 1), ERROR_SUCCESS);
    EXPECT_EQ(registry.WriteValue("Address", std::string("0x2d0")), ERROR_SUCCESS);
    EXPECT_EQ(registry.WriteValue("irq", std::string("7")), ERROR_WRITE_FAULT);
    EXPECT_EQ(registry.WriteValue("irq", std::string("7")), ERROR_SUCCESS); // used up
    std::uint32_t number = 0;
    EXPECT_EQ(registry.ReadValue("Anything", number), ERROR_INVALID_DATA); // any value
    EXPECT_EQ(registry.ReadValue("Anything", number), ERROR_FILE_NOT_FOUND);

    for (int attempt = 0; attempt < 2; ++attempt) { // every time
        CRegistry failing;
        EXPECT_EQ(Open(failing, "drv\\new"), ERROR_ACCESS_DENIED);
    }
    HiveKeyId key = 0;
    EXPECT_EQ(Hive().FindKey("Drv\\New", key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Hive().FindKey("Drv", key), ERROR_SUCCESS);

    ASSERT_EQ(Open(registry, "Drv", 1), ERROR_SUCCESS);
    char name[80];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(registry.EunmKey(0, name, size), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.EunmKey(0, name, size), ERROR_SUCCESS);

    EXPECT_EQ(registry.DeleteKey("Drv\\Board000"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Hive().FindKey("Drv\\Board000", key), ERROR_SUCCESS); // not deleted

    Hive().ClearFaults();
    CRegistry cleared;
    EXPECT_EQ(Open(cleared, "Drv\\New"), ERROR_SUCCESS);
}

TEST_F(HiveTest, FaultsAlsoReachTypedAccessByKeyPath) {
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey("Services\\Serial", key), ERROR_SUCCESS);
    Hive().InjectFault(ERegOp::WriteValue, "services\\serial", "", ERROR_WRITE_FAULT);
    EXPECT_EQ(Hive().WriteValue(key, "Type", REG_DWORD, {1, 0, 0, 0}), ERROR_WRITE_FAULT);
    SHiveValue value;
    EXPECT_EQ(Hive().ReadValue(key, "Type", value), ERROR_FILE_NOT_FOUND);
}

TEST_F(HiveTest, ObserverSeesEveryWriteInOrderIncludingRolledBackOnes) {
    std::vector<SHiveWrite> writes;
    Hive().SetWriteObserver([&](const SHiveWrite& write) { writes.push_back(write); });
    {
        CHiveBatch batch;
        CRegistry registry;
        ASSERT_EQ(Open(registry, "Drv\\Board000"), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("Irq", std::string("7")), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("Count", 2u), ERROR_SUCCESS);
        ASSERT_EQ(registry.DeleteKey("Drv\\Board000"), ERROR_SUCCESS);
        EXPECT_EQ(registry.DeleteKey("Drv\\Board001"), ERROR_FILE_NOT_FOUND);
    }
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey("Drv\\Typed", key), ERROR_SUCCESS);
    ASSERT_EQ(Hive().WriteValue(key, "Raw", REG_BINARY, {5}), ERROR_SUCCESS);
    ASSERT_EQ(Hive().DeleteValue(key, "raw"), ERROR_SUCCESS);
    EXPECT_EQ(writes, (std::vector<SHiveWrite>{
                          {ERegOp::WriteValue, "Drv\\Board000", "Irq", REG_SZ, {'7', 0}},
                          {ERegOp::WriteValue, "Drv\\Board000", "Count", REG_DWORD, {2, 0, 0, 0}},
                          {ERegOp::DeleteKey, "Drv\\Board000", "", REG_NONE, {}},
                          {ERegOp::WriteValue, "Drv\\Typed", "Raw", REG_BINARY, {5}},
                          {ERegOp::DeleteKey, "Drv\\Typed", "raw", REG_NONE, {}},
                      }));
}

// The window asks this before every action: only a commit of another connection may say yes,
// once, and a look inside a batch answers for the state the batch then holds.
TEST_F(HiveTest, ChangedSinceLastLookSeesOnlyOtherConnectionsCommits) {
    std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath());
    HiveKeyId key = 0;
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    ASSERT_EQ(Hive().CreateKey("Own", key), ERROR_SUCCESS);
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    ASSERT_EQ(other->CreateKey("Theirs", key), ERROR_SUCCESS);
    EXPECT_TRUE(Hive().ChangedSinceLastLook());
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    {
        CHiveBatch rolledBack(other.get());
        ASSERT_EQ(other->CreateKey("Never", key), ERROR_SUCCESS);
    }
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    {
        CHiveBatch batch(&Hive());
        EXPECT_FALSE(Hive().ChangedSinceLastLook());
        ASSERT_EQ(Hive().CreateKey("Inside", key), ERROR_SUCCESS);
        EXPECT_FALSE(Hive().ChangedSinceLastLook());
        EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    }
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
}
