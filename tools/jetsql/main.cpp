// jetsql: a command-line Jet SQL shell over the engine stand-in. What it reads, prints
// and commits, and its exit statuses, are told by its usage text (kUsageText), which
// -h and --help print; ".help" prints its commands (kHelpText).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dao/dao.h"
#include "db/haslo_bazy.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/sql/lexer.h"
#include "jet/sql/parser.h"
#include "output.h"
#include "platform/command_line.h"
#include "reader.h"
#include "schema_commands.h"
#include "signals.h"

namespace {

constexpr int kUsage = 2;
constexpr int kInterrupted = 128 + SIGINT;  // as the shell reports an end by Ctrl-C
constexpr int kHungUp = 128 + SIGHUP;

constexpr std::string_view kUsageText =
    "usage: jetsql --parse [--bail | --keep-going] < statements\n"
    "       jetsql [--create | --suite] [--bail | --keep-going] DATABASE < statements\n"
    "Reads Jet SQL statements and commands from standard input. A \";\" ends a statement\n"
    "(outside strings, [names], #dates# and remarks): a line may hold several, a\n"
    "statement may run over several lines, and a \";\" at the end of the input is not\n"
    "needed. Remarks: \"--\" to the end of the line, and \"/* ... */\" over any lines,\n"
    "anywhere outside strings, [names] and #dates#; a remark never runs and never ends a\n"
    "statement (Jet SQL has no \"--\" that a repair needs: write \"- -1\" or \"+ 1\"). A\n"
    "\"/*\" that the input's end leaves open is a failure: the text after it does not run.\n"
    "At a terminal a statement ends only with \";\": the prompt \"jetsql> \" becomes\n"
    "\"   ...> \" inside a statement or a remark. The line being typed is edited with\n"
    "libedit's keys (left and right arrows, Backspace, Ctrl-A, Ctrl-E, ...), and the up\n"
    "and down arrows bring back the lines typed before (kept for the session only, in\n"
    "memory). Otherwise a line without \";\" ends its statement too when the next line that\n"
    "is not empty begins a command or a statement (its first word SELECT, INSERT, UPDATE,\n"
    "DELETE, CREATE, ALTER, DROP, BEGIN, COMMIT or ROLLBACK) or the input ends, unless the\n"
    "statement cannot end there: a parenthesis, string, [name], #date# or remark left\n"
    "open, a last word or sign that needs more (\",\", \"=\", AND, FROM, WHERE, ...), an\n"
    "INSERT without VALUES or SELECT yet. So one statement per line needs no \";\", a line\n"
    "that begins with another word (WHERE, SET, AND, FROM, VALUES, ...) goes on with the\n"
    "statement above it, and no statement runs with only part of its text. Such a line\n"
    "waits for the next line (or the end) before it runs: input that stays open (a pipe)\n"
    "ends each statement with \";\" to have it run at once. Empty lines and remarks alone\n"
    "are skipped.\n"
    "Not taken (a syntax error): subqueries (IN (SELECT ...), EXISTS, ANY, ALL, a SELECT\n"
    "in an expression or in FROM), UNION, TRANSFORM ... PIVOT, PARAMETERS, CREATE VIEW\n"
    "and CREATE PROCEDURE.\n"
    "Commands begin a line (blanks before them, any case, a \";\" after them ignored):\n"
    "\".tables\" lists the tables (\"(system)\" after the engine's own), \".schema TABLE\"\n"
    "shows a table's columns, indexes and relations (\".schema\" alone every table's but\n"
    "the engine's own), \".help\" lists the commands, \".quit\" and \".exit\" end the input\n"
    "as its end does (at a terminal, \"exit\" and \"quit\" alone on a line too), also on a\n"
    "line inside a statement not ended with \";\". At a terminal that statement does not\n"
    "run, which is a failure. Otherwise the line ends the statement, as a line that begins\n"
    "a command does, and the statement runs before the end, unless it cannot end there\n"
    "(see above): then it does not run, which is a failure.\n"
    "--parse parses each statement only and prints \"ok\" or its error.\n"
    "DATABASE: runs each statement on the file; --create makes it first, empty, format\n"
    "\"4.0\", without a database password, refusing a file that exists. Without --suite only\n"
    "files without a database password are opened: the suite's own files (baza-demo's too)\n"
    "are refused (\"Not a valid password.\", and a line that points to --suite). --suite\n"
    "opens a file of the suite with the suite's database password, the one the conversion\n"
    "uses; the file keeps its password. A file that may not be written (its mode gives no\n"
    "one the right to write, for root too; its folder's mode, or this user's rights; a\n"
    "read-only file system) is opened for reading: nothing is created beside it, and each\n"
    "write fails with the reason (\"Cannot update.  Database or object is read-only.\").\n"
    "A SELECT prints a line of column names and a line per row, values separated by a\n"
    "tab: Null as Null, numbers with \".\" and no trailing zeros, dates as yyyy-mm-dd or\n"
    "yyyy-mm-dd hh:mm:ss with four-digit years (0100-01-01), Yes/No as -1 or 0, tabs and\n"
    "line breaks in text as \\t, \\n and \\r. Any other statement prints \"ok N\", N the\n"
    "records it affected. A statement that fails prints \"error NUMBER DESCRIPTION\" (the\n"
    "signed number, as Err.Number shows it) and changes nothing; a command that fails\n"
    "prints \"error\" and why. At a terminal with standard output redirected, the prompts\n"
    "and the \"error\" lines go to the terminal (standard error, or /dev/tty).\n"
    "A failure, when standard input is not a terminal, ends the input (--bail, the\n"
    "default there): the lines after it are not run, nothing the input wrote is committed\n"
    "(the file stays as it was opened, or as the input's last COMMIT left it), standard\n"
    "error says which line failed and why, and the exit status is 1. With --keep-going\n"
    "(the default at a terminal, where --bail stops too) the next statement runs, and\n"
    "what succeeded is committed; standard error still says which line failed and why\n"
    "when standard input is not a terminal.\n"
    "BEGIN, COMMIT and ROLLBACK (each may be followed by TRANSACTION or WORK) make a\n"
    "transaction; they nest. ROLLBACK undoes the writes since its BEGIN; the outermost\n"
    "COMMIT commits the input's writes so far to the file. A transaction still open when\n"
    "the input ends is rolled back, and that is a failure.\n"
    "Commit: the writes of the input are committed together when it ends (Ctrl-D at a\n"
    "terminal, or \".quit\"), not statement by statement. \"ok\" says that a statement\n"
    "ran, not that it is stored: a commit that fails (a full disk) prints its\n"
    "\"error\" line last, after every \"ok\", and says so on standard error; nothing the\n"
    "run wrote since its last commit is stored. A file that another process holds (a\n"
    "conversion running) fails each write with \"Could not lock file.\"; after a failure\n"
    "that rolls the writes back (a full disk), every later write fails too.\n"
    "The end leaves the file whole: a run that wrote copies the file's write-ahead log\n"
    "into it at its end, waiting up to about 3 s for other programs in the middle of a\n"
    "read; when they still held it, standard error says that the file and its \"-wal\"\n"
    "together hold the commits (copy both).\n"
    "Ctrl-C at a terminal: while typing, it discards the statement not ended yet (and the\n"
    "lines pasted after the line being typed); while a statement that only reads runs, it\n"
    "stops it (\"error\", the statement changed nothing). A statement that writes runs to\n"
    "its end, as stopping it would roll back every write not committed; a second Ctrl-C\n"
    "stops it and rolls them back, saying so (and that an open transaction ended with\n"
    "them). Either way nothing typed before the prompt comes back runs: the rest of its\n"
    "line, a statement not ended, the lines typed ahead, before the Ctrl-C or after it.\n"
    "Standard error names each line dropped (\"jetsql: not run (Ctrl-C): \" and the line),\n"
    "and jetsql goes on. A terminal that closes rolls back every write not committed, and\n"
    "jetsql ends (exit status 129) leaving nothing beside the file.\n"
    "Ctrl-C when standard input is not a terminal ends the input (stopping the statement\n"
    "running): the writes since the input began or since its last COMMIT are rolled back,\n"
    "and standard error names the statement it stopped and, by their lines, the\n"
    "statements whose writes went; a second Ctrl-C ends jetsql at once.\n"
    "Exit status: 0 every statement and the commit succeeded; 1 a statement, a command\n"
    "or the commit failed, or the input ended inside a statement (at a terminal), a\n"
    "remark or a transaction; 2 the database cannot be opened (the reason on standard\n"
    "error) or wrong arguments; 129 the terminal closed; 130 ended by Ctrl-C (input that\n"
    "is not a terminal).\n";

constexpr std::string_view kHelpText =
    ".exit, .quit     end the input as its end does: the writes are committed\n"
    ".help            this text\n"
    ".schema [TABLE]  a table's columns, indexes and relations (without TABLE, every\n"
    "                 table's but the engine's own)\n"
    ".tables          the tables, \"(system)\" after the engine's own\n"
    "Statements end with \";\"; \"--\" and \"/* */\" begin remarks. BEGIN, COMMIT and\n"
    "ROLLBACK make a transaction; the outermost COMMIT commits to the file. The up and\n"
    "down arrows bring back the lines typed. Ctrl-D ends and commits; Ctrl-C discards\n"
    "the line being typed, or stops the statement running and drops what was typed\n"
    "before the prompt came back, naming each line (a second one stops a statement that\n"
    "writes, rolling back what was not committed).\n"
    "jetsql --help tells the rest.\n";

int usage(std::string_view problem) {
    return platform::refuse_arguments("jetsql", problem);
}

// A stream that writes to a descriptor of its own (the terminal, opened as /dev/tty).
struct FdStream {
    struct Buf : std::streambuf {
        int fd;
        explicit Buf(int f) : fd(f) {}
        std::streamsize xsputn(const char* s, std::streamsize n) override {
            std::streamsize done = 0;
            while (done < n) {
                const ssize_t w = ::write(fd, s + done, static_cast<size_t>(n - done));
                if (w <= 0 && errno != EINTR) break;
                if (w > 0) done += w;
            }
            return done;
        }
        int_type overflow(int_type c) override {
            if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
            const char ch = traits_type::to_char_type(c);
            return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
        }
    } buf;
    std::ostream stream;
    explicit FdStream(int fd) : buf(fd), stream(&buf) {}
    ~FdStream() {
        if (buf.fd > STDERR_FILENO) ::close(buf.fd);
    }
};

// What follows "error " for a failed statement or command: the engine's signed number
// and description, or the shell's own words.
struct Failure {
    std::string text;
};

Failure failure(const jet::Error& e) {
    return {std::to_string(e.signed_number()) + ' ' + e.description()};
}

std::string statements(size_t n) {
    return std::to_string(n) + (n == 1 ? " statement" : " statements");
}

std::string lines_of(const jetsql::Piece& p) {
    if (p.first_line == p.last_line) return "line " + std::to_string(p.first_line);
    return "lines " + std::to_string(p.first_line) + "-" + std::to_string(p.last_line);
}

// BEGIN, COMMIT or ROLLBACK when the statement is one, alone or followed by TRANSACTION
// or WORK; "" otherwise.
std::string_view transaction_word(std::string_view statement) {
    std::vector<jet::sql::Token> t;
    try {
        t = jet::sql::tokenize(statement);
    } catch (const jet::Error&) {
        return {};
    }
    const size_t n = t.size() - 1;  // the last token is End
    if (n == 0 || n > 2 || (n == 2 && !t[1].is("TRANSACTION") && !t[1].is("WORK"))) return {};
    for (std::string_view w : {"BEGIN", "COMMIT", "ROLLBACK"})
        if (t[0].is(w)) return w;
    return {};
}

// Why the statement that the input's end or ".quit" cut short (reader.unfinished()) did
// not run.
std::string not_run(const jetsql::Reader& reader, bool quit) {
    if (quit)
        return "\"" + reader.quit_word() +
               "\" came inside a statement not ended with \";\"; it was not run";
    if (const int line = reader.open_remark())
        return "the input ended inside the remark begun with \"/*\" at line " +
               std::to_string(line) + ", not ended with \"*/\"; " +
               (reader.unfinished()->text == "/*" ? "the lines after it did not run"
                                                  : "the statement did not run");
    return "the input ended inside a statement not ended with \";\"; it was not run";
}

class Shell {
  public:
    // db: the database, or none for --parse; errors receives the "error" lines.
    Shell(std::shared_ptr<jet::Database> db, bool bail, bool terminal, std::ostream& errors)
        : db_(std::move(db)), bail_(bail), terminal_(terminal), errors_(errors) {}

