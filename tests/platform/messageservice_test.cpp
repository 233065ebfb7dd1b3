#include "messageservice.h"
#include "processscope.h"
#include "recordingmessagebox.h"

#include <gtest/gtest.h>

namespace {
class MessageServiceTest : public ::testing::Test {
protected:
    CRecordingMessageBox m_box;
    CProcessScope m_installed{{.messageBox = &m_box}};
};
} // namespace

TEST_F(MessageServiceTest, DeferredOkBoxesAppearInOrderWhenOutermostDeferralEnds) {
    CMessageService::BeginDeferral();
    CMessageService::BeginDeferral();
    CMessageService::Error("first");
    CMessageService::EndDeferral();
    CMessageService::Notice("second");
    EXPECT_TRUE(m_box.Records().empty());
    CMessageService::EndDeferral();
    ASSERT_EQ(m_box.Records().size(), 2u);
    EXPECT_EQ(m_box.Records()[0],
              (CRecordingMessageBox::SRecord{"first", EMsgButtons::Ok, EMsgIcon::None}));
    EXPECT_EQ(m_box.Records()[1],
              (CRecordingMessageBox::SRecord{"second", EMsgButtons::Ok, EMsgIcon::Information}));
}

TEST_F(MessageServiceTest, QuestionFlushesQueuedMessagesFirst) {
    m_box.ScriptAnswer(EMsgResult::Yes);
    CMessageService::BeginDeferral();
    CMessageService::Error("queued");
    EXPECT_TRUE(CMessageService::Confirm("sure?"));
    CMessageService::EndDeferral();
    EXPECT_EQ(m_box.Texts(), (std::vector<std::string>{"queued", "sure?"}));
}

TEST_F(MessageServiceTest, WithoutABoxQuestionsAreAnsweredNo) {
    CProcessScope noBox({.messageBox = static_cast<IMessageBox*>(nullptr)});
    EXPECT_FALSE(CMessageService::Confirm("delete everything?"));
}

TEST_F(MessageServiceTest, UnscriptedQuestionTakesTheDefaultAnswer) {
    EXPECT_FALSE(CMessageService::Confirm("a"));
    m_box.SetDefaultAnswer(EMsgResult::Yes);
    EXPECT_TRUE(CMessageService::Confirm("b"));
}
