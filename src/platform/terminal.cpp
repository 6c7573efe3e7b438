#include "platform/terminal.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace platform {
namespace {
uint64_t output_count = 0;
}

bool stdout_is_terminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}
bool stdin_is_terminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

void discard_terminal_input() {
    if (stdin_is_terminal()) ::tcflush(STDIN_FILENO, TCIFLUSH);
}

int terminal_width() {
    struct winsize ws {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
    return 80;
}

void beep() {
    if (!stdout_is_terminal()) return;
    std::cout << '\a' << std::flush;
}

void note_terminal_output() {
    ++output_count;
}
uint64_t terminal_output_count() {
    return output_count;
}

}  // namespace platform