    // Runs the input and ends: the commit (or the rollback) and the close. Returns the
    // exit status.
    int run(jetsql::Reader& reader);

  private:
    std::optional<Failure> statement(const jetsql::Piece& p);
    std::optional<Failure> command(const jetsql::Piece& p);
    void stop();
    void roll_back();
    int interrupt(const jetsql::Reader& reader, const jetsql::Piece* cut);
    int hang_up();
    void close();
    std::string since() const;
    std::string written_since() const;
    std::string rolled_back(const jetsql::Piece* stopped) const;
    std::string ended_transaction() const;

    std::shared_ptr<jet::Database> db_;
    bool bail_;
    bool terminal_;
    std::ostream& errors_;
    bool all_ok_ = true;
    bool quit_ = false;
    struct Lines {
        int first, last;
    };
    std::vector<Lines> written_;  // the statements that wrote since the last commit
    int committed_at_ = 0;        // the line of the COMMIT that last committed, 0 for none
    struct Begun {
        int line;
        size_t written;  // written_'s size at the BEGIN
    };
    std::vector<Begun> begun_;  // the open transactions, outermost first
};

int Shell::run(jetsql::Reader& reader) {
    bool stopped = false;
    auto failed = [&](const jetsql::Piece& p, const Failure& f) {
        errors_ << "error " << f.text << '\n';
        all_ok_ = false;
        // Standard error names the line of each failure, unless a terminal shows it.
        if (bail_ || !terminal_)
            std::cerr << "jetsql: " << lines_of(p) << " failed: " << p.text << "\njetsql: error "
                      << f.text << '\n';
        if (!bail_) return;
        stop();
        stopped = true;
    };
    // At a terminal a Ctrl-C while a statement runs (or between two) drops what was
    // typed after it, read or not (dropped: the statement read and not run yet), and
    // names each line: nothing runs that was meant to come after the stopped statement.
    auto interrupted = [&](const jetsql::Piece* dropped) {
        if (!terminal_ || jetsql::take_interrupts() == 0) return;
        std::vector<std::string> lines = reader.discard();
        if (dropped) lines.insert(lines.begin(), dropped->text);
        if (lines.empty()) return;
        errors_ << "(the statements typed after it were not run)\n" << std::flush;
        std::cout.flush();
        jetsql::report_dropped(lines);
    };
    // Without a terminal a Ctrl-C ends the input.
    auto ending = [&] { return jetsql::hung_up || (!terminal_ && jetsql::interrupts); };
    std::optional<jetsql::Piece> cut;  // the piece a Ctrl-C stopped, without a terminal
    while (!quit_ && !stopped && !ending()) {
        const std::optional<jetsql::Piece> p = reader.next();
        if (!p || ending()) break;
        if (terminal_ && jetsql::interrupts) {
            interrupted(&*p);
            continue;
        }
        const auto f = p->command ? command(*p) : statement(*p);
        if (f && ending()) {
            errors_ << "error " << f->text << '\n';  // the interruption's report follows
            all_ok_ = false;
            cut = p;
        } else if (f) {
            failed(*p, *f);
        }
        interrupted(nullptr);
    }
    if (jetsql::hung_up) return hang_up();
    if (ending()) return interrupt(reader, cut ? &*cut : nullptr);
    if (!stopped && reader.unfinished()) failed(*reader.unfinished(), {not_run(reader, quit_)});
    if (!stopped && db_ && db_->trans_level() > 0) {
        const int line = begun_.empty() ? 0 : begun_.front().line;
        all_ok_ = false;
        if (bail_) {
            roll_back();
        } else {
            try {
                while (db_->trans_level() > 0) db_->rollback_trans();
            } catch (const jet::Error&) {
                // The close reports writes that SQLite rolled back already.
            }
        }
        std::cerr << "jetsql: the input ended inside the transaction begun at line " << line
                  << ", without COMMIT or ROLLBACK: "
                  << (bail_ ? "nothing " + since() : "its writes")
                  << (bail_ ? " was committed\n" : " were rolled back\n");
    }
    if (db_) {
        // Nothing left to commit (every write rolled back): nothing is committed, so that
        // the file keeps its bytes (a commit would count a change in its header).
        if (written_.empty()) roll_back();
        close();
    }
    return all_ok_ ? 0 : 1;
}

// Commits what is left and closes, leaving the file whole: the write-ahead log copied
// into it, or standard error saying that the file alone lacks commits.
void Shell::close() {
    const std::string path = db_->path();
    const size_t written = written_.size();
    try {
        db_->leave_file_whole_at_close();
        db_->close();
    } catch (const jet::Error& e) {
        errors_ << "error " << failure(e).text << '\n';
        std::cerr << "jetsql: the commit at the end failed (error " << failure(e).text
                  << "): the writes of " << statements(written) << " since " << written_since()
                  << " are not stored\n";
        all_ok_ = false;
    }
    if (const auto e = jet::Database::log_not_copied(path))
        std::cerr << "jetsql: the file alone lacks commits: they are in " << path << " and " << path
                  << "-wal together (copy both) until a program that writes the file "
                  << "ends with no other program on it (error " << failure(*e).text << ")\n";
}

// --bail: the failed piece ends the input, and what it wrote since the last commit goes.
void Shell::stop() {
    if (!db_) return;
    roll_back();
    std::cerr << "jetsql: stopped at the first failure; nothing " << since() << " was committed\n";
}

// The input's writes since its last commit: when none, the file's as opened.
std::string Shell::since() const {
    if (committed_at_ == 0) return "of the input (the file stays as it was opened)";
    return "after the COMMIT at line " + std::to_string(committed_at_);
}

// Rolls the file back to its last commit.
void Shell::roll_back() {
    try {
        jet::WorkUnit(*db_).abandon();
    } catch (const jet::Error&) {
        // Writes that SQLite rolled back already: the close reports them.
    }
    begun_.clear();
    written_.clear();
}

// The open transaction that a rollback of every write not committed ends, for its report.
std::string Shell::ended_transaction() const {
    if (begun_.empty()) return {};
    return "; the transaction begun at line " + std::to_string(begun_.front().line) + " was ended";
}

// The input's start or its last COMMIT, after "since".
std::string Shell::written_since() const {
    return committed_at_ ? "the COMMIT at line " + std::to_string(committed_at_)
                         : std::string("the input began");
}

// What a rollback of every write not committed undoes: the statement stopped, when given,
// and each statement that wrote before it since the last commit, named by their lines.
std::string Shell::rolled_back(const jetsql::Piece* stopped) const {
    std::string what = stopped ? "the statement of " + lines_of(*stopped) : "";
    if (written_.empty()) return what;
    // Adjacent lines make one stretch; past ten stretches, the first nine and the last.
    std::vector<Lines> stretches;
    for (const Lines& l : written_)
        if (!stretches.empty() && l.first <= stretches.back().last + 1)
            stretches.back().last = std::max(stretches.back().last, l.last);
        else
            stretches.push_back(l);
    const bool one_line = stretches.size() == 1 && stretches[0].first == stretches[0].last;
    std::string lines = one_line ? "line " : "lines ";
    for (size_t i = 0; i < stretches.size(); ++i) {
        const bool cut_short = stretches.size() > 10 && i == 9;
        if (cut_short) i = stretches.size() - 1;
        lines += i == 0                      ? ""
                 : cut_short                 ? ", ... and "
                 : i + 1 == stretches.size() ? " and "
                                             : ", ";
        lines += std::to_string(stretches[i].first);
        if (stretches[i].last != stretches[i].first)
            lines += "-" + std::to_string(stretches[i].last);
    }
    return what + (stopped ? " and " : "") + "the writes of " + statements(written_.size()) +
           (stopped ? " run before it since " : " run since ") + written_since() + " (" + lines +
           ")";
}

// Without a terminal, a Ctrl-C ended the input; cut is the piece it stopped, if any (its
// writes, when it writes, went with the others').
int Shell::interrupt(const jetsql::Reader& reader, const jetsql::Piece* cut) {
    std::cout.flush();
    std::cerr << "\njetsql: interrupted (Ctrl-C): ";
    if (cut) std::cerr << "the statement of " << lines_of(*cut) << " was stopped; ";
    const bool cut_wrote = cut && !cut->command && jetsql::statement_writes(cut->text);
    if (written_.empty() && !cut_wrote)
        std::cerr << "no write was waiting to be committed";
    else
        std::cerr << "rolled back " << rolled_back(cut_wrote ? cut : nullptr)
                  << (written_.empty() ? "; none of its writes is stored"
                                       : "; none of them is stored");
    std::cerr << ended_transaction();
    if (reader.inside_statement() || reader.unfinished())
        std::cerr << "; the statement not ended with \";\" did not run";
    std::cerr << '\n';
    if (db_) {
        roll_back();
        close();
    }
    return kInterrupted;
}

// The terminal closed: what was not committed is rolled back, and the close leaves
// nothing beside the file.
int Shell::hang_up() {
    std::cerr << "jetsql: the terminal closed: "
              << (written_.empty() ? "nothing to roll back\n"
                                   : "rolled back the writes not committed\n");
    if (db_) {
        roll_back();
        close();
    }
    return kHungUp;
}

std::optional<Failure> Shell::statement(const jetsql::Piece& p) {
    try {
        const std::string_view word = transaction_word(p.text);
        if (!db_) {
            if (word.empty()) (void)jet::sql::parse(p.text);
            std::cout << "ok\n";
            return std::nullopt;
        }
        if (word.empty()) {
            struct Running {
                Running(jet::Database* db, bool writes) { jetsql::running(db, writes); }
                ~Running() { jetsql::done(); }
            } running(db_.get(), jetsql::statement_writes(p.text));
            try {
                if (jetsql::run_statement(*db_, p.text, std::cout))
                    written_.push_back({p.first_line, p.last_line});
            } catch (const jet::Error& e) {
                if (!jetsql::writes_stopped()) throw;
                // SQLite rolled back every write since the last commit with the statement.
                db_->accept_lost_writes();
                if (!terminal_ || jetsql::hung_up) throw;  // the end of the input reports it
                std::cerr << "\njetsql: the statement was stopped: rolled back " << rolled_back(&p)
                          << ended_transaction() << '\n';
                roll_back();
                throw;
            }
            return std::nullopt;
        }
        if (word == "BEGIN") {
            db_->begin_trans();
            begun_.push_back({p.first_line, written_.size()});
        } else if (word == "COMMIT") {
            db_->commit_trans();
            if (db_->trans_level() == 0) {
                db_->checkpoint();
                written_.clear();
                committed_at_ = p.last_line;
            }
        } else {
            db_->rollback_trans();
            if (begun_.size() > static_cast<size_t>(db_->trans_level()))
                written_.resize(begun_[db_->trans_level()].written);
        }
        begun_.resize(static_cast<size_t>(db_->trans_level()),
                      Begun{p.first_line, written_.size()});
        std::cout << "ok 0\n";
        return std::nullopt;
    } catch (const jet::Error& e) {
        return failure(e);
    }
}

std::optional<Failure> Shell::command(const jetsql::Piece& p) {
    std::string_view rest = std::string_view(p.text).substr(1);
    size_t n = 0;
    while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t' && rest[n] != ';') ++n;
    std::string name(rest.substr(0, n));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    rest.remove_prefix(n);
    auto blank_or_semicolon = [](char c) { return c == ' ' || c == '\t' || c == ';'; };
    while (!rest.empty() && blank_or_semicolon(rest.back())) rest.remove_suffix(1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);

    if (name == "quit" || name == "exit") {
        quit_ = true;
        return std::nullopt;
    }
    if (name == "help") {
        std::cout << kHelpText;
        return std::nullopt;
    }
    if (name != "tables" && name != "schema")
        return Failure{"unknown command \"." + name + "\" (\".help\" lists the commands)"};
    if (!db_) return Failure{"." + name + " needs a DATABASE, not --parse"};
    if (name == "tables" && !rest.empty()) return Failure{".tables takes no TABLE"};
    try {
        // A fresh DAO view per command: a view keeps the table list it first took.
        const dao::Database view(db_);
        if (name == "tables")
            jetsql::print_tables(view, std::cout);
        else if (rest.empty())
            jetsql::print_every_schema(view, std::cout);
        else
            jetsql::print_schema(view, rest, std::cout);
    } catch (const jet::Error& e) {
        return failure(e);
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    platform::CommandLine c;
    try {
        c = platform::parse_command_line(
            argc, argv, {"--parse", "--create", "--suite", "--bail", "--keep-going"});
        // A file made by --create has no password, so it is no file of the suite.
        if (c.has("--create") && c.has("--suite"))
            throw platform::UsageError("--create and --suite exclude each other");
        if (c.has("--bail") && c.has("--keep-going"))
            throw platform::UsageError("--bail and --keep-going exclude each other");
        if (c.has("--parse")) {
            for (const char* other : {"--create", "--suite"})
                if (c.has(other))
                    throw platform::UsageError(std::string("--parse and ") + other +
                                               " exclude each other");
            platform::expect_operands(c, 0, 0, "");
        } else {
            platform::expect_operands(c, 1, 1, "a database");
            if (c.operands[0].empty()) throw platform::UsageError("the database path is empty");
        }
    } catch (const platform::HelpRequested&) {
        return platform::show_usage(kUsageText);
    } catch (const platform::UsageError& e) {
        return usage(e.what());
    }
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    const bool bail = c.has("--bail") || (!terminal && !c.has("--keep-going"));

    std::shared_ptr<jet::Database> db;
    if (!c.has("--parse")) {
        const std::string& path = c.operands[0];
        try {
            if (c.has("--create")) jet::Database::create(path);
            db = jet::Database::open(
                path, c.has("--suite") ? std::string(kDatabasePassword) : std::string(),
                jet::Unwritable::Read);
            db->accept_interrupts();
        } catch (const jet::Error& e) {
            std::cerr << "jetsql: " << path << ": error " << e.signed_number() << ' '
                      << e.description() << '\n';
            if (e.fault() == jet::Fault::WrongPassword && !c.has("--suite"))
                std::cerr << "jetsql: a file of the suite opens with --suite (the suite's "
                             "database password)\n";
            return kUsage;
        }
    }
    // At a terminal the prompts and the errors go to the terminal, also when standard
    // output is redirected: to standard error when that is the terminal, else to it.
    int talk_fd = STDOUT_FILENO;
    if (terminal && ::isatty(STDOUT_FILENO) != 1) {
        talk_fd =
            ::isatty(STDERR_FILENO) == 1 ? STDERR_FILENO : ::open("/dev/tty", O_WRONLY | O_CLOEXEC);
        if (talk_fd < 0) talk_fd = STDERR_FILENO;
    }
    FdStream tty(talk_fd);
    std::ostream& talk = talk_fd == STDOUT_FILENO   ? std::cout
                         : talk_fd == STDERR_FILENO ? std::cerr
                                                    : tty.stream;
    jetsql::catch_signals(terminal, talk_fd);
    if (terminal)
        talk << "jetsql" << (db ? " on " + db->path() : std::string(" --parse"))
             << ": statements end with \";\", \".help\" lists the commands.\n"
                "Ctrl-D or .quit ends and commits the writes; Ctrl-C discards the line or "
                "stops the statement.\n";
    if (terminal) jetsql::start_line_editing(talk_fd);
    jetsql::Reader reader(std::cin, terminal, terminal ? &talk : nullptr);
    const int status =
        Shell(std::move(db), bail, terminal, terminal ? talk : std::cout).run(reader);
    if (terminal) jetsql::end_line_editing();
    return status;
}
