// The shell's reading of its input into statements and dot-commands (the rules are those
// of the usage text, kUsageText in main.cpp).
#pragma once

#include <deque>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace jetsql {

// A statement or a dot-command as read: its text (a statement's lines joined by line
// breaks, without the ";" that ended it) and the lines it spans.
struct Piece {
    std::string text;
    int first_line = 0;
    int last_line = 0;
    bool command = false;
};

class Reader {
  public:
    // At a terminal a statement ends only with ";", the lines are read from standard
    // input (read_typed_line, edited, after the prompt "jetsql> ", or "   ...> " inside a
    // statement or a remark; a Ctrl-C while typing discards the statement not ended yet),
    // and prompt receives what the reading says. Otherwise the lines come from in, and a
    // line without ";" may end its statement too (see ends_before).
    Reader(std::istream& in, bool terminal, std::ostream* prompt);

    // The next statement or command; nothing at the end of the input (or when reading
    // failed, a signal or a closed terminal included). A statement that the input's end
    // cut short is a terminal's unfinished() one (also one inside a remark left open),
    // otherwise it is returned as it stands.
    std::optional<Piece> next();
    // The statement begun and not ended with ";" when the input ended, or when ".quit"
    // or ".exit" (at a terminal "quit" or "exit" too) came inside it: it does not run.
    const std::optional<Piece>& unfinished() const { return unfinished_; }
    // The word that ended the input inside a statement (".quit", ".exit", "quit" or
    // "exit"); "" when none did.
    const std::string& quit_word() const { return quit_word_; }
    // Some text of a statement was read and not ended yet.
    bool inside_statement() const;
    // The line of a "/*" whose "*/" has not come yet; 0 outside a remark.
    int open_remark() const { return remark_ ? remark_line_ : 0; }
    // After a Ctrl-C while a statement ran: drops what was read and not run yet (the
    // statements after it on its line, the statement not ended) and the lines typed
    // ahead, also those typed after the Ctrl-C. Returns their lines, blank ones left out.
    std::vector<std::string> discard();

  private:
    bool get_line(std::string& line);
    // The line without its remarks ("--" to the end of the line, "/* ... */" over any
    // lines, outside strings, [names] and #dates#): each remark becomes one blank.
    std::string code_of(std::string_view line, int number);
    void read_line(const std::string& line, int number);
    void feed(std::string_view rest, int number);
    void end_statement();
    void forget_statement();
    // Outside a terminal: the statement read so far ends before a line that begins with
    // a dot-command or a word that begins a statement, unless it is unfinished.
    bool ends_before(std::string_view line) const;

    std::istream& in_;
    bool terminal_;
    std::ostream* prompt_;
    int number_ = 0;
    std::string pending_;    // the statement read so far
    int pending_first_ = 0;  // the lines of its first and last characters
    int pending_last_ = 0;
    char open_ = 0;        // the closing character of an open string, bracketed name or date
    int depth_ = 0;        // parentheses open outside those
    bool remark_ = false;  // inside a "/* ... */" remark
    int remark_line_ = 0;  // the line of its "/*"
    std::deque<Piece> ready_;
    std::optional<Piece> unfinished_;
    std::string quit_word_;
};

// Names on standard error each line that a Ctrl-C kept from running.
void report_dropped(const std::vector<std::string>& lines);

// A statement's text that is only blanks.
bool blank(std::string_view text);

}  // namespace jetsql
