// Ctrl-C and a closed terminal as the shell takes them, and the lines typed at a
// terminal: edited with libedit (keys, in-memory history), read so that a Ctrl-C while
// typing is seen at once.
#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace jet {
class Database;
}

namespace jetsql {

// Ctrl-C presses since the shell last took them (take_interrupts), and a hang-up (the
// terminal closed).
extern volatile sig_atomic_t interrupts;
extern volatile sig_atomic_t hung_up;

// Catches Ctrl-C and the hang-up. At a terminal a Ctrl-C is counted and asks a running
// statement to stop (see running); otherwise it ends the input and a second one ends the
// process. notice_fd receives the notice that a statement that writes runs on.
void catch_signals(bool terminal, int notice_fd);

// A statement about to run on db (writes: it may write), and its end. While it runs a
// Ctrl-C stops it when it only reads; one that writes runs on (stopping it would roll
// back every write not committed) unless Ctrl-C is pressed again, or the input is not a
// terminal, or the terminal closed: then it is stopped and those writes are rolled back
// (writes_stopped).
void running(jet::Database* db, bool writes);
void done();
// The statement's writes were stopped: SQLite rolled back every write not committed.
bool writes_stopped();
// The Ctrl-C presses not taken yet; forgets them.
int take_interrupts();

// Sets up the editing of the lines typed at the terminal on standard input; out_fd (the
// terminal) receives the prompts and the echo. The terminal keeps what was typed ahead
// when Ctrl-C is pressed (NOFLSH), so that drop_typed can name it; the settings it had
// are put back by end_line_editing.
void start_line_editing(int out_fd);
void end_line_editing();

// The next line typed at the terminal after prompt, without its line break; each line
// that is not blank goes into the session's history (up arrow).
enum class Typed { Line, End, Interrupted, HungUp };
Typed read_typed_line(std::string& line, const char* prompt);
// Drops what was typed at the terminal and not yet returned as a line, the lines that
// wait in the terminal included (also one not ended with Enter). Returns them, each
// without its line break, blank ones left out.
std::vector<std::string> drop_typed();

}  // namespace jetsql
