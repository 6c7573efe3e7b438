// Blocking message boxes on Linux.
//
// A box takes its answer, in this order, from: an answer source installed in-process
// (tests); a list of answers installed in-process or given in the environment variable
// ORVIK_ANSWERS (comma-separated answer codes, one per box, in order); the user at the
// terminal when standard input and standard output are terminals; otherwise the safe
// answer. An answer not offered by the box's buttons, and every box after the list is
// used up, get the safe answer: OK, Abort for Abort/Retry/Ignore, No for Yes/No.
//
// Title, text, buttons and the answer taken are reported on standard error for every
// box that is not answered at the terminal; a box answered at the terminal is shown
// there, on standard output.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

namespace mb {
// Styles: the buttons in the low four bits, plus the critical icon.
inline constexpr int ok_only = 0;
inline constexpr int abort_retry_ignore = 2;
inline constexpr int yes_no = 4;
inline constexpr int critical = 16;
// Answers.
inline constexpr int ok = 1;
inline constexpr int abort = 3;
inline constexpr int retry = 4;
inline constexpr int ignore = 5;
inline constexpr int yes = 6;
inline constexpr int no = 7;
}  // namespace mb

// The answers a style offers, in button order: OK; Abort, Retry, Ignore; Yes, No. A
// button code other than 2 and 4 offers OK.
std::vector<int> answers_of(int style);

// The answer that neither goes on at a risk nor loses work: OK, Abort, or No.
int safe_answer(int style);

// Shows text with the buttons of style under title, waits for the answer and returns
// its code.
int message_box(std::string_view text, int style, std::string_view title);

// An in-process answer source: called with each box; nullopt or an answer the box does
// not offer gives the safe answer. An empty source removes it.
using AnswerSource =
    std::function<std::optional<int>(std::string_view text, int style, std::string_view title)>;
void set_answer_source(AnswerSource source);

// An in-process list of answers used instead of ORVIK_ANSWERS, one per box. nullopt
// goes back to the environment (read afresh at the next box).
void set_scripted_answers(std::optional<std::vector<int>> answers);

// Where boxes not answered at the terminal are reported; nullptr: standard error.
void set_message_output(std::ostream* out);

}  // namespace platform
