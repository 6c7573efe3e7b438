// jetsql: a command-line Jet SQL shell over the engine stand-in. What it reads, prints
// and commits, and its exit statuses, are told by its usage text (kUsageText), which
// -h and --help print.
#include <cstdio>
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
#include "jet/sql/parser.h"
#include "output.h"
#include "platform/command_line.h"
#include "schema_commands.h"

namespace {

constexpr int kUsage = 2;

constexpr std::string_view kUsageText =
    "usage: jetsql --parse [--bail] < statements\n"
    "       jetsql [--create | --suite] [--bail] DATABASE < statements\n"
    "Reads Jet SQL statements from standard input, one statement per line: a statement\n"
    "does not go on to the next line, and a \";\" may end it but does not separate two.\n"
    "Empty lines and lines that begin with \"--\" are skipped; \"--\" after a statement\n"
    "is no comment.\n"
    "--parse parses each statement only and prints \"ok\" or its error.\n"
    "DATABASE: runs each statement on the file; --create makes it first, empty, format\n"
    "\"4.0\", without a database password, refusing a file that exists. Without --suite\n"
    "only files without a database password are opened: the suite's own files\n"
    "(baza-demo's too) are refused (\"Not a valid password.\"). --suite opens a file of\n"
    "the suite with the suite's database password, the one the conversion uses; the file\n"
    "keeps its password. Two commands begin a line: \".tables\" lists the tables\n"
    "(\"(system)\" after the engine's own), \".schema TABLE\" shows a table's columns,\n"
    "indexes and relations.\n"
    "A SELECT prints a line of column names and a line per row, values separated by a\n"
    "tab: Null as Null, numbers with \".\" and no trailing zeros, dates as yyyy-mm-dd or\n"
    "yyyy-mm-dd hh:mm:ss with four-digit years (0100-01-01), Yes/No as -1 or 0, tabs and\n"
    "line breaks in text as \\t, \\n and \\r. Any other statement prints \"ok N\", N the\n"
    "records it affected. A statement that fails prints \"error NUMBER DESCRIPTION\" (the\n"
    "signed number, as Err.Number shows it), changes nothing, and the next one runs\n"
    "(unless --bail).\n"
    "Commit: the writes of the whole input are committed together when it ends, not\n"
    "statement by statement. \"ok\" says that a statement ran, not that it is stored: a\n"
    "commit that fails (a full disk) prints its \"error\" line last, after every \"ok\",\n"
    "and nothing the run wrote is stored. A file that another process holds (a\n"
    "conversion running) fails each write with \"Could not lock file.\"; after a failure\n"
    "that rolls the writes back (a full disk), every later write fails too.\n"
    "--bail stops at the first statement or command that fails: the lines after it are\n"
    "not run, nothing the input wrote is committed (the file stays as it was opened),\n"
    "standard error says which line failed and why, and the exit status is 1.\n"
    "Exit status: 0 every statement and the commit succeeded; 1 a statement or the\n"
    "commit failed; 2 the database cannot be opened (the reason on standard error) or\n"
    "wrong arguments.\n";

int usage(std::string_view problem) {
    return platform::refuse_arguments("jetsql", problem, kUsageText);
}

// Calls fn with each statement of a stream as it is read: one a line, without empty
// lines and "--" comments (a line's trailing carriage return is dropped); fn returns the
// statement's failure, if any. With bail, the first failure ends the reading and is told
// on standard error with its line's number and text. Returns true when no statement
// failed.
template <class Fn>
bool for_each_statement(std::istream& in, bool bail, Fn&& fn) {
    bool all_ok = true;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line.compare(first, 2, "--") == 0) continue;
        const std::optional<jet::Error> failure = fn(line);
        if (!failure) continue;
        all_ok = false;
        if (bail) {
            std::cerr << "jetsql: line " << number << " failed: " << line << "\njetsql: error "
                      << failure->signed_number() << ' ' << failure->description() << '\n';
            break;
        }
    }
    return all_ok;
}

// Runs one statement: the action is called with it and may throw jet::Error; it prints
// what the statement returned ("ok" when it prints nothing). Prints a failure's line and
// returns the failure.
template <class Action>
std::optional<jet::Error> run_one(const std::string& statement, Action&& action) {
    try {
        action(statement);
        return std::nullopt;
    } catch (const jet::Error& e) {
        std::cout << "error " << e.signed_number() << ' ' << e.description() << '\n';
        return e;
    }
}

// --parse: every statement through the parser only.
int parse_mode(bool bail) {
    bool all_ok = for_each_statement(std::cin, bail, [](const std::string& st) {
        return run_one(st, [](const std::string& s) {
            (void)jet::sql::parse(s);
            std::cout << "ok\n";
        });
    });
    return all_ok ? 0 : 1;
}

// DATABASE: open (or with create, make) the file, with the suite's password when suite
// is set, and execute every statement with for_each_statement and run_one, as
// parse_mode does with the parser. With bail, a failure rolls back every write of the
// input before the close, which then has nothing to commit.
int database_mode(const std::string& path, bool create, bool suite, bool bail) {
    std::shared_ptr<jet::Database> db;
    try {
        if (create) jet::Database::create(path);
        db = jet::Database::open(path, suite ? std::string(kDatabasePassword) : std::string());
    } catch (const jet::Error& e) {
        std::cerr << "jetsql: " << path << ": error " << e.signed_number() << ' ' << e.description()
                  << '\n';
        return kUsage;
    }
    bool all_ok = for_each_statement(std::cin, bail, [&](const std::string& st) {
        return run_one(st, [&](const std::string& s) {
            // A fresh DAO view per command: a view keeps the table list it first took.
            if (s.rfind(".tables", 0) == 0) {
                jetsql::print_tables(dao::Database(db), std::cout);
            } else if (s.rfind(".schema", 0) == 0) {
                std::string_view name = std::string_view(s).substr(7);
                while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
                    name.remove_prefix(1);
                jetsql::print_schema(dao::Database(db), name, std::cout);
            } else {
                jetsql::run_statement(*db, s, std::cout);
            }
        });
    });
    if (bail && !all_ok) {
        try {
            // The input's writes are all since the file's last commit, which a unit
            // abandoned at once rolls the file back to.
            jet::WorkUnit(*db).abandon();
        } catch (const jet::Error&) {
            // Writes that SQLite rolled back already: the close reports them.
        }
        std::cerr << "jetsql: --bail: stopped there; nothing was committed\n";
    }
    try {
        db->close();
    } catch (const jet::Error& e) {
        std::cout << "error " << e.signed_number() << ' ' << e.description() << '\n';
        all_ok = false;
    }
    return all_ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    platform::CommandLine c;
    try {
        c = platform::parse_command_line(argc, argv, {"--parse", "--create", "--suite", "--bail"});
        // A file made by --create has no password, so it is no file of the suite.
        if (c.has("--create") && c.has("--suite"))
            throw platform::UsageError("--create and --suite exclude each other");
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
    const bool bail = c.has("--bail");
    if (c.has("--parse")) return parse_mode(bail);
    return database_mode(c.operands[0], c.has("--create"), c.has("--suite"), bail);
}
