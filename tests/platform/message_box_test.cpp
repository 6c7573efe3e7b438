#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>

using namespace platform;

namespace {

// Every test starts from the environment's answers with the report captured.
class MessageBox : public ::testing::Test {
  protected:
    void SetUp() override {
        set_answer_source(nullptr);
        set_scripted_answers(std::nullopt);
        set_message_output(&out);
    }
    void TearDown() override {
        ::unsetenv("ORVIK_ANSWERS");
        set_answer_source(nullptr);
        set_scripted_answers(std::nullopt);
        set_message_output(nullptr);
    }
    std::ostringstream out;
};

TEST_F(MessageBox, SafeAnswers) {
    EXPECT_EQ(safe_answer(mb::ok_only), mb::ok);
    EXPECT_EQ(safe_answer(mb::critical), mb::ok);
    EXPECT_EQ(safe_answer(mb::abort_retry_ignore), mb::abort);
    EXPECT_EQ(safe_answer(mb::yes_no), mb::no);
    EXPECT_EQ(safe_answer(mb::yes_no + mb::critical), mb::no);
}

TEST_F(MessageBox, WithoutTerminalOrListTheSafeAnswerIsTakenAndReported) {
    // Tests run with standard input not a terminal.
    EXPECT_EQ(message_box("Powtórzyć ?", mb::yes_no, "Uwaga"), mb::no);
    EXPECT_EQ(message_box("Brak Prarametrów.", mb::critical, "Uwaga"), mb::ok);
    std::string s = out.str();
    EXPECT_NE(s.find("=== Uwaga ===\nPowtórzyć ?\n[Tak / Nie] -> Nie (7)"), std::string::npos) << s;
    EXPECT_NE(s.find("=== (!) Uwaga ===\nBrak Prarametrów.\n[OK] -> OK (1)"), std::string::npos)
        << s;
}

TEST_F(MessageBox, EnvironmentListIsTakenInOrderOneAnswerPerBox) {
    ::setenv("ORVIK_ANSWERS", "4, 5,6,1,x,,3", 1);
    EXPECT_EQ(message_box("a", mb::abort_retry_ignore, "t"), mb::retry);
    EXPECT_EQ(message_box("b", mb::abort_retry_ignore, "t"), mb::ignore);
    EXPECT_EQ(message_box("c", mb::yes_no, "t"), mb::yes);
    EXPECT_EQ(message_box("d", mb::yes_no, "t"), mb::no) << "1 is not offered: safe answer";
    EXPECT_EQ(message_box("e", mb::ok_only, "t"), mb::ok) << "not a number";
    EXPECT_EQ(message_box("f", mb::abort_retry_ignore, "t"), mb::abort) << "empty item";
    EXPECT_EQ(message_box("g", mb::abort_retry_ignore, "t"), mb::abort);
    // Used up: every further box gets the safe answer, so a retry loop ends.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(message_box("h", mb::abort_retry_ignore, "t"), mb::abort);
    EXPECT_NE(out.str().find("ORVIK_ANSWERS used up"), std::string::npos);
    EXPECT_NE(out.str().find("ORVIK_ANSWERS item 4 not valid"), std::string::npos);
}

TEST_F(MessageBox, EmptyEnvironmentListMeansSafeAnswers) {
    ::setenv("ORVIK_ANSWERS", "", 1);
    EXPECT_EQ(message_box("a", mb::yes_no, "t"), mb::no);
}

TEST_F(MessageBox, InProcessListOverridesTheEnvironment) {
    ::setenv("ORVIK_ANSWERS", "7", 1);
    set_scripted_answers(std::vector<int>{6, 6});
    EXPECT_EQ(message_box("a", mb::yes_no, "t"), mb::yes);
    EXPECT_EQ(message_box("b", mb::yes_no, "t"), mb::yes);
    EXPECT_EQ(message_box("c", mb::yes_no, "t"), mb::no);
    set_scripted_answers(std::nullopt);
    EXPECT_EQ(message_box("d", mb::yes_no, "t"), mb::no) << "back to ORVIK_ANSWERS: 7";
}

TEST_F(MessageBox, AnswerSourceSeesTheBoxAndInvalidAnswersFallBack) {
    std::vector<std::string> seen;
    set_answer_source([&](std::string_view text, int style, std::string_view title) {
        seen.push_back(std::string(title) + "|" + std::string(text) + "|" + std::to_string(style));
        return text == "retry" ? std::optional<int>(mb::retry)
               : text == "bad" ? std::optional<int>(mb::yes)
                               : std::nullopt;
    });
    EXPECT_EQ(message_box("retry", mb::abort_retry_ignore, "T"), mb::retry);
    EXPECT_EQ(message_box("bad", mb::abort_retry_ignore, "T"), mb::abort);
    EXPECT_EQ(message_box("none", mb::yes_no, "T"), mb::no);
    EXPECT_EQ(seen, (std::vector<std::string>{"T|retry|2", "T|bad|2", "T|none|4"}));
}

}  // namespace
