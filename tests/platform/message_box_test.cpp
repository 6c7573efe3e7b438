#include "platform/message_box.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <thread>

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

// Reads the terminal's output from its master side into seen until it holds count
// prompts of a box; false when none comes within seconds.
bool wait_for_prompts(int master, std::string& seen, size_t count) {
    const auto prompts = [&] {
        size_t n = 0;
        for (size_t at = seen.find("\n> "); at != std::string::npos; at = seen.find("\n> ", at + 1))
            ++n;
        return n;
    };
    while (prompts() < count) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 10'000) <= 0) return false;
        char buf[512];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) return false;
        seen.append(buf, static_cast<size_t>(n));
    }
    return true;
}

// Two questions asked at a terminal (the slave side of a pseudo-terminal) by another
// process, with lines typed before each question is shown and after: only what is typed
// once a question is shown answers it.
TEST_F(MessageBox, AtTheTerminalOnlyWhatIsTypedAfterTheQuestionAnswersIt) {
    const struct {
        const char* name;
        const char* ahead[2];  // typed before the question is shown
        const char* typed[2];  // typed once it is shown
        int expected[2];
    } cases[] = {
        {"typed early in the run", {"tak\n", ""}, {"nie\n", "t\n"}, {mb::no, mb::yes}},
        {"typed with the answer to the question before",
         {"", "1\n"},
         {"1\n", "2\n"},
         {mb::yes, mb::no}},
        {"nothing typed ahead", {"", ""}, {"2\n", "Tak\n"}, {mb::no, mb::yes}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int master = -1;
        const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::unsetenv("ORVIK_ANSWERS");
            int answers = 0;
            for (int q = 0; q < 2; ++q) {
                // The typed-ahead line has reached the terminal before the question.
                int pending = 0;
                for (int wait = 0; *c.ahead[q] && pending == 0 && wait < 1000; ++wait) {
                    if (::ioctl(STDIN_FILENO, FIONREAD, &pending) != 0) ::_exit(100);
                    if (pending == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                answers = answers * 10 + message_box("Usunąć ?", mb::yes_no, "Uwaga");
            }
            ::_exit(answers);
        }
        std::string seen;
        bool shown = ::write(master, c.ahead[0], strlen(c.ahead[0])) >= 0 &&
                     wait_for_prompts(master, seen, 1);
        const std::string after_first = std::string(c.typed[0]) + c.ahead[1];
        shown = shown && ::write(master, after_first.data(), after_first.size()) >= 0 &&
                wait_for_prompts(master, seen, 2) &&
                ::write(master, c.typed[1], strlen(c.typed[1])) >= 0;
        EXPECT_TRUE(shown) << seen;
        if (!shown) ::kill(pid, SIGKILL);
        int status = -1;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ::close(master);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.expected[0] * 10 + c.expected[1]) << seen;
    }
}

}  // namespace
