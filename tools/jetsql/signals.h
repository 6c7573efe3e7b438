// Ctrl-C and a closed terminal as the shell takes them, and the lines typed at a
// terminal (read so that a Ctrl-C while typing is seen at once).
#pragma once

#include <csignal>
#include <string>

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

// The next line typed at the terminal on standard input, without its line break.
enum class Typed { Line, End, Interrupted, HungUp };
Typed read_typed_line(std::string& line);
// Drops what was typed at the terminal and not yet returned as a line. Returns whether
// there was more than blanks.
bool drop_typed();

}  // namespace jetsql
