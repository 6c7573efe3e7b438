#include "signals.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "jet/database.h"

namespace jetsql {

volatile sig_atomic_t interrupts = 0;
volatile sig_atomic_t hung_up = 0;

namespace {

bool at_terminal = false;
int notice = STDERR_FILENO;
jet::Database* volatile statement_db = nullptr;
volatile sig_atomic_t statement_writes = 0;
volatile sig_atomic_t stopped_writes = 0;

constexpr std::string_view kRunsOn =
    "\njetsql: the statement writes and runs to its end: stopping it would roll back every "
    "write not committed. Ctrl-C again stops it and rolls them back.\n";

void stop_writes(jet::Database* db) {
    stopped_writes = 1;
    db->interrupt(true);
}

extern "C" void on_signal(int sig) {
    const int saved = errno;
    jet::Database* db = statement_db;
    if (sig == SIGHUP) {
        hung_up = 1;
        if (db) stop_writes(db);
    } else {
        interrupts = interrupts + 1;
        if (db && statement_writes && (!at_terminal || interrupts > 1)) {
            stop_writes(db);
        } else if (db && !statement_writes) {
            db->interrupt();
        } else if (db && interrupts == 1) {
            // Not even the reading part of a statement that writes (an UPDATE over a
            // join gathers its pairs first) is stopped: the statement runs to its end,
            // as the notice says, whichever of its parts the press meets.
            (void)!::write(notice, kRunsOn.data(), kRunsOn.size());
        }
    }
    errno = saved;
}

void catch_one(int sig, int flags) {
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sigaddset(&sa.sa_mask, SIGINT);
    sigaddset(&sa.sa_mask, SIGHUP);
    sa.sa_flags = flags;  // no SA_RESTART: a read waiting for input returns
    sigaction(sig, &sa, nullptr);
}

}  // namespace

void catch_signals(bool terminal, int notice_fd) {
    at_terminal = terminal;
    notice = notice_fd;
    // Without a terminal the first Ctrl-C ends the input and the second the process.
    catch_one(SIGINT, terminal ? 0 : SA_RESETHAND);
    catch_one(SIGHUP, 0);
}

void running(jet::Database* db, bool writes) {
    stopped_writes = 0;
    statement_writes = writes;
    statement_db = db;
}

void done() {
    statement_db = nullptr;
}

bool writes_stopped() {
    return stopped_writes != 0;
}

int take_interrupts() {
    const int n = interrupts;
    interrupts = 0;
    return n;
}

namespace {
std::string typed;  // read from the terminal and not yet returned as a line
}

// Waits for input with the two signals blocked but inside ppoll, so that a Ctrl-C that
// comes just before the wait is not slept through. The terminal itself drops what was
// typed on the line when Ctrl-C is pressed.
Typed read_typed_line(std::string& line) {
    sigset_t both, before;
    sigemptyset(&both);
    sigaddset(&both, SIGINT);
    sigaddset(&both, SIGHUP);
    for (;;) {
        if (const size_t end = typed.find('\n'); end != std::string::npos) {
            line = typed.substr(0, end);
            typed.erase(0, end + 1);
            return Typed::Line;
        }
        sigprocmask(SIG_BLOCK, &both, &before);
        if (hung_up || interrupts) {
            sigprocmask(SIG_SETMASK, &before, nullptr);
            typed.clear();
            return hung_up ? Typed::HungUp : Typed::Interrupted;
        }
        struct pollfd in = {STDIN_FILENO, POLLIN, 0};
        const int ready = ::ppoll(&in, 1, nullptr, &before);
        sigprocmask(SIG_SETMASK, &before, nullptr);
        if (ready < 0) continue;  // a signal: seen above
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n > 0) {
            typed.append(buf, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // The end: Ctrl-D, or a terminal that is gone (its reads end, its settings fail).
        struct termios t {};
        if (n < 0 || ::tcgetattr(STDIN_FILENO, &t) != 0) return Typed::HungUp;
        if (typed.empty()) return Typed::End;
        line = std::move(typed);  // Ctrl-D after text on a line: that text is a line
        typed.clear();
        return Typed::Line;
    }
}

bool drop_typed() {
    const bool any = typed.find_first_not_of(" \t\r\n") != std::string::npos;
    typed.clear();
    return any;
}

}  // namespace jetsql
