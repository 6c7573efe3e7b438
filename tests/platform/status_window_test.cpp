#include "platform/status_window.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/terminal.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

struct Window {
    std::ostringstream out;
    StatusWindow::Clock::time_point t{};
    StatusWindow w;
    explicit Window(bool terminal, int width = 80)
        : w("Konwersja do wersji 6.46",
            StatusWindow::Options{&out, terminal, width, 250ms, [this] { return t; }}) {}
};

TEST(StatusWindow, PlainLinesWithCaptionOnce) {
    Window x(false);
    x.w.set_line(3, "Proszę czekać");
    x.w.set_line(1, " /srv/baza.mdb ");
    x.w.set_line(1, " /srv/baza.mdb ");  // unchanged: nothing printed
    x.w.set_line(2, " Wersja bazy:1,65");
    x.w.set_line(4, "ignored");
    EXPECT_EQ(x.out.str(),
              "Konwersja do wersji 6.46\n[3] Proszę czekać\n[1]  /srv/baza.mdb \n"
              "[2]  Wersja bazy:1,65\n");
    EXPECT_EQ(x.w.line(1), " /srv/baza.mdb ");
}

TEST(StatusWindow, Line3IsRateLimitedButItsLastStateIsNeverLost) {
    Window x(false);
    x.w.set_line(3, "Konwersja");
    x.out.str("");
    for (int i = 5; i >= 1; --i) {  // a countdown within a quarter second
        x.t += 10ms;
        x.w.set_line(3, std::to_string(i));
    }
    EXPECT_EQ(x.out.str(), "") << "held";
    x.w.set_line(2, " Konwresja:1,66");  // the held state comes out first
    EXPECT_EQ(x.out.str(), "[3] 1\n[2]  Konwresja:1,66\n");
    x.out.str("");
    x.t += 300ms;
    x.w.set_line(3, "Porządki");  // the interval has passed: printed at once
    x.t += 1ms;
    x.w.set_line(3, "Skończyłem");
    EXPECT_EQ(x.out.str(), "[3] Porządki\n");
    x.w.flush();
    EXPECT_EQ(x.out.str(), "[3] Porządki\n[3] Skończyłem\n");
    x.w.flush();
    EXPECT_EQ(x.out.str(), "[3] Porządki\n[3] Skończyłem\n") << "nothing held any more";
}

TEST(StatusWindow, DestructionPrintsTheHeldLine) {
    std::ostringstream out;
    StatusWindow::Clock::time_point t{};
    {
        StatusWindow w("c", StatusWindow::Options{&out, false, 0, 250ms, [&] { return t; }});
        w.set_line(3, "a");
        w.set_line(3, "b");
    }
    EXPECT_EQ(out.str(), "c\n[3] a\n[3] b\n");
}

TEST(StatusWindow, TerminalRedrawsInPlaceCutToWidth) {
    Window x(true, 12);
    x.w.set_line(1, "/bardzo/długa/ścieżka.mdb");
    EXPECT_EQ(x.out.str(), "Konwersja d\n\r\x1b[2K/bardzo/dłu\n\r\x1b[2K\n\r\x1b[2K\n");
    x.out.str("");
    x.w.set_line(2, "a\tb");
    EXPECT_EQ(x.out.str(), "\x1b[3A\r\x1b[2K/bardzo/dłu\n\r\x1b[2Ka b\n\r\x1b[2K\n");
    // After a message box wrote to the terminal, the window is drawn afresh below it.
    note_terminal_output();
    x.out.str("");
    x.w.set_line(2, "c");
    EXPECT_EQ(x.out.str().rfind("Konwersja d\n", 0), 0u) << x.out.str();
}

}  // namespace
