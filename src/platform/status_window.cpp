#include "platform/status_window.h"

#include <iostream>
#include <memory>

#include "platform/terminal.h"

namespace platform {
namespace {

// The first columns characters of a UTF-8 text (a character is a lead byte with its
// continuation bytes), control characters shown as blanks so that the line stays one
// line of the terminal.
std::string fit(std::string_view s, int columns) {
    std::string out;
    int count = 0;
    for (char c : s) {
        bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (lead && count++ == columns) break;
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return out;
}

std::unique_ptr<StatusWindow>& process_window() {
    static std::unique_ptr<StatusWindow> window;
    return window;
}

}  // namespace

StatusWindow::StatusWindow(std::string caption)
    : StatusWindow(
          std::move(caption),
          Options{&std::cout, stdout_is_terminal(), stdout_is_terminal() ? terminal_width() : 0,
                  std::chrono::milliseconds(stdout_is_terminal() ? 50 : 250),
                  [] { return Clock::now(); }}) {}

StatusWindow::StatusWindow(std::string caption, Options options)
    : caption_(std::move(caption)), opt_(std::move(options)) {}

StatusWindow::~StatusWindow() {
    flush();
}

const std::string& StatusWindow::line(int n) const {
    static const std::string none;
    return n >= 1 && n <= 3 ? lines_[static_cast<size_t>(n - 1)] : none;
}

void StatusWindow::set_line(int n, std::string_view text) {
    if (n < 1 || n > 3 || lines_[static_cast<size_t>(n - 1)] == text) return;
    lines_[static_cast<size_t>(n - 1)] = text;
    if (n == 3) {
        auto now = opt_.now();
        if (shown_ && now - last_line3_ < opt_.line3_interval) {
            held_ = true;
            return;
        }
        last_line3_ = now;
    }
    if (opt_.terminal) {
        draw();
        return;
    }
    if (held_ && n != 3) print_line(3);
    print_line(n);
}

void StatusWindow::flush() {
    if (!held_) return;
    last_line3_ = opt_.now();
    if (opt_.terminal)
        draw();
    else
        print_line(3);
}

void StatusWindow::print_line(int n) {
    std::ostream& out = *opt_.out;
    if (!shown_) out << caption_ << '\n';
    shown_ = true;
    if (n == 3) held_ = false;
    out << '[' << n << "] " << lines_[static_cast<size_t>(n - 1)] << '\n' << std::flush;
}

void StatusWindow::draw() {
    std::ostream& out = *opt_.out;
    int columns = opt_.width > 1 ? opt_.width - 1 : 79;
    if (shown_ && drawn_at_output_ == terminal_output_count()) {
        out << "\x1b[3A";  // back over the three lines, the caption stays
    } else {
        out << fit(caption_, columns) << '\n';
    }
    for (const auto& l : lines_) out << "\r\x1b[2K" << fit(l, columns) << '\n';
    out << std::flush;
    shown_ = true;
    held_ = false;
    drawn_at_output_ = terminal_output_count();
}

StatusWindow& status_window() {
    auto& w = process_window();
    if (!w) w = std::make_unique<StatusWindow>();
    return *w;
}

void flush_status_window() {
    if (auto& w = process_window()) w->flush();
}

}  // namespace platform
