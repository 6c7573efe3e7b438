#include "signals.h"

#include <histedit.h>
#include <langinfo.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "jet/database.h"
#include "reader.h"

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

std::string typed;           // read from the terminal and not yet given to the line editor
size_t typed_at = 0;         // the first byte of typed not given yet
Typed no_byte = Typed::End;  // why the last wait for a byte ended without one

EditLine* editor = nullptr;
History* history_of_session = nullptr;
const char* prompt_now = "";
int prompt_fd = STDERR_FILENO;  // the terminal, for the prompts
struct termios settings_before {};
bool settings_taken = false;

// The next byte typed; false when the terminal ended, closed or a Ctrl-C came (no_byte
// says which). Waits with the two signals blocked but inside ppoll, so that a Ctrl-C
// that comes just before the wait is not slept through.
bool next_byte(char& byte) {
    sigset_t both, before;
    sigemptyset(&both);
    sigaddset(&both, SIGINT);
    sigaddset(&both, SIGHUP);
    for (;;) {
        if (typed_at < typed.size()) {
            byte = typed[typed_at++];
            return true;
        }
        typed.clear();
        typed_at = 0;
        sigprocmask(SIG_BLOCK, &both, &before);
        if (hung_up || interrupts) {
            sigprocmask(SIG_SETMASK, &before, nullptr);
            no_byte = hung_up ? Typed::HungUp : Typed::Interrupted;
            return false;
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
        // The end: Ctrl-D (of a terminal not edited), or a terminal that is gone (its
        // reads end, its settings fail).
        struct termios t {};
        no_byte = n < 0 || ::tcgetattr(STDIN_FILENO, &t) != 0 ? Typed::HungUp : Typed::End;
        return false;
    }
}

// The editor's reading of a character: 1 and the character, 0 at the end, -1 when a
// Ctrl-C or the terminal's closing ends the line. Bytes that make no character of the
// locale are dropped, as the editor's own reading drops them.
extern "C" int editor_getc(EditLine*, wchar_t* wc) {
    std::mbstate_t state{};
    char byte;
    while (next_byte(byte)) {
        const size_t r = std::mbrtowc(wc, &byte, 1, &state);
        if (r == static_cast<size_t>(-2)) continue;
        if (r == static_cast<size_t>(-1)) {
            state = {};
            continue;
        }
        return 1;
    }
    return no_byte == Typed::End ? 0 : -1;
}

// Ctrl-C no longer empties the terminal's queue: what was typed ahead is read and
// named when it is dropped. Set again after each line edited, as the editor puts back
// the settings that the terminal had when it began.
void keep_typed_ahead() {
    struct termios t {};
    if (::tcgetattr(STDIN_FILENO, &t) == 0 && !(t.c_lflag & NOFLSH)) {
        t.c_lflag |= NOFLSH;
        ::tcsetattr(STDIN_FILENO, TCSANOW, &t);
    }
}

extern "C" char* editor_prompt(EditLine*) {
    return const_cast<char*>(prompt_now);
}

}  // namespace

void start_line_editing(int out_fd) {
    settings_taken = ::tcgetattr(STDIN_FILENO, &settings_before) == 0;
    prompt_fd = out_fd;
    // Characters are read and shown as the locale encodes them; where it gives none
    // beyond ASCII, as UTF-8, the engine's own text.
    if (!std::setlocale(LC_CTYPE, "") || std::string_view(nl_langinfo(CODESET)) == "ANSI_X3.4-1968")
        std::setlocale(LC_CTYPE, "C.UTF-8");
    FILE* out = out_fd == STDOUT_FILENO   ? stdout
                : out_fd == STDERR_FILENO ? stderr
                                          : ::fdopen(::dup(out_fd), "w");
    if (out) editor = el_init("jetsql", stdin, out, stderr);
    if (editor) {
        el_set(editor, EL_EDITOR, "emacs");
        el_set(editor, EL_PROMPT, editor_prompt);
        el_set(editor, EL_GETCFN, editor_getc);
        history_of_session = history_init();
        HistEvent e;
        history(history_of_session, &e, H_SETSIZE, 10000);
        history(history_of_session, &e, H_SETUNIQUE, 1);
        el_set(editor, EL_HIST, history, history_of_session);
    }
    keep_typed_ahead();
}

void end_line_editing() {
    if (editor) {
        el_end(editor);
        history_end(history_of_session);
        editor = nullptr;
    }
    if (settings_taken) ::tcsetattr(STDIN_FILENO, TCSANOW, &settings_before);
}

Typed read_typed_line(std::string& line, const char* prompt) {
    no_byte = Typed::End;
    if (!editor) {  // the editor could not be set up: the line as typed
        (void)!::write(prompt_fd, prompt, std::strlen(prompt));
        line.clear();
        char byte = 0;
        while (next_byte(byte) && byte != '\n') line += byte;
        return byte == '\n' || !line.empty() ? Typed::Line : no_byte;
    }
    prompt_now = prompt;
    int count = 0;
    const char* got = el_gets(editor, &count);
    keep_typed_ahead();
    if (count <= 0 || !got) return count == 0 ? Typed::End : no_byte;
    line.assign(got, static_cast<size_t>(count));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!blank(line)) {
        HistEvent e;
        history(history_of_session, &e, H_ENTER, line.c_str());
    }
    return Typed::Line;
}

std::vector<std::string> drop_typed() {
    std::string text = typed.substr(typed_at);
    typed.clear();
    typed_at = 0;
    // What waits in the terminal, read without waiting: for that while the terminal
    // hands over a line not ended with Enter too.
    struct termios t {};
    if (::tcgetattr(STDIN_FILENO, &t) == 0) {
        struct termios now = t;
        now.c_lflag &= ~static_cast<tcflag_t>(ICANON);
        now.c_cc[VMIN] = 0;
        now.c_cc[VTIME] = 0;
        if (::tcsetattr(STDIN_FILENO, TCSANOW, &now) == 0) {
            char buf[4096];
            ssize_t n;
            while ((n = ::read(STDIN_FILENO, buf, sizeof buf)) > 0)
                text.append(buf, static_cast<size_t>(n));
            ::tcsetattr(STDIN_FILENO, TCSANOW, &t);
        }
    }
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string one = text.substr(at, end - at);
        if (!one.empty() && one.back() == '\r') one.pop_back();
        if (!blank(one)) lines.push_back(std::move(one));
        at = end + 1;
    }
    return lines;
}

}  // namespace jetsql
