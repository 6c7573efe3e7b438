// jetsql: a command-line Jet SQL shell over the engine stand-in.
//
//   jetsql --parse               parse the statements of standard input, one a line
//   jetsql [--create] DATABASE   run them against a database (--create makes the file
//                                first, format "4.0", no password; never over a file);
//                                ".tables" lists the tables in DAO's order and
//                                ".schema TABLE" shows a table's columns, indexes and
//                                relations
//
// Empty lines and lines beginning with "--" are skipped. A statement that returns rows
// prints a header line of column names and one line per row, values separated by a tab
// (Null as "Null", numbers with "." and no trailing zeros, dates as yyyy-mm-dd or
// yyyy-mm-dd hh:mm:ss, Yes/No as -1 or 0, tabs and line breaks inside text as \t and
// \n); any other statement prints "ok N", N the records affected; a failure prints
// "error N DESCRIPTION" (N the signed number, as VB's Err.Number shows it). In the
// --parse mode each statement prints "ok" or the failure.
// What the statements wrote is committed when the input ends; a commit that fails
// prints its "error" line last, and nothing of the run is stored.
// Exit status: 0 when every statement succeeded and the commit with them, 1 when any
// failed, 2 when the database cannot be opened or the arguments are wrong.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dao/dao.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/sql/parser.h"
#include "output.h"
#include "platform/command_line.h"
#include "schema_commands.h"

namespace {

constexpr int kUsage = 2;

constexpr std::string_view kUsageText =
    "usage: jetsql --parse < statements\n"
    "       jetsql [--create] DATABASE < statements\n";

int usage(std::string_view problem) {
    return platform::refuse_arguments("jetsql", problem, kUsageText);
}

// Calls fn with each statement of a stream as it is read: one a line, without empty
// lines and "--" comments (a line's trailing carriage return is dropped). Returns
// true when fn returned true for every statement.
template <class Fn>
bool for_each_statement(std::istream& in, Fn&& fn) {
    bool all_ok = true;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line.compare(first, 2, "--") == 0) continue;
        all_ok &= fn(line);
    }
    return all_ok;
}

// Runs one statement: the action is called with it and may throw jet::Error; it prints
// what the statement returned ("ok" when it prints nothing). Prints a failure's line;
// returns false on a failure.
template <class Action>
bool run_one(const std::string& statement, Action&& action) {
    try {
        action(statement);
        return true;
    } catch (const jet::Error& e) {
        std::cout << "error " << e.signed_number() << ' ' << e.description() << '\n';
        return false;
    }
}

// --parse: every statement through the parser only.
int parse_mode() {
    bool all_ok = for_each_statement(std::cin, [](const std::string& st) {
        return run_one(st, [](const std::string& s) {
            (void)jet::sql::parse(s);
            std::cout << "ok\n";
        });
    });
    return all_ok ? 0 : 1;
}

// DATABASE: open (or with create, make) the file and execute every statement with
// for_each_statement and run_one, as parse_mode does with the parser.
int database_mode(const std::string& path, bool create) {
    std::shared_ptr<jet::Database> db;
    try {
        if (create) jet::Database::create(path);
        db = jet::Database::open(path);
    } catch (const jet::Error& e) {
        std::cerr << "jetsql: " << path << ": error " << e.signed_number() << ' '
                  << e.description() << '\n';
        return kUsage;
    }
    bool all_ok = for_each_statement(std::cin, [&](const std::string& st) {
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
        c = platform::parse_command_line(argc, argv, {"--parse", "--create"});
        if (c.has("--parse")) {
            if (c.has("--create"))
                throw platform::UsageError("--parse and --create exclude each other");
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
    if (c.has("--parse")) return parse_mode();
    return database_mode(c.operands[0], c.has("--create"));
}
