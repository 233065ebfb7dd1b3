#include "climessagebox.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {
struct SQuestionCase {
    const char* name;
    bool assumeYes;
    bool interactive;
    const char* typed;
    EMsgResult answer;
    const char* printed;
};

class CliMessageBoxQuestion : public ::testing::TestWithParam<SQuestionCase> {};

const SQuestionCase kQuestionCases[] = {
    {"YesFlagAnswersYesWithoutReading", true, true, "n\n", EMsgResult::Yes, "Go on? [y/N] y\n"},
    {"NoTerminalAnswersNo", false, false, "y\n", EMsgResult::No, "Go on? [y/N] n\n"},
    {"PersonTypesYes", false, true, "yes\n", EMsgResult::Yes, "Go on? [y/N] "},
    {"PersonTypesCapitalYAfterBlanks", false, true, "  Y\n", EMsgResult::Yes, "Go on? [y/N] "},
    {"PersonTypesNo", false, true, "no\n", EMsgResult::No, "Go on? [y/N] "},
    {"PersonJustPressesEnter", false, true, "\n", EMsgResult::No, "Go on? [y/N] "},
    {"InputEndsBeforeAnAnswer", false, true, "", EMsgResult::No, "Go on? [y/N] \n"},
};
} // namespace

TEST_P(CliMessageBoxQuestion, AnswersAndRecordsADecline) {
    const SQuestionCase& c = GetParam();
    std::istringstream in(c.typed);
    std::ostringstream err;
    CCliMessageBox box(c.assumeYes, c.interactive, in, err);
    EXPECT_EQ(box.Show("Go on?", EMsgButtons::YesNo, EMsgIcon::Question), c.answer);
    EXPECT_EQ(err.str(), c.printed);
    EXPECT_EQ(box.Declined(), c.answer == EMsgResult::No);
    EXPECT_FALSE(box.ErrorShown());
}

INSTANTIATE_TEST_SUITE_P(Cases, CliMessageBoxQuestion, ::testing::ValuesIn(kQuestionCases),
                         SRowName());

TEST(CliMessageBox, PrintsEachBoxAsOneLineAndFlagsOnlyErrorBoxes) {
    std::istringstream in;
    std::ostringstream err;
    CCliMessageBox box(false, false, in, err);
    EXPECT_EQ(box.Show("Saved\r\nto registry!", EMsgButtons::Ok, EMsgIcon::Information),
              EMsgResult::Ok);
    EXPECT_FALSE(box.ErrorShown());
    box.Show("Open registry failed", EMsgButtons::Ok, EMsgIcon::None);
    EXPECT_TRUE(box.ErrorShown());
    EXPECT_EQ(err.str(), "Saved  to registry!\nOpen registry failed\n");
    EXPECT_FALSE(box.Declined());
}
