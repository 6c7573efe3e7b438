// What the stand-ins need to know of the terminal.
#pragma once

#include <cstdint>

namespace platform {

// True when standard output / standard input is a terminal.
bool stdout_is_terminal();
bool stdin_is_terminal();

// Discards what was typed at the terminal on standard input and not yet read, so that
// the next line read was typed after this call (a question is answered only by what is
// typed once it is shown). Nothing when standard input is not a terminal.
void discard_terminal_input();

// The width of the terminal on standard output in columns (80 when unknown).
int terminal_width();

// The system beep: the terminal bell on standard output when it is a terminal, nothing
// otherwise.
void beep();

// Something other than the status window wrote to the terminal (a message box), so the
// window must draw itself afresh below it instead of over its old lines.
void note_terminal_output();
uint64_t terminal_output_count();

}  // namespace platform
