#include "hive.h"
#include "hivebatch.h"
#include "registry.h"
#include "storetest.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
class HiveFixture : public ::testing::Test {
protected:
    explicit HiveFixture(ETestStore store) : m_hive(store) {}

    Win32Status Open(CRegistry& registry, const std::string& path, int flag = 0) {
        return registry.OpenKey(path, "", KEY_ALL_ACCESS, flag);
    }
    CHive& Hive() { return m_hive.Hive(); }

    CTempHive m_hive;
};

using HiveTest = CStoreTest<HiveFixture>;

const std::string kDrv = TestKey("Drv");
} // namespace

TEST_P(HiveTest, TypedAccessTreatsTheEmptyPathAsTheRoot) {
    HiveKeyId root = -1;
    EXPECT_EQ(Hive().FindKey("", root), ERROR_SUCCESS);
    EXPECT_EQ(root, 0);
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey(TestKey("b\\x"), key), ERROR_SUCCESS);
    ASSERT_EQ(Hive().CreateKey(TestKey("A"), key), ERROR_SUCCESS);
    std::vector<std::string> names;
    ASSERT_EQ(Hive().SubKeyNames(root, names), ERROR_SUCCESS);
    EXPECT_EQ(names, std::vector<std::string>{"SYSTEM"});
    HiveKeyId testRoot = 0;
    ASSERT_EQ(Hive().FindKey(kTestRoot, testRoot), ERROR_SUCCESS);
    ASSERT_EQ(Hive().SubKeyNames(testRoot, names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(Hive().DeleteKey("", true), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Hive().FindKey(TestKey("A\\\\x"), key), ERROR_INVALID_PARAMETER);
}

// Our file holds any key under HKEY_LOCAL_MACHINE; a Windows hive file holds SYSTEM only, so
// another key at the top cannot be made there, and the failure changes nothing.
TEST_P(HiveTest, TopLevelKeysBesideSystemExistOnlyInOurFile) {
    const bool ours = GetParam() == ETestStore::Sqlite;
    HiveKeyId key = 0;
    EXPECT_EQ(Hive().CreateKey("SOFTWARE\\Acme", key),
              ours ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED);
    CRegistry registry;
    EXPECT_EQ(Open(registry, "Enum\\Root"), ours ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(Hive().FindKey("software", key), ours ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
    std::vector<std::string> names;
    ASSERT_EQ(Hive().SubKeyNames(0, names), ERROR_SUCCESS);
    EXPECT_EQ(names, ours ? (std::vector<std::string>{"Enum", "SOFTWARE"})
                          : std::vector<std::string>{"SYSTEM"});
}

TEST_P(HiveTest, TypedAccessStoresAnyTypeAndDeletesValues) {
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey(TestKey("K"), key), ERROR_SUCCESS);
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
    ASSERT_EQ(Hive().DeleteKey(TestKey("K"), false), ERROR_SUCCESS);
    EXPECT_EQ(Hive().WriteValue(key, "Late", REG_SZ, {0}), ERROR_KEY_DELETED);
}

TEST_P(HiveTest, InjectedFaultsFailTheMatchingOperationBeforeItActs) {
    {
        CRegistry setup;
        ASSERT_EQ(Open(setup, kDrv + "\\Board000"), ERROR_SUCCESS);
    }
    Hive().InjectFault(ERegOp::WriteValue, TestKey("DRV\\board000"), "IRQ", ERROR_WRITE_FAULT);
    Hive().InjectFault(ERegOp::OpenKey, kDrv + "\\New", "", ERROR_ACCESS_DENIED, false);
    Hive().InjectFault(ERegOp::EunmKey, kDrv, "", ERROR_INVALID_DATA);
    Hive().InjectFault(ERegOp::DeleteKey, kDrv + "\\Board000", "", ERROR_ACCESS_DENIED);
    Hive().InjectFault(ERegOp::ReadValue, kDrv + "\\Board000", "", ERROR_INVALID_DATA);

    CRegistry registry;
    ASSERT_EQ(Open(registry, kDrv + "\\Board000", 1), ERROR_SUCCESS);
    EXPECT_EQ(registry.WriteValue("Address", std::string("0x2d0")), ERROR_SUCCESS);
    EXPECT_EQ(registry.WriteValue("irq", std::string("7")), ERROR_WRITE_FAULT);
    EXPECT_EQ(registry.WriteValue("irq", std::string("7")), ERROR_SUCCESS); // used up
    std::uint32_t number = 0;
    EXPECT_EQ(registry.ReadValue("Anything", number), ERROR_INVALID_DATA); // any value
    EXPECT_EQ(registry.ReadValue("Anything", number), ERROR_FILE_NOT_FOUND);

    for (int attempt = 0; attempt < 2; ++attempt) { // every time
        CRegistry failing;
        EXPECT_EQ(Open(failing, TestKey("drv\\new")), ERROR_ACCESS_DENIED);
    }
    HiveKeyId key = 0;
    EXPECT_EQ(Hive().FindKey(kDrv + "\\New", key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Hive().FindKey(kDrv, key), ERROR_SUCCESS);

    ASSERT_EQ(Open(registry, kDrv, 1), ERROR_SUCCESS);
    char name[80];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(registry.EunmKey(0, name, size), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.EunmKey(0, name, size), ERROR_SUCCESS);

    EXPECT_EQ(registry.DeleteKey(kDrv + "\\Board000"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Hive().FindKey(kDrv + "\\Board000", key), ERROR_SUCCESS); // not deleted

    Hive().ClearFaults();
    CRegistry cleared;
    EXPECT_EQ(Open(cleared, kDrv + "\\New"), ERROR_SUCCESS);
}

TEST_P(HiveTest, FaultsAlsoReachTypedAccessByKeyPath) {
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey(TestKey("Serial"), key), ERROR_SUCCESS);
    Hive().InjectFault(ERegOp::WriteValue, TestKey("serial"), "", ERROR_WRITE_FAULT);
    EXPECT_EQ(Hive().WriteValue(key, "Type", REG_DWORD, {1, 0, 0, 0}), ERROR_WRITE_FAULT);
    SHiveValue value;
    EXPECT_EQ(Hive().ReadValue(key, "Type", value), ERROR_FILE_NOT_FOUND);
}

TEST_P(HiveTest, ObserverSeesEveryWriteInOrderIncludingRolledBackOnes) {
    std::vector<SHiveWrite> writes;
    Hive().SetWriteObserver([&](const SHiveWrite& write) { writes.push_back(write); });
    {
        CHiveBatch batch;
        CRegistry registry;
        ASSERT_EQ(Open(registry, kDrv + "\\Board000"), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("Irq", std::string("7")), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("Count", 2u), ERROR_SUCCESS);
        ASSERT_EQ(registry.DeleteKey(kDrv + "\\Board000"), ERROR_SUCCESS);
        EXPECT_EQ(registry.DeleteKey(kDrv + "\\Board001"), ERROR_FILE_NOT_FOUND);
    }
    HiveKeyId key = 0;
    ASSERT_EQ(Hive().CreateKey(kDrv + "\\Typed", key), ERROR_SUCCESS);
    ASSERT_EQ(Hive().WriteValue(key, "Raw", REG_BINARY, {5}), ERROR_SUCCESS);
    ASSERT_EQ(Hive().DeleteValue(key, "raw"), ERROR_SUCCESS);
    EXPECT_EQ(writes,
              (std::vector<SHiveWrite>{
                  {ERegOp::WriteValue, kDrv + "\\Board000", "Irq", REG_SZ, {'7', 0}},
                  {ERegOp::WriteValue, kDrv + "\\Board000", "Count", REG_DWORD, {2, 0, 0, 0}},
                  {ERegOp::DeleteKey, kDrv + "\\Board000", "", REG_NONE, {}},
                  {ERegOp::WriteValue, kDrv + "\\Typed", "Raw", REG_BINARY, {5}},
                  {ERegOp::DeleteKey, kDrv + "\\Typed", "raw", REG_NONE, {}},
              }));
}

// The window asks this before every action: only a commit of another connection may say yes,
// once, and a look inside a batch answers for the state the batch then holds.
TEST_P(HiveTest, ChangedSinceLastLookSeesOnlyOtherConnectionsCommits) {
    std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath(), EHiveOpen::MustExist);
    HiveKeyId key = 0;
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    ASSERT_EQ(Hive().CreateKey(TestKey("Own"), key), ERROR_SUCCESS);
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    ASSERT_EQ(other->CreateKey(TestKey("Theirs"), key), ERROR_SUCCESS);
    EXPECT_TRUE(Hive().ChangedSinceLastLook());
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    {
        CHiveBatch rolledBack(other.get());
        ASSERT_EQ(other->CreateKey(TestKey("Never"), key), ERROR_SUCCESS);
    }
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
    {
        CHiveBatch batch(&Hive());
        EXPECT_FALSE(Hive().ChangedSinceLastLook());
        ASSERT_EQ(Hive().CreateKey(TestKey("Inside"), key), ERROR_SUCCESS);
        EXPECT_FALSE(Hive().ChangedSinceLastLook());
        EXPECT_EQ(batch.Commit(), ECommitStatus::Committed);
    }
    EXPECT_FALSE(Hive().ChangedSinceLastLook());
}

QSER_ON_BOTH_STORES(HiveTest);
