// The status window: a caption and three status lines.
//
// On a terminal the window is drawn on standard output and redrawn in place (cursor up,
// clear line), each line cut to the terminal's width. Elsewhere each change is printed
// as a plain line "[n] text" below the caption, printed once. Lines 1 and 2 (the
// database and the version) change seldom and every change is printed. Line 3 (the
// phase, countdowns, per-record progress) is printed at most once per interval (a
// quarter second off a terminal, a twentieth on one); a change that comes sooner is
// held, replaced by any later change, and printed before the next change of line 1 or
// 2, when line 3 is next printed, and when the process ends, so the output always ends
// with the last state of each line.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace platform {

class StatusWindow {
  public:
    using Clock = std::chrono::steady_clock;
    struct Options {
        std::ostream* out;                         // where the window is drawn
        bool terminal;                             // draw in place
        int width;                                 // columns, when terminal
        std::chrono::milliseconds line3_interval;  // the least time between prints of line 3
        std::function<Clock::time_point()> now;    // the clock
    };

    // A window on standard output, in place when it is a terminal.
    explicit StatusWindow(std::string caption = "Konwersja do wersji 6.46");
    StatusWindow(std::string caption, Options options);
    ~StatusWindow();
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

    // Sets line n (1 to 3) to text; other numbers are ignored. Setting the text a line
    // already has prints nothing.
    void set_line(int n, std::string_view text);
    const std::string& line(int n) const;

    // Prints a held change of line 3.
    void flush();

  private:
    void print_line(int n);
    void draw();

    std::string caption_;
    Options opt_;
    std::array<std::string, 3> lines_;
    bool shown_ = false;
    bool held_ = false;
    Clock::time_point last_line3_{};
    uint64_t drawn_at_output_ = 0;  // terminal_output_count() when last drawn
};

// The process's window, created at first use.
StatusWindow& status_window();

// Prints what the process's window holds back, when it exists.
void flush_status_window();

}  // namespace platform
