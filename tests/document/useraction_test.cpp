#include "messageservice.h"
#include "registry.h"
#include "sqliteconnection.h"
#include "sqlitestore.h"
#include "temphive.h"
#include "useraction.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
class UserActionTest : public ::testing::Test {
protected:
    Win32Status Write(const std::string& name, std::uint32_t value) {
        CRegistry registry;
        Win32Status status = registry.OpenKey("K", "", KEY_ALL_ACCESS, 0);
        return status != ERROR_SUCCESS ? status : registry.WriteValue(name, value);
    }
    // The next value write that needs a new page fails as a full disk does.
    void FillDisk() {
        CSqliteConnection& connection = *CSqliteStore::ConnectionOf(m_hive.Hive());
        connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));
    }
    void WriteTooMuch() {
        CRegistry registry;
        ASSERT_EQ(registry.OpenKey("K", "", KEY_ALL_ACCESS, 1), ERROR_SUCCESS);
        EXPECT_EQ(registry.WriteValue("Big", std::string(20000, 'x')), ERROR_REGISTRY_IO_FAILED);
    }
    std::vector<std::string> Texts() { return m_hive.Messages().Texts(); }

    CTempHive m_hive;
};
} // namespace

TEST_F(UserActionTest, OkMessagesRaisedInsideAppearWhenTheOutermostActionEnds) {
    {
        CUserAction outer;
        CMessageService::Error("first");
        CUserAction::Run([] { CMessageService::Notice("second"); });
        EXPECT_TRUE(m_hive.Messages().Records().empty());
        EXPECT_TRUE(outer.Commit());
        EXPECT_TRUE(m_hive.Messages().Records().empty()); // still inside the action
    }
    EXPECT_EQ(Texts(), (std::vector<std::string>{"first", "second"}));
    CMessageService::Error("after");
    EXPECT_EQ(Texts().back(), "after"); // no deferral left behind
}

TEST_F(UserActionTest, FailedWriteIsReportedOnceAfterTheActionsOwnMessages) {
    ASSERT_EQ(Write("Before", 1), ERROR_SUCCESS);
    FillDisk();
    {
        CUserAction action;
        WriteTooMuch();
        CMessageService::Error("raised inside");
        CUserAction::Run([] { CMessageService::Error("inner"); });
        EXPECT_FALSE(action.Commit());
    }
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"raised inside", "inner", "Unable to write to registry"}));
}

TEST_F(UserActionTest, ActionEndedWithoutCommitKeepsNothingAndSaysNothing) {
    {
        CUserAction action;
        ASSERT_EQ(Write("A", 1), ERROR_SUCCESS);
    }
    CRegistry registry;
    EXPECT_EQ(registry.OpenKey("K", "", KEY_ALL_ACCESS, 1), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(UserActionTest, InnerActionEndedWithoutCommitLosesTheOuterOneSilently) {
    CUserAction outer;
    ASSERT_EQ(Write("A", 1), ERROR_SUCCESS);
    { CUserAction inner; }
    EXPECT_FALSE(outer.Commit());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(UserActionTest, RolledBackActionShowsItsFailuresButNoNotice) {
    ASSERT_EQ(Write("Before", 1), ERROR_SUCCESS);
    FillDisk();
    {
        CUserAction action;
        CUserAction::Run([] { CMessageService::Notice("Set configruation to Windows Registry!"); });
        WriteTooMuch();
        CMessageService::Error("raised inside");
        CMessageService::Notice("Configuration's been saved to registry!");
        EXPECT_FALSE(action.Commit());
    }
    EXPECT_EQ(Texts(), (std::vector<std::string>{"raised inside", "Unable to write to registry"}));

    // The next action, kept, shows its notices again.
    CUserAction::Run([] { CMessageService::Notice("kept"); });
    EXPECT_EQ(Texts().back(), "kept");
}

// A command refused on purpose keeps nothing, but what it says still explains why.
TEST_F(UserActionTest, ActionEndedWithoutCommitStillShowsItsNotices) {
    {
        CUserAction action;
        CMessageService::Notice("Remove all ports on this board first!");
    }
    EXPECT_EQ(Texts(), std::vector<std::string>{"Remove all ports on this board first!"});
}
